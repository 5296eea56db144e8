#pragma once

#include "analysis_view/ChartModel.h"
#include "analysis_view/ChartPainter.h"
#include "lap_analysis/AnalysisDocument.h"

#include <QPixmap>
#include <QWidget>
#include <cstddef>
#include <optional>
#include <vector>

// The chart of the analysis window: a lap's time (or its sector times, or its TMP1 and TMP2
// ranges) against the lap, drawn by paintChart() over a ChartModel. Hovering a point names its
// session, lap and value for as long as the pointer stays on it; the wheel zooms the lap axis
// around the pointer, dragging pans it, a double click shows every lap again, and a click on a
// point reports its lap; the lap selected in the list is marked. The chart takes no keyboard focus:
// the lap list is where keys go.
class LapChart : public QWidget {
    Q_OBJECT

public:
    explicit LapChart(QWidget* parent = nullptr);

    // Charts the sessions of a document as it changes: the caller owns it, and it outlives the
    // chart. New laps clear the mark.
    void setDocument(const AnalysisDocument* document);
    // Charts one session, or every session side by side (nothing, or a session no longer there).
    void showSession(std::optional<std::size_t> session);

    void setSessions(std::vector<ChartSession> sessions);
    const ChartModel& model() const { return model_; }
    ChartView view() const { return view_; }
    void setView(ChartView view);

    // The layout for the widget's current size, as the next frame is drawn.
    const ChartLayout& layout() const { return layout_; }
    // What the hover label says, "" when the pointer is on no point.
    QString hoverText() const;
    // Marks a lap (its position in the window's lap vector) with an upright line across the
    // plot, or none; with bringIntoView, a zoomed chart that does not show the lap pans to it.
    void setMarkedLap(std::optional<std::size_t> lapIndex, bool bringIntoView = false);
    std::optional<std::size_t> markedLap() const { return marked_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A click on a point: the lap's position in the window's lap vector.
    void lapClicked(std::size_t lapIndex);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void chartDocument();
    void relayout();
    void hoverAt(const QPointF& pos);
    void paintHover(QPainter& painter) const;
    void paintMark(QPainter& painter) const;

    const AnalysisDocument* document_ = nullptr;
    std::optional<std::size_t> session_;
    ChartModel model_;
    ChartView view_ = ChartView::LapTimes;
    ChartLayout layout_;
    // The chart as relayout() left it, drawn once: a hover or the marked lap draws only itself
    // over it, whatever the laps in view.
    QPixmap body_;
    bool bodyDrawn_ = false;
    std::optional<ChartHit> hover_;
    std::optional<std::size_t> marked_;
    std::optional<QPointF> pointer_; // where the pointer is, while it is over the chart
    std::optional<QPointF> press_;   // where the left button went down
    double pressStart_ = 0;          // the lap axis view's start at the press
    bool dragging_ = false;
};
