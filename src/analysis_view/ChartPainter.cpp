#include "analysis_view/ChartPainter.h"

#include "analysis_view/DisplayText.h"
#include "session_report/MarkColours.h"

#include <QCoreApplication>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

const QColor kGround(Qt::white);
const QColor kText(0x21, 0x21, 0x21);
const QColor kFrame(0xBD, 0xBD, 0xBD);
const QColor kGrid(0xEE, 0xEE, 0xEE);
const QColor kExcluded(0x75, 0x75, 0x75);
// The best lap in the purple every best is marked with; the median in green.
const QColor kBest = kBestMark;
const QColor kMedian(0x38, 0x8E, 0x3C);
const QColor kTmp1(0xC6, 0x28, 0x28);
const QColor kTmp2(0x15, 0x65, 0xC0);

QColor tmpColour(int series)
{
    return series == 0 ? kTmp1 : kTmp2;
}

// The chart's words: the legend and the axis titles, translated in the chart's own context.
struct ChartTexts {
    Q_DECLARE_TR_FUNCTIONS(ChartTexts)

public:
    // sessions: the session entries, in the order the legend names them, and how many sessions
    // it leaves unnamed (counted in one entry).
    static std::vector<ChartLayout::LegendEntry>
    legendOf(const ChartModel& model, ChartView view, const std::vector<std::size_t>& sessions,
             std::size_t unnamed);
    static QString valueTitleOf(ChartView view);
    static QString lapTitleOf(const ChartModel& model);
};

// The legend's entries for a view.
std::vector<ChartLayout::LegendEntry> ChartTexts::legendOf(const ChartModel& model, ChartView view,
                                                           const std::vector<std::size_t>& named,
                                                           std::size_t unnamed)
{
    using Swatch = ChartLayout::Swatch;
    std::vector<ChartLayout::LegendEntry> entries;
    const std::vector<ChartSession>& all = model.sessions();
    const auto sessionEntries = [&](bool swatches) {
        for (const std::size_t s : named) {
            const QString name = all[s].name.isEmpty() ? tr("Session %1").arg(s + 1) : all[s].name;
            entries.push_back({name, swatches ? sessionColour(int(s)) : kText,
                               swatches ? Swatch::Line : Swatch::None, {}});
        }
        if (unnamed > 0)
            entries.push_back(
                {tr("… %n more session(s)", nullptr, int(unnamed)), kText, Swatch::None, {}});
    };
    if (view == ChartView::LapTimes) {
        if (all.size() == 1)
            entries.push_back({tr("Counted laps"), sessionColour(0), Swatch::Line, {}});
        else
            sessionEntries(true);
        entries.push_back({tr("Excluded laps"), kExcluded, Swatch::Ring, {}});
        // With one session the level lines name their times; with several each has its own.
        const bool one = all.size() == 1;
        entries.push_back({one && all[0].best ? tr("Best lap %1").arg(timeText(*all[0].best))
                                              : tr("Best lap"),
                           kBest,
                           Swatch::Dash,
                           {}});
        entries.push_back(
            {one && all[0].median
                 ? tr("Median %1").arg(timeText(std::int64_t(std::llround(*all[0].median))))
                 : tr("Median"),
             kMedian,
             Swatch::Dot,
             {}});
    } else if (view == ChartView::SectorTimes) {
        for (int sector = 0; sector < model.seriesCount(view); ++sector)
            entries.push_back(
                {tr("Sector %1").arg(sector + 1), sectorColour(sector), Swatch::Line, {}});
        entries.push_back({tr("Best of the sector"), kText, Swatch::Mark, {}});
        sessionEntries(false);
    } else {
        entries.push_back({tr("TMP1 min to max"), kTmp1, Swatch::Band, {}});
        entries.push_back({tr("TMP2 min to max"), kTmp2, Swatch::Band, {}});
        sessionEntries(false);
    }
    return entries;
}

QString ChartTexts::valueTitleOf(ChartView view)
{
    switch (view) {
    case ChartView::LapTimes:
        return tr("Lap time");
    case ChartView::SectorTimes:
        return tr("Sector time");
    case ChartView::Temperatures:
        break;
    }
    return tr("TMP1 and TMP2");
}

QString ChartTexts::lapTitleOf(const ChartModel& model)
{
    return model.inTableOrder() ? tr("Lap, in table order") : tr("Lap");
}

QPen pen(const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine)
{
    return QPen(colour, width, style, Qt::FlatCap, Qt::RoundJoin);
}

// Rings around centres. Many of them on a raster device are one drawn ring stamped at each
// place, far quicker than stroking every circle; a vector device (a PDF page) gets circles.
void drawRings(QPainter& painter, const QPolygonF& centres, double radius, const QPen& ringPen)
{
    painter.setBrush(Qt::NoBrush);
    const QPaintEngine* engine = painter.paintEngine();
    if (centres.size() < 64 || !engine || engine->type() != QPaintEngine::Raster) {
        painter.setPen(ringPen);
        for (const QPointF& p : centres)
            painter.drawEllipse(p, radius, radius);
        return;
    }
    const double ratio = painter.device()->devicePixelRatioF();
    const double half = radius + ringPen.widthF();
    const int side = int(std::ceil(2 * half * ratio));
    QImage stamp(side, side, QImage::Format_ARGB32_Premultiplied);
    stamp.setDevicePixelRatio(ratio);
    stamp.fill(Qt::transparent);
    {
        QPainter ring(&stamp);
        ring.setRenderHint(QPainter::Antialiasing);
        ring.setPen(ringPen);
        const double centre = side / ratio / 2;
        ring.drawEllipse(QPointF(centre, centre), radius, radius);
    }
    const QPointF offset(side / ratio / 2, side / ratio / 2);
    for (const QPointF& p : centres)
        painter.drawImage(p - offset, stamp);
}

// A diamond around centre.
QPolygonF diamond(const QPointF& centre, double radius)
{
    return QPolygonF({centre + QPointF(0, -radius), centre + QPointF(radius, 0),
                      centre + QPointF(0, radius), centre + QPointF(-radius, 0)});
}

void drawSwatch(QPainter& painter, const ChartLayout& layout, const ChartLayout::LegendEntry& e)
{
    const double w = layout.lineWidth;
    const QRectF box(e.at.left(), e.at.top(), layout.fontHeight * 1.6, e.at.height());
    const QPointF left(box.left(), box.center().y()), right(box.right(), box.center().y());
    painter.setBrush(Qt::NoBrush);
    switch (e.swatch) {
    case ChartLayout::Swatch::Line:
        painter.setPen(pen(e.colour, w));
        painter.drawLine(left, right);
        break;
    case ChartLayout::Swatch::Dash:
        painter.setPen(pen(e.colour, w, Qt::DashLine));
        painter.drawLine(left, right);
        break;
    case ChartLayout::Swatch::Dot:
        painter.setPen(pen(e.colour, w, Qt::DotLine));
        painter.drawLine(left, right);
        break;
    case ChartLayout::Swatch::Ring:
        painter.setPen(pen(e.colour, w));
        painter.drawEllipse(box.center(), layout.ringRadius, layout.ringRadius);
        break;
    case ChartLayout::Swatch::Mark:
        painter.setPen(pen(e.colour, w * 0.7));
        painter.setBrush(Qt::white);
        painter.drawPolygon(diamond(box.center(), layout.ringRadius * 1.2));
        break;
    case ChartLayout::Swatch::None:
        break;
    case ChartLayout::Swatch::Band: {
        QColor fill = e.colour;
        fill.setAlpha(70);
        painter.setPen(pen(e.colour, w));
        painter.setBrush(fill);
        painter.drawRect(box.adjusted(0, box.height() * 0.2, 0, -box.height() * 0.2));
        break;
    }
    }
}

} // namespace

namespace {

// Flows the legend's entries in rows from left; returns the number of rows.
int flowLegend(std::vector<ChartLayout::LegendEntry>& legend, const QRectF& rect,
               const QFontMetricsF& metrics, double pad)
{
    const double h = metrics.height();
    double x = rect.left() + pad;
    int rows = legend.empty() ? 0 : 1;
    for (ChartLayout::LegendEntry& entry : legend) {
        const double width = h * 1.9 + metrics.horizontalAdvance(entry.text);
        if (x > rect.left() + pad && x + width > rect.right() - pad) {
            x = rect.left() + pad;
            ++rows;
        }
        entry.at = QRectF(x, rows - 1, width, h); // top holds the row until it is placed
        x += width + h;
    }
    return rows;
}

// The sessions' labels over the plot, for the x mapping m: each session's name where it has
// room between its neighbours' laps, else its tag ("R12"), centred over its laps, in a second
// row where the first has no room. A label is never cut short: a session with no room for
// either is named on hover and in the legend.
std::vector<ChartLayout::SessionLabel> placeLabels(const ChartModel& model, const ChartMapping& m,
                                                   const QFontMetricsF& metrics, double margin,
                                                   int& rows)
{
    std::vector<ChartLayout::SessionLabel> labels;
    const std::vector<ChartSession>& sessions = model.sessions();
    const double h = metrics.height();
    const double gap = h * 0.6;
    const QRectF& frame = m.frame;
    // Each session's laps in pixels, clamped to the frame; sessions out of view have none.
    struct Span {
        int session;
        double left, right;
    };
    std::vector<Span> spans;
    for (std::size_t s = 0; s < sessions.size(); ++s) {
        if (sessions[s].laps.empty() || (sessions[s].name.isEmpty() && sessions[s].tag.isEmpty()))
            continue;
        const auto [from, to] = model.sessionSpan(int(s));
        if (to < model.viewStart() || from > model.viewEnd())
            continue;
        spans.push_back({int(s), std::max(frame.left(), m.px(from) - margin),
                         std::min(frame.right(), m.px(to) + margin)});
    }
    double lastRight[2] = {-1e300, -1e300};
    rows = 0;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const Span& span = spans[i];
        const ChartSession& session = sessions[std::size_t(span.session)];
        // Room on the first row: from the laps before to the laps after.
        const double roomLeft =
            std::max(i > 0 ? spans[i - 1].right + gap / 2 : frame.left(), lastRight[0] + gap);
        const double roomRight = i + 1 < spans.size() ? spans[i + 1].left - gap / 2 : frame.right();
        const double centre = (span.left + span.right) / 2;
        const auto place = [&](const QString& text, int row, double left, double width) {
            labels.push_back({span.session, text, QRectF(left, row, width, h)});
            lastRight[row] = left + width;
            rows = std::max(rows, row + 1);
        };
        const QString& name = session.name.isEmpty() ? session.tag : session.name;
        const double nameWidth = metrics.horizontalAdvance(name);
        const double nameLeft = std::max(roomLeft, std::min(span.left, roomRight - nameWidth));
        if (nameLeft + nameWidth <= roomRight) {
            place(name, 0, nameLeft, nameWidth);
            continue;
        }
        if (session.tag.isEmpty()) {
            // A chart of one session: its name, cut to the frame, is all there is.
            const QString cut = metrics.elidedText(name, Qt::ElideRight, roomRight - roomLeft);
            if (!cut.isEmpty() && roomRight > roomLeft)
                place(cut, 0, roomLeft, metrics.horizontalAdvance(cut));
            continue;
        }
        const double tagWidth = metrics.horizontalAdvance(session.tag);
        const double tagLeft = std::max(roomLeft, std::min(centre - tagWidth / 2, roomRight - tagWidth));
        if (tagLeft + tagWidth <= roomRight) {
            place(session.tag, 0, tagLeft, tagWidth);
            continue;
        }
        const double lowerLeft = std::max({frame.left(), lastRight[1] + gap, centre - tagWidth / 2});
        if (lowerLeft + tagWidth <= frame.right() && lowerLeft <= span.right + gap)
            place(session.tag, 1, lowerLeft, tagWidth);
    }
    return labels;
}

} // namespace

ChartLayout layoutChart(const QRectF& rect, const QFontMetricsF& metrics, const ChartModel& model,
                        ChartView view)
{
    ChartLayout layout;
    layout.rect = rect;
    const double h = metrics.height();
    layout.fontHeight = h;
    layout.lineWidth = h / 10;
    layout.dotRadius = h * 0.15;
    layout.ringRadius = h * 0.28;
    layout.hitRadius = h * 0.45;
    const double pad = h / 2;
    const double tick = h / 3;
    // Room at the area's edges for a whole ring or sector diamond (1.2 rings) and its pen.
    const double inset = layout.ringRadius * 1.2 + layout.lineWidth;

    // The widest lap number decides how far apart the lap ticks stand.
    std::int64_t widest = 1;
    for (std::size_t s = 0; s < model.sessions().size(); ++s)
        widest = std::max<std::int64_t>(
            widest, std::llround(model.sessionLap(int(s), model.sessionSpan(int(s)).second)));
    const double lapLabelWidth = metrics.horizontalAdvance(QString::number(widest));
    const double right = rect.right() - std::max(pad, lapLabelWidth / 2 + pad / 4);

    // The frame's left edge follows the value labels, whose count follows the frame's height,
    // which follows the rows of session labels and legend, which follow the frame's width: twice
    // round settles it.
    const std::size_t sessionCount = model.sessions().size();
    double labelWidth = metrics.horizontalAdvance(QStringLiteral("0:00.00"));
    for (int pass = 0; pass < 3; ++pass) {
        const double left = rect.left() + pad + h + pad / 2 + labelWidth + tick + pad / 4;
        ChartMapping m = model.mapping(view, QRectF(left, rect.top(), std::max(right - left, 2 * inset + h), h), inset);
        int nameRows = 0;
        layout.labels = placeLabels(model, m, metrics, layout.ringRadius, nameRows);

        // The legend names every session where it has room for all in a part of the chart's
        // height, those without their whole name over the plot first; else a few, and counts
        // the rest, so that a legend of thousands never covers the plot.
        std::vector<bool> wholeName(sessionCount, false);
        for (const ChartLayout::SessionLabel& label : layout.labels)
            wholeName[std::size_t(label.session)] =
                label.text == model.sessions()[std::size_t(label.session)].name;
        // The colour key of the lap times names every session; the other views' lines are not
        // the sessions', so they name only those without their name over the plot.
        std::vector<std::size_t> order, shortened;
        for (std::size_t s = 0; s < sessionCount && sessionCount > 1; ++s) {
            if (!wholeName[s])
                shortened.push_back(s);
            if (!wholeName[s] || view == ChartView::LapTimes)
                order.push_back(s);
        }
        const int budget = std::max(3, int(rect.height() * 0.3 / h));
        layout.legend = ChartTexts::legendOf(model, view, order, 0);
        int rows = flowLegend(layout.legend, rect, metrics, pad);
        if (rows > budget && order.size() > kLegendSessions) {
            // Those without their name over the plot first, then the others, in order.
            std::vector<std::size_t> named = shortened;
            for (const std::size_t s : order) {
                if (named.size() >= kLegendSessions)
                    break;
                if (wholeName[s])
                    named.push_back(s);
            }
            named.resize(std::min(named.size(), kLegendSessions));
            std::sort(named.begin(), named.end());
            layout.legend = ChartTexts::legendOf(model, view, named, order.size() - named.size());
            rows = flowLegend(layout.legend, rect, metrics, pad);
        }
        const double legendTop = rect.bottom() - pad - rows * h;
        for (ChartLayout::LegendEntry& entry : layout.legend)
            entry.at.moveTop(legendTop + entry.at.top() * h);

        layout.namesTop = rect.top() + pad;
        for (ChartLayout::SessionLabel& label : layout.labels)
            label.at.moveTop(layout.namesTop + label.at.top() * h);
        const double top = rect.top() + pad + (nameRows > 0 ? nameRows * h + pad / 2 : 0);
        // Below the frame: tick, tick labels, the axis title, then the legend.
        const double bottom = legendTop - (rows > 0 ? pad / 2 : 0) - h - h - tick - pad / 4;
        const double frameHeight = std::max(bottom - top, 2 * inset + h);

        const double areaHeight = frameHeight - 2 * inset;
        layout.valueTicks = model.valueTicks(view, std::max(2, int(areaHeight / (h * 1.8))));
        double widestValue = 0;
        for (const ChartTick& t : layout.valueTicks)
            widestValue = std::max(widestValue, metrics.horizontalAdvance(t.label));
        const QRectF frame(left, top, std::max(right - left, 2 * inset + h), frameHeight);
        layout.mapping = model.mapping(view, frame, inset);
        if (widestValue == labelWidth)
            break;
        labelWidth = widestValue;
    }

    const ChartMapping& m = layout.mapping;
    const double perUnit = m.area.width() / (m.x1 - m.x0);
    std::vector<ChartTick> lapTicks = model.lapTicks((lapLabelWidth + h) / perUnit);
    // Ticks of neighbouring sessions may crowd each other at the gap: a label that would touch
    // the one before it is left out.
    double lastRight = -1e300;
    for (const ChartTick& t : lapTicks) {
        const double width = metrics.horizontalAdvance(t.label);
        const double at = m.px(t.value);
        if (at - width / 2 < lastRight + h / 2)
            continue;
        layout.lapTicks.push_back(t);
        lastRight = at + width / 2;
    }

    layout.valueTitle = ChartTexts::valueTitleOf(view);
    layout.lapTitle = ChartTexts::lapTitleOf(model);
    const std::size_t inView = model.lapsInView();
    layout.dots = view != ChartView::Temperatures && !model.thinned() && inView > 0 &&
                  m.area.width() / double(inView) >= layout.dotRadius * 5;
    return layout;
}

void paintChart(QPainter& painter, const ChartLayout& layout, const ChartModel& model,
                ChartView view)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(layout.rect, kGround);
    const ChartMapping& m = layout.mapping;
    const QRectF& frame = m.frame;
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double h = layout.fontHeight;
    const double w = layout.lineWidth;
    const double tick = h / 3;

    // Grid and frame.
    painter.setPen(pen(kGrid, w * 0.6));
    for (const ChartTick& t : layout.valueTicks) {
        const double y = m.py(t.value);
        painter.drawLine(QPointF(frame.left(), y), QPointF(frame.right(), y));
    }

    const std::vector<ChartSession>& sessions = model.sessions();
    painter.save();
    painter.setClipRect(frame);
    if (view == ChartView::Temperatures) {
        for (int series = 0; series < 2; ++series) {
            QColor fill = tmpColour(series);
            fill.setAlpha(70);
            painter.setPen(pen(tmpColour(series), w, series == 0 ? Qt::SolidLine : Qt::DashLine));
            painter.setBrush(fill);
            for (std::size_t s = 0; s < sessions.size(); ++s) {
                const QPolygonF band = model.band(int(s), series, m);
                if (band.size() > 2)
                    painter.drawPolygon(band);
                else if (!band.isEmpty())
                    painter.drawPolyline(band);
            }
        }
    } else {
        const int lines = model.seriesCount(view);
        painter.setBrush(Qt::NoBrush);
        for (int series = 0; series < lines; ++series) {
            for (std::size_t s = 0; s < sessions.size(); ++s) {
                const QColor colour =
                    view == ChartView::LapTimes ? sessionColour(int(s)) : sectorColour(series);
                painter.setPen(pen(colour, w * 1.3));
                const std::vector<QPolygonF> runs = model.lineRuns(view, int(s), series, m);
                for (const QPolygonF& run : runs) {
                    if (run.size() > 1)
                        painter.drawPolyline(run);
                }
                // Dots where the laps stand apart; a lap alone between excluded ones has no
                // line and always gets its dot.
                QPen dot = pen(colour, layout.dotRadius * 2);
                dot.setCapStyle(Qt::RoundCap);
                painter.setPen(dot);
                for (const QPolygonF& run : runs) {
                    if (layout.dots || run.size() == 1)
                        painter.drawPoints(run);
                }
            }
        }
        if (view == ChartView::LapTimes) {
            for (std::size_t s = 0; s < sessions.size(); ++s)
                drawRings(painter, model.rings(int(s), m), layout.ringRadius,
                          pen(kExcluded, w * 1.2));
            // The level lines go over the points, so a cloud of laps never hides them.
            for (std::size_t s = 0; s < sessions.size(); ++s) {
                if (sessions[s].laps.empty())
                    continue;
                const auto [from, to] = model.sessionSpan(int(s));
                const double x0 = std::max(frame.left(), m.px(from) - layout.ringRadius);
                const double x1 = std::min(frame.right(), m.px(to) + layout.ringRadius);
                const auto level = [&](std::optional<double> value, const QPen& p) {
                    if (!value)
                        return;
                    painter.setPen(p);
                    const double y = m.point(from, *value).y();
                    painter.drawLine(QPointF(x0, y), QPointF(x1, y));
                };
                level(sessions[s].best ? std::optional<double>(*sessions[s].best) : std::nullopt,
                      pen(kBest, w * 1.3, Qt::DashLine));
                level(sessions[s].median, pen(kMedian, w * 1.5, Qt::DotLine));
            }
        } else {
            painter.setPen(pen(kText, w * 0.7));
            for (int sector = 0; sector < lines; ++sector) {
                painter.setBrush(sectorColour(sector));
                for (const QPointF& p : model.sectorBestMarks(sector, m))
                    painter.drawPolygon(diamond(p, layout.ringRadius * 1.2));
            }
        }
    }
    painter.restore();

    painter.setBrush(Qt::NoBrush);
    painter.setPen(pen(kFrame, w * 0.8));
    painter.drawRect(frame);

    // The value axis: labels right-aligned to the tick marks.
    painter.setPen(pen(kText, w * 0.8));
    for (const ChartTick& t : layout.valueTicks) {
        const double y = m.py(t.value);
        painter.drawLine(QPointF(frame.left() - tick, y), QPointF(frame.left(), y));
        const double width = metrics.horizontalAdvance(t.label);
        painter.drawText(QRectF(frame.left() - tick - h / 8 - width - h, y - h / 2, width + h, h),
                         Qt::AlignRight | Qt::AlignVCenter, t.label);
    }
    // The lap axis: labels centred under the ticks.
    for (const ChartTick& t : layout.lapTicks) {
        const double x = m.px(t.value);
        painter.drawLine(QPointF(x, frame.bottom()), QPointF(x, frame.bottom() + tick));
        const double width = metrics.horizontalAdvance(t.label) + h;
        painter.drawText(QRectF(x - width / 2, frame.bottom() + tick, width, h), Qt::AlignCenter,
                         t.label);
    }
    const double lapTitleTop = frame.bottom() + tick + h + h / 8;
    painter.drawText(QRectF(frame.left(), lapTitleTop, frame.width(), h),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, layout.lapTitle);
    painter.save();
    painter.translate(layout.rect.left() + h / 2, frame.center().y());
    painter.rotate(-90);
    const double titleWidth = metrics.horizontalAdvance(layout.valueTitle) + h;
    painter.drawText(QRectF(-titleWidth / 2, -h / 2, titleWidth, h),
                     Qt::AlignCenter | Qt::TextDontClip, layout.valueTitle);
    painter.restore();

    // Session names (or tags) over their laps, whole: in the session's colour where the lines
    // are the sessions', in the text's colour over sector and TMP lines.
    for (const ChartLayout::SessionLabel& label : layout.labels) {
        painter.setPen(view == ChartView::LapTimes ? sessionColour(label.session) : kText);
        painter.drawText(label.at, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, label.text);
    }

    for (const ChartLayout::LegendEntry& entry : layout.legend) {
        drawSwatch(painter, layout, entry);
        painter.setPen(kText);
        const double textLeft = entry.at.left() + h * 1.9;
        painter.drawText(QRectF(textLeft, entry.at.top(), entry.at.right() - textLeft + h, h),
                         Qt::AlignLeft | Qt::AlignVCenter, entry.text);
    }
    painter.restore();
}

void paintChart(QPainter& painter, const QRectF& rect, const ChartModel& model, ChartView view)
{
    paintChart(painter,
               layoutChart(rect, QFontMetricsF(painter.font(), painter.device()), model, view),
               model, view);
}
