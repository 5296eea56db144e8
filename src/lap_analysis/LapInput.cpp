#include "lap_analysis/LapInput.h"

#include "lap_analysis/LapTableReader.h"
#include "lap_conversion/LapFile.h"

#include <QFile>
#include <algorithm>
#include <cstring>

namespace {

// Records read per chunk: about 114 KiB.
constexpr std::size_t kChunkRecords = 512;
// Bytes of text read per chunk.
constexpr std::size_t kTextChunk = 256 * 1024;
// A line longer than this is neither a header nor a lap line; only its start is kept.
constexpr std::size_t kLongestLine = 1024;
// How far the kind of a file is looked for.
constexpr qint64 kSniffBytes = 64 * 1024;

bool openFile(QFile& file, LapInputResult& result)
{
    // QFile would also complain about an empty name on the process's own error output.
    if (file.fileName().isEmpty()) {
        result.error = LapInputResult::Error::Open;
        result.file = FileResult<>::failure(QStringLiteral("No file name specified"));
        return false;
    }
    if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return true;
    result.error = LapInputResult::Error::Open;
    result.file = FileResult<>::failure(file.errorString());
    return false;
}

bool readFailed(QFile& file, qint64 n, LapInputResult& result)
{
    if (n >= 0)
        return false;
    result.error = LapInputResult::Error::Read;
    result.file = FileResult<>::failure(file.errorString());
    return true;
}

} // namespace

QString LapInputResult::describe() const
{
    LapFileResult result;
    result.file = file;
    result.fault = fault;
    switch (error) {
    case Error::None:
        break;
    case Error::Open:
        result.error = LapFileResult::Error::Open;
        break;
    case Error::Read:
        result.error = LapFileResult::Error::Read;
        break;
    case Error::Record:
        result.error = LapFileResult::Error::Record;
        break;
    case Error::NoTable:
        return QStringLiteral("no lap table");
    }
    return result.describe();
}

LapInputKind lapInputKind(const QString& path)
{
    if (path.isEmpty())
        return LapInputKind::Unreadable;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LapInputKind::Unreadable;
    const QByteArray head = file.read(kSniffBytes);
    if (head.isEmpty() && file.error() != QFileDevice::NoError)
        return LapInputKind::Unreadable;
    if (head.isEmpty() || head.contains('\0'))
        return LapInputKind::Records;
    return LapInputKind::TableText;
}

LapInputResult readLapRecordFile(const QString& path, const LapReceiver& receiver)
{
    LapInputResult result;
    QFile file(path);
    if (!openFile(file, result))
        return result;

    std::vector<std::uint8_t> chunk(kChunkRecords * kRecordSize);
    std::uint64_t records = 0;
    bool unitGiven = false;
    LapRecord record;
    std::size_t filled = 0;
    for (;;) {
        const qint64 n = file.read(reinterpret_cast<char*>(chunk.data() + filled),
                                   static_cast<qint64>(chunk.size() - filled));
        if (readFailed(file, n, result) || n == 0)
            return result; // at the end, a shorter final piece gives nothing
        filled += static_cast<std::size_t>(n);

        std::size_t used = 0;
        for (; filled - used >= kRecordSize; used += kRecordSize) {
            RecordFault fault;
            const RecordStatus status =
                decodeLapRecord(std::span(chunk.data() + used, kRecordSize), record, fault);
            ++records;
            if (status == RecordStatus::EndOfData)
                return result;
            if (!unitGiven && record.recordWord != 0) {
                receiver.unit(unitFromRecordWord(record.recordWord));
                unitGiven = true;
            }
            if (status == RecordStatus::Fault) {
                result.error = LapInputResult::Error::Record;
                result.fault = LapFault{fault.kind, records,
                                        (records - 1) * kRecordSize + fault.offset, fault.value};
                return result;
            }
            receiver.lap(lapFromRecord(record));
        }
        filled -= used;
        if (filled != 0)
            std::memmove(chunk.data(), chunk.data() + used, filled);
    }
}

LapInputResult readLapTableFile(const QString& path, const LapReceiver& receiver)
{
    LapInputResult result;
    QFile file(path);
    if (!openFile(file, result))
        return result;

    LapTableReader reader;
    bool unitGiven = false;
    std::string chunk(kTextChunk, '\0');
    std::string partial; // a line that runs over the end of a chunk
    auto feed = [&](std::string_view line) {
        reader.feedLine(line);
        if (!unitGiven && reader.headerFound()) {
            receiver.unit(reader.unit());
            unitGiven = true;
        }
        for (const LapData& lap : reader.laps())
            receiver.lap(lap);
        reader.laps().clear();
    };
    auto keepPartial = [&partial](std::string_view piece) {
        const std::size_t room = kLongestLine + 1 - std::min(partial.size(), kLongestLine + 1);
        partial.append(piece.substr(0, room));
    };
    for (;;) {
        const qint64 n = file.read(chunk.data(), static_cast<qint64>(chunk.size()));
        if (readFailed(file, n, result))
            break;
        if (n == 0) {
            if (!partial.empty())
                feed(partial);
            break;
        }
        std::string_view text(chunk.data(), static_cast<std::size_t>(n));
        while (!text.empty()) {
            const std::size_t lf = text.find('\n');
            if (lf == std::string_view::npos) {
                keepPartial(text);
                break;
            }
            if (partial.empty()) {
                feed(text.substr(0, lf));
            } else {
                keepPartial(text.substr(0, lf));
                feed(partial);
                partial.clear();
            }
            text.remove_prefix(lf + 1);
        }
    }
    result.skippedLines = reader.skippedLines();
    if (result.ok() && !reader.headerFound())
        result.error = LapInputResult::Error::NoTable;
    return result;
}
