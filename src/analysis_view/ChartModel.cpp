#include "analysis_view/ChartModel.h"

#include "analysis_view/ChartTicks.h"
#include "analysis_view/DisplayText.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The narrowest zoom, in laps: a few laps stay in sight, so the line still reads as one.
constexpr double kMinSpan = 5;
// Laps per block of the value range index: a range in view costs its blocks and at most two
// blocks' laps.
constexpr std::size_t kRangeBlock = 64;
constexpr std::int32_t kNoLow = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kNoHigh = std::numeric_limits<std::int32_t>::min();

} // namespace

ChartSession chartSession(const QString& name, std::span<const LapData> laps,
                          const SessionStats& stats, std::size_t firstIndex, const QString& tag)
{
    ChartSession session;
    session.name = name;
    session.tag = tag;
    session.laps.reserve(laps.size());
    for (std::size_t pos = 0; pos < laps.size(); ++pos) {
        const LapData& lap = laps[pos];
        ChartLap out;
        out.index = firstIndex + pos;
        out.lapNumber = lap.lapNumber;
        out.time = lap.lapTime();
        out.counted = pos < stats.status.size() && stats.status[pos] == LapStatus::Counted;
        out.sectorCount = std::min(lap.sectorCount(), kMaxSectors);
        for (int sector = 0; sector < kMaxSectors; ++sector)
            out.sectors[std::size_t(sector)] =
                sector < out.sectorCount ? lap.blocks[std::size_t(sector) + 1].time : kUnknownTime;
        const BlockValues& whole = lap.blocks[0];
        out.tmp1Min = whole.tmp1Min;
        out.tmp1Max = whole.tmp1Max;
        out.tmp2Min = whole.tmp2Min;
        out.tmp2Max = whole.tmp2Max;
        session.laps.push_back(out);
    }
    if (stats.bestLap)
        session.best = stats.bestLap->value;
    if (stats.consistency.count > 0)
        session.median = stats.consistency.median;
    for (std::size_t sector = 0; sector < stats.sectorBest.size(); ++sector) {
        if (stats.sectorBest[sector] && stats.sectorBest[sector]->lap < laps.size())
            session.sectorBest[sector] = stats.sectorBest[sector]->lap;
    }
    return session;
}

QColor sessionColour(int index)
{
    // Dark shades (Material 800 and 900): luminance between a third and a half, so each is a
    // clear dark grey in print; purple and green are left to the best and median lines. The
    // first eight are the most apart; the others step around the colour wheel in another
    // lightness, so a day of 30 sessions has no colour twice.
    static constexpr QRgb kPalette[kDistinctSessionColours] = {
        0x1565C0, 0xD84315, 0x00838F, 0x6D4C41, 0xAD1457, 0x455A64, 0x827717, 0x283593,
        0xC62828, 0x00695C, 0xEF6C00, 0x0277BD, 0x4E342E, 0x880E4F, 0x37474F, 0x9E9D24,
        0x1A237E, 0xBF360C, 0x006064, 0x8D6E63, 0xE91E63, 0x546E7A, 0xF57F17, 0x3949AB,
        0xB71C1C, 0x004D40, 0xE65100, 0x01579B, 0x3E2723, 0xC2185B, 0x263238, 0x5D4037};
    return QColor(kPalette[((index % kDistinctSessionColours) + kDistinctSessionColours) %
                           kDistinctSessionColours]);
}

QColor sectorColour(int index)
{
    // Six colours no session takes (the sector chart has no best or median line to confuse
    // with); the session labels over a sector chart are drawn in the text's colour.
    static constexpr QRgb kPalette[kMaxSectors] = {0x2E7D32, 0xFF8F00, 0x212121,
                                                   0x8E24AA, 0x039BE5, 0x00BFA5};
    return QColor(kPalette[((index % kMaxSectors) + kMaxSectors) % kMaxSectors]);
}

std::size_t ChartModel::lapCount() const
{
    std::size_t count = 0;
    for (const ChartSession& session : sessions_)
        count += session.laps.size();
    return count;
}

void ChartModel::setSessions(std::vector<ChartSession> sessions)
{
    sessions_ = std::move(sessions);
    axis_.assign(sessions_.size(), {});
    shift_.assign(sessions_.size(), 0);
    tableOrder_ = false;

    // Each session's own x: its lap numbers where they rise through it (several files loaded
    // together can each start at lap 1), else its rows.
    std::vector<bool> byRow(sessions_.size());
    double total = 0;
    for (std::size_t s = 0; s < sessions_.size(); ++s) {
        const std::vector<ChartLap>& laps = sessions_[s].laps;
        byRow[s] =
            std::adjacent_find(laps.begin(), laps.end(), [](const ChartLap& a, const ChartLap& b) {
                return b.lapNumber <= a.lapNumber;
            }) != laps.end();
        tableOrder_ = tableOrder_ || byRow[s];
        if (!laps.empty())
            total += byRow[s] ? double(laps.size() - 1)
                              : double(laps.back().lapNumber - laps.front().lapNumber);
    }
    const double gap = std::max(2.0, total * 0.03);
    sectorSeries_ = 0;
    for (const ChartSession& session : sessions_) {
        for (const ChartLap& lap : session.laps)
            sectorSeries_ = std::max(sectorSeries_, lap.sectorCount);
    }

    const double oldFull0 = full0_, oldFull1 = full1_;
    bool first = true;
    double cursor = 0;
    for (std::size_t s = 0; s < sessions_.size(); ++s) {
        const std::vector<ChartLap>& laps = sessions_[s].laps;
        if (laps.empty())
            continue;
        const auto local = [&](std::size_t pos) {
            return byRow[s] ? double(pos + 1) : double(laps[pos].lapNumber);
        };
        cursor = first ? local(0) : cursor + gap;
        if (first)
            full0_ = cursor;
        first = false;
        shift_[s] = local(0) - cursor;
        axis_[s].resize(laps.size());
        for (std::size_t pos = 0; pos < laps.size(); ++pos)
            axis_[s][pos] = local(pos) - shift_[s];
        cursor = axis_[s].back();
    }
    full1_ = first ? 1 : cursor;
    if (first)
        full0_ = 0;
    if (full1_ - full0_ < 2) {
        const double middle = (full0_ + full1_) / 2;
        full0_ = middle - 1;
        full1_ = middle + 1;
    }
    indexRanges();
    temperatureKnown_ = false;
    if (full0_ != oldFull0 || full1_ != oldFull1)
        resetZoom();
    countLapsInView();
    computeRanges();
}

std::pair<double, double> ChartModel::sessionSpan(int session) const
{
    const std::vector<double>& axis = axis_[std::size_t(session)];
    if (axis.empty())
        return {full0_, full0_};
    return {axis.front(), axis.back()};
}

std::optional<double> ChartModel::axisOfLap(std::size_t lapIndex) const
{
    for (std::size_t s = 0; s < sessions_.size(); ++s) {
        const std::vector<ChartLap>& laps = sessions_[s].laps;
        const auto it = std::lower_bound(
            laps.begin(), laps.end(), lapIndex,
            [](const ChartLap& lap, std::size_t index) { return lap.index < index; });
        if (it != laps.end() && it->index == lapIndex)
            return axis_[s][std::size_t(it - laps.begin())];
    }
    return std::nullopt;
}

void ChartModel::resetZoom()
{
    view0_ = full0_;
    view1_ = full1_;
    countLapsInView();
    computeRanges();
}

void ChartModel::setViewRange(double start, double end)
{
    const double fullSpan = full1_ - full0_;
    const double span = std::clamp(end - start, std::min(kMinSpan, fullSpan), fullSpan);
    start = std::clamp(start, full0_, full1_ - span);
    view0_ = start;
    view1_ = start + span;
    countLapsInView();
    computeRanges();
}

void ChartModel::zoomAt(double anchor, double factor)
{
    const double span = view1_ - view0_;
    const double fullSpan = full1_ - full0_;
    const double wanted = std::clamp(span * factor, std::min(kMinSpan, fullSpan), fullSpan);
    anchor = std::clamp(anchor, view0_, view1_);
    const double start = anchor - (anchor - view0_) * wanted / span;
    setViewRange(start, start + wanted);
}

void ChartModel::panBy(double delta)
{
    setViewRange(view0_ + delta, view1_ + delta);
}

std::optional<std::int32_t> ChartModel::valueOf(ChartView view, int series,
                                                const ChartLap& lap) const
{
    if (view == ChartView::LapTimes)
        return lap.time != kUnknownTime ? std::optional(lap.time) : std::nullopt;
    if (view == ChartView::SectorTimes && series >= 0 && series < lap.sectorCount &&
        lap.sectors[std::size_t(series)] != kUnknownTime)
        return lap.sectors[std::size_t(series)];
    return std::nullopt;
}

// The lowest and highest lap and sector time of each block of laps, counted and timed.
void ChartModel::indexRanges()
{
    blocks_.assign(sessions_.size(), {});
    for (std::size_t s = 0; s < sessions_.size(); ++s) {
        const std::vector<ChartLap>& laps = sessions_[s].laps;
        const std::size_t count = (laps.size() + kRangeBlock - 1) / kRangeBlock;
        const BlockRange none{kNoLow, kNoHigh, kNoLow, kNoHigh};
        blocks_[s].counted.assign(count, none);
        blocks_[s].timed.assign(count, none);
        for (std::size_t pos = 0; pos < laps.size(); ++pos) {
            const ChartLap& lap = laps[pos];
            const auto keep = [&](BlockRange& b) {
                if (lap.time != kUnknownTime) {
                    b.lapLow = std::min(b.lapLow, lap.time);
                    b.lapHigh = std::max(b.lapHigh, lap.time);
                }
                for (int k = 0; k < lap.sectorCount; ++k) {
                    const std::int32_t t = lap.sectors[std::size_t(k)];
                    if (t != kUnknownTime) {
                        b.sectorLow = std::min(b.sectorLow, t);
                        b.sectorHigh = std::max(b.sectorHigh, t);
                    }
                }
            };
            keep(blocks_[s].timed[pos / kRangeBlock]);
            if (lap.counted)
                keep(blocks_[s].counted[pos / kRangeBlock]);
        }
    }
}

void ChartModel::computeRanges()
{
    // Times span the counted laps in view (the timed ones when none counts): one slow in-lap,
    // drawn on the edge, does not flatten the rest, and a zoomed chart fills its height.
    for (const ChartView view : {ChartView::LapTimes, ChartView::SectorTimes}) {
        const bool sectors = view == ChartView::SectorTimes;
        std::int32_t low = kNoLow, high = kNoHigh;
        for (const bool countedOnly : {true, false}) {
            for (std::size_t s = 0; s < sessions_.size(); ++s) {
                const std::vector<ChartLap>& laps = sessions_[s].laps;
                const std::vector<BlockRange>& blocks =
                    countedOnly ? blocks_[s].counted : blocks_[s].timed;
                const auto [begin, end] = visibleLaps(int(s), view0_, view1_);
                const auto keepLap = [&](const ChartLap& lap) {
                    if (countedOnly && !lap.counted)
                        return;
                    const int lines = sectors ? lap.sectorCount : 1;
                    for (int line = 0; line < lines; ++line) {
                        if (const auto value = valueOf(view, line, lap)) {
                            low = std::min(low, *value);
                            high = std::max(high, *value);
                        }
                    }
                };
                std::size_t pos = begin;
                for (; pos < end && pos % kRangeBlock != 0; ++pos)
                    keepLap(laps[pos]);
                for (; pos + kRangeBlock <= end; pos += kRangeBlock) {
                    const BlockRange& b = blocks[pos / kRangeBlock];
                    low = std::min(low, sectors ? b.sectorLow : b.lapLow);
                    high = std::max(high, sectors ? b.sectorHigh : b.lapHigh);
                }
                for (; pos < end; ++pos)
                    keepLap(laps[pos]);
            }
            if (low <= high)
                break;
        }
        const bool any = low <= high;
        ranges_[std::size_t(view)] =
            paddedRange(any ? low : (sectors ? 1000 : 6000), any ? high : (sectors ? 3000 : 12000),
                        20, true);
    }

    if (!temperatureKnown_) {
        double low = 0, high = 0;
        bool any = false;
        for (const ChartSession& session : sessions_) {
            for (const ChartLap& lap : session.laps) {
                const double lapLow = std::min({lap.tmp1Min, lap.tmp1Max, lap.tmp2Min, lap.tmp2Max});
                const double lapHigh = std::max({lap.tmp1Min, lap.tmp1Max, lap.tmp2Min, lap.tmp2Max});
                low = any ? std::min(low, lapLow) : lapLow;
                high = any ? std::max(high, lapHigh) : lapHigh;
                any = true;
            }
        }
        if (!any)
            high = 100;
        ranges_[std::size_t(ChartView::Temperatures)] = paddedRange(low, high, 1, false);
        temperatureKnown_ = true;
    }
}

std::pair<double, double> ChartModel::valueRange(ChartView view) const
{
    return ranges_[std::size_t(view)];
}

std::vector<ChartTick> ChartModel::valueTicks(ChartView view, int maxTicks) const
{
    const auto [low, high] = valueRange(view);
    return view == ChartView::Temperatures ? numberTicks(low, high, maxTicks)
                                           : timeTicks(low, high, maxTicks);
}

std::vector<ChartTick> ChartModel::lapTicks(double minStep) const
{
    // Never more than a thousand ticks, whatever the caller asks.
    const double step = niceStep(std::max({1.0, minStep, (view1_ - view0_) / 1000}));
    std::vector<ChartTick> ticks;
    for (std::size_t s = 0; s < sessions_.size(); ++s) {
        if (axis_[s].empty())
            continue;
        const double from = std::max(view0_, axis_[s].front()) + shift_[s];
        const double to = std::min(view1_, axis_[s].back()) + shift_[s];
        const std::size_t before = ticks.size();
        for (double k = std::ceil(from / step); k * step <= to; ++k) {
            const double local = k * step;
            ticks.push_back({local - shift_[s], QString::number(std::int64_t(local))});
        }
        // A session shorter than the step still has a number: its first lap in view.
        if (ticks.size() == before && from <= to) {
            const double first = std::ceil(from);
            if (first <= to)
                ticks.push_back({first - shift_[s], QString::number(std::int64_t(first))});
        }
    }
    return ticks;
}

int ChartModel::seriesCount(ChartView view) const
{
    if (view == ChartView::LapTimes)
        return 1;
    return view == ChartView::Temperatures ? 2 : sectorSeries_;
}

QString ChartModel::hitText(ChartView view, const ChartHit& hit) const
{
    const ChartSession& session = sessions_[std::size_t(hit.session)];
    const ChartLap& lap = session.laps[hit.lap];
    QString line;
    if (view == ChartView::LapTimes) {
        line = (lap.counted ? tr("Lap %1: %2") : tr("Lap %1: %2 (excluded)"))
                   .arg(lap.lapNumber)
                   .arg(timeText(lap.time));
    } else if (view == ChartView::SectorTimes) {
        const bool best = session.sectorBest[std::size_t(hit.series)] == hit.lap;
        line = (best ? tr("Lap %1, sector %2: %3 (best)") : tr("Lap %1, sector %2: %3"))
                   .arg(lap.lapNumber)
                   .arg(hit.series + 1)
                   .arg(timeText(lap.sectors[std::size_t(hit.series)]));
    } else {
        line = tr("Lap %1: TMP1 %2 to %3, TMP2 %4 to %5")
                   .arg(lap.lapNumber)
                   .arg(lap.tmp1Min)
                   .arg(lap.tmp1Max)
                   .arg(lap.tmp2Min)
                   .arg(lap.tmp2Max);
    }
    return session.name.isEmpty() ? line : session.name + u'\n' + line;
}
