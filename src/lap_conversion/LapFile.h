#pragma once

#include "lap_conversion/LapConverter.h"
#include "file_io/FileResult.h"

#include <QIODevice>
#include <QString>

// Outcome of converting one lap record file: where it stopped, with the system's reason for a
// file that could not be opened or read, or the place of a bad record.
struct [[nodiscard]] LapFileResult {
    enum class Error { None, Open, Read, Record };
    Error error = Error::None;
    FileResult<> file; // Error::Open, Error::Read: the system's reason
    LapFault fault;    // Error::Record: where the record fault lies

    bool ok() const { return error == Error::None; }
    // A one-line reason for a failure, e.g. "record 3, byte 690: word 0x8000 is above 32767".
    QString describe() const;
};

// Takes the complete records at the front of each chunk of a lap record file, as
// LapConverter::feed() does.
class LapRecordFeeder {
public:
    virtual ~LapRecordFeeder() = default;
    virtual LapConverter::FeedResult feed(std::span<const std::uint8_t> bytes) = 0;
    // Where the record fault lies, once feed() has answered Status::Fault.
    virtual LapFault fault() const = 0;
};

// Streams the file at path through feeder in chunks of whole records, so memory stays the same
// whatever the file's size. Reading stops when the feeder meets a record word of 0 or a fault; a
// final piece shorter than a record is ignored. A folder, a missing or unreadable file fails with
// Error::Open or Error::Read.
LapFileResult readLapFile(const QString& path, LapRecordFeeder& feeder);
// The same over a device open for reading (a file opened by the caller, standard input), from
// where it stands; a read error fails with Error::Read.
LapFileResult readLapFile(QIODevice& device, LapRecordFeeder& feeder);

// readLapFile() through converter, as the first file of its own. The converter's buffered text is
// not flushed.
LapFileResult convertLapFile(const QString& path, LapConverter& converter);
LapFileResult convertLapFile(QIODevice& device, LapConverter& converter);
