#pragma once

#include "lap_analysis/LapData.h"
#include "lap_conversion/LapConverter.h"
#include "shared_state/FileResult.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

// Reading laps from files, streamed: lap record files (.BIL) and saved lap table texts. Which of
// the two a file is comes from its content: a lap record file holds NUL bytes near its start (the
// high bytes of its small words), a text does not.

enum class LapInputKind {
    Records,   // a lap record file, or an empty file
    TableText, // no NUL byte in the first 64 KiB
    Unreadable // cannot be opened or read; the reading reports why
};
LapInputKind lapInputKind(const QString& path);

// Where the laps of a file go, as they are read.
struct LapReceiver {
    // Once per file, before its first lap: the unit the file names (the first record word of a
    // record file, even when the rest of that record is faulty; a table text's header line).
    std::function<void(SpeedUnit unit)> unit;
    std::function<void(const LapData& lap)> lap;
};

// Outcome of reading one file.
struct [[nodiscard]] LapInputResult {
    enum class Error { None, Open, Read, Record, NoTable };
    Error error = Error::None;
    FileResult<> file;                      // Error::Open, Error::Read: the system's reason
    LapFault fault;                         // Error::Record: where the record fault lies
    std::vector<std::int64_t> skippedLines; // table text: lines after the header not read as laps

    bool ok() const { return error == Error::None; }
    // A one-line reason for a failure, as the converter gives it for record files; "no lap
    // table" for a text without a header line.
    QString describe() const;
};

// Streams the lap records of a file until a record word of 0, a fault or the end; a final piece
// shorter than a record is ignored, as by the converter.
LapInputResult readLapRecordFile(const QString& path, const LapReceiver& receiver);
// Streams the lap lines of a saved table text (CR LF or LF line ends).
LapInputResult readLapTableFile(const QString& path, const LapReceiver& receiver);
