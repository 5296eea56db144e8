#include "analysis_view/ChartModel.h"

#include "analysis_view/DisplayText.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The narrowest zoom, in laps: a few laps stay in sight, so the line still reads as one.
constexpr double kMinSpan = 5;

// The hover texts, in the context lupdate gives the tr() calls of ChartModel's members.
QString tr(const char* text)
{
    return QCoreApplication::translate("ChartModel", text);
}

// Collects the points of one run in axis order; thinned, it keeps of each pixel column only the
// highest and the lowest point, in their order, so the run's outline and extremes stay.
class ColumnThinner {
public:
    ColumnThinner(QPolygonF& out, bool thin) : out_(out), thin_(thin) {}
    ~ColumnThinner() { flush(); }

    void add(const QPointF& p)
    {
        if (!thin_) {
            out_ << p;
            return;
        }
        const double column = std::floor(p.x());
        if (!open_ || column != column_) {
            flush();
            open_ = true;
            column_ = column;
            low_ = high_ = p;
            lowFirst_ = true;
            return;
        }
        if (p.y() > low_.y()) {
            low_ = p;
            lowFirst_ = false;
        }
        if (p.y() < high_.y()) {
            high_ = p;
            lowFirst_ = true;
        }
    }

    // Whether p falls into the column being collected.
    bool inColumn(const QPointF& p) const { return open_ && std::floor(p.x()) == column_; }

    void flush()
    {
        if (!open_)
            return;
        open_ = false;
        const QPointF& first = lowFirst_ ? low_ : high_;
        const QPointF& second = lowFirst_ ? high_ : low_;
        out_ << first;
        if (second != first)
            out_ << second;
    }

private:
    QPolygonF& out_;
    bool thin_;
    bool open_ = false;
    double column_ = 0;
    QPointF low_, high_; // largest and smallest pixel y of the column
    bool lowFirst_ = true;
};

// The smallest step of the list that gives at most maxTicks ticks over [low, high].
double tickStep(double low, double high, int maxTicks, std::span<const double> steps)
{
    maxTicks = std::max(maxTicks, 2);
    for (const double step : steps) {
        if (std::floor(high / step) - std::ceil(low / step) + 1 <= maxTicks)
            return step;
    }
    const double last = steps.back();
    return last * std::ceil((high - low) / last / (maxTicks - 1));
}

// 1, 2 or 5 times a power of ten, at least least (and at least 1).
double niceStep(double least)
{
    double scale = 1;
    for (;;) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            if (scale * factor >= least)
                return scale * factor;
        }
        scale *= 10;
    }
}

std::vector<ChartTick> ticksOf(double low, double high, double step, QString (*label)(double))
{
    std::vector<ChartTick> ticks;
    for (double k = std::ceil(low / step); k * step <= high; ++k)
        ticks.push_back({k * step, label(k * step)});
    return ticks;
}

// A tenth of the span (at least least) of room on both sides; times never go below zero.
std::pair<double, double> padded(double low, double high, double least, bool time)
{
    const double pad = std::max((high - low) / 10, least);
    return {time ? std::max(0.0, low - pad) : low - pad, high + pad};
}

} // namespace

ChartSession chartSession(const QString& name, std::span<const LapData> laps,
                          const SessionStats& stats, std::size_t firstIndex)
{
    ChartSession session;
    session.name = name;
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
    // Material 800 shades: luminance between a third and a half, so each is a clear dark grey
    // in print; purple and green are left to the best and median lines.
    static constexpr QRgb kPalette[] = {0x1565C0, 0xD84315, 0x00838F, 0x6D4C41,
                                        0xAD1457, 0x455A64, 0x827717, 0x283593};
    constexpr int size = int(std::size(kPalette));
    return QColor(kPalette[((index % size) + size) % size]);
}

QPointF ChartMapping::point(double x, double y) const
{
    return {px(x), std::clamp(py(y), area.top(), area.bottom())};
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
}

void ChartModel::setViewRange(double start, double end)
{
    const double fullSpan = full1_ - full0_;
    const double span = std::clamp(end - start, std::min(kMinSpan, fullSpan), fullSpan);
    start = std::clamp(start, full0_, full1_ - span);
    view0_ = start;
    view1_ = start + span;
    countLapsInView();
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

void ChartModel::computeRanges()
{
    // Times span the counted laps (the timed ones when none counts): one slow in-lap, drawn on
    // the edge, does not flatten the rest.
    for (const ChartView view : {ChartView::LapTimes, ChartView::SectorTimes}) {
        const int seriesTotal = seriesCount(view);
        double low = 0, high = 0;
        bool any = false;
        for (const bool countedOnly : {true, false}) {
            for (const ChartSession& session : sessions_) {
                for (const ChartLap& lap : session.laps) {
                    if (countedOnly && !lap.counted)
                        continue;
                    for (int series = 0; series < seriesTotal; ++series) {
                        if (const auto value = valueOf(view, series, lap)) {
                            low = any ? std::min(low, double(*value)) : *value;
                            high = any ? std::max(high, double(*value)) : *value;
                            any = true;
                        }
                    }
                }
            }
            if (any)
                break;
        }
        if (!any) {
            low = view == ChartView::LapTimes ? 6000 : 1000;
            high = view == ChartView::LapTimes ? 12000 : 3000;
        }
        ranges_[std::size_t(view)] = padded(low, high, 20, true);
    }

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
    ranges_[std::size_t(ChartView::Temperatures)] = padded(low, high, 1, false);
}

std::pair<double, double> ChartModel::valueRange(ChartView view) const
{
    return ranges_[std::size_t(view)];
}

std::vector<ChartTick> ChartModel::timeTicks(double low, double high, int maxTicks)
{
    static constexpr double kSteps[] = {1,     2,     5,      10,     20,     50,      100,
                                        200,   500,   1000,   2000,   5000,   10000,   15000,
                                        30000, 60000, 120000, 300000, 600000, 1800000, 3600000};
    const double step = tickStep(low, high, maxTicks, kSteps);
    return ticksOf(low, high, step,
                   [](double value) { return timeText(std::int64_t(std::llround(value))); });
}

std::vector<ChartTick> ChartModel::numberTicks(double low, double high, int maxTicks)
{
    maxTicks = std::max(maxTicks, 2);
    double step = niceStep(1);
    while (std::floor(high / step) - std::ceil(low / step) + 1 > maxTicks)
        step = niceStep(step * 1.5);
    return ticksOf(low, high, step,
                   [](double value) { return QString::number(std::int64_t(std::llround(value))); });
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
        for (double k = std::ceil(from / step); k * step <= to; ++k) {
            const double local = k * step;
            ticks.push_back({local - shift_[s], QString::number(std::int64_t(local))});
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

ChartMapping ChartModel::mapping(ChartView view, const QRectF& frame, double inset) const
{
    ChartMapping m;
    m.frame = frame;
    m.area = frame.adjusted(inset, inset, -inset, -inset);
    if (m.area.width() < 1)
        m.area.setWidth(1);
    if (m.area.height() < 1)
        m.area.setHeight(1);
    m.x0 = view0_;
    m.x1 = view1_;
    std::tie(m.y0, m.y1) = valueRange(view);
    return m;
}

std::pair<std::size_t, std::size_t> ChartModel::visibleLaps(int session, double from,
                                                            double to) const
{
    const std::vector<double>& axis = axis_[std::size_t(session)];
    const auto begin = std::lower_bound(axis.begin(), axis.end(), from);
    const auto end = std::upper_bound(begin, axis.end(), to);
    return {std::size_t(begin - axis.begin()), std::size_t(end - axis.begin())};
}

void ChartModel::countLapsInView()
{
    inView_ = 0;
    for (std::size_t s = 0; s < axis_.size(); ++s) {
        const auto [begin, end] = visibleLaps(int(s), view0_, view1_);
        inView_ += end - begin;
    }
}

std::vector<QPolygonF> ChartModel::lineRuns(ChartView view, int session, int series,
                                            const ChartMapping& m) const
{
    std::vector<QPolygonF> runs;
    if (view == ChartView::Temperatures)
        return runs;
    const bool thin = thinned();
    const std::vector<ChartLap>& laps = sessions_[std::size_t(session)].laps;
    const std::vector<double>& axis = axis_[std::size_t(session)];
    auto [begin, end] = visibleLaps(session, view0_, view1_);
    // One lap beyond each end, so a zoomed line runs on to the frame.
    begin -= begin > 0 ? 1 : 0;
    end += end < laps.size() ? 1 : 0;
    // Thinned, a line breaks only where no run goes on from one pixel column into the next: the
    // laps of a column are one stroke from its lowest to its highest point, and an excluded lap
    // between counted ones of the same column is narrower than the pixel it would leave out.
    QPolygonF run;
    std::optional<ColumnThinner> thinner;
    bool broken = false;
    for (std::size_t pos = begin; pos < end; ++pos) {
        const std::optional<std::int32_t> value =
            laps[pos].counted ? valueOf(view, series, laps[pos]) : std::nullopt;
        if (!value) {
            broken = true;
            continue;
        }
        const QPointF point = m.point(axis[pos], *value);
        if (broken && !(thin && thinner && thinner->inColumn(point))) {
            thinner.reset();
            if (!run.isEmpty())
                runs.push_back(std::exchange(run, {}));
        }
        broken = false;
        if (!thinner)
            thinner.emplace(run, thin);
        thinner->add(point);
    }
    thinner.reset();
    if (!run.isEmpty())
        runs.push_back(std::move(run));
    return runs;
}

QPolygonF ChartModel::rings(int session, const ChartMapping& m) const
{
    QPolygonF points;
    const std::vector<ChartLap>& laps = sessions_[std::size_t(session)].laps;
    const auto [begin, end] = visibleLaps(session, view0_, view1_);
    ColumnThinner thinner(points, thinned());
    for (std::size_t pos = begin; pos < end; ++pos) {
        if (!laps[pos].counted && laps[pos].time != kUnknownTime)
            thinner.add(m.point(axis_[std::size_t(session)][pos], laps[pos].time));
    }
    thinner.flush();
    return points;
}

QPolygonF ChartModel::band(int session, int series, const ChartMapping& m) const
{
    const bool thin = thinned();
    const std::vector<ChartLap>& laps = sessions_[std::size_t(session)].laps;
    auto [begin, end] = visibleLaps(session, view0_, view1_);
    begin -= begin > 0 ? 1 : 0;
    end += end < laps.size() ? 1 : 0;
    // Upper edge left to right, lower edge back; one entry per lap, or per pixel column.
    QPolygonF upper, lower;
    double column = 0;
    for (std::size_t pos = begin; pos < end; ++pos) {
        const ChartLap& lap = laps[pos];
        const double low = series == 0 ? lap.tmp1Min : lap.tmp2Min;
        const double high = series == 0 ? lap.tmp1Max : lap.tmp2Max;
        const double x = axis_[std::size_t(session)][pos];
        const QPointF top = m.point(x, std::max(low, high));
        const QPointF bottom = m.point(x, std::min(low, high));
        if (thin && !upper.isEmpty() && std::floor(top.x()) == column) {
            upper.last().ry() = std::min(upper.last().y(), top.y());
            lower.last().ry() = std::max(lower.last().y(), bottom.y());
            continue;
        }
        column = std::floor(top.x());
        upper << top;
        lower << bottom;
    }
    std::reverse(lower.begin(), lower.end());
    return upper + lower;
}

QPolygonF ChartModel::sectorBestMarks(int sector, const ChartMapping& m) const
{
    QPolygonF marks;
    for (std::size_t s = 0; s < sessions_.size(); ++s) {
        const std::optional<std::size_t> best = sessions_[s].sectorBest[std::size_t(sector)];
        if (!best)
            continue;
        const ChartLap& lap = sessions_[s].laps[*best];
        const double x = axis_[s][*best];
        if (inView(x) && sector < lap.sectorCount)
            marks << m.point(x, lap.sectors[std::size_t(sector)]);
    }
    return marks;
}

std::optional<ChartHit> ChartModel::hitTest(ChartView view, const ChartMapping& m,
                                            const QPointF& pos, double radius) const
{
    if (!m.frame.adjusted(-radius, -radius, radius, radius).contains(pos))
        return std::nullopt;
    std::optional<ChartHit> best;
    double bestDistance = radius;
    const auto consider = [&](int session, std::size_t lap, int series, const QPointF& at,
                              double distance) {
        if (distance <= bestDistance) {
            bestDistance = distance;
            best = ChartHit{session, lap, series, at};
        }
    };
    const double from = std::max(view0_, m.xAt(pos.x() - radius));
    const double to = std::min(view1_, m.xAt(pos.x() + radius));
    const int lines = seriesCount(view);
    for (std::size_t s = 0; s < sessions_.size(); ++s) {
        const std::vector<ChartLap>& laps = sessions_[s].laps;
        const auto [begin, end] = visibleLaps(int(s), from, to);
        for (std::size_t at = begin; at < end; ++at) {
            const ChartLap& lap = laps[at];
            const double x = axis_[s][at];
            if (view == ChartView::Temperatures) {
                for (int series = 0; series < 2; ++series) {
                    const double low = series == 0 ? lap.tmp1Min : lap.tmp2Min;
                    const double high = series == 0 ? lap.tmp1Max : lap.tmp2Max;
                    const QPointF top = m.point(x, std::max(low, high));
                    const QPointF bottom = m.point(x, std::min(low, high));
                    const double dy = pos.y() < top.y()      ? top.y() - pos.y()
                                      : pos.y() > bottom.y() ? pos.y() - bottom.y()
                                                             : 0;
                    consider(int(s), at, series, top, std::hypot(pos.x() - top.x(), dy));
                }
                continue;
            }
            for (int line = 0; line < lines; ++line) {
                const std::optional<std::int32_t> value = valueOf(view, line, lap);
                if (!value || (view == ChartView::SectorTimes && !lap.counted))
                    continue;
                const QPointF point = m.point(x, *value);
                consider(int(s), at, line, point,
                         std::hypot(pos.x() - point.x(), pos.y() - point.y()));
            }
        }
    }
    return best;
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
