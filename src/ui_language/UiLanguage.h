#pragma once

#include "file_io/FileResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

class QCoreApplication;

// The language of the tool's own texts beyond its fixed captions and button names. The source
// texts are English; the translations are built into the programs as resources.
//
// Which language a run shows, first rule that names a language the tool has:
//   1. the choice remembered from the language menu (setChosenLanguage);
//   2. MIREN_LANG, for example "ja" or "en" (a locale name such as "ja_JP.UTF-8" works too);
//   3. the system locale's languages (LANG=ja_JP.UTF-8 gives Japanese);
//   4. English.

// The languages the tool's texts come in, as two-letter codes: "en" first, then the others.
QStringList availableLanguages();

// A language's own name for itself, as a language menu lists it ("English", "日本語").
QString nativeLanguageName(const QString& language);

// The code of an available language that a name stands for ("ja", "ja_JP.UTF-8", "ja-JP" all
// give "ja"), or "" when the tool does not have that language.
QString availableLanguageOf(const QString& name);

// The rules above, given the remembered choice, MIREN_LANG's value and the system's languages
// (QLocale::uiLanguages() order, most preferred first).
QString pickLanguage(const QString& choice, const QString& environment,
                     const QStringList& systemLanguages);

// The rules above for this run: the stored choice, MIREN_LANG, QLocale::system().
QString currentLanguage();
// The same with choice in place of the stored one.
QString languageForChoice(const QString& choice);

// The language picked in the menu, "" when the tool follows the system (MIREN_LANG or the
// locale). Kept in the user's configuration (languageSettingsPath()), never in the working
// folder's FILE_PASS.DAT.
QString chosenLanguage();
// Remembers a menu choice; "" (or a language the tool does not have) clears it. A failure
// carries the system's reason; the file then stays as it was.
FileResult<> setChosenLanguage(const QString& language);

// The settings file: miren-loader.ini in the folder miren-loader of the user's configuration
// ($XDG_CONFIG_HOME or ~/.config on Linux, %APPDATA% on Windows). An INI file as QSettings
// writes it ("[General]" and "language=ja"). It is read only when it is a regular file, and
// only its first kLanguageSettingsLimit bytes: a FIFO, a device or a huge file under its name
// costs nothing at start. It is written through the safe writer (file_io/SafeFile.h).
QString languageSettingsPath();
inline constexpr qint64 kLanguageSettingsLimit = 64 * 1024;

// The choice a settings file's text holds: the value of "language" in its [General] section (or
// before any section), unquoted; "" when it holds none.
QString languageChoiceOf(QByteArrayView settings);
// The settings text with the choice set to code, or removed for ""; every other line is kept,
// with the text's line ends.
QByteArray withLanguageChoice(QByteArrayView settings, const QString& code);

// The menu entry that clears the choice, in the current language.
QString followSystemLanguageText();

// Installs the translators of language into app: the tool's own texts and Qt's own texts of
// the standard dialogs (qtbase_<language> from Qt's translations folder, where installed).
// Calling it again replaces the translators installed before. Returns false when the tool's
// own translation of a language other than English cannot be loaded.
bool installTranslators(QCoreApplication& app, const QString& language);
