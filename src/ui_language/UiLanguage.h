#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;
class QSettings;

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

// The language picked in the menu, "" when the tool follows the system (MIREN_LANG or the
// locale). Kept with QSettings in the user's configuration (on Linux
// ~/.config/miren-loader/miren-loader.conf), never in the working folder's FILE_PASS.DAT.
QString chosenLanguage();
// Remembers a menu choice; "" (or a language the tool does not have) clears it.
void setChosenLanguage(const QString& language);

// The menu entry that clears the choice, in the current language.
QString followSystemLanguageText();

// Installs the translators of language into app: the tool's own texts and Qt's own texts of
// the standard dialogs (qtbase_<language> from Qt's translations folder, where installed).
// Calling it again replaces the translators installed before. Returns false when the tool's
// own translation of a language other than English cannot be loaded.
bool installTranslators(QCoreApplication& app, const QString& language);
