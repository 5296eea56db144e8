#pragma once

#include "cli/ConvertOptions.h"

// Runs the conversion options ask for: checks the inputs, opens the output, runs the format and
// reports what failed. Returns the exit status.
int runConversion(const Options& options);
