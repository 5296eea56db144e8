#include "analysis_window/LimitSpinBox.h"

LimitSpinBox::LimitSpinBox(QWidget* parent) : QSpinBox(parent)
{
    setRange(0, kHighest);
    setSuffix(QStringLiteral(" %"));
    // A value below the lowest limit that gets through (set from outside) becomes it.
    connect(this, &QSpinBox::valueChanged, this, [this](int percent) {
        if (percent > 0 && percent < kLowest)
            setValue(kLowest);
        else
            emit limitChanged(percent);
    });
}

void LimitSpinBox::stepBy(int steps)
{
    if (value() == 0 && steps > 0)
        setValue(kLowest + steps - 1);
    else if (value() + steps < kLowest && steps < 0)
        setValue(0);
    else
        QSpinBox::stepBy(steps);
}

QValidator::State LimitSpinBox::validate(QString& input, int& pos) const
{
    const QValidator::State state = QSpinBox::validate(input, pos);
    if (state != QValidator::Acceptable || input == specialValueText())
        return state;
    const int v = valueFromText(input);
    return v > 0 && v < kLowest ? QValidator::Intermediate : state;
}
