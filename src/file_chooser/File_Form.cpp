#include "File_Form.h"

// Placeholder until the chooser lands: acts as "CANCEL".
void showFileForm(SharedState& state, QWidget*) { state.GET_NAME.clear(); }
