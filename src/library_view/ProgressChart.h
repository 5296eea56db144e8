#pragma once

#include "analysis_view/ChartTicks.h"
#include "lap_library/LapLibrary.h"

#include <QColor>
#include <QCoreApplication>
#include <QDate>
#include <QFontMetricsF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class QPainter;

// The progress chart of a track: the date along, the time up; per day the best lap, the
// theoretical best and the median of the counted laps, and a mark on each day that improved the
// personal best. Drawn with QPainter on anything (a widget, an image, a PDF page); the widget's
// hover text comes from hitText().

// One day of the chart. Times in hundredths.
struct ProgressPoint {
    QDate day;
    int sessions = 0;
    std::optional<std::int32_t> best, theoretical, median;
    bool improved = false;                     // the personal best improved that day
    std::optional<std::int32_t> gapToPrevious; // the day's best minus the best before it
};

// The days of one track layout, as the library gives them.
std::vector<ProgressPoint> progressPoints(std::span<const ProgressDay> days);

enum class ProgressSeries { Best, Theoretical, Median };
inline constexpr int kProgressSeries = 3;

struct ProgressLayout {
    QRectF rect, frame;
    QRectF area; // where the ends of the ranges fall: the frame less room for a mark
    double fontHeight = 0, lineWidth = 0, markRadius = 0;
    double x0 = 0, x1 = 1; // days after the first day
    double y0 = 0, y1 = 1; // hundredths
    std::vector<ChartTick> valueTicks, dayTicks;
    struct LegendEntry {
        QString text;
        QColor colour;
        Qt::PenStyle style = Qt::SolidLine;
        bool mark = false;
        QRectF at;
    };
    std::vector<LegendEntry> legend;
    QString valueTitle;

    double px(double days) const { return area.left() + (days - x0) / (x1 - x0) * area.width(); }
    double py(double time) const { return area.bottom() - (time - y0) / (y1 - y0) * area.height(); }
};

class ProgressChart {
    Q_DECLARE_TR_FUNCTIONS(ProgressChart)
public:
    void setDays(std::vector<ProgressPoint> days);
    const std::vector<ProgressPoint>& days() const { return days_; }

    ProgressLayout layout(const QRectF& rect, const QFontMetricsF& metrics) const;
    // Where a day's value of a series is drawn; nothing where the day has none.
    std::optional<QPointF> pointOf(const ProgressLayout& layout, std::size_t day,
                                   ProgressSeries series) const;
    // On white, with the painter's font.
    void paint(QPainter& painter, const ProgressLayout& layout) const;
    void paint(QPainter& painter, const QRectF& rect) const;

    struct Hit {
        std::size_t day = 0;
        ProgressSeries series = ProgressSeries::Best;
        QPointF at;
    };
    // The point nearest to pos within the hit radius.
    std::optional<Hit> hitTest(const ProgressLayout& layout, const QPointF& pos) const;
    // The day, the series' time, and for the best lap how the personal best stood.
    QString hitText(const Hit& hit) const;

    // The series' colours and names, as the legend shows them.
    static QColor colourOf(ProgressSeries series);
    static QString nameOf(ProgressSeries series);

private:
    std::optional<std::int32_t> valueOf(std::size_t day, ProgressSeries series) const;

    std::vector<ProgressPoint> days_;
    std::vector<double> x_; // per day: days after the first
    double low_ = 0, high_ = 1;
};
