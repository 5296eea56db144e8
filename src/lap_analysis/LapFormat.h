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

// Appends printf-style text to out; one line of a report is never longer than 1023 bytes.
void appendFormat(std::string& out, const char* format, ...);
