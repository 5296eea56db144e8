#pragma once

#include "analysis_view/ChartModel.h"

#include <QColor>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

// Where the parts of a chart go in a rectangle, measured with the font it is drawn in. Every
// size follows the font's height, so the chart looks the same on any screen scale and on paper.
struct ChartLayout {
    enum class Swatch { Line, Ring, Dash, Dot, Band, Mark, None };
    struct LegendEntry {
        QString text;
        QColor colour;
        Swatch swatch = Swatch::Line;
        QRectF at;
    };

    QRectF rect;
    ChartMapping mapping;
    double fontHeight = 0;
    double lineWidth = 0;
    double dotRadius = 0;  // a counted lap, when the laps stand far enough apart
    double ringRadius = 0; // an excluded lap
    double hitRadius = 0;  // how near the pointer must come to a point
    bool dots = false;
    std::vector<ChartTick> valueTicks, lapTicks;
    QString valueTitle, lapTitle;
    // A session's name, or its tag where the name has no room, over its laps, never cut short.
    struct SessionLabel {
        int session = 0;
        QString text;
        QRectF at;
    };
    std::vector<SessionLabel> labels;
    double namesTop = 0; // the labels' first row, above the frame
    std::vector<LegendEntry> legend;
};

// The sessions the legend names when it has no room for all of them (in about a third of the
// chart's height); the others are counted in one entry.
inline constexpr std::size_t kLegendSessions = 12;

// The layout of view in rect. The plot gives way to the labels: no label is ever cut short.
ChartLayout layoutChart(const QRectF& rect, const QFontMetricsF& metrics, const ChartModel& model,
                        ChartView view);

// Draws the chart, on white, with the painter's font; any painter will do (a widget, an image,
// a PDF page).
void paintChart(QPainter& painter, const ChartLayout& layout, const ChartModel& model,
                ChartView view);
void paintChart(QPainter& painter, const QRectF& rect, const ChartModel& model, ChartView view);
