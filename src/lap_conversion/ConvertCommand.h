#pragma once

#include "shared_state/SharedState.h"
#include "shared_state/TextView.h"

// The "bil load" command, run after the chooser has closed in "BIL LOAD" mode: clears the view
// and converts the files named in state.GET_NAME (each name ended by a carriage return) from the
// folder state.PASS_NAME2 into one lap table. Consumes GET_NAME name by name; on the first
// failing file it warns "!! non file !!", keeps the text so far and leaves the later names in
// GET_NAME. Does nothing when GET_NAME is "".
void convertLapFiles(SharedState& state, TextView& view, const WarningFn& warn, char decimalPoint);
