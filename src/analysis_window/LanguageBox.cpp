#include "analysis_window/LanguageBox.h"

#include "ui_language/UiLanguage.h"

#include <QCoreApplication>
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
    setChosenLanguage(itemData(index).toString());
    installTranslators(*QCoreApplication::instance(), currentLanguage());
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
