#include "ui_language/FigureText.h"

#include <cmath>

QString figureText(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    // -0.0 rounds to "-0.0"; a figure of nothing has no sign.
    if (text.startsWith(u'-') && text.count(u'0') + text.count(u'.') == text.size() - 1)
        text.remove(0, 1);
    return text;
}

QString figureText(std::int64_t value)
{
    return QString::number(value);
}

QString tenthsText(std::int64_t tenths)
{
    const bool negative = tenths < 0;
    // Whole tenths, exactly: no floating point between the record and the text.
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(tenths) : static_cast<std::uint64_t>(tenths);
    return QStringLiteral("%1%2.%3")
        .arg(negative ? QStringLiteral("-") : QString())
        .arg(magnitude / 10)
        .arg(magnitude % 10);
}

QString percentText(double percent, int decimals)
{
    return figureText(percent, decimals) + QStringLiteral("\u00a0%");
}
