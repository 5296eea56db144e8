#include "analysis_window/LapChart.h"

#include "analysis_window/DisplayText.h"

#include <QCategoryAxis>
#include <QCursor>
#include <QLineSeries>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

// A chart a thousand pixels wide shows no more than this many points apart; beyond it a series
// is thinned to the fastest and slowest lap of each run of neighbours, which keeps its outline,
// and drawn without markers.
constexpr qsizetype kDrawnPoints = 2000;

void thin(QList<QPointF>& points)
{
    if (points.size() <= kDrawnPoints)
        return;
    const qsizetype run = (points.size() + kDrawnPoints / 2 - 1) / (kDrawnPoints / 2);
    QList<QPointF> kept;
    kept.reserve(kDrawnPoints);
    for (qsizetype start = 0; start < points.size(); start += run) {
        const qsizetype end = std::min(points.size(), start + run);
        qsizetype low = start, high = start;
        for (qsizetype i = start + 1; i < end; ++i) {
            if (points[i].y() < points[low].y())
                low = i;
            if (points[i].y() > points[high].y())
                high = i;
        }
        kept << points[std::min(low, high)];
        if (low != high)
            kept << points[std::max(low, high)];
    }
    points = std::move(kept);
}

// A tick step in hundredths that gives at most eight ticks over the span.
std::int32_t tickStep(std::int32_t span)
{
    static constexpr std::int32_t kSteps[] = {1,     2,     5,     10,     20,     50,
                                              100,   200,   500,   1000,   2000,   5000,
                                              10000, 30000, 60000, 120000, 300000, 600000};
    for (const std::int32_t step : kSteps) {
        if (span / step <= 8)
            return step;
    }
    return 600000 * (span / 600000 / 8 + 1);
}

// A lap tick step of 1, 2 or 5 times a power of ten that gives at most ten ticks.
double lapTickStep(double span)
{
    double step = 1;
    for (;;) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            if (span / (step * factor) <= 10)
                return step * factor;
        }
        step *= 10;
    }
}

} // namespace

LapChart::LapChart(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    setChart(chart);

    counted_ = new QLineSeries;
    counted_->setName(tr("Counted laps"));
    counted_->setPointsVisible(true);
    counted_->setPen(QPen(QColor(0x19, 0x76, 0xD2), 1.5));
    counted_->setMarkerSize(5);

    excluded_ = new QScatterSeries;
    excluded_->setName(tr("Excluded laps"));
    excluded_->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    excluded_->setMarkerSize(9);
    excluded_->setBrush(Qt::NoBrush);
    excluded_->setPen(QPen(QColor(0x75, 0x75, 0x75), 2));

    best_ = new QLineSeries;
    best_->setPen(QPen(QColor(0x7B, 0x1F, 0xA2), 1.5, Qt::DashLine));
    median_ = new QLineSeries;
    median_->setPen(QPen(QColor(0x38, 0x8E, 0x3C), 1.5, Qt::DotLine));

    lapAxis_ = new QValueAxis;
    lapAxis_->setLabelFormat(QStringLiteral("%d"));
    // Ticks on whole laps (multiples of the step), whatever the range's ends are.
    lapAxis_->setTickType(QValueAxis::TicksDynamic);
    lapAxis_->setTickAnchor(0);
    lapAxis_->setTitleText(tr("Lap"));
    timeAxis_ = new QCategoryAxis;
    timeAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    timeAxis_->setTitleText(tr("Lap time"));
    chart->addAxis(lapAxis_, Qt::AlignBottom);
    chart->addAxis(timeAxis_, Qt::AlignLeft);
    // The laps go on top of the level lines, so the best lap's point answers the pointer rather
    // than the best-lap line through it.
    for (QXYSeries* series :
         {static_cast<QXYSeries*>(best_), static_cast<QXYSeries*>(median_),
          static_cast<QXYSeries*>(counted_), static_cast<QXYSeries*>(excluded_)}) {
        chart->addSeries(series);
        series->attachAxis(lapAxis_);
        series->attachAxis(timeAxis_);
    }
    connect(counted_, &QXYSeries::hovered, this, &LapChart::showPoint);
    connect(excluded_, &QXYSeries::hovered, this, &LapChart::showPoint);
}

// The view owns its chart but does not delete it: without this, every closed window would
// leave its chart and the chart's items behind.
LapChart::~LapChart()
{
    delete chart();
}

void LapChart::setSession(std::span<const LapData> laps, const SessionStats& stats)
{
    laps_ = laps;
    status_ = stats.status;
    xIsLapNumber_ =
        std::adjacent_find(laps.begin(), laps.end(), [](const LapData& a, const LapData& b) {
            return b.lapNumber <= a.lapNumber;
        }) == laps.end();
    const auto xOf = [this](std::size_t pos) {
        return xIsLapNumber_ ? double(laps_[pos].lapNumber) : double(pos + 1);
    };

    // The time axis spans the counted laps (the timed ones when none is counted); an excluded
    // lap beyond it is drawn on its edge, so one slow in-lap does not flatten the rest.
    std::int32_t low = 0, high = 0;
    bool any = false;
    for (const bool countedOnly : {true, false}) {
        for (std::size_t pos = 0; pos < laps.size(); ++pos) {
            if (!laps[pos].timed() || (countedOnly && stats.status[pos] != LapStatus::Counted))
                continue;
            const std::int32_t time = laps[pos].lapTime();
            low = any ? std::min(low, time) : time;
            high = any ? std::max(high, time) : time;
            any = true;
        }
        if (any)
            break;
    }
    if (!any) {
        low = 6000;
        high = 12000;
    }
    const std::int32_t pad = std::max((high - low) / 10, 20);
    low = std::max(0, low - pad);
    high += pad;

    // Off-scale laps sit just inside the plot, where their rings are seen whole.
    const std::int32_t edge = (high - low) / 40;
    QList<QPointF> counted, excluded;
    counted.reserve(stats.countedCount);
    for (std::size_t pos = 0; pos < laps.size(); ++pos) {
        if (!laps[pos].timed())
            continue;
        const double y = std::clamp(laps[pos].lapTime(), low + edge, high - edge);
        (stats.status[pos] == LapStatus::Counted ? counted : excluded) << QPointF(xOf(pos), y);
    }

    // The points go last: every change of an axis lays the chart out again, so with the old
    // points in place each change would cost a pass over all laps. A toggled lap changes
    // little more than the points, so what is unchanged is left alone.
    // Half a lap of room at both ends keeps the first and last points off the plot's frame.
    const double first = (laps.empty() ? 1 : xOf(0)) - 0.5;
    const double last = (laps.empty() ? 2 : std::max(xOf(laps.size() - 1), first + 1.5)) + 0.5;
    const QString lapTitle = xIsLapNumber_ ? tr("Lap") : tr("Lap, in table order");
    const QString bestName =
        stats.bestLap ? tr("Best lap %1").arg(timeText(stats.bestLap->value)) : tr("Best lap");
    const auto median = std::int64_t(std::llround(stats.consistency.median));
    const QString medianName =
        stats.consistency.count > 0 ? tr("Median %1").arg(timeText(median)) : tr("Median");
    const bool axesChange = timeAxis_->min() != low || timeAxis_->max() != high ||
                            lapAxis_->min() != first || lapAxis_->max() != last ||
                            lapAxis_->titleText() != lapTitle;
    if (axesChange) {
        counted_->clear();
        excluded_->clear();
        setTimeAxis(low, high);
        lapAxis_->setRange(first, last);
        lapAxis_->setTickInterval(lapTickStep(last - first));
        lapAxis_->setTitleText(lapTitle);
    }
    if (best_->name() != bestName)
        best_->setName(bestName);
    if (median_->name() != medianName)
        median_->setName(medianName);
    const auto level = [first, last](bool shown, double y) {
        return shown ? QList<QPointF>{QPointF(first, y), QPointF(last, y)} : QList<QPointF>();
    };
    const QList<QPointF> bestPoints =
        level(stats.bestLap.has_value(), stats.bestLap ? stats.bestLap->value : 0);
    const QList<QPointF> medianPoints = level(stats.consistency.count > 0, double(median));
    if (best_->points() != bestPoints)
        best_->replace(bestPoints);
    if (median_->points() != medianPoints)
        median_->replace(medianPoints);

    counted_->setPointsVisible(counted.size() <= kDrawnPoints);
    thin(counted);
    thin(excluded);
    counted_->replace(counted);
    excluded_->replace(excluded);
}

void LapChart::setTimeAxis(std::int32_t low, std::int32_t high)
{
    for (const QString& label : timeAxis_->categoriesLabels())
        timeAxis_->remove(label);
    const std::int32_t step = tickStep(high - low);
    timeAxis_->setStartValue(low);
    std::int32_t tick = (low + step - 1) / step * step;
    for (; tick <= high; tick += step)
        timeAxis_->append(timeText(tick), tick);
    // A category axis ends at its last category: an unlabelled one reaches up to high.
    if (tick - step < high)
        timeAxis_->append(QStringLiteral(" "), high);
    timeAxis_->setRange(low, high);
}

std::size_t LapChart::lapOfX(double x) const
{
    if (!xIsLapNumber_) {
        const auto pos = std::int64_t(std::llround(x)) - 1;
        return pos >= 0 && std::size_t(pos) < laps_.size() ? std::size_t(pos) : laps_.size();
    }
    const auto number = std::int64_t(std::llround(x));
    const auto it =
        std::lower_bound(laps_.begin(), laps_.end(), number,
                         [](const LapData& lap, std::int64_t n) { return lap.lapNumber < n; });
    return it != laps_.end() && it->lapNumber == number ? std::size_t(it - laps_.begin())
                                                        : laps_.size();
}

QString LapChart::pointText(double x) const
{
    const std::size_t pos = lapOfX(x);
    if (pos >= laps_.size())
        return {};
    QString text = tr("Lap %1: %2").arg(laps_[pos].lapNumber).arg(timeText(laps_[pos].lapTime()));
    if (status_[pos] != LapStatus::Counted)
        text += tr(" (excluded)");
    return text;
}

void LapChart::showPoint(const QPointF& point, bool state)
{
    if (state)
        QToolTip::showText(QCursor::pos(), pointText(point.x()), this);
    else
        QToolTip::hideText();
}
