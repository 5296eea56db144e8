#pragma once

#include "lap_analysis/LapData.h"
#include "lap_analysis/LapRules.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

// Session statistics over laps in input order. Every time is an integer in hundredths of a
// second; only the consistency figures are doubles (still in hundredths).

struct AnalysisOptions {
    // A timed lap slower than this percentage of the session's median lap is excluded (an
    // out-lap, in-lap or incident), and so is one faster than kFastLimitPercent of it (a
    // mis-triggered lap); 0 turns both off. The median is that of the timed laps between the
    // session's first and last lap (see referenceMedian).
    double excludeSlowerPercent = 110.0;
    // Per lap position (index into the laps): true counts the lap, false excludes it, overriding
    // the automatic rule. An untimed lap is never counted.
    std::map<std::size_t, bool> overrides;
};

// A figure and the lap position it came from.
struct LapAt {
    std::int32_t value = 0;
    std::size_t lap = 0;
};

struct SessionStats {
    std::vector<LapStatus> status; // per lap position
    // Per lap position: lap time minus the best lap's, for every timed lap; kUnknownTime for an
    // untimed lap or when there is no best lap.
    std::vector<std::int32_t> gapToBest;
    // The exclusion reference: the median of the timed laps between the first and the last
    // (see referenceMedian).
    std::optional<std::int32_t> medianTimed;
    std::optional<std::int32_t> excludeLimit; // laps slower than this (hundredths) are excluded
    std::optional<std::int32_t> fastLimit;    // laps faster than this are excluded
    CountLimits limits() const { return {excludeLimit, fastLimit}; }
    std::optional<LapAt> bestLap;             // fastest counted lap; a tie goes to the earlier
    std::array<std::optional<LapAt>, kMaxSectors> sectorBest; // over counted laps that have it

    // Sum of the best sector times; only when every counted lap has the same sector count (one
    // or more) and each sector has a best time.
    struct TheoreticalBest {
        std::int32_t time = 0;
        std::vector<std::size_t> sectorLaps; // lap position of each sector's best, sector 1 first
    };
    std::optional<TheoreticalBest> theoreticalBest;

    // Fastest run of consecutive sectors as long as one lap, across the end of a lap into the
    // next only where both laps are counted and follow each other in the input.
    struct RollingBest {
        std::int32_t time = 0;
        std::size_t startLap = 0;
        int startSector = 1; // 1-based
        std::size_t endLap = 0;
        int endSector = 1; // 1-based
    };
    std::optional<RollingBest> rollingBest;

    // Over the counted laps, in hundredths. stddev is the sample standard deviation (0 below two
    // laps); stddevPercent is it as a percentage of the median, given from three laps on.
    struct Consistency {
        int count = 0;
        double mean = 0, median = 0, stddev = 0;
        std::optional<double> stddevPercent;
    };
    Consistency consistency;

    // Peaks of the whole-lap blocks of all laps (untimed and excluded ones too: the logger
    // recorded them); a tie goes to the earlier lap.
    std::optional<LapAt> rpmMax, speedMax, gxMax, gyMax, tmp1Min, tmp1Max, tmp2Min, tmp2Max;
    std::int64_t totalLength = 0, totalTime = 0; // over the timed laps
    int timedCount = 0, countedCount = 0;
};

SessionStats analyseSession(std::span<const LapData> laps, const AnalysisOptions& options = {});

// The median the exclusion limits of a session come from: that of its timed laps without its
// first and its last lap where it has three laps or more, so neither an out-lap nor an in-lap
// sets it, also in a session of three laps; that of all its timed laps where this leaves none.
// Nothing without a timed lap.
std::optional<std::int32_t> referenceMedian(std::span<const LapData> laps);

// The consistency figures of lap times (hundredths), which it reorders.
SessionStats::Consistency consistencyOf(std::vector<std::int32_t> times);

// Counts known lap times in fixed memory, so a streamed run can find the median of all its laps
// in a first pass and mark counted laps in a second. Times 0 to kMaxShownTime only.
class TimeHistogram {
public:
    TimeHistogram();
    void add(std::int32_t time); // ignores unknown times and those above kMaxShownTime
    void remove(std::int32_t time); // one added time; ignores those add() ignores
    std::int64_t count() const { return count_; }
    // The same median as medianHundredths over the added times.
    std::optional<std::int32_t> median() const;
    // Empties it for the next session; costs only the range of times added.
    void clear();

private:
    std::vector<std::int64_t> counts_;
    std::int64_t count_ = 0;
    std::int32_t lowest_ = kMaxShownTime, highest_ = -1;
};

// referenceMedian() of a session whose laps go past one by one, in fixed memory.
class StreamedReference {
public:
    // The session's next lap time, kUnknownTime for an untimed lap.
    void add(std::int32_t lapTime);
    std::optional<std::int32_t> median();
    // Empties it for the next session.
    void clear();

private:
    TimeHistogram times_;
    std::int64_t laps_ = 0;
    std::int32_t first_ = kUnknownTime, last_ = kUnknownTime;
};
