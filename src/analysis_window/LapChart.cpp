#include "analysis_window/LapChart.h"

#include "lap_analysis/LapFormat.h"

#include <QCategoryAxis>
#include <QCursor>
#include <QLineSeries>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

QString timeText(std::int64_t hundredths)
{
    return QString::fromStdString(formatLapTime(hundredths));
}

// A tick step in hundredths that gives at most eight ticks over the span.
std::int32_t tickStep(std::int32_t span)
{
    static constexpr std::int32_t kSteps[] = {1,    2,    5,     10,    20,    50,    100,
                                              200,  500,  1000,  2000,  5000,  10000, 30000,
                                              60000, 120000, 300000, 600000};
    for (const std::int32_t step : kSteps) {
        if (span / step <= 8)
            return step;
    }
    return 600000 * (span / 600000 / 8 + 1);
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
    excluded_->setMarkerSize(7);
    excluded_->setBrush(Qt::NoBrush);
    excluded_->setPen(QPen(QColor(0x9E, 0x9E, 0x9E), 1.5));

    best_ = new QLineSeries;
    best_->setPen(QPen(QColor(0x7B, 0x1F, 0xA2), 1.5, Qt::DashLine));
    median_ = new QLineSeries;
    median_->setPen(QPen(QColor(0x38, 0x8E, 0x3C), 1.5, Qt::DotLine));

    lapAxis_ = new QValueAxis;
    lapAxis_->setLabelFormat(QStringLiteral("%d"));
    lapAxis_->setTitleText(tr("Lap"));
    timeAxis_ = new QCategoryAxis;
    timeAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    timeAxis_->setTitleText(tr("Lap time"));
    chart->addAxis(lapAxis_, Qt::AlignBottom);
    chart->addAxis(timeAxis_, Qt::AlignLeft);
    for (QXYSeries* series : {static_cast<QXYSeries*>(counted_), static_cast<QXYSeries*>(excluded_),
                              static_cast<QXYSeries*>(best_), static_cast<QXYSeries*>(median_)}) {
        chart->addSeries(series);
        series->attachAxis(lapAxis_);
        series->attachAxis(timeAxis_);
    }
    connect(counted_, &QXYSeries::hovered, this, &LapChart::showPoint);
    connect(excluded_, &QXYSeries::hovered, this, &LapChart::showPoint);
}

void LapChart::setSession(std::span<const LapData> laps, const SessionStats& stats)
{
    laps_ = laps;
    status_ = stats.status;
    xIsLapNumber_ = std::adjacent_find(laps.begin(), laps.end(), [](const LapData& a, const LapData& b) {
                        return b.lapNumber <= a.lapNumber;
                    }) == laps.end();
    lapAxis_->setTitleText(xIsLapNumber_ ? tr("Lap") : tr("Lap, in table order"));
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

    QList<QPointF> counted, excluded;
    counted.reserve(stats.countedCount);
    for (std::size_t pos = 0; pos < laps.size(); ++pos) {
        if (!laps[pos].timed())
            continue;
        const double y = std::clamp(laps[pos].lapTime(), low, high);
        (stats.status[pos] == LapStatus::Counted ? counted : excluded) << QPointF(xOf(pos), y);
    }
    counted_->replace(counted);
    excluded_->replace(excluded);

    const double first = laps.empty() ? 0 : xOf(0);
    const double last = laps.empty() ? 1 : std::max(xOf(laps.size() - 1), first + 1);
    lapAxis_->setRange(first, last);
    if (stats.bestLap) {
        best_->setName(tr("Best lap %1").arg(timeText(stats.bestLap->value)));
        best_->replace({QPointF(first, stats.bestLap->value), QPointF(last, stats.bestLap->value)});
    } else {
        best_->setName(tr("Best lap"));
        best_->clear();
    }
    if (stats.consistency.count > 0) {
        const auto median = std::int64_t(std::llround(stats.consistency.median));
        median_->setName(tr("Median %1").arg(timeText(median)));
        median_->replace({QPointF(first, double(median)), QPointF(last, double(median))});
    } else {
        median_->setName(tr("Median"));
        median_->clear();
    }
    setTimeAxis(low, high);
}

void LapChart::setTimeAxis(std::int32_t low, std::int32_t high)
{
    for (const QString& label : timeAxis_->categoriesLabels())
        timeAxis_->remove(label);
    const std::int32_t step = tickStep(high - low);
    timeAxis_->setStartValue(low);
    for (std::int32_t tick = (low + step - 1) / step * step; tick <= high; tick += step)
        timeAxis_->append(timeText(tick), tick);
    timeAxis_->setRange(low, high);
}

std::size_t LapChart::lapOfX(double x) const
{
    if (!xIsLapNumber_) {
        const auto pos = std::int64_t(std::llround(x)) - 1;
        return pos >= 0 && std::size_t(pos) < laps_.size() ? std::size_t(pos) : laps_.size();
    }
    const auto number = std::int64_t(std::llround(x));
    const auto it = std::lower_bound(laps_.begin(), laps_.end(), number,
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
