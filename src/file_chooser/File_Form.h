#pragma once

#include "SharedState.h"

class QWidget;

// Shows the file chooser modally for state.FILE_TYPE over the real drives and folders, and
// returns when the user has left it. The result is in state.GET_NAME (and, on "OK", the mode's
// folder and PORT_OPEN_FLG).
void showFileForm(SharedState& state, QWidget* parent);
