#pragma once

#include "lap_analysis/LapData.h"
#include "lap_conversion/LapConverter.h"
#include "file_io/FileResult.h"

#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <vector>

// Reading laps from files, streamed: lap record files (.BIL) and saved lap table texts.

enum class LapInputKind {
    Records,   // a lap record file
    TableText, // a saved lap table text
    Empty,     // no byte at all: empty of either kind
};

// How far into an input its content is looked at for its kind.
inline constexpr qint64 kLapInputSniffBytes = 64 * 1024;

// The kind of an input named name whose first bytes are head (up to kLapInputSniffBytes). The
// name decides first: "*.BIL" is a lap record file and "*.txt" a table text, in any letter case.
// Other names go by content: a lap record file holds NUL bytes near its start (the high bytes of
// its small words), a text does not. An input without bytes is Empty, whatever its name.
LapInputKind lapInputKind(QStringView name, QByteArrayView head);

// Where the laps of a file go, as they are read.
struct LapReceiver {
    // Once per file, before its first lap: the unit the file names (the first record word of a
    // record file, even when the rest of that record is faulty; a table text's header line).
    std::function<void(SpeedUnit unit)> unit;
    std::function<void(const LapData& lap)> lap;
    // A table text's header line after its first, in order between the laps: the laps after it
    // are of its unit (see TableSessionRule). May be left empty.
    std::function<void(SpeedUnit unit)> laterHeader = {};
};

// How many skipped line numbers a result keeps; the rest are only counted.
inline constexpr std::size_t kSkippedLinesKept = 10;

// Outcome of reading one file.
struct [[nodiscard]] LapInputResult {
    enum class Error { None, Open, Read, Record, NoTable };
    Error error = Error::None;
    FileResult<> file; // Error::Open, Error::Read: the system's reason
    LapFault fault;    // Error::Record: where the record fault lies
    // Table text: the lines after the header not read as laps, and the first kSkippedLinesKept
    // of their line numbers.
    std::int64_t skippedCount = 0;
    std::vector<std::int64_t> skippedLines;

    bool ok() const { return error == Error::None; }
    // A one-line reason for a failure, as the converter gives it for record files; "no lap
    // table" for a text without a header line.
    QString describe() const;
};

// Streams the lap records of a file until a record word of 0, a fault or the end; a final piece
// shorter than a record is ignored, as by the converter.
LapInputResult readLapRecordFile(const QString& path, const LapReceiver& receiver);
LapInputResult readLapRecordFile(QIODevice& device, const LapReceiver& receiver);
// Streams the lap lines of a saved table text. Lines end at CR LF, CR or LF, and a UTF-8
// byte-order mark before the first line is passed over, as the window reads a loaded text. An
// input without any byte is an empty table, not a text without one.
LapInputResult readLapTableFile(const QString& path, const LapReceiver& receiver);
LapInputResult readLapTableFile(QIODevice& device, const LapReceiver& receiver);
