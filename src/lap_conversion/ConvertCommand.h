#pragma once

#include "SharedState.h"
#include "TextView.h"

#include <optional>

// The "bil load" command, run after the chooser has closed in "BIL LOAD" mode: clears the view
// and converts the files named in state.GET_NAME (each name ended by a carriage return) from the
// folder state.PASS_NAME2 into one lap table. Consumes GET_NAME name by name; on the first
// failing file it warns "!! non file !!", keeps the text so far and leaves the later names in
// GET_NAME. Does nothing when GET_NAME is "".
void convertLapFiles(SharedState& state, TextView& view, const WarningFn& warn, char decimalPoint);

// The user's decimal separator for the GX and GY columns: the system locale's, or '.' when that
// is not a single printable ASCII character.
char userDecimalPoint();

// The separator as a table column can hold it: the one printable ASCII character of text, or
// nothing when text is anything else.
std::optional<char> asciiDecimalPoint(QStringView text);
