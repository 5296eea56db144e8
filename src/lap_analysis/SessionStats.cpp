#include "lap_analysis/SessionStats.h"

#include <algorithm>
#include <cmath>

namespace {

// Keeps the higher (or lower) value and its lap; a tie keeps the earlier lap.
void keepMax(std::optional<LapAt>& peak, std::int32_t value, std::size_t lap)
{
    if (!peak || value > peak->value)
        peak = LapAt{value, lap};
}

void keepMin(std::optional<LapAt>& peak, std::int32_t value, std::size_t lap)
{
    if (!peak || value < peak->value)
        peak = LapAt{value, lap};
}

bool known(std::int32_t time)
{
    return time >= 0;
}

// The statuses by the median rule and the caller's overrides.
void markLaps(std::span<const LapData> laps, const AnalysisOptions& options, SessionStats& stats)
{
    stats.timedCount = static_cast<int>(
        std::count_if(laps.begin(), laps.end(), [](const LapData& lap) { return lap.timed(); }));
    stats.medianTimed = referenceMedian(laps);
    if (stats.medianTimed) {
        const CountLimits limits = countLimitsFor(*stats.medianTimed, options.excludeSlowerPercent);
        stats.excludeLimit = limits.slowest;
        stats.fastLimit = limits.fastest;
    }

    const CountLimits limits = stats.limits();
    stats.status.resize(laps.size());
    for (std::size_t i = 0; i < laps.size(); ++i) {
        LapStatus& status = stats.status[i];
        std::optional<bool> choice;
        if (const auto it = options.overrides.find(i); it != options.overrides.end())
            choice = it->second;
        status = lapStatusFor(laps[i].lapTime(), limits, choice);
        if (status == LapStatus::Counted)
            ++stats.countedCount;
    }
}

// Gaps to the best lap; lap times only.
void findGaps(std::span<const LapData> laps, SessionStats& stats)
{
    stats.gapToBest.assign(laps.size(), kUnknownTime);
    if (!stats.bestLap)
        return;
    for (std::size_t i = 0; i < laps.size(); ++i) {
        if (laps[i].timed())
            stats.gapToBest[i] = laps[i].lapTime() - stats.bestLap->value;
    }
}

// The best rolling lap, found in the same pass as the bests: a window of the sector count of the
// first counted lap slides over each run of counted laps that follow each other, the sectors of
// one lap after those of the one before. A window holding an unknown time is passed over. The
// result stands only if every counted lap has that sector count.
class RollingWindow {
public:
    // Called for each lap position in order.
    void add(const LapData& lap, std::size_t position, bool counted, SessionStats& stats)
    {
        if (!counted) {
            restart();
            return;
        }
        if (n_ < 0)
            n_ = lap.sectorCount();
        if (lap.sectorCount() != n_ || n_ == 0) {
            restart();
            return;
        }
        for (int s = 1; s <= n_; ++s) {
            const std::int32_t t = lap.blocks[static_cast<std::size_t>(s)].time;
            // The ring holds the last n times; the slot of the oldest takes the new one.
            Slot& slot = ring_[static_cast<std::size_t>(next_)];
            if (filled_ == n_) {
                if (known(slot.time))
                    sum_ -= slot.time;
                else
                    --unknown_;
            } else {
                ++filled_;
            }
            slot = Slot{t, position, s};
            if (known(t))
                sum_ += t;
            else
                ++unknown_;
            next_ = next_ + 1 == n_ ? 0 : next_ + 1;
            if (filled_ == n_ && unknown_ == 0 &&
                (!stats.rollingBest || sum_ < stats.rollingBest->time)) {
                const Slot& first = ring_[static_cast<std::size_t>(next_)];
                stats.rollingBest = SessionStats::RollingBest{static_cast<std::int32_t>(sum_),
                                                              first.lap, first.sector, position, s};
            }
        }
    }

private:
    struct Slot {
        std::int32_t time = 0;
        std::size_t lap = 0;
        int sector = 0;
    };
    void restart()
    {
        filled_ = 0;
        sum_ = 0;
        unknown_ = 0;
    }

    int n_ = -1; // the sector count of the first counted lap
    std::array<Slot, kMaxSectors> ring_{};
    int next_ = 0;
    int filled_ = 0;
    std::int64_t sum_ = 0;
    int unknown_ = 0;
};

// One pass over all values of the laps: sector bests, the shared sector count, the rolling
// window, peaks and totals. The laps are large, so the values are read once.
void findBestsAndPeaks(std::span<const LapData> laps, SessionStats& stats)
{
    int common = -1; // sector count shared by the counted laps; -2 when they differ
    RollingWindow rolling;
    for (std::size_t i = 0; i < laps.size(); ++i) {
        const LapData& lap = laps[i];
        const bool counted = stats.status[i] == LapStatus::Counted;
        if (counted) {
            keepMin(stats.bestLap, lap.lapTime(), i);
            for (int s = 1; s <= lap.sectorCount(); ++s) {
                const std::int32_t t = lap.blocks[static_cast<std::size_t>(s)].time;
                if (known(t))
                    keepMin(stats.sectorBest[static_cast<std::size_t>(s - 1)], t, i);
            }
            if (common == -1)
                common = lap.sectorCount();
            else if (common != lap.sectorCount())
                common = -2;
        }
        rolling.add(lap, i, counted, stats);

        if (lap.timed()) {
            stats.totalTime += lap.lapTime();
            stats.totalLength += lap.blocks[0].length;
        }
        if (lap.blockCount == 0)
            continue;
        const BlockValues& b = lap.blocks[0];
        keepMax(stats.rpmMax, b.rpmMax, i);
        keepMax(stats.speedMax, b.speedMax, i);
        keepMax(stats.gxMax, b.gxMax, i);
        keepMax(stats.gyMax, b.gyMax, i);
        keepMin(stats.tmp1Min, b.tmp1Min, i);
        keepMax(stats.tmp1Max, b.tmp1Max, i);
        keepMin(stats.tmp2Min, b.tmp2Min, i);
        keepMax(stats.tmp2Max, b.tmp2Max, i);
    }
    if (common <= 0) {
        stats.rollingBest.reset();
        return;
    }
    SessionStats::TheoreticalBest best;
    for (int s = 0; s < common; ++s) {
        const auto& sector = stats.sectorBest[static_cast<std::size_t>(s)];
        if (!sector)
            return;
        best.time += sector->value;
        best.sectorLaps.push_back(sector->lap);
    }
    stats.theoreticalBest = best;
}

void findConsistency(std::span<const LapData> laps, SessionStats& stats)
{
    std::vector<std::int32_t> times;
    times.reserve(static_cast<std::size_t>(stats.countedCount));
    for (std::size_t i = 0; i < laps.size(); ++i) {
        if (stats.status[i] == LapStatus::Counted)
            times.push_back(laps[i].lapTime());
    }
    stats.consistency = consistencyOf(std::move(times));
}

} // namespace

std::optional<std::int32_t> referenceMedian(std::span<const LapData> laps)
{
    std::vector<std::int32_t> times;
    times.reserve(laps.size());
    const bool inner = laps.size() >= 3;
    for (std::size_t i = 0; i < laps.size(); ++i) {
        if (laps[i].timed() && (!inner || (i > 0 && i + 1 < laps.size())))
            times.push_back(laps[i].lapTime());
    }
    if (times.empty() && inner) {
        for (const std::size_t i : {std::size_t(0), laps.size() - 1}) {
            if (laps[i].timed())
                times.push_back(laps[i].lapTime());
        }
    }
    return medianHundredths(std::move(times));
}

void StreamedReference::add(std::int32_t lapTime)
{
    if (laps_ == 0)
        first_ = lapTime;
    last_ = lapTime;
    ++laps_;
    times_.add(lapTime);
}

std::optional<std::int32_t> StreamedReference::median()
{
    if (laps_ < 3)
        return times_.median();
    // The first and last lap leave the histogram for the median, unless no other time is left.
    times_.remove(first_);
    times_.remove(last_);
    std::optional<std::int32_t> median = times_.median();
    times_.add(first_);
    times_.add(last_);
    return median ? median : times_.median();
}

void StreamedReference::clear()
{
    times_.clear();
    laps_ = 0;
    first_ = last_ = kUnknownTime;
}

TimeHistogram::TimeHistogram() : counts_(static_cast<std::size_t>(kMaxShownTime) + 1, 0) {}

void TimeHistogram::add(std::int32_t time)
{
    if (time < 0 || time > kMaxShownTime)
        return;
    ++counts_[static_cast<std::size_t>(time)];
    ++count_;
    lowest_ = std::min(lowest_, time);
    highest_ = std::max(highest_, time);
}

void TimeHistogram::remove(std::int32_t time)
{
    if (time < 0 || time > kMaxShownTime || counts_[static_cast<std::size_t>(time)] == 0)
        return;
    --counts_[static_cast<std::size_t>(time)];
    --count_;
}

void TimeHistogram::clear()
{
    if (count_ == 0)
        return;
    std::fill(counts_.begin() + lowest_, counts_.begin() + highest_ + 1, 0);
    count_ = 0;
    lowest_ = kMaxShownTime;
    highest_ = -1;
}

std::optional<std::int32_t> TimeHistogram::median() const
{
    if (count_ == 0)
        return std::nullopt;
    // 0-based ranks of the middle values: equal for an odd count.
    const std::int64_t lowRank = (count_ - 1) / 2;
    const std::int64_t highRank = count_ / 2;
    std::int64_t seen = 0;
    std::int32_t low = -1;
    for (auto t = static_cast<std::size_t>(lowest_); t < counts_.size(); ++t) {
        seen += counts_[t];
        if (low < 0 && seen > lowRank)
            low = static_cast<std::int32_t>(t);
        if (seen > highRank)
            return Median{low, static_cast<std::int32_t>(t)}.hundredths();
    }
    return std::nullopt;
}

SessionStats::Consistency consistencyOf(std::vector<std::int32_t> times)
{
    SessionStats::Consistency c;
    c.count = static_cast<int>(times.size());
    if (times.empty())
        return c;
    c.median = medianOf(times)->exact();
    double sum = 0;
    for (std::int32_t t : times)
        sum += t;
    c.mean = sum / static_cast<double>(times.size());
    if (times.size() >= 2) {
        double squares = 0;
        for (std::int32_t t : times)
            squares += (t - c.mean) * (t - c.mean);
        c.stddev = std::sqrt(squares / static_cast<double>(times.size() - 1));
    }
    if (times.size() >= 3 && c.median > 0)
        c.stddevPercent = c.stddev / c.median * 100.0;
    return c;
}

SessionStats analyseSession(std::span<const LapData> laps, const AnalysisOptions& options)
{
    SessionStats stats;
    markLaps(laps, options, stats);
    findBestsAndPeaks(laps, stats);
    findGaps(laps, stats);
    findConsistency(laps, stats);
    return stats;
}
