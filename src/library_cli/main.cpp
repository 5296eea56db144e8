// miren-library: the lap library on the command line: import lap files, list sessions, edit their
// sheets, show personal bests and progress, export, check and back up the library.
#include "library_cli/LibraryCommands.h"
#include "library_cli/LibraryOptions.h"
#include "library_cli/LibraryReport.h"
#include "file_io/FileName.h"
#include "ui_language/UiLanguage.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <memory>
#include <new>

#ifdef Q_OS_UNIX
#include <csignal>
#endif
#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace {

std::unique_ptr<QCoreApplication> startApplication(std::unique_ptr<QCoreApplication> app)
{
    QCoreApplication::setApplicationName(QStringLiteral("miren-library"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MIREN_VERSION));
    installTranslators(*app, currentLanguage());
    return app;
}

int run(int argc, char** argv)
{
    auto app = startApplication(std::make_unique<QCoreApplication>(argc, argv));
#ifdef Q_OS_WIN
    const QStringList arguments = QCoreApplication::arguments();
#else
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << decodeFileName(argv[i]);
#endif
    const ParsedLibraryArguments parsed = parseLibraryArguments(arguments);
    switch (parsed.action) {
    case ParsedLibraryArguments::Action::Usage:
        printLibraryError(parsed.text);
        std::fprintf(stderr, "%s\n%s\n", libraryUsageText().toLocal8Bit().constData(),
                     QCoreApplication::translate("MirenLibrary",
                                                 "Try 'miren-library --help' for more information.")
                         .toLocal8Bit()
                         .constData());
        return kLibraryExitUsage;
    case ParsedLibraryArguments::Action::Help:
        std::fputs(parsed.text.toLocal8Bit().constData(), stdout);
        return 0;
    case ParsedLibraryArguments::Action::Version:
        std::printf("miren-library %s\n", MIREN_VERSION);
        return 0;
    case ParsedLibraryArguments::Action::Run:
        break;
    }
    // A bundle holds the PDF report, and report is one, drawn with Qt Gui: those commands run in
    // a QGuiApplication on the offscreen platform unless QT_QPA_PLATFORM names another, so no
    // display is needed.
    static int guiArgc = 1;
    if ((parsed.options.command == LibraryCommand::Export &&
         parsed.options.output.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive)) ||
        parsed.options.command == LibraryCommand::Report) {
        app.reset();
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = startApplication(std::make_unique<QGuiApplication>(guiArgc, argv));
    }
    return runLibraryCommand(parsed.options, sessionReportPdf);
}

} // namespace

int main(int argc, char** argv)
{
#ifdef Q_OS_WIN
    // The output is written byte for byte, as on Linux: the C runtime would make each LF a CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
#ifdef Q_OS_UNIX
    // Beyond a file-size limit a write then fails with "File too large" and is reported.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("miren-library: out of memory\n", stderr);
        return kLibraryExitFailure;
    }
}
