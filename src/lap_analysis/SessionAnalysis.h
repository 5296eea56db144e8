#pragma once

#include "lap_analysis/LapData.h"
#include "lap_analysis/SessionStats.h"
#include "lap_analysis/Sessions.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

// A figure, the session it came from and its lap, by the lap's position in the list of all laps.
struct SessionLapAt {
    std::int32_t value = 0;
    std::size_t session = 0;
    std::size_t lap = 0;
};

// The day over all sessions: what the sessions' figures give together. Times are times whatever
// the speed unit of their session, so every time figure is one over all sessions; only speeds
// have a unit, and speeds of two units are never compared. Nothing here joins laps of two
// sessions: a rolling lap is the best of the sessions' own.
struct DayStats {
    std::vector<std::size_t> sessions; // those that hold laps, in order
    int lapCount = 0, timedCount = 0, countedCount = 0;

    std::optional<SessionLapAt> bestLap; // a tie goes to the earlier session
    std::array<std::optional<SessionLapAt>, kMaxSectors> sectorBest;
    // The best sectors of all sessions added up; only when every session with a counted lap has
    // a theoretical best, all of one sector count.
    struct TheoreticalBest {
        std::int32_t time = 0;
        std::vector<SessionLapAt> sectors; // sector 1 first
    };
    std::optional<TheoreticalBest> theoreticalBest;
    // The fastest of the sessions' rolling laps; its laps are positions in the list of all laps.
    struct RollingBest {
        std::size_t session = 0;
        SessionStats::RollingBest at;
    };
    std::optional<RollingBest> rollingBest;
    SessionStats::Consistency consistency; // over the counted laps of all sessions
    std::optional<SessionLapAt> rpmMax, gxMax, gyMax, tmp1Min, tmp1Max, tmp2Min, tmp2Max;
    // The top speed of each speed unit the sessions are in, in the order the units first appear.
    struct SpeedPeak {
        SpeedUnit unit = SpeedUnit::Kmh;
        SessionLapAt at;
    };
    std::vector<SpeedPeak> speedMax;

    // The best of each column of the comparison: the fastest session best, theoretical best and
    // median of counted laps, the smallest standard deviation (hundredths, rounded).
    std::optional<std::int32_t> bestTheoretical, bestMedian, bestStddev;
};

// One session beside the others: its figures and each one's difference to the best of the day
// in that figure. Times in hundredths.
struct SessionComparison {
    std::size_t session = 0;
    int lapCount = 0, countedCount = 0;
    std::optional<std::int32_t> best, bestGap;
    std::optional<std::size_t> bestLap; // position of the best lap in the list of all laps
    std::optional<std::int32_t> theoretical, theoreticalGap;
    std::optional<std::int32_t> median, medianGap; // of the counted laps
    std::optional<std::int32_t> stddev, stddevGap; // from two counted laps on
};

// The sessions of a lap table, their laps, the user's choices of laps and every figure of them:
// what the analysis window and the reports show. Figures of a session are its own, found with its
// own exclusion limits; the day puts the times of all sessions together, and speeds of different
// units are never compared or put together.
class SessionAnalysis {
public:
    // Takes new laps and their sessions, which must cover the laps in order (a reload). A user's
    // choice stays with its lap: a lap is known by its number, its time and how many laps
    // before it have both.
    void load(std::vector<LapData> laps, std::vector<SessionSpan> sessions);

    // Laps slower than this percentage of their session's median lap (see referenceMedian), or
    // faster than kFastLimitPercent of it, are not counted; 0 counts every timed lap.
    void setExcludeSlowerPercent(double percent);
    double excludeSlowerPercent() const { return percent_; }
    // An analysis of no laps with this one's limit and choices, to load new laps into elsewhere
    // (on another thread) while this one is still shown.
    SessionAnalysis choicesOnly() const;

    // Counts a lap that is not counted and leaves out one that is, by the user's choice; where
    // the rule alone gives what is asked, the choice is dropped, so the lap follows the rule
    // again. A lap without a time is never counted.
    void toggleLap(std::size_t lap);
    // Forgets every choice of the user.
    void resetChoices();
    bool hasChoices() const { return !choices_.empty(); }
    std::optional<bool> choiceOf(std::size_t lap) const;

    const std::vector<LapData>& laps() const { return laps_; }
    std::size_t sessionCount() const { return sessions_.size(); }
    const SessionSpan& session(std::size_t s) const { return sessions_[s]; }
    std::span<const LapData> lapsOf(std::size_t s) const;
    // The session's statistics; lap positions in them count from the session's first lap.
    const SessionStats& stats(std::size_t s) const { return stats_[s]; }
    std::size_t sessionOf(std::size_t lap) const { return sessionOfLap_[lap]; }
    LapStatus status(std::size_t lap) const;
    // The lap time minus its session's best lap; kUnknownTime without either.
    std::int32_t gapToBest(std::size_t lap) const;

    // "R2", run 2: the lap references of several sessions read "R2 lap 9". Never "S2", which
    // the lap list and the table use for sector 2.
    static std::string sessionTag(std::size_t s) { return "R" + std::to_string(s + 1); }

    // The day over all sessions.
    const DayStats& day() const { return day_; }
    // The sessions with laps are not all in one speed unit.
    bool unitsDiffer() const { return unitsDiffer_; }
    std::vector<SessionComparison> comparison() const;

    // All laps as one list for a chart or a list of every session: each lap's status and gap as
    // its session gives them, the fastest counted lap and the spread of all counted laps. With
    // one session it is that session's statistics; with more it holds no sector, rolling or peak
    // figures, which never join sessions (the day has them).
    const SessionStats& allStats() const { return sessions_.size() == 1 ? stats_[0] : all_; }

private:
    using LapKey = std::tuple<std::int64_t, std::int32_t, int>;
    LapKey keyOf(std::size_t lap) const;
    void analyseSession(std::size_t s);
    void analyseDay();
    void analyseAll();

    std::vector<LapData> laps_;
    std::vector<SessionSpan> sessions_;
    std::vector<std::uint32_t> sessionOfLap_;
    std::vector<SessionStats> stats_;
    DayStats day_;
    bool unitsDiffer_ = false;
    SessionStats all_;
    double percent_ = 110.0;
    std::map<LapKey, bool> choices_;     // the user's, by lap key
    std::map<std::size_t, bool> chosen_; // the same by lap position, for the current laps
};
