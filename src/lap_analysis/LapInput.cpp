#include "lap_analysis/LapInput.h"

#include "lap_analysis/LapTableReader.h"
#include "lap_conversion/LapFile.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// Bytes of text read per chunk.
constexpr std::size_t kTextChunk = 256 * 1024;
// A line longer than this is neither a header nor a lap line; only its start is kept.
constexpr std::size_t kLongestLine = 1024;
// The UTF-8 byte-order mark some editors put before the first line.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

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

bool readFailed(QIODevice& device, qint64 n, LapInputResult& result)
{
    if (n >= 0)
        return false;
    result.error = LapInputResult::Error::Read;
    result.file = FileResult<>::failure(device.errorString());
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

LapInputKind lapInputKind(QStringView name, QByteArrayView head)
{
    if (head.isEmpty())
        return LapInputKind::Empty;
    if (name.endsWith(u".bil", Qt::CaseInsensitive))
        return LapInputKind::Records;
    if (name.endsWith(u".txt", Qt::CaseInsensitive))
        return LapInputKind::TableText;
    return head.first(std::min<qsizetype>(head.size(), kLapInputSniffBytes)).contains('\0')
               ? LapInputKind::Records
               : LapInputKind::TableText;
}

LapInputResult readLapRecordFile(const QString& path, const LapReceiver& receiver)
{
    LapInputResult result;
    QFile file(path);
    if (!openFile(file, result))
        return result;
    return readLapRecordFile(file, receiver);
}

LapInputResult readLapRecordFile(QIODevice& device, const LapReceiver& receiver)
{
    // Decodes each record into a lap for the receiver, locating a fault as the converter does.
    class LapDataFeeder : public LapRecordFeeder {
    public:
        explicit LapDataFeeder(const LapReceiver& receiver) : receiver_(receiver) {}
        LapConverter::FeedResult feed(std::span<const std::uint8_t> bytes) override
        {
            std::size_t used = 0;
            for (; bytes.size() - used >= kRecordSize; used += kRecordSize) {
                RecordFault fault;
                const RecordStatus status =
                    decodeLapRecord(bytes.subspan(used, kRecordSize), record_, fault);
                ++records_;
                if (status == RecordStatus::EndOfData)
                    return {LapConverter::Status::EndOfData, used + kRecordSize};
                if (!unitGiven_ && record_.recordWord != 0) {
                    receiver_.unit(unitFromRecordWord(record_.recordWord));
                    unitGiven_ = true;
                }
                if (status == RecordStatus::Fault) {
                    fault_ = LapFault{fault.kind, records_,
                                      (records_ - 1) * kRecordSize + fault.offset, fault.value};
                    return {LapConverter::Status::Fault, used};
                }
                receiver_.lap(lapFromRecord(record_));
            }
            return {LapConverter::Status::NeedMore, used};
        }
        LapFault fault() const override { return fault_; }

    private:
        const LapReceiver& receiver_;
        LapRecord record_;
        std::uint64_t records_ = 0;
        bool unitGiven_ = false;
        LapFault fault_;
    };

    LapDataFeeder feeder(receiver);
    const LapFileResult read = readLapFile(device, feeder);
    LapInputResult result;
    result.file = read.file;
    result.fault = read.fault;
    switch (read.error) {
    case LapFileResult::Error::None:
        break;
    case LapFileResult::Error::Open:
        result.error = LapInputResult::Error::Open;
        break;
    case LapFileResult::Error::Read:
        result.error = LapInputResult::Error::Read;
        break;
    case LapFileResult::Error::Record:
        result.error = LapInputResult::Error::Record;
        break;
    }
    return result;
}

LapInputResult readLapTableFile(const QString& path, const LapReceiver& receiver)
{
    LapInputResult result;
    QFile file(path);
    if (!openFile(file, result))
        return result;
    return readLapTableFile(file, receiver);
}

LapInputResult readLapTableFile(QIODevice& device, const LapReceiver& receiver)
{
    LapInputResult result;
    LapTableReader reader(kSkippedLinesKept);
    bool unitGiven = false;
    bool anyByte = false;
    std::string chunk(kTextChunk, '\0');
    std::string partial; // a line that runs over the end of a chunk
    bool cutText = false; // what partial left out of its line was not all blanks
    auto feed = [&](std::string_view line) {
        if (reader.linesRead() == 0 && line.starts_with(kByteOrderMark))
            line.remove_prefix(kByteOrderMark.size());
        reader.feedLine(line);
        if (!unitGiven && reader.headerFound()) {
            receiver.unit(reader.unit());
            unitGiven = true;
        }
        if (!reader.laterHeaders().empty()) {
            if (receiver.laterHeader)
                receiver.laterHeader(reader.laterHeaders().back().unit);
            reader.clearLaterHeaders();
        }
        for (const LapData& lap : reader.laps())
            receiver.lap(lap);
        reader.clearLaps();
    };
    auto keepPartial = [&](std::string_view piece) {
        const std::size_t room = kLongestLine + 1 - std::min(partial.size(), kLongestLine + 1);
        partial.append(piece.substr(0, room));
        if (piece.size() > room && piece.find_first_not_of(" \t", room) != std::string_view::npos)
            cutText = true;
    };
    // A line cut short is too long for a header or a lap line; it stays a blank line only
    // when it was one, wherever the chunks happened to end.
    auto feedPartial = [&] {
        if (cutText)
            partial.back() = '#';
        feed(partial);
        partial.clear();
        cutText = false;
    };
    bool afterCr = false; // the last chunk ended in CR: an LF first in the next ends that line
    for (;;) {
        const qint64 n = device.read(chunk.data(), static_cast<qint64>(chunk.size()));
        if (readFailed(device, n, result))
            break;
        if (n == 0) {
            if (!partial.empty())
                feedPartial();
            break;
        }
        anyByte = true;
        const char* p = chunk.data();
        const char* const end = p + n;
        if (afterCr && *p == '\n')
            ++p;
        afterCr = false;
        // The next CR and the next LF, each looked for again only once passed, so that a text
        // with one kind of line end is not searched for the other at every line.
        const auto next = [end](const char* from, char c) {
            const void* found = std::memchr(from, c, std::size_t(end - from));
            return found ? static_cast<const char*>(found) : end;
        };
        const char* cr = next(p, '\r');
        const char* lf = next(p, '\n');
        while (p < end) {
            if (cr < p)
                cr = next(p, '\r');
            if (lf < p)
                lf = next(p, '\n');
            const char* lineEnd = std::min(cr, lf);
            const std::string_view line(p, std::size_t(lineEnd - p));
            if (lineEnd == end) {
                keepPartial(line);
                break;
            }
            if (partial.empty()) {
                feed(line);
            } else {
                keepPartial(line);
                feedPartial();
            }
            if (*lineEnd == '\r' && lineEnd + 1 == end)
                afterCr = true;
            p = lineEnd + (*lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n' ? 2 : 1);
        }
    }
    result.skippedCount = reader.skippedCount();
    result.skippedLines = reader.skippedLines();
    if (result.ok() && anyByte && !reader.headerFound())
        result.error = LapInputResult::Error::NoTable;
    return result;
}
