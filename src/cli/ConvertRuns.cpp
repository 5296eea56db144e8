#include "cli/ConvertRuns.h"

#include "cli/ConvertMessages.h"
#include "cli/ConvertOutput.h"
#include "lap_analysis/LapCsv.h"
#include "lap_analysis/LapInput.h"
#include "lap_analysis/SessionSummary.h"
#include "lap_conversion/LapFile.h"

#include <QFileInfo>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace {

// Reports that no file held a lap record, leaving the output untouched.
void reportNothingWritten(Output& output)
{
    output.discard();
    printErr(QStringLiteral("no lap record converted; nothing written%1")
                 .arg(output.toFile() ? QStringLiteral(" to ") + output.name() : QString()));
}

QString fileErrorText(const QString& path, const LapInputResult& result)
{
    if (result.error == LapInputResult::Error::NoTable)
        return QStringLiteral("no lap table in %1").arg(native(path));
    return QStringLiteral("%1: %2").arg(native(path), result.describe());
}

void reportSkippedLines(const QString& path, const std::vector<std::int64_t>& lines)
{
    if (lines.empty())
        return;
    QString list;
    for (std::size_t i = 0; i < lines.size() && i < 10; ++i)
        list += (i == 0 ? QString() : QStringLiteral(", ")) + QString::number(lines[i]);
    if (lines.size() > 10)
        list += QStringLiteral(" and %1 more").arg(lines.size() - 10);
    printErr(QStringLiteral("%1: %2 line(s) skipped, not lap lines: %3")
                 .arg(native(path))
                 .arg(lines.size())
                 .arg(list));
}

using LapFileReader = LapInputResult (*)(const QString&, const LapReceiver&);

// The reader for the run's files: all lap record files or all table texts. Nothing when they
// are mixed; files that cannot be opened count as neither and fail when their turn comes.
std::optional<LapFileReader> readerFor(const QStringList& files)
{
    bool records = false;
    bool texts = false;
    for (const QString& path : files) {
        const LapInputKind kind = lapInputKind(path);
        records = records || kind == LapInputKind::Records;
        texts = texts || kind == LapInputKind::TableText;
    }
    if (records && texts)
        return std::nullopt;
    return texts ? readLapTableFile : readLapRecordFile;
}

// Reads the files in order until the first that fails. A reporting run prints the failure and
// the skipped lines of table texts, and gives them to notes if there are any. Returns the exit
// status.
int readFiles(const Options& options, LapFileReader reader, const LapReceiver& receiver,
              bool report, SummaryNotes* notes = nullptr)
{
    for (const QString& path : options.files) {
        const LapInputResult result = reader(path, receiver);
        if (report && !notes)
            reportSkippedLines(path, result.skippedLines);
        if (notes && !result.skippedLines.empty())
            notes->skipped.push_back({native(path).toStdString(), result.skippedLines});
        if (!result.ok()) {
            const QString reason = fileErrorText(path, result);
            if (report)
                printErr(reason);
            if (notes) {
                notes->incomplete = true;
                notes->fault = reason.toStdString();
            }
            return kExitFailure;
        }
    }
    return 0;
}

int runTable(const Options& options, Output& output)
{
    int status = 0;
    LapConverter converter(options.decimalPoint,
                           [&output](std::string_view text) { output.write(text); });
    for (const QString& path : options.files) {
        const LapFileResult result = convertLapFile(path, converter);
        if (!result.ok()) {
            printErr(QStringLiteral("%1: %2").arg(native(path), result.describe()));
            status = kExitFailure;
            break;
        }
    }
    converter.flush();
    if (!converter.headerWritten()) {
        // An empty table: "Text save" refuses it, so nothing is written.
        reportNothingWritten(output);
        return status;
    }
    output.write("\r\n"); // the final line end "Text save" adds
    output.finish();
    return status;
}

// CSV in two passes over the files, so memory stays flat: the first finds the median lap time
// (a histogram of times), the second writes the rows with their counted flags.
int runCsv(const Options& options, Output& output)
{
    const LapFileReader reader = *readerFor(options.files);
    std::optional<std::int32_t> limit;
    if (options.excludeSlower > 0) {
        TimeHistogram times;
        const LapReceiver count{[](SpeedUnit) {},
                                [&times](const LapData& lap) { times.add(lap.lapTime()); }};
        readFiles(options, reader, count, false);
        if (const auto median = times.median())
            limit = excludeLimitFor(*median, options.excludeSlower);
    }

    // Rows are written in place into one buffer that goes out in batches.
    constexpr std::size_t kBatch = 64 * 1024;
    std::string buffer(kBatch + kMaxCsvRowLength, '\0');
    std::size_t used = 0;
    bool headerWritten = false;
    const LapReceiver write{[&](SpeedUnit unit) {
                                if (headerWritten)
                                    return;
                                std::string header;
                                appendCsvHeader(unit, options.csv, header);
                                output.write(header);
                                headerWritten = true;
                            },
                            [&](const LapData& lap) {
                                const bool counted =
                                    lap.timed() && (!limit || lap.lapTime() <= *limit);
                                char* end =
                                    writeCsvRow(lap, counted, options.csv, buffer.data() + used);
                                used = static_cast<std::size_t>(end - buffer.data());
                                if (used >= kBatch) {
                                    output.write(std::string_view(buffer.data(), used));
                                    used = 0;
                                }
                            }};
    const int status = readFiles(options, reader, write, true);
    if (!headerWritten) {
        reportNothingWritten(output);
        return status;
    }
    output.write(std::string_view(buffer.data(), used));
    output.finish();
    return status;
}

int runSummary(const Options& options, Output& output)
{
    const LapFileReader reader = *readerFor(options.files);
    std::vector<LapData> laps;
    if (reader == readLapRecordFile) {
        // Room for every record the files can hold, so the laps are not moved while they grow.
        qint64 bytes = 0;
        for (const QString& path : options.files)
            bytes += QFileInfo(path).size();
        laps.reserve(static_cast<std::size_t>(bytes / static_cast<qint64>(kRecordSize)));
    }
    std::optional<SpeedUnit> unit;
    const LapReceiver keep{[&unit](SpeedUnit u) { unit = unit.value_or(u); },
                           [&laps](const LapData& lap) { laps.push_back(lap); }};
    SummaryNotes notes;
    notes.excludeSlowerPercent = options.excludeSlower;
    const int status = readFiles(options, reader, keep, true, &notes);
    if (!unit) {
        reportNothingWritten(output);
        return status;
    }
    AnalysisOptions analysis;
    analysis.excludeSlowerPercent = options.excludeSlower;
    const SessionStats stats = analyseSession(laps, analysis);
    output.write(sessionSummary(laps, *unit, stats, notes));
    output.finish();
    return status;
}

// Every format, the default first. A new format is its run above and one row here.
const std::array kFormats{
    FormatSpec{"table", "the lap table text, the default", FormatSpec::Inputs::Records,
               FormatSpec::DecimalPoint, runTable},
    FormatSpec{"csv", "one row per lap", FormatSpec::Inputs::RecordsOrTables,
               FormatSpec::CsvDelimiter | FormatSpec::ExcludeSlower, runCsv},
    FormatSpec{"summary", "the session's statistics", FormatSpec::Inputs::RecordsOrTables,
               FormatSpec::ExcludeSlower, runSummary},
};

} // namespace

std::span<const FormatSpec> formats()
{
    return kFormats;
}

int runConversion(const Options& options)
{
    if (options.format->inputs == FormatSpec::Inputs::RecordsOrTables && !readerFor(options.files))
        return usageError(QStringLiteral("lap record files and lap table texts cannot be "
                                         "mixed in one run"));

    Output output(options.output);
    if (const FileResult<> opened = output.open(); !opened) {
        printErr(QStringLiteral("%1: cannot write: %2").arg(output.name(), opened.reason()));
        return kExitFailure;
    }
    try {
        return options.format->run(options, output);
    } catch (const OutputFailed& failed) {
        output.discard();
        printErr(QStringLiteral("%1: cannot write: %2").arg(output.name(), failed.reason));
    }
    return kExitFailure;
}
