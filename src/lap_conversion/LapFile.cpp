#include "lap_conversion/LapFile.h"

#include <QFile>
#include <cstring>
#include <vector>

namespace {

// Records read per chunk: about 114 KiB.
constexpr std::size_t kChunkRecords = 512;

} // namespace

QString LapFileResult::describe() const
{
    switch (error) {
    case Error::None:
        return QStringLiteral("ok");
    case Error::Open:
        return QStringLiteral("cannot open: %1").arg(file.reason());
    case Error::Read:
        return QStringLiteral("read error: %1").arg(file.reason());
    case Error::Record:
        break;
    }
    const QString where =
        QStringLiteral("record %1, byte %2: ").arg(fault.record).arg(fault.offset);
    const QString hex = QStringLiteral("0x") +
                        QStringLiteral("%1").arg(fault.value, 4, 16, QLatin1Char('0')).toUpper();
    switch (fault.kind) {
    case RecordFaultKind::HighByte:
        return where + QStringLiteral("word %1 is above 32767").arg(hex);
    case RecordFaultKind::LapOverflow:
        return where +
               QStringLiteral("lap index %1 leaves no lap number (overflow)").arg(fault.value);
    case RecordFaultKind::Truncated:
        return where + QStringLiteral("record is cut short");
    case RecordFaultKind::None:
        break;
    }
    return where + QStringLiteral("fault");
}

LapFileResult readLapFile(const QString& path, LapRecordFeeder& feeder)
{
    LapFileResult result;
    // QFile would also complain about an empty name on the process's own error output.
    if (path.isEmpty()) {
        result.error = LapFileResult::Error::Open;
        result.file = FileResult<>::failure(QStringLiteral("No file name specified"));
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        result.error = LapFileResult::Error::Open;
        result.file = FileResult<>::failure(file.errorString());
        return result;
    }
    return readLapFile(file, feeder);
}

LapFileResult readLapFile(QIODevice& device, LapRecordFeeder& feeder)
{
    LapFileResult result;
    std::vector<std::uint8_t> chunk(kChunkRecords * kRecordSize);
    std::size_t filled = 0;
    for (;;) {
        const qint64 n = device.read(reinterpret_cast<char*>(chunk.data() + filled),
                                     static_cast<qint64>(chunk.size() - filled));
        if (n < 0) {
            result.error = LapFileResult::Error::Read;
            result.file = FileResult<>::failure(device.errorString());
            return result;
        }
        if (n == 0)
            return result; // end of file; a shorter final piece gives nothing
        filled += static_cast<std::size_t>(n);

        const auto fed = feeder.feed(std::span(chunk.data(), filled));
        if (fed.status == LapConverter::Status::EndOfData)
            return result;
        if (fed.status == LapConverter::Status::Fault) {
            result.error = LapFileResult::Error::Record;
            result.fault = feeder.fault();
            return result;
        }
        filled -= fed.consumed;
        if (filled != 0)
            std::memmove(chunk.data(), chunk.data() + fed.consumed, filled);
    }
}

namespace {

// Feeds a converter, as the first file of its own.
class ConverterFeeder : public LapRecordFeeder {
public:
    explicit ConverterFeeder(LapConverter& converter) : converter_(converter)
    {
        converter_.startFile();
    }
    LapConverter::FeedResult feed(std::span<const std::uint8_t> bytes) override
    {
        return converter_.feed(bytes);
    }
    LapFault fault() const override { return converter_.fault(); }

private:
    LapConverter& converter_;
};

} // namespace

LapFileResult convertLapFile(const QString& path, LapConverter& converter)
{
    ConverterFeeder feeder(converter);
    return readLapFile(path, feeder);
}

LapFileResult convertLapFile(QIODevice& device, LapConverter& converter)
{
    ConverterFeeder feeder(converter);
    return readLapFile(device, feeder);
}
