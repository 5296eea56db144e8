#pragma once

#include <QComboBox>

// The language switch of the analysis window: the system's language, then every language the
// tool has, each in its own name. Picking one remembers it and installs its translations at
// once, so every window of the tool follows (a LanguageChange event).
class LanguageBox : public QComboBox {
    Q_OBJECT

public:
    explicit LanguageBox(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;

private:
    void choose(int index);
    void setTexts();
};
