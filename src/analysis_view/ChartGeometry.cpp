#include "analysis_view/ChartModel.h"

#include <algorithm>
#include <cmath>

// Where the chart's points fall in a plot rectangle, and which one lies under the pointer.

namespace {

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

} // namespace

QPointF ChartMapping::point(double x, double y) const
{
    return {px(x), std::clamp(py(y), area.top(), area.bottom())};
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
