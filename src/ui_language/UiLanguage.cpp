#include "ui_language/UiLanguage.h"

#include "file_io/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>
#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

// Where the build puts the compiled translations (see src/ui_language/CMakeLists.txt).
const QString kResourceFolder = QStringLiteral(":/i18n");
const QString kFilePrefix = QStringLiteral("miren-loader_");
const QString kSourceLanguage = QStringLiteral("en");
constexpr QByteArrayView kChoiceKey = "language";
constexpr QByteArrayView kGeneralSection = "[General]";

// One line of a settings text and its line end.
struct IniLine {
    QByteArrayView text;
    QByteArrayView end;
};

// The lines end at LF, CR LF or a lone CR, as QSettings reads them.
std::vector<IniLine> iniLines(QByteArrayView settings)
{
    std::vector<IniLine> lines;
    qsizetype start = 0;
    while (start < settings.size()) {
        qsizetype end = start;
        while (end < settings.size() && settings[end] != '\n' && settings[end] != '\r')
            ++end;
        qsizetype next = end;
        if (next < settings.size())
            next += settings.sliced(next).startsWith("\r\n") ? 2 : 1;
        lines.push_back({settings.sliced(start, end - start), settings.sliced(end, next - end)});
        start = next;
    }
    return lines;
}

// Where a line stands in a QSettings INI file: a section header, a comment or a key.
bool isSection(QByteArrayView line)
{
    return line.trimmed().startsWith('[');
}

// The value of the choice's key on a line of the [General] section, nothing on another line.
std::optional<QByteArrayView> choiceOnLine(QByteArrayView line)
{
    const QByteArrayView trimmed = line.trimmed();
    if (trimmed.startsWith(';') || trimmed.startsWith('#'))
        return std::nullopt;
    const qsizetype equals = trimmed.indexOf('=');
    if (equals < 0 || trimmed.first(equals).trimmed() != kChoiceKey)
        return std::nullopt;
    QByteArrayView value = trimmed.sliced(equals + 1).trimmed();
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        value = value.sliced(1, value.size() - 2);
    return value;
}

// The folder of the settings file, as QSettings names it for the user's INI files.
QString settingsFolder()
{
#ifdef Q_OS_WIN
    QString base = qEnvironmentVariable("APPDATA");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/AppData/Roaming");
#else
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
    return QDir(base).filePath(QStringLiteral("miren-loader"));
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
    return languageForChoice(chosenLanguage());
}

QString languageForChoice(const QString& choice)
{
    return pickLanguage(choice, qEnvironmentVariable("MIREN_LANG"),
                        QLocale::system().uiLanguages());
}

QString chosenLanguage()
{
    const FileResult<QByteArray> settings =
        readRegularFile(languageSettingsPath(), kLanguageSettingsLimit);
    return settings ? availableLanguageOf(languageChoiceOf(settings.value())) : QString();
}

FileResult<> setChosenLanguage(const QString& language)
{
    const QString path = languageSettingsPath();
    // One byte over the limit tells a whole file from the start of a huge one, whose lines are
    // not kept (nothing the tool wrote is that long).
    const FileResult<QByteArray> read = readRegularFile(path, kLanguageSettingsLimit + 1);
    const QByteArray old = read && read.value().size() <= kLanguageSettingsLimit ? read.value()
                                                                                 : QByteArray();
    const QByteArray bytes = withLanguageChoice(old, availableLanguageOf(language));
    if (read && bytes == read.value())
        return {};
    if (!read && bytes.isEmpty() && !QFileInfo::exists(path))
        return {}; // nothing to forget, no file to make
    if (!QDir().mkpath(QFileInfo(path).path()))
        return FileResult<>::failure(
            QCoreApplication::translate("UiLanguage", "The folder %1 cannot be made.")
                .arg(QDir::toNativeSeparators(QFileInfo(path).path())));
    return saveWholeFile(path, bytes);
}

QString languageSettingsPath()
{
    return QDir(settingsFolder()).filePath(QStringLiteral("miren-loader.ini"));
}

QString languageChoiceOf(QByteArrayView settings)
{
    bool general = true; // keys before any section are QSettings' [General] too
    for (const IniLine& line : iniLines(settings)) {
        if (isSection(line.text)) {
            general = line.text.trimmed() == kGeneralSection;
            continue;
        }
        if (general) {
            if (const auto value = choiceOnLine(line.text))
                return QString::fromUtf8(*value);
        }
    }
    return QString();
}

QByteArray withLanguageChoice(QByteArrayView settings, const QString& code)
{
    const std::vector<IniLine> lines = iniLines(settings);
#ifdef Q_OS_WIN
    QByteArray eol = "\r\n";
#else
    QByteArray eol = "\n";
#endif
    if (!lines.empty() && !lines.front().end.isEmpty())
        eol = lines.front().end.toByteArray();
    const QByteArray choice = kChoiceKey.toByteArray() + '=' + code.toUtf8();
    const auto header = std::find_if(lines.begin(), lines.end(), [](const IniLine& line) {
        return line.text.trimmed() == kGeneralSection;
    });

    // The choice goes first into [General], as QSettings puts it in a new file; the choices
    // found on other lines of the section are dropped.
    std::vector<std::pair<QByteArray, QByteArray>> kept; // each line and its end
    if (!code.isEmpty() && header == lines.end()) {
        kept.emplace_back(kGeneralSection.toByteArray(), eol);
        kept.emplace_back(choice, eol);
    }
    bool general = true; // keys before any section are QSettings' [General] too
    for (auto line = lines.begin(); line != lines.end(); ++line) {
        if (isSection(line->text))
            general = line->text.trimmed() == kGeneralSection;
        else if (general && choiceOnLine(line->text))
            continue;
        if (line == header && !code.isEmpty()) {
            // The header's own line end for both lines: writing again gives the same bytes.
            const QByteArray end = line->end.isEmpty() ? eol : line->end.toByteArray();
            kept.emplace_back(line->text.toByteArray(), end);
            kept.emplace_back(choice, end);
        } else {
            kept.emplace_back(line->text.toByteArray(), line->end.toByteArray());
        }
    }
    QByteArray out;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        out += kept[i].first;
        // A lone CR before an empty line ended by LF would read as one CR LF, and that line
        // would be lost.
        const bool merges = kept[i].second == "\r" && i + 1 < kept.size() &&
                            kept[i + 1].first.isEmpty() && kept[i + 1].second.startsWith('\n');
        out += merges ? QByteArray("\r\n") : kept[i].second;
    }
    if (code.isEmpty() && out.trimmed() == kGeneralSection)
        return QByteArray(); // nothing left but the header of an empty section
    return out;
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
