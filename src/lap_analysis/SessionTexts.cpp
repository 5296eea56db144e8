#include "lap_analysis/SessionTexts.h"

#include "lap_analysis/LapFormat.h"

#include <algorithm>
#include <cstdio>

namespace {

const char* unitText(SpeedUnit unit)
{
    return unit == SpeedUnit::Mph ? "m/h" : "km/h";
}

const char* plural(std::int64_t n)
{
    return n == 1 ? "" : "s";
}

// "S2 lap 9" for the lap at a position in the list of all laps.
std::string lapName(const SessionAnalysis& analysis, std::size_t lap)
{
    const LapData& data = analysis.laps()[lap];
    std::string name = SessionAnalysis::sessionTag(analysis.sessionOf(lap)) + " lap " +
                       std::to_string(data.lapNumber);
    if (data.lapNumberCut)
        name += " (last digits)";
    return name;
}

std::string tenths(std::int32_t v)
{
    return std::to_string(v / 10) + '.' + static_cast<char>('0' + v % 10);
}

// "Session 2, QUALI.BIL", or "Session 2" without a name.
std::string sessionTitle(const SessionAnalysis& analysis, std::size_t s)
{
    std::string title = "Session " + std::to_string(s + 1);
    if (!analysis.session(s).name.empty())
        title += ", " + analysis.session(s).name;
    return title;
}

std::string timeOrDash(const std::optional<std::int32_t>& t)
{
    return t ? formatLapTime(*t) : "-";
}

std::string gapOrDash(const std::optional<std::int32_t>& t)
{
    return t ? formatGap(*t) : "-";
}

std::string secondsOrDash(const std::optional<std::int32_t>& t)
{
    return t ? formatSeconds(*t) : "-";
}

std::string secondsCell(const std::optional<std::int32_t>& t, char decimalPoint)
{
    return t ? formatSeconds(*t, decimalPoint) : std::string();
}

} // namespace

std::string daySummary(const SessionAnalysis& analysis)
{
    const DayStats& day = analysis.day();
    std::string out;
    appendFormat(out, "Day: %zu session%s, %d lap%s, %d timed, %d counted\n", day.sessions.size(),
        plural(std::int64_t(day.sessions.size())), day.lapCount, plural(day.lapCount),
        day.timedCount, day.countedCount);
    out += '\n';
    if (!day.bestLap) {
        out += "No counted lap: no best lap of the day.\n";
    } else {
        appendFormat(out, "Best lap      %9s  %s\n", formatLapTime(day.bestLap->value).c_str(),
            lapName(analysis, day.bestLap->lap).c_str());
        if (day.theoreticalBest) {
            std::string from;
            for (const SessionLapAt& sector : day.theoreticalBest->sectors)
                from += (from.empty() ? "" : ", ") + lapName(analysis, sector.lap);
            appendFormat(out, "Theoretical   %9s  best sectors from %s\n",
                formatLapTime(day.theoreticalBest->time).c_str(), from.c_str());
        } else {
            appendFormat(out,
                "Theoretical   %9s  needs the same timed sectors on every counted lap of every "
                "session\n",
                "-");
        }
        if (day.rollingBest) {
            const SessionStats::RollingBest& r = day.rollingBest->at;
            appendFormat(out, "Rolling best  %9s  %s sector %d to %s sector %d\n",
                formatLapTime(r.time).c_str(), lapName(analysis, r.startLap).c_str(), r.startSector,
                lapName(analysis, r.endLap).c_str(), r.endSector);
        }
        if (std::any_of(day.sectorBest.begin(), day.sectorBest.end(),
                        [](const auto& s) { return s.has_value(); })) {
            out += "\nSector bests\n";
            for (std::size_t k = 0; k < day.sectorBest.size(); ++k) {
                if (day.sectorBest[k])
                    appendFormat(out, "  sector %zu    %9s  %s\n", k + 1,
                        formatLapTime(day.sectorBest[k]->value).c_str(),
                        lapName(analysis, day.sectorBest[k]->lap).c_str());
            }
        }
        appendConsistency(out, day.consistency);
    }
    if (day.rpmMax) {
        const auto peak = [&](const char* name, const std::string& value, const char* unit,
                              const SessionLapAt& at) {
            appendFormat(out, "  %-11s %9s  %s%s\n", name, value.c_str(), unit,
                lapName(analysis, at.lap).c_str());
        };
        out += "\nPeaks\n";
        peak("rpm max", std::to_string(day.rpmMax->value), "", *day.rpmMax);
        // Speeds of two units are never compared: each unit has its own top speed.
        for (const DayStats::SpeedPeak& speed : day.speedMax)
            peak("speed max", std::to_string(speed.at.value),
                 speed.unit == SpeedUnit::Mph ? "m/h   " : "km/h  ", speed.at);
        peak("GX max", tenths(day.gxMax->value), "G     ", *day.gxMax);
        peak("GY max", tenths(day.gyMax->value), "G     ", *day.gyMax);
        peak("TMP1 min", std::to_string(day.tmp1Min->value), "", *day.tmp1Min);
        peak("TMP1 max", std::to_string(day.tmp1Max->value), "", *day.tmp1Max);
        peak("TMP2 min", std::to_string(day.tmp2Min->value), "", *day.tmp2Min);
        peak("TMP2 max", std::to_string(day.tmp2Max->value), "", *day.tmp2Max);
    }
    return out;
}

std::string sessionsSummary(const SessionAnalysis& analysis, const SummaryNotes& notes)
{
    const double percent = analysis.excludeSlowerPercent();
    if (analysis.sessionCount() <= 1) {
        if (analysis.sessionCount() == 0)
            return sessionSummary({}, SpeedUnit::Kmh, analyseSession({}), notes);
        return sessionSummary(analysis.lapsOf(0), analysis.session(0).unit, analysis.stats(0),
                              notes);
    }

    std::string out;
    int timed = 0, counted = 0;
    for (std::size_t s = 0; s < analysis.sessionCount(); ++s) {
        timed += analysis.stats(s).timedCount;
        counted += analysis.stats(s).countedCount;
    }
    appendFormat(out, "%zu sessions: %zu lap%s, %d timed, %d counted\n", analysis.sessionCount(),
        analysis.laps().size(), plural(std::int64_t(analysis.laps().size())), timed, counted);
    appendCoverage(out, notes);
    if (percent > 0)
        appendFormat(out,
            "In each session, laps slower than %g %% or faster than %d %% of its median lap (the "
            "first and last lap left out of it) are not counted.\n",
            percent, kFastLimitPercent);
    if (analysis.unitsDiffer())
        out += "The sessions' speed units differ: the day joins their times; speeds are compared "
               "only within a unit.\n";

    SummaryNotes sessionNotes;
    sessionNotes.excludeSlowerPercent = percent;
    for (std::size_t s = 0; s < analysis.sessionCount(); ++s) {
        out += '\n';
        const SessionSpan& session = analysis.session(s);
        sessionNotes.incomplete = !session.fault.empty();
        sessionNotes.fault = session.fault;
        if (session.lapCount == 0) {
            appendFormat(out, "%s: no laps\n", sessionTitle(analysis, s).c_str());
            if (sessionNotes.incomplete)
                appendFormat(out, "Read up to a fault: %s\n", session.fault.c_str());
            continue;
        }
        out += sessionSummary(analysis.lapsOf(s), session.unit, analysis.stats(s), sessionNotes,
                              {sessionTitle(analysis, s), SessionAnalysis::sessionTag(s) + " "});
    }
    out += '\n';
    out += daySummary(analysis);
    out += "\nSessions\n";
    out += comparisonText(analysis);
    return out;
}

std::string comparisonText(const SessionAnalysis& analysis, const SummaryNotes& notes)
{
    std::vector<std::string> names;
    names.reserve(analysis.sessionCount());
    int width = 7;
    for (std::size_t s = 0; s < analysis.sessionCount(); ++s) {
        std::string name = SessionAnalysis::sessionTag(s);
        if (!analysis.session(s).name.empty())
            name += ' ' + analysis.session(s).name;
        width = std::min(40, std::max(width, static_cast<int>(name.size())));
        names.push_back(std::move(name));
    }
    std::string out;
    appendCoverage(out, notes);
    appendFormat(out, "%-*s  %-4s  %5s  %7s  %9s  %-9s  %7s  %11s  %7s  %9s  %7s  %7s  %7s\n", width,
        "Session", "Unit", "Laps", "Counted", "Best", "", "Gap", "Theoretical", "Gap", "Median",
        "Gap", "Std dev", "Gap");
    for (const SessionComparison& row : analysis.comparison()) {
        const std::string at =
            row.bestLap ? "lap " + std::to_string(analysis.laps()[*row.bestLap].lapNumber) : "";
        appendFormat(out, "%-*s  %-4s  %5d  %7d  %9s  %-9s  %7s  %11s  %7s  %9s  %7s  %7s  %7s\n", width,
            names[row.session].c_str(), unitText(analysis.session(row.session).unit), row.lapCount,
            row.countedCount, timeOrDash(row.best).c_str(), at.c_str(),
            gapOrDash(row.bestGap).c_str(), timeOrDash(row.theoretical).c_str(),
            gapOrDash(row.theoreticalGap).c_str(), timeOrDash(row.median).c_str(),
            gapOrDash(row.medianGap).c_str(), secondsOrDash(row.stddev).c_str(),
            gapOrDash(row.stddevGap).c_str());
    }
    return out;
}

std::string comparisonCsv(const SessionAnalysis& analysis, const CsvDialect& dialect)
{
    const char d = dialect.delimiter;
    const char point = dialect.decimalPoint;
    std::string out;
    for (const char* column : {"session", "session_name", "speed_unit", "laps", "counted", "best_s",
                               "best_gap_s", "best_lap", "theoretical_s", "theoretical_gap_s",
                               "median_s", "median_gap_s", "stddev_s", "stddev_gap_s"}) {
        if (!out.empty())
            out += d;
        out += column;
    }
    out += "\r\n";
    for (const SessionComparison& row : analysis.comparison()) {
        const SessionSpan& session = analysis.session(row.session);
        const std::string cells[] = {
            std::to_string(row.session + 1),
            csvCell(session.name, dialect),
            unitText(session.unit),
            std::to_string(row.lapCount),
            std::to_string(row.countedCount),
            secondsCell(row.best, point),
            secondsCell(row.bestGap, point),
            row.bestLap ? std::to_string(analysis.laps()[*row.bestLap].lapNumber) : "",
            secondsCell(row.theoretical, point),
            secondsCell(row.theoreticalGap, point),
            secondsCell(row.median, point),
            secondsCell(row.medianGap, point),
            secondsCell(row.stddev, point),
            secondsCell(row.stddevGap, point)};
        for (std::size_t i = 0; i < std::size(cells); ++i) {
            if (i > 0)
                out += d;
            out += cells[i];
        }
        out += "\r\n";
    }
    return out;
}
