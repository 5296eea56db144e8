#include "main_window/KorvelLoader.h"
#include "ui_language/UiLanguage.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

// True when Qt has a platform to show the window on. On Linux without one, Qt would abort with a
// message about the "xcb" plugin that does not say what to do.
static bool haveDisplay(int argc, char** argv)
{
#if defined(Q_OS_LINUX)
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return true;
#endif
}

int main(int argc, char** argv)
{
    if (!haveDisplay(argc, argv)) {
        std::fputs("miren-loader: no display is set (DISPLAY and WAYLAND_DISPLAY are empty), so "
                   "the window cannot be shown.\n"
                   "On a machine without a screen, run it in a virtual one:\n"
                   "  xvfb-run -a miren-loader\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    // Lets desktops match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("miren-loader"));
    // The tool's added texts and Qt's dialogs in the user's language; the window's own captions
    // and button names are fixed and never translated.
    installTranslators(app, currentLanguage());
    KorvelLoader window;
    window.show();
    return app.exec();
}
