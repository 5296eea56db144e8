#include "analysis_window/LanguageBox.h"

#include "tool_window/ToolWindow.h"
#include "ui_language/UiLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <algorithm>

LanguageBox::LanguageBox(QWidget* parent) : QComboBox(parent)
{
    addItem(QString(), QString());
    for (const QString& code : availableLanguages())
        addItem(nativeLanguageName(code), code);
    setCurrentIndex(std::max(0, findData(chosenLanguage())));
    setTexts();
    connect(this, &QComboBox::currentIndexChanged, this, &LanguageBox::choose);
}

void LanguageBox::choose(int index)
{
    // The language the box shows is used, remembered or not; a choice that cannot be kept is
    // said to be so.
    const QString language = itemData(index).toString();
    const FileResult<> kept = setChosenLanguage(language);
    installTranslators(*QCoreApplication::instance(), languageForChoice(language));
    if (!kept)
        showWarningBox(window(), tr("The language is used until the tool is closed, but it cannot "
                                    "be remembered in %1: %2")
                                     .arg(QDir::toNativeSeparators(languageSettingsPath()),
                                          kept.reason()));
}

void LanguageBox::setTexts()
{
    setItemText(0, followSystemLanguageText());
    setToolTip(tr("The language of the analysis window; the main window's captions stay as "
                  "they are"));
}

void LanguageBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        setTexts();
    QComboBox::changeEvent(event);
}
