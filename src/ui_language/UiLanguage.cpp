#include "ui_language/UiLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>
#include <memory>

namespace {

// Where the build puts the compiled translations (see src/ui_language/CMakeLists.txt).
const QString kResourceFolder = QStringLiteral(":/i18n");
const QString kFilePrefix = QStringLiteral("miren-loader_");
const QString kSourceLanguage = QStringLiteral("en");
const QString kChoiceKey = QStringLiteral("language");

QSettings userSettings()
{
    // An INI file in the user's configuration folder: on Windows too nothing goes to the
    // registry.
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("miren-loader"),
                     QStringLiteral("miren-loader"));
}

// The translators installed last, replaced by the next installTranslators().
std::unique_ptr<QTranslator>& ownTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

std::unique_ptr<QTranslator>& qtTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

void removeTranslator(QCoreApplication& app, std::unique_ptr<QTranslator>& translator)
{
    if (translator) {
        app.removeTranslator(translator.get());
        translator.reset();
    }
}

} // namespace

QStringList availableLanguages()
{
    QStringList languages{kSourceLanguage};
    const QStringList files =
        QDir(kResourceFolder)
            .entryList({kFilePrefix + QStringLiteral("*.qm")}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        const QString code = file.mid(kFilePrefix.size()).chopped(3);
        if (!languages.contains(code))
            languages << code;
    }
    return languages;
}

QString nativeLanguageName(const QString& language)
{
    // Qt names English after the United States' variant.
    if (language == kSourceLanguage)
        return QStringLiteral("English");
    QString name = QLocale(language).nativeLanguageName();
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name.isEmpty() ? language : name;
}

QString availableLanguageOf(const QString& name)
{
    // "ja_JP.UTF-8" and "de_DE@euro": the encoding and the modifier say nothing of the language.
    QString tag = name.trimmed();
    tag = tag.left(tag.indexOf(u'.')).left(tag.indexOf(u'@'));
    if (tag.isEmpty())
        return QString();
    const QLocale locale(tag);
    if (locale.language() == QLocale::C)
        return QString();
    const QString code = QLocale::languageToCode(locale.language());
    return availableLanguages().contains(code) ? code : QString();
}

QString pickLanguage(const QString& choice, const QString& environment,
                     const QStringList& systemLanguages)
{
    for (const QString& name : {choice, environment}) {
        const QString language = availableLanguageOf(name);
        if (!language.isEmpty())
            return language;
    }
    for (const QString& name : systemLanguages) {
        const QString language = availableLanguageOf(name);
        if (!language.isEmpty())
            return language;
    }
    return kSourceLanguage;
}

QString currentLanguage()
{
    return pickLanguage(chosenLanguage(), qEnvironmentVariable("MIREN_LANG"),
                        QLocale::system().uiLanguages());
}

QString chosenLanguage()
{
    return availableLanguageOf(userSettings().value(kChoiceKey).toString());
}

void setChosenLanguage(const QString& language)
{
    QSettings settings = userSettings();
    const QString code = availableLanguageOf(language);
    if (code.isEmpty())
        settings.remove(kChoiceKey);
    else
        settings.setValue(kChoiceKey, code);
    settings.sync();
}

QString followSystemLanguageText()
{
    return QCoreApplication::translate("UiLanguage", "System language");
}

bool installTranslators(QCoreApplication& app, const QString& language)
{
    removeTranslator(app, ownTranslator());
    removeTranslator(app, qtTranslator());

    // English is the source language; its file adds only the plural forms.
    auto own = std::make_unique<QTranslator>();
    const bool ownLoaded = own->load(kFilePrefix + language, kResourceFolder);
    if (ownLoaded) {
        app.installTranslator(own.get());
        ownTranslator() = std::move(own);
    }

    // Qt's own texts of the standard dialogs (buttons, the file and print dialogs). Debian keeps
    // them in Qt's translations folder; a Windows folder keeps them beside the program.
    if (language != kSourceLanguage) {
        auto qt = std::make_unique<QTranslator>();
        const QString name = QStringLiteral("qtbase_") + language;
        if (qt->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
            qt->load(name,
                     QCoreApplication::applicationDirPath() + QStringLiteral("/translations"))) {
            app.installTranslator(qt.get());
            qtTranslator() = std::move(qt);
        }
    }
    return ownLoaded || language == kSourceLanguage;
}
