#pragma once

#include <QStringView>
#include <optional>

// The user's decimal separator for the GX and GY columns: the system locale's, or '.' when that
// is not a single printable ASCII character.
char userDecimalPoint();

// The separator as a table column can hold it: the one printable ASCII character of text, or
// nothing when text is anything else.
std::optional<char> asciiDecimalPoint(QStringView text);
