#pragma once

#include "cli/ConvertInputs.h"
#include "cli/ConvertOptions.h"
#include "lap_analysis/LapInput.h"

class Output;

// The state of the standard streams when the program started.
struct StandardStreams {
    bool inputClosed = false;
    bool outputClosed = false;
};

// Reads the laps of one input: readLapRecordFile or readLapTableFile.
using LapDeviceReader = LapInputResult (*)(QIODevice& device, const LapReceiver& receiver);

// What a format's run works with.
struct RunContext {
    const Options& options;
    RunInputs& inputs;
    LapDeviceReader reader; // for the kind of the inputs (lap record files for Inputs::Records)
    Output& output;
};

// Runs the conversion options ask for: checks the inputs, opens the output, runs the format and
// reports what failed. Returns the exit status.
int runConversion(const Options& options, const StandardStreams& streams = {});
