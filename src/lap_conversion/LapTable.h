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
// Lap field and seven block texts of at most 70 characters each.
inline constexpr std::size_t kMaxLapLineLength = 4 + kBlockCount * 70;

// The header line for speed unit flag 0 ("km/h") or 1 ("m/h"), without line end.
std::string_view headerLine(int unitFlag);

// Appends the header line for unitFlag (bit 0 is used) and a line end.
void HEAD_PRINT(int unitFlag, std::string& out);

// Lap time text for a time in hundredths of a second: "m:ss.hh" up to 59999, "-:--.--" above
// (and for a negative time, which the format cannot hold).
using TimeText = std::array<char, 7>;
void TIME_SET(std::int32_t time, TimeText& TIME_STR);

// Writes the lap line of a decoded record, without line end, at out, which must have room for
// kMaxLapLineLength characters. Returns the end of what was written. decimalPoint separates the
// GX and GY tenths; the time text always uses '.'.
char* writeLapLine(const LapRecord& record, char decimalPoint, char* out);

// Appends the lap line of a decoded record, without line end.
void appendLapLine(const LapRecord& record, char decimalPoint, std::string& out);
