#pragma once

#include <cstdint>
#include <string>

// Texts of times for reports, from integer hundredths of a second.

// "m:ss.hh" with as many minute digits as needed (lap_conversion/LapTable.h writeLapTime);
// "-:--.--" for an unknown (negative) time.
std::string formatLapTime(std::int64_t hundredths);
// A gap to the best: "+0.53" below a minute, "+1:02.10" from one; "-" prefix when negative.
std::string formatGap(std::int64_t hundredths);
// Seconds with two decimals, e.g. "65.23", with the given decimal point.
std::string formatSeconds(std::int64_t hundredths, char decimalPoint = '.');

// The compiler checks the arguments against the format (MinGW's C++ library formats as glibc).
#if defined(__MINGW32__)
#define MIREN_PRINTF_FORMAT(f, a) __attribute__((format(gnu_printf, f, a)))
#elif defined(__GNUC__) || defined(__clang__)
#define MIREN_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define MIREN_PRINTF_FORMAT(f, a)
#endif

// Appends printf-style text to out, whatever its length.
MIREN_PRINTF_FORMAT(2, 3) void appendFormat(std::string& out, const char* format, ...);
