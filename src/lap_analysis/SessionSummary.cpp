#include "lap_analysis/SessionSummary.h"

#include "lap_analysis/LapFormat.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string lapName(std::span<const LapData> laps, std::size_t position, const std::string& prefix)
{
    const LapData& lap = laps[position];
    std::string name = prefix + "lap " + std::to_string(lap.lapNumber);
    if (lap.lapNumberCut)
        name += " (last digits)";
    return name;
}

// Tenths as "1.2".
std::string tenths(std::int32_t v)
{
    return std::to_string(v / 10) + '.' + static_cast<char>('0' + v % 10);
}

void addBests(std::string& out, std::span<const LapData> laps, const SessionStats& stats,
              const SessionLabel& label)
{
    if (!stats.bestLap) {
        out += "No counted lap: no best lap, sector bests or consistency.\n";
        return;
    }
    appendFormat(out, "Best lap      %9s  %s\n", formatLapTime(stats.bestLap->value).c_str(),
        lapName(laps, stats.bestLap->lap, label.lapPrefix).c_str());
    if (stats.theoreticalBest) {
        std::string from;
        for (std::size_t s = 0; s < stats.theoreticalBest->sectorLaps.size(); ++s)
            from += (s == 0 ? "" : ", ") +
                    std::to_string(laps[stats.theoreticalBest->sectorLaps[s]].lapNumber);
        appendFormat(out, "Theoretical   %9s  best sectors from %slaps %s\n",
            formatLapTime(stats.theoreticalBest->time).c_str(), label.lapPrefix.c_str(),
            from.c_str());
    } else {
        appendFormat(out, "Theoretical   %9s  needs the same timed sectors on every counted lap\n", "-");
    }
    if (stats.rollingBest) {
        const auto& r = stats.rollingBest;
        appendFormat(out, "Rolling best  %9s  %s sector %d to %s sector %d\n",
            formatLapTime(r->time).c_str(), lapName(laps, r->startLap, label.lapPrefix).c_str(),
            r->startSector, lapName(laps, r->endLap, label.lapPrefix).c_str(), r->endSector);
    }

    bool anySector = false;
    for (const auto& s : stats.sectorBest)
        anySector = anySector || s.has_value();
    if (anySector) {
        out += "\nSector bests\n";
        for (std::size_t s = 0; s < stats.sectorBest.size(); ++s) {
            if (stats.sectorBest[s]) {
                appendFormat(out, "  S%zu          %9s  %s\n", s + 1,
                    formatLapTime(stats.sectorBest[s]->value).c_str(),
                    lapName(laps, stats.sectorBest[s]->lap, label.lapPrefix).c_str());
            }
        }
    }

    appendConsistency(out, stats.consistency);
}

void addNotCounted(std::string& out, std::span<const LapData> laps, const SessionStats& stats,
                   const SummaryNotes& notes, const SessionLabel& label)
{
    if (stats.countedCount == static_cast<int>(laps.size()))
        return;
    out += "\nNot counted\n";
    for (std::size_t i = 0; i < laps.size(); ++i) {
        const std::string name = lapName(laps, i, label.lapPrefix);
        const std::string time = formatLapTime(laps[i].lapTime());
        switch (stats.status[i]) {
        case LapStatus::Counted:
            break;
        case LapStatus::Untimed:
            appendFormat(out, "  %-10s %9s  no lap time\n", name.c_str(), time.c_str());
            break;
        case LapStatus::ExcludedSlow:
            appendFormat(out, "  %-10s %9s  slower than %g %% of the median %s\n", name.c_str(),
                time.c_str(), notes.excludeSlowerPercent,
                formatLapTime(stats.medianTimed.value_or(0)).c_str());
            break;
        case LapStatus::ExcludedFast:
            appendFormat(out, "  %-10s %9s  faster than %d %% of the median %s\n", name.c_str(),
                time.c_str(), kFastLimitPercent,
                formatLapTime(stats.medianTimed.value_or(0)).c_str());
            break;
        case LapStatus::ExcludedByUser:
            appendFormat(out, "  %-10s %9s  excluded by hand\n", name.c_str(), time.c_str());
            break;
        }
    }
}

void addPeaks(std::string& out, std::span<const LapData> laps, SpeedUnit unit,
              const SessionStats& stats, const SessionLabel& label)
{
    if (!stats.rpmMax)
        return;
    const char* speedUnit = unit == SpeedUnit::Mph ? "m/h" : "km/h";
    out += "\nPeaks\n";
    appendFormat(out, "  rpm max     %9d  %s\n", stats.rpmMax->value,
        lapName(laps, stats.rpmMax->lap, label.lapPrefix).c_str());
    appendFormat(out, "  speed max   %9d  %s  %s\n", stats.speedMax->value, speedUnit,
        lapName(laps, stats.speedMax->lap, label.lapPrefix).c_str());
    appendFormat(out, "  GX max      %9s  G     %s\n", tenths(stats.gxMax->value).c_str(),
        lapName(laps, stats.gxMax->lap, label.lapPrefix).c_str());
    appendFormat(out, "  GY max      %9s  G     %s\n", tenths(stats.gyMax->value).c_str(),
        lapName(laps, stats.gyMax->lap, label.lapPrefix).c_str());
    appendFormat(out, "  TMP1 min    %9d  %s\n", stats.tmp1Min->value,
        lapName(laps, stats.tmp1Min->lap, label.lapPrefix).c_str());
    appendFormat(out, "  TMP1 max    %9d  %s\n", stats.tmp1Max->value,
        lapName(laps, stats.tmp1Max->lap, label.lapPrefix).c_str());
    appendFormat(out, "  TMP2 min    %9d  %s\n", stats.tmp2Min->value,
        lapName(laps, stats.tmp2Min->lap, label.lapPrefix).c_str());
    appendFormat(out, "  TMP2 max    %9d  %s\n", stats.tmp2Max->value,
        lapName(laps, stats.tmp2Max->lap, label.lapPrefix).c_str());
}

} // namespace

void appendConsistency(std::string& out, const SessionStats::Consistency& c)
{
    appendFormat(out, "\nConsistency over %d counted lap%s\n", c.count, c.count == 1 ? "" : "s");
    appendFormat(out, "  mean        %9s\n", formatLapTime(static_cast<std::int64_t>(c.mean + 0.5)).c_str());
    appendFormat(out, "  median      %9s\n",
        formatLapTime(static_cast<std::int64_t>(c.median + 0.5)).c_str());
    if (c.count >= 2) {
        appendFormat(out, "  std dev     %9s",
            formatSeconds(static_cast<std::int64_t>(c.stddev + 0.5)).c_str());
        if (c.stddevPercent)
            appendFormat(out, "  (%.2f %% of the median)", *c.stddevPercent);
        out += '\n';
    }
}

void appendCoverage(std::string& out, const SummaryNotes& notes)
{
    if (notes.incomplete)
        appendFormat(out, "Covers only the laps before the fault: %s\n", notes.fault.c_str());
    if (!notes.unread.empty()) {
        out += "Not read: ";
        for (std::size_t i = 0; i < notes.unread.size(); ++i)
            out += (i == 0 ? "" : ", ") + notes.unread[i];
        out += '\n';
    }
    for (const auto& skipped : notes.skipped) {
        const auto count = std::max(skipped.count, std::int64_t(skipped.lines.size()));
        if (count == 0)
            continue;
        appendFormat(out, "%s: %lld line%s skipped, not lap lines: ", skipped.file.c_str(),
            static_cast<long long>(count), count == 1 ? "" : "s");
        // Only the first lines are kept; the rest of the count is named as a number.
        const ListedLines listed = listLines(skipped.lines);
        out += listed.names;
        const auto named = std::int64_t(skipped.lines.size() - listed.more);
        if (count > named)
            appendFormat(out, " and %lld more", static_cast<long long>(count - named));
        out += '\n';
    }
}

std::string sessionSummary(std::span<const LapData> laps, SpeedUnit unit, const SessionStats& stats,
                           const SummaryNotes& notes, const SessionLabel& label)
{
    std::string out;
    appendFormat(out, "%s: %zu lap%s, %d timed, %d counted; speed in %s\n", label.title.c_str(), laps.size(),
        laps.size() == 1 ? "" : "s", stats.timedCount, stats.countedCount,
        unit == SpeedUnit::Mph ? "m/h" : "km/h");
    appendCoverage(out, notes);
    if (notes.excludeSlowerPercent > 0 && stats.medianTimed)
        appendFormat(out,
            "Laps slower than %g %% or faster than %d %% of the median %s (the first and last lap "
            "left out of it) are not counted.\n",
            notes.excludeSlowerPercent, kFastLimitPercent, formatLapTime(*stats.medianTimed).c_str());
    out += '\n';

    addBests(out, laps, stats, label);
    addNotCounted(out, laps, stats, notes, label);
    addPeaks(out, laps, unit, stats, label);
    if (stats.timedCount > 0)
        appendFormat(out, "\nTimed laps    %9s  total time, length %lld\n",
            formatLapTime(stats.totalTime).c_str(), static_cast<long long>(stats.totalLength));
    return out;
}
