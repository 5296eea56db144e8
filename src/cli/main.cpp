// miren-convert: converts lap record files into the lap table text, byte for byte what "bil load"
// of those files followed by "Text save" writes.
#include "lap_conversion/DecimalPoint.h"
#include "lap_conversion/LapFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr char kUsage[] = "Usage: miren-convert [--decimal-point C] [-o FILE] FILE.BIL...";

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

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Thrown by an output sink when the output cannot take more text; the run stops.
struct OutputFailed {
    QString reason;
};

// The table text goes either straight to stdout as it is produced, or into a QSaveFile that is
// committed only when the whole run has been written.
class Output {
public:
    explicit Output(const QString& path) : path_(path)
    {
        if (!path_.isEmpty())
            file_.emplace(path_);
    }

    bool open()
    {
        if (!file_) {
#ifdef Q_OS_WIN
            _setmode(_fileno(stdout), _O_BINARY);
#endif
            return true;
        }
        // Unbuffered, so that a short write (a full disk) shows in write() itself; a failure in
        // QSaveFile's own final flush would otherwise be lost and a truncated file committed.
        return file_->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

    void write(std::string_view text)
    {
        if (file_) {
            if (file_->write(text.data(), static_cast<qint64>(text.size())) !=
                static_cast<qint64>(text.size()))
                throw OutputFailed{file_->errorString()};
        } else if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) {
            throw OutputFailed{systemError()};
        }
    }

    // Makes the output final: commits the file, or flushes stdout.
    void finish()
    {
        if (file_) {
            if (!file_->commit())
                throw OutputFailed{file_->errorString()};
        } else if (std::fflush(stdout) != 0) {
            throw OutputFailed{systemError()};
        }
    }

    // Leaves an existing output file as it was and creates none.
    void discard()
    {
        if (file_)
            file_->cancelWriting();
    }

    QString name() const
    {
        return path_.isEmpty() ? QStringLiteral("standard output") : native(path_);
    }
    QString errorString() const
    {
        return file_ ? file_->errorString() : QString();
    }
    bool toFile() const
    {
        return file_.has_value();
    }

private:
    QString path_;
    std::optional<QSaveFile> file_;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("miren-convert"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MIREN_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Converts lap record files (.BIL) into the lap table text, exactly as \"bil load\" "
        "followed by \"Text save\" writes it: the table with CR LF line ends and one more CR LF. "
        "Nothing is written when no file holds a lap record. At the first file that cannot be "
        "read or converted the text so far is still written, the reason goes to standard error "
        "and the exit status is 1; bad usage gives exit status 2."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption decimalOption(
        QStringLiteral("decimal-point"),
        QStringLiteral("Decimal separator of the GX and GY columns: one printable ASCII "
                       "character (default: the system's, or '.')."),
        QStringLiteral("C"));
    const QCommandLineOption outputOption(
        QStringList{QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Write to FILE, replaced only when the run has been written completely "
                       "(default: standard output)."),
        QStringLiteral("FILE"));
    parser.addOption(decimalOption);
    parser.addOption(outputOption);
    parser.addPositionalArgument(QStringLiteral("FILE.BIL"),
                                 QStringLiteral("Lap record files, converted in this order."),
                                 QStringLiteral("FILE.BIL..."));

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parser.isSet(versionOption)) {
        std::printf("miren-convert %s\n", MIREN_VERSION);
        return 0;
    }

    char decimalPoint = userDecimalPoint();
    const QStringList decimalValues = parser.values(decimalOption);
    if (decimalValues.size() > 1)
        return usageError(QStringLiteral("--decimal-point given more than once"));
    if (decimalValues.size() == 1) {
        const QString value = decimalValues.first();
        const std::optional<char> point = asciiDecimalPoint(value);
        if (!point)
            return usageError(QStringLiteral("--decimal-point takes one printable ASCII "
                                             "character, not '%1'")
                                  .arg(value));
        decimalPoint = *point;
    }
    const QStringList outputValues = parser.values(outputOption);
    if (outputValues.size() > 1)
        return usageError(QStringLiteral("-o given more than once"));
    if (outputValues.size() == 1 && outputValues.first().isEmpty())
        return usageError(QStringLiteral("-o needs a file name"));
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return usageError(QStringLiteral("no lap record file given"));

    Output output(outputValues.value(0));
    if (!output.open()) {
        printErr(QStringLiteral("%1: cannot write: %2").arg(output.name(), output.errorString()));
        return kExitFailure;
    }

    int status = 0;
    try {
        LapConverter converter(decimalPoint,
                               [&output](std::string_view text) { output.write(text); });
        for (const QString& path : files) {
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
            output.discard();
            printErr(
                QStringLiteral("no lap record converted; nothing written%1")
                    .arg(output.toFile() ? QStringLiteral(" to ") + output.name() : QString()));
            return status;
        }
        output.write("\r\n"); // the final line end "Text save" adds
        output.finish();
    } catch (const OutputFailed& failed) {
        output.discard();
        printErr(QStringLiteral("%1: cannot write: %2").arg(output.name(), failed.reason));
        return kExitFailure;
    }
    return status;
}
