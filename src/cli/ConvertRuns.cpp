#include "cli/ConvertRuns.h"

#include "cli/ConvertMessages.h"
#include "cli/ConvertOutput.h"
#include "lap_analysis/LapCsv.h"
#include "lap_analysis/SessionSummary.h"
#include "lap_conversion/LapFile.h"
#include "shared_state/FileName.h"

#include <array>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

using Pass = RunInputs::Pass;

// Reports that no file held a lap record, leaving the output untouched.
void reportNothingWritten(Output& output)
{
    output.discard();
    printErr(QStringLiteral("no lap record converted; nothing written%1")
                 .arg(output.toFile() ? QStringLiteral(" to ") + output.name() : QString()));
}

QString fileErrorText(const QString& name, const LapInputResult& result)
{
    if (result.error == LapInputResult::Error::NoTable)
        return QStringLiteral("no lap table in %1").arg(name);
    return QStringLiteral("%1: %2").arg(name, result.describe());
}

void reportSkippedLines(const QString& name, const LapInputResult& result)
{
    if (result.skippedCount == 0)
        return;
    QString list;
    for (std::size_t i = 0; i < result.skippedLines.size(); ++i)
        list +=
            (i == 0 ? QString() : QStringLiteral(", ")) + QString::number(result.skippedLines[i]);
    const auto listed = std::int64_t(result.skippedLines.size());
    if (result.skippedCount > listed)
        list += QStringLiteral(" and %1 more").arg(result.skippedCount - listed);
    printErr(QStringLiteral("%1: %2 line(s) skipped, not lap lines: %3")
                 .arg(name)
                 .arg(result.skippedCount)
                 .arg(list));
}

// The reader for the run's inputs: all lap record files or all table texts. Nothing when they
// are mixed; empty inputs and inputs that cannot be opened count as neither (the latter fail
// when their turn comes).
std::optional<LapDeviceReader> readerFor(RunInputs& inputs)
{
    bool records = false;
    bool texts = false;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        const std::optional<LapInputKind> kind = inputs.kind(i);
        records = records || kind == LapInputKind::Records;
        texts = texts || kind == LapInputKind::TableText;
    }
    if (records && texts)
        return std::nullopt;
    if (texts)
        return readLapTableFile;
    return readLapRecordFile;
}

// Reads the inputs in order until the first that fails. A reporting run prints the failure and
// the skipped lines of table texts, and gives them to notes if there are any. Returns the exit
// status.
int readInputs(RunContext& run, Pass pass, const LapReceiver& receiver, bool report,
               SummaryNotes* notes = nullptr)
{
    for (qsizetype i = 0; i < run.inputs.size(); ++i) {
        const QString name = run.inputs.shownName(i);
        LapInputResult result;
        if (const auto device = run.inputs.open(i, pass)) {
            result = run.reader(*device.value(), receiver);
        } else {
            result.error = LapInputResult::Error::Open;
            result.file = FileResult<>::failure(device);
        }
        if (report && !notes)
            reportSkippedLines(name, result);
        if (notes && result.skippedCount > 0)
            notes->skipped.push_back(
                {encodeFileName(name).toStdString(), result.skippedLines, result.skippedCount});
        if (!result.ok()) {
            const QString reason = fileErrorText(name, result);
            if (report)
                printErr(reason);
            if (notes) {
                notes->incomplete = true;
                notes->fault = encodeFileName(reason).toStdString();
            }
            return kExitFailure;
        }
    }
    return 0;
}

int runTable(RunContext& run)
{
    int status = 0;
    LapConverter converter(run.options.decimalPoint,
                           [&run](std::string_view text) { run.output.write(text); });
    for (qsizetype i = 0; i < run.inputs.size(); ++i) {
        LapFileResult result;
        if (const auto device = run.inputs.open(i, Pass::Last)) {
            result = convertLapFile(*device.value(), converter);
        } else {
            result.error = LapFileResult::Error::Open;
            result.file = FileResult<>::failure(device);
        }
        if (!result.ok()) {
            printErr(QStringLiteral("%1: %2").arg(run.inputs.shownName(i), result.describe()));
            status = kExitFailure;
            break;
        }
    }
    converter.flush();
    if (!converter.headerWritten()) {
        // An empty table: "Text save" refuses it, so nothing is written.
        reportNothingWritten(run.output);
        return status;
    }
    run.output.write("\r\n"); // the final line end "Text save" adds
    run.output.finish();
    return status;
}

// CSV in two passes over the files, so memory stays flat: the first finds the median lap time
// (a histogram of times), the second writes the rows with their counted flags.
int runCsv(RunContext& run)
{
    const Options& options = run.options;
    std::optional<std::int32_t> limit;
    if (options.excludeSlower > 0) {
        TimeHistogram times;
        const LapReceiver count{[](SpeedUnit) {},
                                [&times](const LapData& lap) { times.add(lap.lapTime()); }};
        readInputs(run, Pass::Again, count, false);
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
                                run.output.write(header);
                                headerWritten = true;
                            },
                            [&](const LapData& lap) {
                                const bool counted =
                                    lap.timed() && (!limit || lap.lapTime() <= *limit);
                                char* end =
                                    writeCsvRow(lap, counted, options.csv, buffer.data() + used);
                                used = static_cast<std::size_t>(end - buffer.data());
                                if (used >= kBatch) {
                                    run.output.write(std::string_view(buffer.data(), used));
                                    used = 0;
                                }
                            }};
    const int status = readInputs(run, Pass::Last, write, true);
    if (!headerWritten) {
        reportNothingWritten(run.output);
        return status;
    }
    run.output.write(std::string_view(buffer.data(), used));
    run.output.finish();
    return status;
}

int runSummary(RunContext& run)
{
    // The laps grow as they come: nothing is reserved from the inputs' sizes, which may be those
    // of sparse files or devices and say nothing about their laps.
    std::vector<LapData> laps;
    std::optional<SpeedUnit> unit;
    const LapReceiver keep{[&unit](SpeedUnit u) { unit = unit.value_or(u); },
                           [&laps](const LapData& lap) { laps.push_back(lap); }};
    SummaryNotes notes;
    notes.excludeSlowerPercent = run.options.excludeSlower;
    const int status = readInputs(run, Pass::Last, keep, true, &notes);
    if (!unit) {
        reportNothingWritten(run.output);
        return status;
    }
    AnalysisOptions analysis;
    analysis.excludeSlowerPercent = run.options.excludeSlower;
    const SessionStats stats = analyseSession(laps, analysis);
    run.output.write(sessionSummary(laps, *unit, stats, notes));
    run.output.finish();
    return status;
}

// Every format, the default first. A new format is its run above and one row here.
const std::array kFormats{
    FormatSpec{"table", "the lap table text, the default", FormatSpec::Inputs::Records,
               FormatSpec::DecimalPoint, true, runTable},
    FormatSpec{"csv", "one row per lap", FormatSpec::Inputs::RecordsOrTables,
               FormatSpec::CsvDelimiter | FormatSpec::ExcludeSlower, false, runCsv},
    FormatSpec{"summary", "the session's statistics", FormatSpec::Inputs::RecordsOrTables,
               FormatSpec::ExcludeSlower, false, runSummary},
};

} // namespace

std::span<const FormatSpec> formats()
{
    return kFormats;
}

int runConversion(const Options& options, const StandardStreams& streams)
{
    const FormatSpec& format = *options.format;
    RunInputs inputs(options.files, !format.singlePass, streams.inputClosed);
    if (!options.output.isEmpty() && inputs.includes(options.output)) {
        printErr(QStringLiteral("%1: -o names one of the input files; nothing written")
                     .arg(native(options.output)));
        return kExitFailure;
    }
    if (options.output.isEmpty() && streams.outputClosed) {
        printErr(QStringLiteral("standard output is closed; nothing written"));
        return kExitFailure;
    }

    Output output(options.output);
    try {
        LapDeviceReader reader = readLapRecordFile;
        if (format.inputs == FormatSpec::Inputs::RecordsOrTables) {
            const std::optional<LapDeviceReader> common = readerFor(inputs);
            if (!common)
                return usageError(QStringLiteral("lap record files and lap table texts cannot "
                                                 "be mixed in one run"));
            reader = *common;
        }
        if (const FileResult<> opened = output.open(); !opened) {
            printErr(QStringLiteral("%1: cannot write: %2").arg(output.name(), opened.reason()));
            return kExitFailure;
        }
        RunContext run{options, inputs, reader, output};
        return format.run(run);
    } catch (const OutputFailed& failed) {
        output.discard();
        printErr(QStringLiteral("%1: cannot write: %2").arg(output.name(), failed.reason));
    } catch (const std::bad_alloc&) {
        output.discard();
        printErr(output.toFile()
                     ? QStringLiteral("out of memory; nothing written to %1").arg(output.name())
                     : QStringLiteral("out of memory"));
    }
    return kExitFailure;
}
