#include "lap_conversion/ConvertCommand.h"

#include "lap_conversion/LapFile.h"

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

void convertLapFiles(SharedState& state, TextView& view, const WarningFn& warn, char decimalPoint,
                     LapFileLoad* load)
{
    if (state.GET_NAME.isEmpty())
        return;
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
    while (!state.GET_NAME.isEmpty()) {
        LapFileLoad::File file;
        file.name = takeName(state.GET_NAME);
        converter.startFile();
        CountingFeeder feeder(converter);
        const LapFileResult result = readLapFile(joinFolder(state.PASS_NAME2, file.name), feeder);
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
            record.unreadFiles = namesLeft(state.GET_NAME);
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
