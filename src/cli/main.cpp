// miren-convert: converts lap record files into the lap table text, byte for byte what "bil load"
// of those files followed by "Text save" writes; or, from lap record files or saved lap table
// texts, into CSV or a session summary.
#include "cli/ConvertMessages.h"
#include "cli/ConvertOptions.h"
#include "cli/ConvertRuns.h"
#include "file_io/FileName.h"
#include "ui_language/UiLanguage.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <memory>
#include <new>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Notes which standard streams the program was started without, and puts /dev/null in their
// place: otherwise the next file opened would take the number, and "standard output" would be
// an input file or an internal descriptor of Qt's.
StandardStreams guardStandardStreams()
{
    StandardStreams streams;
#ifdef Q_OS_UNIX
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        (void)::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (fd == 0)
            streams.inputClosed = true;
        if (fd == 1)
            streams.outputClosed = true;
    }
#endif
    return streams;
}

// The application object of the run, its name set and its translators installed: messages and
// --help come in the user's language, the formats' output always in English.
std::unique_ptr<QCoreApplication> startApplication(std::unique_ptr<QCoreApplication> app)
{
    QCoreApplication::setApplicationName(QStringLiteral("miren-convert"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MIREN_VERSION));
    installTranslators(*app, currentLanguage());
    return app;
}

int convert(int argc, char** argv, const StandardStreams& streams)
{
    auto app = startApplication(std::make_unique<QCoreApplication>(argc, argv));

#ifdef Q_OS_WIN
    const QStringList arguments = QCoreApplication::arguments();
#else
    // Every name the shell can pass, also one that is not valid UTF-8, keeps its bytes.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << decodeFileName(argv[i]);
#endif
    const ParsedArguments parsed = parseArguments(arguments);
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
    // A document is drawn with Qt Gui: the run goes on in a QGuiApplication, on the offscreen
    // platform unless QT_QPA_PLATFORM names another, so no display is needed. It is given the
    // program's name only: the arguments are parsed already, and a file named like one of Qt's
    // own options ("-platform") must not be taken for it.
    static int guiArgc = 1;
    if (parsed.options.format->document) {
        app.reset();
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = startApplication(std::make_unique<QGuiApplication>(guiArgc, argv));
    }
    return runConversion(parsed.options, streams);
}

} // namespace

int main(int argc, char** argv)
{
    const StandardStreams streams = guardStandardStreams();
#ifdef Q_OS_UNIX
    // Beyond a file-size limit a write then fails with "File too large" and is reported, instead
    // of the signal ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    try {
        return convert(argc, argv, streams);
    } catch (const std::bad_alloc&) {
        std::fputs("miren-convert: out of memory\n", stderr);
        return kExitFailure;
    }
}
