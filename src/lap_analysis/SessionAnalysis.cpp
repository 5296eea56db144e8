#include "lap_analysis/SessionAnalysis.h"

#include <algorithm>

namespace {

// Keeps the lower (or higher) figure; a tie keeps the earlier session's.
void keepLower(std::optional<SessionLapAt>& kept, const std::optional<LapAt>& at,
               std::size_t session, std::size_t firstLap)
{
    if (at && (!kept || at->value < kept->value))
        kept = SessionLapAt{at->value, session, firstLap + at->lap};
}

void keepHigher(std::optional<SessionLapAt>& kept, const std::optional<LapAt>& at,
                std::size_t session, std::size_t firstLap)
{
    if (at && (!kept || at->value > kept->value))
        kept = SessionLapAt{at->value, session, firstLap + at->lap};
}

void keepLowest(std::optional<std::int32_t>& kept, std::optional<std::int32_t> value)
{
    if (value && (!kept || *value < *kept))
        kept = value;
}

std::int32_t rounded(double hundredths)
{
    return static_cast<std::int32_t>(hundredths + 0.5);
}

std::optional<std::int32_t> medianOfCounted(const SessionStats& stats)
{
    if (stats.consistency.count == 0)
        return std::nullopt;
    return rounded(stats.consistency.median);
}

std::optional<std::int32_t> stddevOfCounted(const SessionStats& stats)
{
    if (stats.consistency.count < 2)
        return std::nullopt;
    return rounded(stats.consistency.stddev);
}

std::optional<std::int32_t> theoreticalOf(const SessionStats& stats)
{
    if (!stats.theoreticalBest)
        return std::nullopt;
    return stats.theoreticalBest->time;
}

std::optional<std::int32_t> gap(std::optional<std::int32_t> value, std::optional<std::int32_t> best)
{
    if (!value || !best)
        return std::nullopt;
    return *value - *best;
}

} // namespace

SessionAnalysis SessionAnalysis::choicesOnly() const
{
    SessionAnalysis empty;
    empty.percent_ = percent_;
    empty.choices_ = choices_;
    return empty;
}

void SessionAnalysis::load(std::vector<LapData> laps, std::vector<SessionSpan> sessions)
{
    laps_ = std::move(laps);
    sessions_ = std::move(sessions);
    // Sessions that do not cover the laps in order are not the laps' sessions: all laps are
    // then one session.
    std::size_t end = 0;
    bool cover = true;
    for (const SessionSpan& session : sessions_) {
        cover = cover && session.firstLap == end;
        end = session.firstLap + session.lapCount;
    }
    if (!cover || end != laps_.size()) {
        sessions_.clear();
        if (!laps_.empty())
            sessions_.push_back(SessionSpan{{}, SpeedUnit::Kmh, 0, laps_.size(), {}});
    }
    sessionOfLap_.resize(laps_.size());
    for (std::size_t s = 0; s < sessions_.size(); ++s) {
        std::fill_n(sessionOfLap_.begin() + static_cast<std::ptrdiff_t>(sessions_[s].firstLap),
                    sessions_[s].lapCount, static_cast<std::uint32_t>(s));
    }

    chosen_.clear();
    if (!choices_.empty()) {
        std::map<std::pair<std::int64_t, std::int32_t>, int> seen;
        for (std::size_t pos = 0; pos < laps_.size(); ++pos) {
            const LapData& lap = laps_[pos];
            const int before = seen[{lap.lapNumber, lap.lapTime()}]++;
            const auto choice = choices_.find({lap.lapNumber, lap.lapTime(), before});
            if (choice != choices_.end())
                chosen_[pos] = choice->second;
        }
    }

    stats_.assign(sessions_.size(), SessionStats{});
    for (std::size_t s = 0; s < sessions_.size(); ++s)
        analyseSession(s);
    analyseDay();
    analyseAll();
}

void SessionAnalysis::setExcludeSlowerPercent(double percent)
{
    percent_ = percent;
    for (std::size_t s = 0; s < sessions_.size(); ++s)
        analyseSession(s);
    analyseDay();
    analyseAll();
}

SessionAnalysis::LapKey SessionAnalysis::keyOf(std::size_t lap) const
{
    const LapData& target = laps_[lap];
    const auto before = std::count_if(
        laps_.begin(), laps_.begin() + std::ptrdiff_t(lap), [&](const LapData& other) {
            return other.lapNumber == target.lapNumber && other.lapTime() == target.lapTime();
        });
    return {target.lapNumber, target.lapTime(), int(before)};
}

void SessionAnalysis::toggleLap(std::size_t lap)
{
    if (lap >= laps_.size() || !laps_[lap].timed())
        return;
    const std::size_t s = sessionOf(lap);
    const bool wanted = status(lap) != LapStatus::Counted;
    const bool byRule = lapCounts(laps_[lap].lapTime(), stats_[s].limits());
    if (byRule == wanted) {
        choices_.erase(keyOf(lap));
        chosen_.erase(lap);
    } else {
        choices_[keyOf(lap)] = wanted;
        chosen_[lap] = wanted;
    }
    analyseSession(s);
    analyseDay();
    analyseAll();
}

void SessionAnalysis::resetChoices()
{
    choices_.clear();
    chosen_.clear();
    setExcludeSlowerPercent(percent_);
}

std::optional<bool> SessionAnalysis::choiceOf(std::size_t lap) const
{
    const auto it = chosen_.find(lap);
    if (it == chosen_.end())
        return std::nullopt;
    return it->second;
}

std::span<const LapData> SessionAnalysis::lapsOf(std::size_t s) const
{
    return std::span(laps_).subspan(sessions_[s].firstLap, sessions_[s].lapCount);
}

LapStatus SessionAnalysis::status(std::size_t lap) const
{
    const std::size_t s = sessionOf(lap);
    return stats_[s].status[lap - sessions_[s].firstLap];
}

std::int32_t SessionAnalysis::gapToBest(std::size_t lap) const
{
    const std::size_t s = sessionOf(lap);
    return stats_[s].gapToBest[lap - sessions_[s].firstLap];
}

void SessionAnalysis::analyseSession(std::size_t s)
{
    const SessionSpan& session = sessions_[s];
    AnalysisOptions options;
    options.excludeSlowerPercent = percent_;
    const std::size_t end = session.firstLap + session.lapCount;
    for (auto it = chosen_.lower_bound(session.firstLap); it != chosen_.end() && it->first < end;
         ++it)
        options.overrides.emplace_hint(options.overrides.end(), it->first - session.firstLap,
                                       it->second);
    stats_[s] = ::analyseSession(lapsOf(s), options);
}

void SessionAnalysis::analyseDay()
{
    day_ = DayStats{};
    unitsDiffer_ = false;
    DayStats& day = day_;
    std::vector<std::int32_t> counted;
    int sectors = -1; // the theoretical bests' sector count; -2 when there is none for all
    for (std::size_t s = 0; s < sessions_.size(); ++s) {
        if (sessions_[s].lapCount == 0)
            continue;
        const SessionStats& stats = stats_[s];
        const SpeedUnit unit = sessions_[s].unit;
        const std::size_t first = sessions_[s].firstLap;
        unitsDiffer_ = unitsDiffer_ || (!day.sessions.empty() &&
                                        sessions_[day.sessions.front()].unit != unit);
        day.sessions.push_back(s);
        day.lapCount += static_cast<int>(sessions_[s].lapCount);
        day.timedCount += stats.timedCount;
        day.countedCount += stats.countedCount;
        keepLower(day.bestLap, stats.bestLap, s, first);
        for (std::size_t k = 0; k < day.sectorBest.size(); ++k)
            keepLower(day.sectorBest[k], stats.sectorBest[k], s, first);
        if (stats.countedCount > 0) {
            const int n = stats.theoreticalBest
                              ? static_cast<int>(stats.theoreticalBest->sectorLaps.size())
                              : -2;
            sectors = sectors == -1 || sectors == n ? n : -2;
        }
        if (stats.rollingBest &&
            (!day.rollingBest || stats.rollingBest->time < day.rollingBest->at.time)) {
            SessionStats::RollingBest at = *stats.rollingBest;
            at.startLap += first;
            at.endLap += first;
            day.rollingBest = DayStats::RollingBest{s, at};
        }
        keepHigher(day.rpmMax, stats.rpmMax, s, first);
        if (stats.speedMax) {
            auto peak = std::find_if(day.speedMax.begin(), day.speedMax.end(),
                                     [&](const DayStats::SpeedPeak& p) { return p.unit == unit; });
            if (peak == day.speedMax.end())
                day.speedMax.push_back({unit, SessionLapAt{stats.speedMax->value, s,
                                                           first + stats.speedMax->lap}});
            else if (stats.speedMax->value > peak->at.value)
                peak->at = SessionLapAt{stats.speedMax->value, s, first + stats.speedMax->lap};
        }
        keepHigher(day.gxMax, stats.gxMax, s, first);
        keepHigher(day.gyMax, stats.gyMax, s, first);
        keepLower(day.tmp1Min, stats.tmp1Min, s, first);
        keepHigher(day.tmp1Max, stats.tmp1Max, s, first);
        keepLower(day.tmp2Min, stats.tmp2Min, s, first);
        keepHigher(day.tmp2Max, stats.tmp2Max, s, first);
        keepLowest(day.bestTheoretical, theoreticalOf(stats));
        keepLowest(day.bestMedian, medianOfCounted(stats));
        keepLowest(day.bestStddev, stddevOfCounted(stats));

        const std::span<const LapData> laps = lapsOf(s);
        for (std::size_t i = 0; i < laps.size(); ++i) {
            if (stats.status[i] == LapStatus::Counted)
                counted.push_back(laps[i].lapTime());
        }
    }
    day.consistency = consistencyOf(std::move(counted));
    if (sectors > 0) {
        DayStats::TheoreticalBest best;
        for (std::size_t k = 0; k < static_cast<std::size_t>(sectors); ++k) {
            best.time += day.sectorBest[k]->value;
            best.sectors.push_back(*day.sectorBest[k]);
        }
        day.theoreticalBest = best;
    }
}

void SessionAnalysis::analyseAll()
{
    all_ = SessionStats{};
    if (sessions_.size() == 1)
        return; // allStats() is the session's own
    all_.status.reserve(laps_.size());
    all_.gapToBest.reserve(laps_.size());
    std::vector<std::int32_t> counted;
    for (std::size_t s = 0; s < sessions_.size(); ++s) {
        const SessionStats& stats = stats_[s];
        const std::size_t first = sessions_[s].firstLap;
        all_.status.insert(all_.status.end(), stats.status.begin(), stats.status.end());
        all_.gapToBest.insert(all_.gapToBest.end(), stats.gapToBest.begin(), stats.gapToBest.end());
        if (stats.bestLap && (!all_.bestLap || stats.bestLap->value < all_.bestLap->value))
            all_.bestLap = LapAt{stats.bestLap->value, first + stats.bestLap->lap};
        all_.timedCount += stats.timedCount;
        all_.countedCount += stats.countedCount;
        all_.totalTime += stats.totalTime;
        all_.totalLength += stats.totalLength;
    }
    counted.reserve(static_cast<std::size_t>(all_.countedCount));
    for (std::size_t i = 0; i < laps_.size(); ++i) {
        if (all_.status[i] == LapStatus::Counted)
            counted.push_back(laps_[i].lapTime());
    }
    all_.consistency = consistencyOf(std::move(counted));
}

std::vector<SessionComparison> SessionAnalysis::comparison() const
{
    std::vector<SessionComparison> rows;
    rows.reserve(sessions_.size());
    for (std::size_t s = 0; s < sessions_.size(); ++s) {
        const SessionStats& stats = stats_[s];
        SessionComparison row;
        row.session = s;
        row.lapCount = static_cast<int>(sessions_[s].lapCount);
        row.countedCount = stats.countedCount;
        if (stats.bestLap) {
            row.best = stats.bestLap->value;
            row.bestLap = sessions_[s].firstLap + stats.bestLap->lap;
        }
        row.theoretical = theoreticalOf(stats);
        row.median = medianOfCounted(stats);
        row.stddev = stddevOfCounted(stats);
        row.bestGap = gap(row.best, day_.bestLap ? std::optional(day_.bestLap->value) : std::nullopt);
        row.theoreticalGap = gap(row.theoretical, day_.bestTheoretical);
        row.medianGap = gap(row.median, day_.bestMedian);
        row.stddevGap = gap(row.stddev, day_.bestStddev);
        rows.push_back(row);
    }
    return rows;
}
