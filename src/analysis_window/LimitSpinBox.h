#pragma once

#include <QSpinBox>

// The exclusion limit's box, in percent of the median, as the converter takes it: "off" (0), or
// 100 to 1000 %. Stepping down from 100 % turns it off, stepping up from "off" gives 100 %, and
// 1 to 99 cannot be entered: below 100 the rule would drop laps faster than the median.
class LimitSpinBox : public QSpinBox {
    Q_OBJECT

public:
    static constexpr int kLowest = 100;
    static constexpr int kHighest = 1000;

    explicit LimitSpinBox(QWidget* parent = nullptr);
    void stepBy(int steps) override;

signals:
    // The limit is now percent: 0 or 100 to 1000.
    void limitChanged(int percent);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
};
