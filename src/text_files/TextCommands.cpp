#include "TextCommands.h"

// Placeholder until the text commands land.
bool textSaveHasData(const TextView&, const WarningFn&) { return false; }
void saveTextFile(const SharedState&, const TextView&, const WarningFn&) {}
void loadTextFile(const SharedState&, TextView&, const WarningFn&) {}
