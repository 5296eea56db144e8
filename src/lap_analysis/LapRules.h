#pragma once

#include "lap_analysis/LapData.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The rules every report of the laps shares: which laps count, the median, and how much of a
// long list of line numbers is named.

// The middle of a list of times: for an odd count the middle value twice, for an even count the
// two middle values.
struct Median {
    std::int32_t lower = 0;
    std::int32_t upper = 0;

    // The mean of the two rounded half up to a hundredth: the median the exclusion limit and the
    // reports give.
    std::int32_t hundredths() const
    {
        return static_cast<std::int32_t>((static_cast<std::int64_t>(lower) + upper + 1) / 2);
    }
    // The exact mean of the two.
    double exact() const { return (static_cast<double>(lower) + upper) / 2.0; }
};

// The median of the values, which it reorders; nothing for no values.
std::optional<Median> medianOf(std::span<std::int32_t> values);

// Median of integer hundredths as the exclusion rule uses it: of an even count, the mean of the
// two middle values rounded half up. Nothing for no values.
std::optional<std::int32_t> medianHundredths(std::vector<std::int32_t> times);

// The exclusion limit for a median: the largest time not slower than percent of it; nothing
// when percent is 0 (or below).
std::optional<std::int32_t> excludeLimitFor(std::int32_t median, double percent);

// A lap faster than this share of the median is a mis-triggered one (a beacon read twice gives
// a lap of a few seconds), never a driven lap: no driver laps twice as fast as his median.
inline constexpr int kFastLimitPercent = 50;

// The times a lap must lie between to count by the rule; nothing where there is no limit.
struct CountLimits {
    std::optional<std::int32_t> slowest; // a slower lap is excluded
    std::optional<std::int32_t> fastest; // a faster lap is excluded
};

// The limits of a median: no slower than percent of it, no faster than kFastLimitPercent of it
// (rounded up, so exactly half counts). percent 0 (or below) sets neither: every timed lap counts.
CountLimits countLimitsFor(std::int32_t median, double percent);

enum class LapStatus { Counted, Untimed, ExcludedSlow, ExcludedFast, ExcludedByUser };

// Whether a lap counts: a lap without a time never does; the user's choice, where there is one,
// decides; otherwise a lap outside the limits is left out (no limits: every timed lap counts).
LapStatus lapStatusFor(std::int32_t lapTime, const CountLimits& limits,
                       std::optional<bool> choice = std::nullopt);
inline bool lapCounts(std::int32_t lapTime, const CountLimits& limits,
                      std::optional<bool> choice = std::nullopt)
{
    return lapStatusFor(lapTime, limits, choice) == LapStatus::Counted;
}

// Line numbers named at most in a list; the rest are only counted.
inline constexpr std::size_t kListedLines = 10;
struct ListedLines {
    std::string names;    // the first kListedLines numbers, ", " between them
    std::size_t more = 0; // how many are left unnamed
};
ListedLines listLines(std::span<const std::int64_t> lines);
