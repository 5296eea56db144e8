#include "lap_analysis/LapFormat.h"

#include "lap_conversion/LapTable.h"

#include <cstdarg>
#include <cstdio>

std::string formatLapTime(std::int64_t hundredths)
{
    if (hundredths < 0)
        return "-:--.--";
    char text[32];
    const char* end = writeLapTime(static_cast<std::uint64_t>(hundredths), text);
    return std::string(text, static_cast<std::size_t>(end - text));
}

std::string formatGap(std::int64_t hundredths)
{
    const char sign = hundredths < 0 ? '-' : '+';
    const std::int64_t size = hundredths < 0 ? -hundredths : hundredths;
    if (size < 6000)
        return sign + formatSeconds(size);
    return sign + formatLapTime(size);
}

std::string formatSeconds(std::int64_t hundredths, char decimalPoint)
{
    const char* sign = hundredths < 0 ? "-" : "";
    const std::int64_t size = hundredths < 0 ? -hundredths : hundredths;
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld%c%02lld", sign, static_cast<long long>(size / 100),
                  decimalPoint, static_cast<long long>(size % 100));
    return text;
}

void appendFormat(std::string& out, const char* format, ...)
{
    // Most lines fit the stack buffer; a longer one (a long file name) is formatted again into
    // the string itself, at its full length.
    char text[256];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (length >= 0 && static_cast<std::size_t>(length) < sizeof text) {
        out.append(text, static_cast<std::size_t>(length));
    } else if (length > 0) {
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(length));
        // vsnprintf writes the terminating NUL too, into the string's own terminator.
        std::vsnprintf(out.data() + at, static_cast<std::size_t>(length) + 1, format, again);
    }
    va_end(again);
}
