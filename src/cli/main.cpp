// miren-convert: converts lap record files into the lap table text, byte for byte what "bil load"
// of those files followed by "Text save" writes; or, from lap record files or saved lap table
// texts, into CSV or a session summary.
#include "lap_analysis/LapCsv.h"
#include "lap_analysis/LapInput.h"
#include "lap_analysis/SessionSummary.h"
#include "lap_conversion/DecimalPoint.h"
#include "lap_conversion/LapFile.h"
#include "shared_state/SafeFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr char kUsage[] =
    "Usage: miren-convert [--format table|csv|summary] [--decimal-point C] [--csv-delimiter C]\n"
    "                     [--exclude-slower PERCENT] [-o FILE] FILE...";

void printErr(const QString& text)
{
    std::fprintf(stderr, "miren-convert: %s\n", text.toLocal8Bit().constData());
}

int usageError(const QString& reason)
{
    printErr(reason);
    std::fprintf(stderr, "%s\nTry 'miren-convert --help' for more information.\n", kUsage);
    return kExitUsage;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A file name as messages show it; an empty name is shown as "" so the message still reads.
QString native(const QString& path)
{
    return path.isEmpty() ? QStringLiteral("\"\"") : QDir::toNativeSeparators(path);
}

// Thrown by an output sink when the output cannot take more text; the run stops.
struct OutputFailed {
    QString reason;
};

// The text goes either straight to stdout as it is produced, or into a file that replaces the
// old one only when the whole run has been written (never in place: -o promises no half-written
// file, whatever the folder).
class Output {
public:
    explicit Output(const QString& path) : path_(path)
    {
        if (!path_.isEmpty())
            file_.emplace(path_, SafeFileWriter::InPlace::Never);
    }

    FileResult<> open()
    {
        if (file_)
            return file_->open();
#ifdef Q_OS_WIN
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        return {};
    }

    void write(std::string_view text)
    {
        if (file_) {
            if (const auto written =
                    file_->write(QByteArrayView(text.data(), qsizetype(text.size())));
                !written)
                throw OutputFailed{written.reason()};
        } else if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) {
            throw OutputFailed{systemError()};
        }
    }

    // Makes the output final: commits the file, or flushes stdout.
    void finish()
    {
        if (file_) {
            if (const auto committed = file_->commit(); !committed)
                throw OutputFailed{committed.reason()};
        } else if (std::fflush(stdout) != 0) {
            throw OutputFailed{systemError()};
        }
    }

    // Leaves an existing output file as it was and creates none.
    void discard()
    {
        if (file_)
            file_->cancel();
    }

    QString name() const
    {
        return path_.isEmpty() ? QStringLiteral("standard output") : native(path_);
    }
    bool toFile() const
    {
        return file_.has_value();
    }

private:
    QString path_;
    std::optional<SafeFileWriter> file_;
};

enum class Format { Table, Csv, Summary };

struct Options {
    Format format = Format::Table;
    char decimalPoint = '.';      // table: GX / GY separator
    CsvDialect csv;               // csv
    double excludeSlower = 110.0; // csv, summary: percent of the median; 0 turns it off
    QString output;               // empty: standard output
    QStringList files;
};

// What the command line asks for: a run with its options, the help or version text, or bad usage
// with its reason.
struct ParsedArguments {
    enum class Action { Run, Help, Version, Usage };
    Action action = Action::Run;
    Options options;
    QString text; // Help: the help text; Usage: the reason
};

ParsedArguments usage(const QString& reason)
{
    return {ParsedArguments::Action::Usage, {}, reason};
}

// The one value of an option given at most once; usage error text when given more often.
std::optional<QString> singleValue(const QCommandLineParser& parser,
                                   const QCommandLineOption& option, const QString& name,
                                   QString& error)
{
    const QStringList values = parser.values(option);
    if (values.size() > 1)
        error = QStringLiteral("%1 given more than once").arg(name);
    if (values.size() != 1)
        return std::nullopt;
    return values.first();
}

ParsedArguments parseArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Converts lap record files (.BIL) into the lap table text, exactly as \"bil load\" "
        "followed by \"Text save\" writes it: the table with CR LF line ends and one more CR LF. "
        "With --format csv or summary it writes the laps as CSV or a session summary instead, "
        "from lap record files or from saved lap table texts (one kind per run). "
        "Nothing is written when no file holds a lap record. At the first file that cannot be "
        "read or converted the text so far is still written, the reason goes to standard error "
        "and the exit status is 1; bad usage gives exit status 2."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption formatOption(
        QStringLiteral("format"),
        QStringLiteral("What to write: table (the lap table text, the default), csv (one row per "
                       "lap) or summary (the session's statistics)."),
        QStringLiteral("FORMAT"));
    const QCommandLineOption decimalOption(
        QStringLiteral("decimal-point"),
        QStringLiteral("Decimal separator of the GX and GY columns: one printable ASCII "
                       "character (default: the system's, or '.')."),
        QStringLiteral("C"));
    const QCommandLineOption delimiterOption(
        QStringLiteral("csv-delimiter"),
        QStringLiteral("CSV cell delimiter: ',' (the default, with '.' as decimal point), ';' or "
                       "tab (both with ',' as decimal point)."),
        QStringLiteral("C"));
    const QCommandLineOption excludeOption(
        QStringLiteral("exclude-slower"),
        QStringLiteral("csv, summary: laps slower than PERCENT of the median lap time are not "
                       "counted (default 110; 0 counts every timed lap)."),
        QStringLiteral("PERCENT"));
    const QCommandLineOption outputOption(
        QStringList{QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Write to FILE, replaced only when the run has been written completely "
                       "(default: standard output)."),
        QStringLiteral("FILE"));
    parser.addOption(formatOption);
    parser.addOption(decimalOption);
    parser.addOption(delimiterOption);
    parser.addOption(excludeOption);
    parser.addOption(outputOption);
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("Lap record files (any format) or saved lap table texts (csv, summary), "
                       "read in this order."),
        QStringLiteral("FILE..."));

    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (parser.isSet(helpOption))
        return {ParsedArguments::Action::Help, {}, parser.helpText()};
    if (parser.isSet(versionOption))
        return {ParsedArguments::Action::Version, {}, {}};

    Options options;
    QString error;
    options.decimalPoint = userDecimalPoint();
    const auto decimalValue = singleValue(parser, decimalOption, "--decimal-point", error);
    if (!error.isEmpty())
        return usage(error);
    if (decimalValue) {
        const std::optional<char> point = asciiDecimalPoint(*decimalValue);
        if (!point)
            return usage(QStringLiteral("--decimal-point takes one printable ASCII "
                                        "character, not '%1'")
                             .arg(*decimalValue));
        options.decimalPoint = *point;
    }
    const auto outputValue = singleValue(parser, outputOption, "-o", error);
    if (!error.isEmpty())
        return usage(error);
    if (outputValue && outputValue->isEmpty())
        return usage(QStringLiteral("-o needs a file name"));
    options.output = outputValue.value_or(QString());

    const auto formatValue = singleValue(parser, formatOption, "--format", error);
    if (!error.isEmpty())
        return usage(error);
    if (formatValue) {
        if (*formatValue == QLatin1String("table"))
            options.format = Format::Table;
        else if (*formatValue == QLatin1String("csv"))
            options.format = Format::Csv;
        else if (*formatValue == QLatin1String("summary"))
            options.format = Format::Summary;
        else
            return usage(
                QStringLiteral("--format takes table, csv or summary, not '%1'").arg(*formatValue));
    }
    if (decimalValue && options.format != Format::Table)
        return usage(QStringLiteral("--decimal-point is for --format table; csv takes its "
                                    "decimal point from --csv-delimiter"));

    const auto delimiterValue = singleValue(parser, delimiterOption, "--csv-delimiter", error);
    if (!error.isEmpty())
        return usage(error);
    if (delimiterValue) {
        if (options.format != Format::Csv)
            return usage(QStringLiteral("--csv-delimiter is for --format csv"));
        const QString& d = *delimiterValue;
        if (d == QLatin1String(",") || d == QLatin1String(";") || d == QLatin1String("\t"))
            options.csv = csvDialectFor(static_cast<char>(d.at(0).unicode()));
        else if (d == QLatin1String("tab"))
            options.csv = csvDialectFor('\t');
        else
            return usage(QStringLiteral("--csv-delimiter takes ',', ';' or tab, not '%1'").arg(d));
    }

    const auto excludeValue = singleValue(parser, excludeOption, "--exclude-slower", error);
    if (!error.isEmpty())
        return usage(error);
    if (excludeValue) {
        if (options.format == Format::Table)
            return usage(QStringLiteral("--exclude-slower is for --format csv or summary"));
        bool ok = false;
        const double percent = excludeValue->toDouble(&ok);
        // Below 100 the rule would drop laps faster than the median; above 1000 it drops none.
        if (!ok || !(percent == 0 || (percent >= 100 && percent <= 1000)))
            return usage(QStringLiteral("--exclude-slower takes 0 or a percentage from 100 to "
                                        "1000, not '%1'")
                             .arg(*excludeValue));
        options.excludeSlower = percent;
    }

    options.files = parser.positionalArguments();
    if (options.files.isEmpty())
        return usage(QStringLiteral("no lap record file given"));
    return {ParsedArguments::Action::Run, options, {}};
}

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

// CSV in two passes over the files, so memory stays flat: the first finds the median lap time
// (a histogram of times), the second writes the rows with their counted flags.
int runCsv(const Options& options, LapFileReader reader, Output& output)
{
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

int runSummary(const Options& options, LapFileReader reader, Output& output)
{
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

int run(const Options& options)
{
    std::optional<LapFileReader> reader = readLapRecordFile;
    if (options.format != Format::Table) {
        reader = readerFor(options.files);
        if (!reader)
            return usageError(QStringLiteral("lap record files and lap table texts cannot be "
                                             "mixed in one run"));
    }

    Output output(options.output);
    if (const FileResult<> opened = output.open(); !opened) {
        printErr(QStringLiteral("%1: cannot write: %2").arg(output.name(), opened.reason()));
        return kExitFailure;
    }
    try {
        switch (options.format) {
        case Format::Table:
            return runTable(options, output);
        case Format::Csv:
            return runCsv(options, *reader, output);
        case Format::Summary:
            return runSummary(options, *reader, output);
        }
    } catch (const OutputFailed& failed) {
        output.discard();
        printErr(QStringLiteral("%1: cannot write: %2").arg(output.name(), failed.reason));
    }
    return kExitFailure;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("miren-convert"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MIREN_VERSION));

    const ParsedArguments parsed = parseArguments(QCoreApplication::arguments());
    switch (parsed.action) {
    case ParsedArguments::Action::Usage:
        return usageError(parsed.text);
    case ParsedArguments::Action::Help:
        std::fputs(parsed.text.toLocal8Bit().constData(), stdout);
        return 0;
    case ParsedArguments::Action::Version:
        std::printf("miren-convert %s\n", MIREN_VERSION);
        return 0;
    case ParsedArguments::Action::Run:
        break;
    }
    return run(parsed.options);
}
