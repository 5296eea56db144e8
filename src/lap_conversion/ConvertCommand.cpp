#include "lap_conversion/ConvertCommand.h"

#include "lap_conversion/LapFile.h"

#include <QBuffer>
#include <functional>

namespace {

// Takes the first name off GET_NAME: the text before its first carriage return, or all of it
// when there is none.
QString takeName(QString& names)
{
    const qsizetype cr = names.indexOf(QLatin1Char('\r'));
    if (cr < 0) {
        QString name = names;
        names.clear();
        return name;
    }
    QString name = names.left(cr);
    names.remove(0, cr + 1);
    return name;
}

// The names left in GET_NAME.
QStringList namesLeft(QString names)
{
    QStringList left;
    while (!names.isEmpty())
        left << takeName(names);
    return left;
}

// Feeds the converter and notes what the file gave: its lap lines and the unit of its first
// record.
class CountingFeeder : public LapRecordFeeder {
public:
    explicit CountingFeeder(LapConverter& converter) : converter_(converter) {}

    LapConverter::FeedResult feed(std::span<const std::uint8_t> bytes) override
    {
        if (!first_ && bytes.size() >= kRecordSize) {
            first_ = true;
            // A readable, nonzero record word: the header's rule for the unit.
            if (bytes[0] < 0x80 && (bytes[0] != 0 || bytes[1] != 0))
                unitFlag_ = bytes[1] & 1;
        }
        const LapConverter::FeedResult result = converter_.feed(bytes);
        records_ += result.consumed / kRecordSize;
        // The ending record, a zero word or a faulty one, gives no line.
        if (result.status != LapConverter::Status::NeedMore && records_ > 0)
            ended_ = true;
        return result;
    }
    LapFault fault() const override { return converter_.fault(); }

    qsizetype lapLines() const { return qsizetype(records_) - (ended_ ? 1 : 0); }
    int unitFlag() const { return unitFlag_; }

private:
    LapConverter& converter_;
    std::size_t records_ = 0;
    bool ended_ = false;
    bool first_ = false;
    int unitFlag_ = -1;
};

} // namespace

namespace {

// The command over lap files one after another: next() gives the next name while more() says
// there is one, read() reads it through a feeder, left() names those not read after a failure.
struct FileSource {
    std::function<bool()> more;
    std::function<QString()> next;
    std::function<LapFileResult(const QString& name, LapRecordFeeder& feeder)> read;
    std::function<QStringList()> left;
};

void convertSources(const FileSource& source, TextView& view, const WarningFn& warn,
                    char decimalPoint, LapFileLoad* load)
{
    LapFileLoad record;
    // The view is cleared once the first file has been opened, as Text load does: a file that
    // vanished since the chooser listed it must not cost the user the table on screen.
    bool cleared = false;
    const auto clearOnce = [&view, &cleared] {
        if (!cleared)
            view.clear();
        cleared = true;
    };
    // The view is slow per call, so the text reaches it in batches; the result is the same as
    // appending every line on its own.
    LapConverter converter(decimalPoint, [&view, &clearOnce](std::string_view text) {
        clearOnce();
        view.append(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    });
    qsizetype lapLines = 0;
    while (source.more()) {
        LapFileLoad::File file;
        file.name = source.next();
        converter.startFile();
        CountingFeeder feeder(converter);
        const LapFileResult result = source.read(file.name, feeder);
        if (result.error != LapFileResult::Error::Open)
            clearOnce();
        file.lines = feeder.lapLines();
        file.unitFlag = feeder.unitFlag();
        if (file.lines > 0)
            file.firstLine = 1 + lapLines; // after the header, which comes before any lap line
        lapLines += file.lines;
        if (!result.ok()) {
            file.fault = result.describe();
            if (result.error == LapFileResult::Error::Record)
                file.faultRecord = result.fault.record;
        }
        record.files.push_back(file);
        if (!result.ok()) {
            converter.flush();
            record.unreadFiles = source.left();
            record.replacedView = cleared;
            if (load)
                *load = std::move(record);
            warn(QString::fromLatin1(kWarnNonFile));
            return;
        }
    }
    converter.flush();
    record.replacedView = cleared;
    if (load)
        *load = std::move(record);
}

} // namespace

void convertLapFiles(SharedState& state, TextView& view, const WarningFn& warn, char decimalPoint,
                     LapFileLoad* load)
{
    if (state.GET_NAME.isEmpty())
        return;
    const FileSource source{
        [&state] { return !state.GET_NAME.isEmpty(); },
        [&state] { return takeName(state.GET_NAME); },
        [&state](const QString& name, LapRecordFeeder& feeder) {
            return readLapFile(joinFolder(state.PASS_NAME2, name), feeder);
        },
        [&state] { return namesLeft(state.GET_NAME); }};
    convertSources(source, view, warn, decimalPoint, load);
}

void convertLapBytes(std::span<const LapBytes> files, TextView& view, const WarningFn& warn,
                     char decimalPoint, LapFileLoad* load)
{
    if (files.empty())
        return;
    std::size_t at = 0;
    const FileSource source{
        [&] { return at < files.size(); },
        [&] { return files[at].name; },
        [&](const QString&, LapRecordFeeder& feeder) {
            QBuffer buffer;
            buffer.setData(files[at++].bytes);
            buffer.open(QIODevice::ReadOnly);
            return readLapFile(buffer, feeder);
        },
        [&] {
            QStringList left;
            for (std::size_t i = at; i < files.size(); ++i)
                left << files[i].name;
            return left;
        }};
    convertSources(source, view, warn, decimalPoint, load);
}
