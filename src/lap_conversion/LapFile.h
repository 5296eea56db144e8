#pragma once

#include "lap_conversion/LapConverter.h"

#include <QString>

// Outcome of converting one lap record file.
struct LapFileResult {
    enum class Error { None, Open, Read, Record };
    Error error = Error::None;
    LapFault fault;     // Error::Record: where the record fault lies
    QString systemText; // Error::Open, Error::Read: the system's description

    bool ok() const { return error == Error::None; }
    // A one-line reason for a failure, e.g. "record 3, byte 690: word 0x8000 is above 32767".
    QString describe() const;
};

// Streams the file at path through converter in chunks of whole records, so memory stays the
// same whatever the file's size. Reading stops at a record word of 0; a final piece shorter than
// a record is ignored. A folder, a missing or unreadable file fails with Error::Open or
// Error::Read. The converter's buffered text is not flushed.
LapFileResult convertLapFile(const QString& path, LapConverter& converter);
