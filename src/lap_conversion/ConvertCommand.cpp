#include "ConvertCommand.h"

// Placeholder until the converter lands.
void convertLapFiles(SharedState&, TextView&, const WarningFn&, char) {}
char userDecimalPoint() { return '.'; }
