#pragma once

#include <QStringView>
#include <optional>

// The user's decimal separator for the GX and GY columns: the system locale's, or '.' when that
// is not a separator the table takes.
char userDecimalPoint();

// The separator as a table column can hold it: the one printable ASCII character of text, or
// nothing when text is anything else, a blank, a digit, '~' or ':'. The table's reader takes any
// character but a digit there, so every separator allowed here reads back.
std::optional<char> asciiDecimalPoint(QStringView text);
