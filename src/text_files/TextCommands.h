#pragma once

#include "SharedState.h"
#include "TextView.h"

// "Text save", first step: false (after warning "!! non DATA !!") when the view is empty; the
// chooser is then not shown.
bool textSaveHasData(const TextView& view, const WarningFn& warn);

// "Text save", after the chooser has closed in "TEXT SAVE" mode: writes the view's text and one
// CR LF to PASS_NAME1 / GET_NAME + ".txt". Does nothing when GET_NAME is "".
void saveTextFile(const SharedState& state, const TextView& view, const WarningFn& warn);

// "Text load", after the chooser has closed in "TEXT LOAD" mode: replaces the view's text with the
// lines of PASS_NAME1 / GET_NAME. Does nothing when GET_NAME is "".
void loadTextFile(const SharedState& state, TextView& view, const WarningFn& warn);
