#pragma once

#include "lap_analysis/LapData.h"
#include "lap_analysis/SessionStats.h"

#include <QChartView>
#include <QString>
#include <span>

class QCategoryAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

// Lap time against lap number: the counted laps joined by a line, the excluded laps as hollow
// grey rings, the best lap and the median as horizontal lines. The time axis reads "m:ss.hh".
// Hovering a point shows its lap and time.
class LapChart : public QChartView {
    Q_OBJECT

public:
    explicit LapChart(QWidget* parent = nullptr);
    ~LapChart() override;

    // Draws the laps anew; laps must stay valid until the next call (hovering reads them).
    void setSession(std::span<const LapData> laps, const SessionStats& stats);

    // The text shown when hovering the point at x: lap and time, "" when no lap sits there.
    QString pointText(double x) const;

    QLineSeries* countedSeries() const { return counted_; }
    QScatterSeries* excludedSeries() const { return excluded_; }
    QLineSeries* bestLine() const { return best_; }
    QLineSeries* medianLine() const { return median_; }

private:
    void showPoint(const QPointF& point, bool state);
    std::size_t lapOfX(double x) const;
    void setTimeAxis(std::int32_t low, std::int32_t high);

    QLineSeries* counted_ = nullptr;
    QScatterSeries* excluded_ = nullptr;
    QLineSeries* best_ = nullptr;
    QLineSeries* median_ = nullptr;
    QValueAxis* lapAxis_ = nullptr;
    QCategoryAxis* timeAxis_ = nullptr;

    std::span<const LapData> laps_;
    std::vector<LapStatus> status_;
    // x is the lap number when the numbers rise through the table, else the lap's row in it
    // (several files can each start at lap 1).
    bool xIsLapNumber_ = true;
};
