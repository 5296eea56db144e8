#pragma once

#include "analysis_view/ChartTicks.h"
#include "lap_analysis/LapData.h"
#include "lap_analysis/SessionStats.h"

#include <QColor>
#include <QCoreApplication>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// The lap chart without a screen: the sessions it shows as plain data of its own, the scales and
// ticks of each view, the zoom and pan of the lap axis, where every point is drawn for a plot
// rectangle, which point lies under the pointer, and the thinning of long sessions. The widget,
// a printed report and the tests all go through it. The tick rules are in ChartTicks.h, the
// geometry and hit testing in ChartGeometry.cpp.

// What the chart plots against the lap: lap times, sector times, or each lap's TMP1 and TMP2 range.
enum class ChartView { LapTimes, SectorTimes, Temperatures };

// One lap as the chart knows it.
struct ChartLap {
    std::size_t index = 0; // position of the lap in the window's whole lap vector
    std::int64_t lapNumber = 0;
    std::int32_t time = kUnknownTime; // hundredths of a second
    bool counted = false;
    int sectorCount = 0;
    std::array<std::int32_t, kMaxSectors> sectors{}; // hundredths, kUnknownTime where unknown
    std::int32_t tmp1Min = 0, tmp1Max = 0, tmp2Min = 0, tmp2Max = 0;
};

// One session (one lap file): its laps in input order and its level lines.
struct ChartSession {
    QString name; // "R2 QUALI", shown over its laps where there is room, and on hover
    QString tag;  // "R2", shown where the name has no room; "" for a chart of one session
    std::vector<ChartLap> laps;
    std::optional<std::int32_t> best; // the best counted lap's time
    std::optional<double> median;     // median of the counted laps, hundredths
    // Per sector: the position in laps of the sector's best time among the counted laps.
    std::array<std::optional<std::size_t>, kMaxSectors> sectorBest{};
};

// The chart session of laps as stats judged them; laps[0] is the window's lap firstIndex.
ChartSession chartSession(const QString& name, std::span<const LapData> laps,
                          const SessionStats& stats, std::size_t firstIndex = 0,
                          const QString& tag = {});

// The colour of session number index: each colour dark enough to read as a thin line on white,
// also printed in grey, and the first kDistinctSessionColours all different, none the purple of
// a best or the green of a median.
QColor sessionColour(int index);
inline constexpr int kDistinctSessionColours = 32;
// The colour of sector line index (from 0), of a palette of its own: a sector is never drawn in
// the colour of a session.
QColor sectorColour(int index);

// Value to pixel and back, for one plot rectangle and the ranges shown in it.
struct ChartMapping {
    QRectF frame; // the plot's frame; what is drawn is clipped to it
    QRectF area;  // where the ends of the ranges fall: the frame less room for a whole ring
    double x0 = 0, x1 = 1, y0 = 0, y1 = 1;

    double px(double x) const { return area.left() + (x - x0) / (x1 - x0) * area.width(); }
    double py(double y) const { return area.bottom() - (y - y0) / (y1 - y0) * area.height(); }
    double xAt(double px) const { return x0 + (px - area.left()) / area.width() * (x1 - x0); }
    double yAt(double py) const { return y0 + (area.bottom() - py) / area.height() * (y1 - y0); }
    // Where a value is drawn: off-scale values sit on the area's edge, seen whole.
    QPointF point(double x, double y) const;
};

// A point under the pointer.
struct ChartHit {
    int session = -1;
    std::size_t lap = 0; // position in the session's laps
    // Lap times: 0; sector times: the sector, 0-based; temperatures: 0 for TMP1, 1 for TMP2.
    int series = 0;
    QPointF at; // where it is drawn
    bool operator==(const ChartHit&) const = default;
};

class ChartModel {
    Q_DECLARE_TR_FUNCTIONS(ChartModel)

public:
    // Above this many laps in view, lines and rings keep the extremes of each pixel column.
    static constexpr std::size_t kThinAbove = 3000;

    // Replaces the sessions. The zoom stays where the lap axis keeps its span, else it resets.
    // Costs one pass over the laps; every later question (the laps in view, the value range of
    // the laps in view, the points near the pointer) is answered without walking every lap.
    void setSessions(std::vector<ChartSession> sessions);
    const std::vector<ChartSession>& sessions() const { return sessions_; }
    std::size_t lapCount() const;

    // The lap axis: each session's laps by lap number (by row where the numbers do not rise
    // through it), the sessions side by side with a gap between.
    double axisX(int session, std::size_t lap) const { return axis_[std::size_t(session)][lap]; }
    std::pair<double, double> sessionSpan(int session) const;
    // Where a lap (its position in the window's lap vector) stands on the lap axis, if charted.
    std::optional<double> axisOfLap(std::size_t lapIndex) const;
    // The lap axis value x as the session numbers its laps (the lap number, or the row).
    double sessionLap(int session, double x) const { return x + shift_[std::size_t(session)]; }
    bool inTableOrder() const { return tableOrder_; }
    double fullStart() const { return full0_; }
    double fullEnd() const { return full1_; }
    double viewStart() const { return view0_; }
    double viewEnd() const { return view1_; }
    bool zoomed() const { return view0_ > full0_ || view1_ < full1_; }
    bool inView(double x) const { return x >= view0_ && x <= view1_; }
    // factor < 1 zooms in; the axis value at anchor stays where it is.
    void zoomAt(double anchor, double factor);
    void panBy(double delta);
    void resetZoom();
    // Shows [start, end] of the lap axis, kept within the full span and no narrower than a few
    // laps.
    void setViewRange(double start, double end);

    // The value axis of a view: its range and "nice" ticks, no more than maxTicks of them. Times
    // span the counted laps in view (the timed ones where none is counted), so a zoomed chart
    // shows its laps at full height; TMP1/TMP2 span every lap.
    std::pair<double, double> valueRange(ChartView view) const;
    std::vector<ChartTick> valueTicks(ChartView view, int maxTicks) const;
    // Ticks of the lap axis in view, at least minStep axis units apart, labelled with the lap
    // number within their session; a session too short for a tick at the step gets one at its
    // first lap, so every session in view has a number.
    std::vector<ChartTick> lapTicks(double minStep) const;

    // Lines of a view (sectors: one per sector) and how many there are.
    int seriesCount(ChartView view) const;
    ChartMapping mapping(ChartView view, const QRectF& frame, double inset) const;
    // Laps in the visible part of the lap axis; beyond kThinAbove the chart is drawn thinned.
    std::size_t lapsInView() const { return inView_; }
    bool thinned() const { return lapsInView() > kThinAbove; }

    // What a session shows in view, in pixels of the mapping. A line joins the counted laps of
    // each run of counted laps and never crosses an excluded one; thinned, each pixel column of
    // a run keeps its lowest and its highest point.
    std::vector<QPolygonF> lineRuns(ChartView view, int session, int series,
                                    const ChartMapping& m) const;
    // The excluded timed laps, for the lap-time view (thinned the same way).
    QPolygonF rings(int session, const ChartMapping& m) const;
    // The min-max band of TMP1 (series 0) or TMP2 (series 1) over the session's laps; thinned,
    // each pixel column keeps the lowest minimum and the highest maximum.
    QPolygonF band(int session, int series, const ChartMapping& m) const;
    // Each session's best time of the sector, where it is drawn.
    QPolygonF sectorBestMarks(int sector, const ChartMapping& m) const;

    // The drawn point nearest to pos within radius pixels, if any.
    std::optional<ChartHit> hitTest(ChartView view, const ChartMapping& m, const QPointF& pos,
                                    double radius) const;
    // Session, lap and value of a hit, one line each (no session line for a nameless session).
    QString hitText(ChartView view, const ChartHit& hit) const;

private:
    std::optional<std::int32_t> valueOf(ChartView view, int series, const ChartLap& lap) const;
    std::pair<std::size_t, std::size_t> visibleLaps(int session, double from, double to) const;
    void indexRanges();
    void computeRanges();
    // Counted once per view, not by each session's drawing (thinned()).
    void countLapsInView();

    std::vector<ChartSession> sessions_;
    std::vector<std::vector<double>> axis_; // per session, per lap: position on the lap axis
    std::vector<double> shift_; // per session: added to a lap axis value gives its own lap number
    bool tableOrder_ = false;
    int sectorSeries_ = 0; // the most sectors of any lap
    double full0_ = 0, full1_ = 1, view0_ = 0, view1_ = 1;
    std::size_t inView_ = 0;
    std::array<std::pair<double, double>, 3> ranges_{};
    // Per session, per block of kRangeBlock laps: the lowest and highest lap time and sector time,
    // of the counted laps and of the timed ones (kNoValue for none), for the range in view.
    struct BlockRange {
        std::int32_t lapLow, lapHigh, sectorLow, sectorHigh;
    };
    struct SessionRanges {
        std::vector<BlockRange> counted, timed;
    };
    std::vector<SessionRanges> blocks_;
    bool temperatureKnown_ = false; // the TMP range, found once per sessions
};
