#pragma once

#include "lap_conversion/LapRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The lap table's text: a 479-character header line, then one fixed-width line per lap record.
// Every function appends to a caller's buffer, so a conversion reuses one buffer throughout.

inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr std::size_t kHeaderLength = 479;

// Where the values of a lap line stand. A lap line is the lap number in kLapNumberWidth columns
// and then one text per present block. A block's text is a head of fixed width (time, rpm,
// speed), the GX and GY tenths (5 columns below 10.0, 6 from it) and a tail of fixed width (TMP1,
// TMP2, length). Every column no field takes holds the character of the part's frame. Both the
// layout and the table reader work from these tables.
enum class BlockValue : std::uint8_t {
    Time,
    RpmMin,
    RpmMax,
    SpeedMin,
    SpeedMax,
    Tmp1Min,
    Tmp1Max,
    Tmp2Min,
    Tmp2Max,
    GxMax,
    GyMax,
    Length
};
enum class FieldKind : std::uint8_t {
    Time,     // "m:ss.hh" for 0 to 59999 hundredths, "-:--.--" otherwise; 7 columns
    Number,   // right-aligned; a value with more digits than columns keeps its last digits
    TildeMax, // "~" and three columns below 1000, else the last four digits; 4 columns
};
struct TableField {
    BlockValue value;
    FieldKind kind;
    std::size_t offset; // from the start of the part
    std::size_t width;
};

inline constexpr std::size_t kLapNumberWidth = 4;
inline constexpr std::string_view kBlockHeadFrame = "                 ~          ~   ";
inline constexpr std::array<TableField, 5> kBlockHead{{
    {BlockValue::Time, FieldKind::Time, 2, 7},
    {BlockValue::RpmMin, FieldKind::Number, 10, 7},
    {BlockValue::RpmMax, FieldKind::Number, 18, 5},
    {BlockValue::SpeedMin, FieldKind::Number, 23, 5},
    {BlockValue::SpeedMax, FieldKind::Number, 29, 3},
}};
// After the head, in this order: "  d.d" below 100 tenths, else the whole part in four columns
// (last digits kept), the decimal point and the tenth.
inline constexpr std::array<BlockValue, 2> kBlockTenths{BlockValue::GxMax, BlockValue::GyMax};
inline constexpr std::size_t kTenthsShortWidth = 5;
inline constexpr std::size_t kTenthsWidth = 6;
inline constexpr std::string_view kBlockTailFrame = "                          ";
inline constexpr std::array<TableField, 5> kBlockTail{{
    {BlockValue::Tmp1Min, FieldKind::Number, 0, 5},
    {BlockValue::Tmp1Max, FieldKind::TildeMax, 5, 4},
    {BlockValue::Tmp2Min, FieldKind::Number, 9, 5},
    {BlockValue::Tmp2Max, FieldKind::TildeMax, 14, 4},
    {BlockValue::Length, FieldKind::Number, 18, 6},
}};
inline constexpr std::size_t kMinBlockLength =
    kBlockHeadFrame.size() + 2 * kTenthsShortWidth + kBlockTailFrame.size();
inline constexpr std::size_t kMaxBlockLength =
    kBlockHeadFrame.size() + 2 * kTenthsWidth + kBlockTailFrame.size();

// Lap field and seven block texts of the longest.
inline constexpr std::size_t kMaxLapLineLength = kLapNumberWidth + kBlockCount * kMaxBlockLength;

// The header line for speed unit flag 0 ("km/h") or 1 ("m/h"), without line end.
std::string_view headerLine(int unitFlag);

// Appends the header line for unitFlag (bit 0 is used) and a line end.
void appendHeaderLine(int unitFlag, std::string& out);

// Writes "m:ss.hh" for a time in hundredths of a second at out, with as many minute digits as it
// needs (one below ten minutes), and returns the end: the one lap time formatter of the table and
// of every report.
inline char* writeLapTime(std::uint64_t hundredths, char* out)
{
    const std::uint64_t minutes = hundredths / 6000;
    const auto rest = static_cast<unsigned>(hundredths % 6000);
    if (minutes < 10) {
        *out++ = static_cast<char>('0' + minutes);
    } else {
        char digits[20];
        int n = 0;
        for (std::uint64_t m = minutes; m != 0; m /= 10)
            digits[n++] = static_cast<char>('0' + m % 10);
        while (n > 0)
            *out++ = digits[--n];
    }
    const unsigned seconds = rest / 100;
    const unsigned hundredth = rest % 100;
    out[0] = ':';
    out[1] = static_cast<char>('0' + seconds / 10);
    out[2] = static_cast<char>('0' + seconds % 10);
    out[3] = '.';
    out[4] = static_cast<char>('0' + hundredth / 10);
    out[5] = static_cast<char>('0' + hundredth % 10);
    return out + 6;
}

// The table's lap time field for a time in hundredths of a second: "m:ss.hh" up to 59999,
// "-:--.--" above (and for a negative time, which the field cannot hold).
using TimeText = std::array<char, 7>;
TimeText tableTimeText(std::int32_t time);

// Writes the lap line of a decoded record, without line end, at out, which must have room for
// kMaxLapLineLength characters. Returns the end of what was written. decimalPoint separates the
// GX and GY tenths; the time text always uses '.'.
char* writeLapLine(const LapRecord& record, char decimalPoint, char* out);

// Appends the lap line of a decoded record, without line end.
void appendLapLine(const LapRecord& record, char decimalPoint, std::string& out);
