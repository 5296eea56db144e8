#pragma once

#include <QFontDatabase>
#include <QString>

// Whether the faces of a font the tool asks for by name can be checked here. On Linux fontconfig
// resolves the Windows font names to the installed stand-ins, so the checks always run. On
// Windows the offscreen platform knows only the font files in QT_QPA_FONTDIR (the system's Fonts
// folder for the tests); where the named font is not installed (Wine has none of them) the checks
// are left out, with a note in the test output.
inline bool canCheckFont(const QString& family)
{
#ifdef Q_OS_WIN
    if (!QFontDatabase::hasFamily(family)) {
        qInfo("font \"%s\" is not installed: its faces are not checked", qUtf8Printable(family));
        return false;
    }
#else
    Q_UNUSED(family);
#endif
    return true;
}
