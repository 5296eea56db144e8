#include "lap_conversion/DecimalPoint.h"

#include <QLocale>

std::optional<char> asciiDecimalPoint(QStringView text)
{
    if (text.size() != 1 || text.at(0).unicode() < 0x20 || text.at(0).unicode() > 0x7E)
        return std::nullopt;
    return static_cast<char>(text.at(0).unicode());
}

char userDecimalPoint()
{
    return asciiDecimalPoint(QLocale::system().decimalPoint()).value_or('.');
}
