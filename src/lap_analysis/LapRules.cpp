#include "lap_analysis/LapRules.h"

#include <algorithm>
#include <cmath>

std::optional<Median> medianOf(std::span<std::int32_t> values)
{
    if (values.empty())
        return std::nullopt;
    const std::size_t mid = values.size() / 2;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(mid);
    std::nth_element(values.begin(), middle, values.end());
    Median median{*middle, *middle};
    // nth_element leaves the lower half before the middle: its largest is the other middle one.
    if (values.size() % 2 == 0)
        median.lower = *std::max_element(values.begin(), middle);
    return median;
}

std::optional<std::int32_t> medianHundredths(std::vector<std::int32_t> times)
{
    const std::optional<Median> median = medianOf(times);
    if (!median)
        return std::nullopt;
    return median->hundredths();
}

std::optional<std::int32_t> excludeLimitFor(std::int32_t median, double percent)
{
    if (!(percent > 0))
        return std::nullopt;
    const double limit = std::floor(static_cast<double>(median) * percent / 100.0);
    return limit >= 2147483647.0 ? 2147483647 : static_cast<std::int32_t>(limit);
}

CountLimits countLimitsFor(std::int32_t median, double percent)
{
    CountLimits limits;
    limits.slowest = excludeLimitFor(median, percent);
    if (limits.slowest) {
        const std::int64_t least = (std::int64_t(median) * kFastLimitPercent + 99) / 100;
        limits.fastest = static_cast<std::int32_t>(least);
    }
    return limits;
}

LapStatus lapStatusFor(std::int32_t lapTime, const CountLimits& limits, std::optional<bool> choice)
{
    if (lapTime == kUnknownTime)
        return LapStatus::Untimed;
    if (choice)
        return *choice ? LapStatus::Counted : LapStatus::ExcludedByUser;
    if (limits.slowest && lapTime > *limits.slowest)
        return LapStatus::ExcludedSlow;
    if (limits.fastest && lapTime < *limits.fastest)
        return LapStatus::ExcludedFast;
    return LapStatus::Counted;
}

ListedLines listLines(std::span<const std::int64_t> lines)
{
    ListedLines listed;
    const std::size_t named = std::min(lines.size(), kListedLines);
    for (std::size_t i = 0; i < named; ++i) {
        if (i > 0)
            listed.names += ", ";
        listed.names += std::to_string(lines[i]);
    }
    listed.more = lines.size() - named;
    return listed;
}
