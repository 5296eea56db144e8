#include "cli/ConvertOptions.h"

#include "lap_conversion/DecimalPoint.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <optional>

namespace {

// "What to write: table (the lap table text, the default), csv (...) or summary (...)."
QString formatHelp()
{
    QStringList items;
    for (const FormatSpec& format : formats())
        items << QStringLiteral("%1 (%2)").arg(
            QString::fromLatin1(format.name),
            QCoreApplication::translate("MirenConvert", format.help));
    const QString last = items.takeLast();
    return QCoreApplication::translate("MirenConvert", "What to write: %1 or %2.")
        .arg(items.join(QStringLiteral(", ")), last);
}

// The names of the formats that take an option, as "a", "a or b", "a, b or c"; with `all`, the
// names of every format.
QString formatNames(unsigned takes, bool all = false)
{
    QStringList names;
    for (const FormatSpec& format : formats()) {
        if (all || (format.takes & takes) != 0)
            names << QString::fromLatin1(format.name);
    }
    if (names.size() < 2)
        return names.join(QString());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

const FormatSpec* formatNamed(const QString& name)
{
    for (const FormatSpec& format : formats()) {
        if (name == QLatin1String(format.name))
            return &format;
    }
    return nullptr;
}

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
        error = QCoreApplication::translate("MirenConvert", "%1 given more than once").arg(name);
    if (values.size() != 1)
        return std::nullopt;
    return values.first();
}

} // namespace

QString usageText()
{
    QStringList names;
    for (const FormatSpec& format : formats())
        names << QString::fromLatin1(format.name);
    return QStringLiteral(
               "Usage: miren-convert [--format %1] [--decimal-point C] [--csv-delimiter C]\n"
               "                     [--exclude-slower PERCENT] [-o FILE] FILE...")
        .arg(names.join(u'|'));
}

ParsedArguments parseArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "MirenConvert",
        "Converts lap record files (.BIL) into the lap table text, exactly as \"bil load\" "
        "followed by \"Text save\" writes it: the table with CR LF line ends and one more CR LF. "
        "The other formats read lap record files or saved lap table texts (one kind per run), "
        "each file one session: csv writes the laps as CSV, summary each session's statistics "
        "and then the day's, sessions and sessions-csv the sessions side by side, and pdf the "
        "printable session report, only to the -o file. "
        "Nothing is written when no file holds a lap record. At the first file that cannot be "
        "read or converted the text so far is still written, the reason goes to standard error "
        "and the exit status is 1; bad usage gives exit status 2."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption formatOption(QStringLiteral("format"), formatHelp(),
                                          QStringLiteral("FORMAT"));
    const QCommandLineOption decimalOption(
        QStringLiteral("decimal-point"),
        QCoreApplication::translate(
            "MirenConvert",
            "Decimal separator of the GX and GY columns: one printable ASCII "
            "character, not a digit, '~', ':' or a blank (default: the system's, or "
            "'.')."),
        QStringLiteral("C"));
    const QCommandLineOption delimiterOption(
        QStringLiteral("csv-delimiter"),
        QCoreApplication::translate(
            "MirenConvert",
            "CSV cell delimiter: ',' (the default, with '.' as decimal point), ';' or "
            "tab (both with ',' as decimal point)."),
        QStringLiteral("C"));
    const QCommandLineOption excludeOption(
        QStringLiteral("exclude-slower"),
        QCoreApplication::translate(
            "MirenConvert",
            "All formats but table: laps slower than PERCENT of their session's median "
            "lap time are not counted (default 110; 0 counts every timed lap)."),
        QStringLiteral("PERCENT"));
    const QCommandLineOption outputOption(
        QStringList{QStringLiteral("o"), QStringLiteral("output")},
        QCoreApplication::translate(
            "MirenConvert",
            "Write to FILE, replaced only when the run has been written completely "
            "(default, and -: standard output). A device or FIFO is written to as it "
            "comes, never replaced; FILE may not be one of the input files."),
        QStringLiteral("FILE"));
    parser.addOption(formatOption);
    parser.addOption(decimalOption);
    parser.addOption(delimiterOption);
    parser.addOption(excludeOption);
    parser.addOption(outputOption);
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QCoreApplication::translate(
            "MirenConvert",
            "Lap record files (any format) or saved lap table texts (all formats but "
            "table), "
            "read in this order; - is standard input. *.BIL is a lap record file and "
            "*.txt a table text; other names go by their content."),
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
            return usage(QCoreApplication::translate(
                             "MirenConvert", "--decimal-point takes one printable ASCII "
                                             "character other than a digit, '~', ':' or a blank, "
                                             "not '%1'")
                             .arg(*decimalValue));
        options.decimalPoint = *point;
    }
    const auto outputValue = singleValue(parser, outputOption, "-o", error);
    if (!error.isEmpty())
        return usage(error);
    if (outputValue && outputValue->isEmpty())
        return usage(QCoreApplication::translate("MirenConvert", "-o needs a file name"));
    // "-o -" is standard output, as "-" is standard input.
    if (outputValue && *outputValue != QLatin1String("-"))
        options.output = *outputValue;

    const auto formatValue = singleValue(parser, formatOption, "--format", error);
    if (!error.isEmpty())
        return usage(error);
    if (formatValue) {
        options.format = formatNamed(*formatValue);
        if (!options.format)
            return usage(QCoreApplication::translate("MirenConvert", "--format takes %1, not '%2'")
                             .arg(formatNames(0, true), *formatValue));
    }
    const unsigned takes = options.format->takes;
    if (decimalValue && !(takes & FormatSpec::DecimalPoint)) {
        if (takes & FormatSpec::CsvDelimiter)
            return usage(QCoreApplication::translate(
                             "MirenConvert",
                             "--decimal-point is for --format %1; %2 takes its decimal "
                             "point from --csv-delimiter")
                             .arg(formatNames(FormatSpec::DecimalPoint),
                                  QString::fromLatin1(options.format->name)));
        return usage(
            QCoreApplication::translate("MirenConvert", "--decimal-point is for --format %1")
                .arg(formatNames(FormatSpec::DecimalPoint)));
    }

    const auto delimiterValue = singleValue(parser, delimiterOption, "--csv-delimiter", error);
    if (!error.isEmpty())
        return usage(error);
    if (delimiterValue) {
        if (!(takes & FormatSpec::CsvDelimiter))
            return usage(
                QCoreApplication::translate("MirenConvert", "--csv-delimiter is for --format %1")
                    .arg(formatNames(FormatSpec::CsvDelimiter)));
        const QString& d = *delimiterValue;
        if (d == QLatin1String(",") || d == QLatin1String(";") || d == QLatin1String("\t"))
            options.csv = csvDialectFor(static_cast<char>(d.at(0).unicode()));
        else if (d == QLatin1String("tab"))
            options.csv = csvDialectFor('\t');
        else
            return usage(QCoreApplication::translate(
                             "MirenConvert", "--csv-delimiter takes ',', ';' or tab, not '%1'")
                             .arg(d));
    }

    const auto excludeValue = singleValue(parser, excludeOption, "--exclude-slower", error);
    if (!error.isEmpty())
        return usage(error);
    if (excludeValue) {
        if (!(takes & FormatSpec::ExcludeSlower))
            return usage(
                QCoreApplication::translate("MirenConvert", "--exclude-slower is for --format %1")
                    .arg(formatNames(FormatSpec::ExcludeSlower)));
        bool ok = false;
        const double percent = excludeValue->toDouble(&ok);
        // Below 100 the rule would drop laps faster than the median; above 1000 it drops none.
        if (!ok || !(percent == 0 || (percent >= 100 && percent <= 1000)))
            return usage(QCoreApplication::translate(
                             "MirenConvert", "--exclude-slower takes 0 or a percentage from 100 to "
                                             "1000, not '%1'")
                             .arg(*excludeValue));
        options.excludeSlower = percent;
    }

    if (options.format->document && options.output.isEmpty())
        return usage(QCoreApplication::translate("MirenConvert",
                                                 "--format %1 writes to a file only: give -o FILE")
                         .arg(QString::fromLatin1(options.format->name)));

    options.files = parser.positionalArguments();
    if (options.files.isEmpty())
        return usage(QCoreApplication::translate("MirenConvert", "no lap record file given"));
    return {ParsedArguments::Action::Run, options, {}};
}
