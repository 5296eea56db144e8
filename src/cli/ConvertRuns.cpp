#include "cli/ConvertRuns.h"

#include "cli/ConvertMessages.h"
#include "cli/ConvertOutput.h"
#include "cli/ConvertSheets.h"
#include "lap_analysis/LapCsv.h"
#include "lap_analysis/LapRules.h"
#include "lap_analysis/SessionAnalysis.h"
#include "lap_analysis/SessionCsv.h"
#include "lap_analysis/SessionFeed.h"
#include "lap_analysis/SessionTexts.h"
#include "lap_analysis/SessionSummary.h"
#include "lap_conversion/LapFile.h"
#include "session_report/SessionReport.h"
#include "analysis_view/SessionReportBuilder.h"
#include "library_view/SheetLines.h"
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

// What a run says of the inputs it read, beside its output.
enum class Notices {
    None,            // nothing: a first pass
    StandardError,   // the failure and each input's skipped lines on standard error
    InOutputAndFault // skipped lines and what was not read in the output (notes); the failure
                     // also on standard error
};

// The name a session goes by: the input file's name without its folder; "" for standard input.
std::string sessionNameOf(const QString& input)
{
    if (input == QStringLiteral("-"))
        return {};
    return encodeFileName(QFileInfo(input).fileName()).toStdString();
}

// Reads the inputs in order into the session feed, each input a source, until the first that
// fails; notes learn what was skipped and what was not read. Returns the exit status.
int readInputs(RunContext& run, Pass pass, SessionFeed& feed, Notices notices,
               SummaryNotes* notes = nullptr)
{
    const LapInputKind kind = run.reader == LapDeviceReader(readLapTableFile)
                                  ? LapInputKind::TableText
                                  : LapInputKind::Records;
    for (qsizetype i = 0; i < run.inputs.size(); ++i) {
        const QString name = run.inputs.shownName(i);
        feed.beginSource(sessionNameOf(run.options.files[i]), kind);
        LapInputResult result;
        if (const auto device = run.inputs.open(i, pass)) {
            result = run.reader(*device.value(), feed.receiver());
        } else {
            result.error = LapInputResult::Error::Open;
            result.file = FileResult<>::failure(device);
        }
        feed.endSource();
        if (notices == Notices::StandardError)
            reportSkippedLines(name, result);
        if (notes && result.skippedCount > 0)
            notes->skipped.push_back(
                {encodeFileName(name).toStdString(), result.skippedLines, result.skippedCount});
        if (!result.ok()) {
            const QString reason = fileErrorText(name, result);
            if (notices != Notices::None)
                printErr(reason);
            if (notes) {
                notes->incomplete = true;
                notes->fault = encodeFileName(reason).toStdString();
                notes->faultFile = encodeFileName(name).toStdString();
                notes->faultDetail = encodeFileName(result.describe()).toStdString();
                if (result.error == LapInputResult::Error::Record)
                    notes->faultRecord = result.fault.record;
                for (qsizetype later = i + 1; later < run.inputs.size(); ++later)
                    notes->unread.push_back(
                        encodeFileName(run.inputs.shownName(later)).toStdString());
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

// CSV in two passes over the files, so memory stays flat: the first finds the sessions, their
// units and the median lap of each (a histogram of times, see StreamedReference), the second
// writes the rows with their counted flags, each session by its own exclusion limits.
int runCsv(RunContext& run)
{
    const Options& options = run.options;
    std::vector<SessionSpan> sessions;
    std::vector<CountLimits> limits; // per session
    {
        SessionFeed feed(false);
        StreamedReference reference; // of the session limits.size()
        const auto closeSession = [&] {
            CountLimits limit;
            if (const auto median = reference.median())
                limit = countLimitsFor(*median, options.excludeSlower);
            limits.push_back(limit);
            reference.clear();
        };
        feed.onLap = [&](std::size_t session, const LapData& lap) {
            while (limits.size() < session)
                closeSession();
            reference.add(lap.lapTime());
        };
        readInputs(run, Pass::Again, feed, Notices::None);
        sessions = feed.sessions();
        while (limits.size() < sessions.size())
            closeSession();
    }

    SessionCsvWriter writer(sharedUnitOf(sessions), options.csv,
                            [&run](std::string_view text) { run.output.write(text); });
    SessionFeed feed(false);
    feed.onUnit = [&writer](SpeedUnit) {
        if (!writer.headerWritten())
            writer.writeHeader();
    };
    std::optional<std::size_t> current;
    feed.onLap = [&](std::size_t session, const LapData& lap) {
        const bool known = session < sessions.size();
        if (current != session) {
            current = session;
            const SessionSpan& span = known ? sessions[session] : feed.sessions()[session];
            writer.beginSession(session + 1, span.name, span.unit);
        }
        writer.writeLap(lap, lapCounts(lap.lapTime(), known ? limits[session] : CountLimits{}));
    };
    const int status = readInputs(run, Pass::Last, feed, Notices::StandardError);
    if (!writer.headerWritten()) {
        reportNothingWritten(run.output);
        return status;
    }
    writer.flush();
    run.output.finish();
    return status;
}

// Reads every input into analysis, its laps kept, each input one session or, for a table text,
// the sessions the text shows. Returns the exit status; any is false when no input named a
// speed unit (nothing to report). inputOf: the input each session came from.
int readSessions(RunContext& run, Notices notices, SessionAnalysis& analysis, SummaryNotes& notes,
                 bool& any, std::vector<std::size_t>* inputOf = nullptr)
{
    // The laps grow as they come: nothing is reserved from the inputs' sizes, which may be those
    // of sparse files or devices and say nothing about their laps.
    SessionFeed feed;
    notes.excludeSlowerPercent = run.options.excludeSlower;
    const int status = readInputs(run, Pass::Last, feed, notices, &notes);
    any = feed.anyUnit();
    if (inputOf) {
        for (std::size_t s = 0; s < feed.sessions().size(); ++s)
            inputOf->push_back(feed.sourceOf(s));
    }
    analysis.setExcludeSlowerPercent(run.options.excludeSlower);
    feed.loadInto(analysis);
    return status;
}

// The runs that report over all sessions at once: summary, sessions, sessions-csv.
template <typename Report> int runSessionReport(RunContext& run, Notices notices, Report report)
{
    SessionAnalysis analysis;
    SummaryNotes notes;
    bool any = false;
    const int status = readSessions(run, notices, analysis, notes, any);
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
    return runSessionReport(run, Notices::InOutputAndFault,
                            [](const SessionAnalysis& analysis, const SummaryNotes& notes) {
                                return sessionsSummary(analysis, notes);
                            });
}

int runSessions(RunContext& run)
{
    return runSessionReport(run, Notices::InOutputAndFault,
                            [](const SessionAnalysis& analysis, const SummaryNotes& notes) {
                                return comparisonText(analysis, notes);
                            });
}

// A CSV has no room for notes: they go to standard error, as for the lap CSV.
int runSessionsCsv(RunContext& run)
{
    return runSessionReport(run, Notices::StandardError,
                            [&run](const SessionAnalysis& analysis, const SummaryNotes&) {
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
    std::vector<std::size_t> inputOf;
    const int status = readSessions(run, Notices::InOutputAndFault, analysis, notes, any, &inputOf);
    if (!any) {
        reportNothingWritten(run.output);
        return status;
    }
    std::vector<QDateTime> dates;
    for (const std::size_t input : inputOf)
        dates.push_back(modificationTime(run.options.files[qsizetype(input)]));
    SessionReport report = buildSessionReport(analysis, dates, notes);
    // A lap file of the lap library prints its session sheet.
    if (run.reader == LapDeviceReader(readLapRecordFile))
        addSessionSheets(report, librarySheets(run.inputs, inputOf));
    const QByteArray pdf = reportPdf(report);
    if (pdf.isEmpty())
        throw OutputFailed{
            QCoreApplication::translate("MirenConvert", "the PDF document could not be drawn")};
    run.output.write(std::string_view(pdf.constData(), std::size_t(pdf.size())));
    run.output.finish();
    return status;
}

// Every format, the default first. A new format is its run above and one row here.
const std::array kFormats{
    FormatSpec{.name = "table",
               .help = QT_TRANSLATE_NOOP("MirenConvert", "the lap table text, the default"),
               .inputs = FormatSpec::Inputs::Records,
               .takes = FormatSpec::DecimalPoint,
               .singlePass = true,
               .run = runTable},
    FormatSpec{.name = "csv",
               .help = QT_TRANSLATE_NOOP("MirenConvert", "one row per lap"),
               .inputs = FormatSpec::Inputs::RecordsOrTables,
               .takes = FormatSpec::CsvDelimiter | FormatSpec::ExcludeSlower,
               .run = runCsv},
    FormatSpec{.name = "summary",
               .help =
                   QT_TRANSLATE_NOOP("MirenConvert", "each session's statistics, then the day's"),
               .inputs = FormatSpec::Inputs::RecordsOrTables,
               .takes = FormatSpec::ExcludeSlower,
               .run = runSummary},
    FormatSpec{.name = "sessions",
               .help = QT_TRANSLATE_NOOP("MirenConvert", "the sessions side by side"),
               .inputs = FormatSpec::Inputs::RecordsOrTables,
               .takes = FormatSpec::ExcludeSlower,
               .run = runSessions},
    FormatSpec{.name = "sessions-csv",
               .help = QT_TRANSLATE_NOOP("MirenConvert", "the sessions side by side, as CSV"),
               .inputs = FormatSpec::Inputs::RecordsOrTables,
               .takes = FormatSpec::CsvDelimiter | FormatSpec::ExcludeSlower,
               .run = runSessionsCsv},
    FormatSpec{
        .name = "pdf",
        .help = QT_TRANSLATE_NOOP("MirenConvert", "the printable session report, to the -o file"),
        .inputs = FormatSpec::Inputs::RecordsOrTables,
        .takes = FormatSpec::ExcludeSlower,
        .run = runPdf,
        .document = true},
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
