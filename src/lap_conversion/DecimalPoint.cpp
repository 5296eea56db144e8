#include "lap_conversion/DecimalPoint.h"

#include <QLocale>

std::optional<char> asciiDecimalPoint(QStringView text)
{
    if (text.size() != 1 || text.at(0).unicode() <= 0x20 || text.at(0).unicode() > 0x7E)
        return std::nullopt;
    const char c = static_cast<char>(text.at(0).unicode());
    // A digit would run into the number, and '~' and ':' are the table's own separators.
    if ((c >= '0' && c <= '9') || c == '~' || c == ':')
        return std::nullopt;
    return c;
}

char userDecimalPoint()
{
    return asciiDecimalPoint(QLocale::system().decimalPoint()).value_or('.');
}
