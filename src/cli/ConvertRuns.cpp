#include "cli/ConvertRuns.h"

#include "cli/ConvertMessages.h"
#include "cli/ConvertOutput.h"
#include "lap_analysis/LapCsv.h"
#include "lap_analysis/LapRules.h"
#include "lap_analysis/SessionAnalysis.h"
#include "lap_analysis/SessionTexts.h"
#include "lap_analysis/SessionSummary.h"
#include "lap_conversion/LapFile.h"
#include "session_report/SessionReport.h"
#include "analysis_view/SessionReportBuilder.h"
#include "file_io/FileName.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <vector>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

using Pass = RunInputs::Pass;

// Reports that no file held a lap record, leaving the output untouched.
void reportNothingWritten(Output& output)
{
    output.discard();
    printErr(output.toFile() ? QCoreApplication::translate(
                                   "MirenConvert", "no lap record converted; nothing written to %1")
                                   .arg(output.name())
                             : QCoreApplication::translate(
                                   "MirenConvert", "no lap record converted; nothing written"));
}

QString fileErrorText(const QString& name, const LapInputResult& result)
{
    if (result.error == LapInputResult::Error::NoTable)
        return QCoreApplication::translate("MirenConvert", "no lap table in %1").arg(name);
    return QStringLiteral("%1: %2").arg(name, result.describe());
}

void reportSkippedLines(const QString& name, const LapInputResult& result)
{
    if (result.skippedCount == 0)
        return;
    const ListedLines listed = listLines(result.skippedLines);
    // The reader keeps only the first lines; the rest are only counted.
    const auto more =
        result.skippedCount - std::int64_t(result.skippedLines.size()) + std::int64_t(listed.more);
    const QString list = QString::fromStdString(listed.names);
    if (more > 0)
        printErr(QCoreApplication::translate(
                     "MirenConvert", "%1: %2 line(s) skipped, not lap lines: %3 and %4 more")
                     .arg(name)
                     .arg(result.skippedCount)
                     .arg(list)
                     .arg(more));
    else
        printErr(
            QCoreApplication::translate("MirenConvert", "%1: %2 line(s) skipped, not lap lines: %3")
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
// beginInput is told each input's position before it is read: a session is one input.
int readInputs(RunContext& run, Pass pass, const LapReceiver& receiver, bool report,
               SummaryNotes* notes = nullptr, const std::function<void(qsizetype)>& beginInput = {})
{
    for (qsizetype i = 0; i < run.inputs.size(); ++i) {
        const QString name = run.inputs.shownName(i);
        if (beginInput)
            beginInput(i);
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

// The name a session goes by: the input file's name without its folder; "" for standard input.
std::string sessionNameOf(const QString& input)
{
    if (input == QStringLiteral("-"))
        return {};
    return encodeFileName(QFileInfo(input).fileName()).toStdString();
}

// CSV in two passes over the files, so memory stays flat: the first finds each session's unit
// and the median lap time of its laps (a histogram of times), the second writes the rows with
// their counted flags, each session by its own exclusion limit.
int runCsv(RunContext& run)
{
    const Options& options = run.options;
    const auto inputs = std::size_t(run.inputs.size());
    std::vector<std::optional<std::int32_t>> limits(inputs);
    std::vector<std::optional<SpeedUnit>> units(inputs);
    {
        TimeHistogram times;
        std::size_t current = 0;
        const auto closeSession = [&] {
            if (options.excludeSlower > 0)
                if (const auto median = times.median())
                    limits[current] = excludeLimitFor(*median, options.excludeSlower);
            times.clear();
        };
        const LapReceiver count{
            [&](SpeedUnit unit) { units[current] = units[current].value_or(unit); },
            [&times](const LapData& lap) { times.add(lap.lapTime()); }};
        bool started = false;
        readInputs(run, Pass::Again, count, false, nullptr, [&](qsizetype i) {
            if (started)
                closeSession();
            started = true;
            current = std::size_t(i);
        });
        if (started)
            closeSession();
    }
    // The speed columns name their unit when every session has the same; otherwise each row
    // says its own.
    std::optional<SpeedUnit> sharedUnit;
    bool unitsDiffer = false;
    for (const auto& unit : units) {
        if (!unit)
            continue;
        unitsDiffer = unitsDiffer || (sharedUnit && *sharedUnit != *unit);
        sharedUnit = sharedUnit.value_or(*unit);
    }
    if (unitsDiffer)
        sharedUnit.reset();

    // Rows are written in place into one buffer that goes out in batches.
    constexpr std::size_t kBatch = 64 * 1024;
    std::string buffer;
    std::size_t used = 0;
    bool headerWritten = false;
    std::size_t current = 0;
    std::string nameCell;
    const LapReceiver write{
        [&](SpeedUnit) {
            if (headerWritten)
                return;
            std::string header;
            appendSessionCsvHeader(sharedUnit, options.csv, header);
            run.output.write(header);
            headerWritten = true;
        },
        [&](const LapData& lap) {
            const bool counted = lapCounts(lap.lapTime(), limits[current]);
            // Without a shared unit, the header has the speed_unit column.
            const std::optional<SpeedUnit> unitCell =
                sharedUnit ? std::nullopt : std::optional(units[current].value_or(SpeedUnit::Kmh));
            char* end = writeSessionCsvRow(current + 1, nameCell, lap, counted, unitCell,
                                           options.csv, buffer.data() + used);
            used = static_cast<std::size_t>(end - buffer.data());
            if (used >= kBatch) {
                run.output.write(std::string_view(buffer.data(), used));
                used = 0;
            }
        }};
    const int status = readInputs(run, Pass::Last, write, true, nullptr, [&](qsizetype i) {
        if (used > 0)
            run.output.write(std::string_view(buffer.data(), used));
        used = 0;
        current = std::size_t(i);
        nameCell = csvCell(sessionNameOf(options.files[i]), options.csv);
        buffer.assign(kBatch + sessionCsvRowRoom(nameCell.size()), '\0');
    });
    if (!headerWritten) {
        reportNothingWritten(run.output);
        return status;
    }
    run.output.write(std::string_view(buffer.data(), used));
    run.output.finish();
    return status;
}

// Reads every input as one session, its laps kept, into analysis. Returns the exit status;
// any is false when no input named a speed unit (nothing to report).
int readSessions(RunContext& run, SessionAnalysis& analysis, SummaryNotes& notes, bool& any)
{
    // The laps grow as they come: nothing is reserved from the inputs' sizes, which may be those
    // of sparse files or devices and say nothing about their laps.
    std::vector<LapData> laps;
    std::vector<SessionSpan> sessions;
    std::vector<bool> hasUnit;
    const LapReceiver keep{[&](SpeedUnit u) {
                               if (!hasUnit.back())
                                   sessions.back().unit = u;
                               hasUnit.back() = true;
                           },
                           [&](const LapData& lap) {
                               laps.push_back(lap);
                               ++sessions.back().lapCount;
                           }};
    notes.excludeSlowerPercent = run.options.excludeSlower;
    const int status = readInputs(run, Pass::Last, keep, true, &notes, [&](qsizetype i) {
        SessionSpan span;
        span.name = sessionNameOf(run.options.files[i]);
        span.firstLap = laps.size();
        sessions.push_back(std::move(span));
        hasUnit.push_back(false);
    });
    any = std::find(hasUnit.begin(), hasUnit.end(), true) != hasUnit.end();
    // A session without a unit of its own (no lap record) takes the first session's.
    if (any) {
        const SpeedUnit first =
            sessions[std::size_t(std::find(hasUnit.begin(), hasUnit.end(), true) - hasUnit.begin())]
                .unit;
        for (std::size_t s = 0; s < sessions.size(); ++s)
            if (!hasUnit[s])
                sessions[s].unit = first;
    }
    analysis.setExcludeSlowerPercent(run.options.excludeSlower);
    analysis.load(std::move(laps), std::move(sessions));
    return status;
}

// The runs that report over all sessions at once: summary, sessions, sessions-csv.
template <typename Report> int runSessionReport(RunContext& run, Report report)
{
    SessionAnalysis analysis;
    SummaryNotes notes;
    bool any = false;
    const int status = readSessions(run, analysis, notes, any);
    if (!any) {
        reportNothingWritten(run.output);
        return status;
    }
    run.output.write(report(analysis, notes));
    run.output.finish();
    return status;
}

int runSummary(RunContext& run)
{
    return runSessionReport(run, [](const SessionAnalysis& analysis, const SummaryNotes& notes) {
        return sessionsSummary(analysis, notes);
    });
}

int runSessions(RunContext& run)
{
    return runSessionReport(run, [](const SessionAnalysis& analysis, const SummaryNotes&) {
        return comparisonText(analysis);
    });
}

int runSessionsCsv(RunContext& run)
{
    return runSessionReport(run, [&run](const SessionAnalysis& analysis, const SummaryNotes&) {
        return comparisonCsv(analysis, run.options.csv);
    });
}

// The modification time of an input file; nothing for standard input or what cannot be looked at.
QDateTime modificationTime(const QString& input)
{
    if (input == QStringLiteral("-"))
        return {};
#ifdef Q_OS_WIN
    return QFileInfo(input).lastModified();
#else
    struct stat st {};
    if (::stat(encodeFileName(input).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return QDateTime::fromSecsSinceEpoch(st.st_mtime);
#endif
}

// The session report as PDF, through the output like every other format: the -o file is
// replaced only when the whole document has been written.
int runPdf(RunContext& run)
{
    SessionAnalysis analysis;
    SummaryNotes notes;
    bool any = false;
    const int status = readSessions(run, analysis, notes, any);
    if (!any) {
        reportNothingWritten(run.output);
        return status;
    }
    std::vector<QDateTime> dates;
    for (qsizetype i = 0; i < qsizetype(analysis.sessionCount()); ++i)
        dates.push_back(modificationTime(run.options.files[i]));
    const QByteArray pdf = reportPdf(buildSessionReport(analysis, dates));
    if (pdf.isEmpty())
        throw OutputFailed{
            QCoreApplication::translate("MirenConvert", "the PDF document could not be drawn")};
    run.output.write(std::string_view(pdf.constData(), std::size_t(pdf.size())));
    run.output.finish();
    return status;
}

// Every format, the default first. A new format is its run above and one row here.
const std::array kFormats{
    FormatSpec{"table", QT_TRANSLATE_NOOP("MirenConvert", "the lap table text, the default"),
               FormatSpec::Inputs::Records, FormatSpec::DecimalPoint, true, runTable},
    FormatSpec{"csv", QT_TRANSLATE_NOOP("MirenConvert", "one row per lap"),
               FormatSpec::Inputs::RecordsOrTables,
               FormatSpec::CsvDelimiter | FormatSpec::ExcludeSlower, false, runCsv},
    FormatSpec{"summary",
               QT_TRANSLATE_NOOP("MirenConvert", "each session's statistics, then the day's"),
               FormatSpec::Inputs::RecordsOrTables, FormatSpec::ExcludeSlower, false, runSummary},
    FormatSpec{"sessions", QT_TRANSLATE_NOOP("MirenConvert", "the sessions side by side"),
               FormatSpec::Inputs::RecordsOrTables, FormatSpec::ExcludeSlower, false, runSessions},
    FormatSpec{"sessions-csv",
               QT_TRANSLATE_NOOP("MirenConvert", "the sessions side by side, as CSV"),
               FormatSpec::Inputs::RecordsOrTables,
               FormatSpec::CsvDelimiter | FormatSpec::ExcludeSlower, false, runSessionsCsv},
    FormatSpec{"pdf",
               QT_TRANSLATE_NOOP("MirenConvert", "the printable session report, to the -o file"),
               FormatSpec::Inputs::RecordsOrTables, FormatSpec::ExcludeSlower, false, runPdf, true},
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
        printErr(QCoreApplication::translate("MirenConvert",
                                             "%1: -o names one of the input files; nothing written")
                     .arg(native(options.output)));
        return kExitFailure;
    }
    if (options.output.isEmpty() && streams.outputClosed) {
        printErr(QCoreApplication::translate("MirenConvert",
                                             "standard output is closed; nothing written"));
        return kExitFailure;
    }

    Output output(options.output);
    try {
        LapDeviceReader reader = readLapRecordFile;
        if (format.inputs == FormatSpec::Inputs::RecordsOrTables) {
            const std::optional<LapDeviceReader> common = readerFor(inputs);
            if (!common)
                return usageError(QCoreApplication::translate(
                    "MirenConvert", "lap record files and lap table texts cannot "
                                    "be mixed in one run"));
            reader = *common;
        }
        if (const FileResult<> opened = output.open(); !opened) {
            printErr(QCoreApplication::translate("MirenConvert", "%1: cannot write: %2")
                         .arg(output.name(), opened.reason()));
            return kExitFailure;
        }
        RunContext run{options, inputs, reader, output};
        return format.run(run);
    } catch (const OutputFailed& failed) {
        output.discard();
        printErr(QCoreApplication::translate("MirenConvert", "%1: cannot write: %2")
                     .arg(output.name(), failed.reason));
    } catch (const std::bad_alloc&) {
        output.discard();
        printErr(output.toFile() ? QCoreApplication::translate(
                                       "MirenConvert", "out of memory; nothing written to %1")
                                       .arg(output.name())
                                 : QCoreApplication::translate("MirenConvert", "out of memory"));
    }
    return kExitFailure;
}
