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
    static std::vector<ChartLayout::LegendEntry> legendOf(const ChartModel& model, ChartView view);
    static QString valueTitleOf(ChartView view);
    static QString lapTitleOf(const ChartModel& model);
};

// The legend's entries for a view.
std::vector<ChartLayout::LegendEntry> ChartTexts::legendOf(const ChartModel& model, ChartView view)
{
    using Swatch = ChartLayout::Swatch;
    std::vector<ChartLayout::LegendEntry> entries;
    const std::vector<ChartSession>& sessions = model.sessions();
    if (view == ChartView::LapTimes) {
        if (sessions.size() == 1) {
            entries.push_back({tr("Counted laps"), sessionColour(0), Swatch::Line, {}});
        } else {
            // A few sessions by name; a legend of thousands would cover the plot.
            const std::size_t named = std::min(sessions.size(), kLegendSessions);
            for (std::size_t s = 0; s < named; ++s) {
                const QString name =
                    sessions[s].name.isEmpty() ? tr("Session %1").arg(s + 1) : sessions[s].name;
                entries.push_back({name, sessionColour(int(s)), Swatch::Line, {}});
            }
            const int more = int(sessions.size() - named);
            if (more > 0)
                entries.push_back({tr("… %n more session(s)", nullptr, more), kText, Swatch::None, {}});
        }
        entries.push_back({tr("Excluded laps"), kExcluded, Swatch::Ring, {}});
        // With one session the level lines name their times; with several each has its own.
        const bool one = sessions.size() == 1;
        entries.push_back({one && sessions[0].best
                               ? tr("Best lap %1").arg(timeText(*sessions[0].best))
                               : tr("Best lap"),
                           kBest,
                           Swatch::Dash,
                           {}});
        entries.push_back(
            {one && sessions[0].median
                 ? tr("Median %1").arg(timeText(std::int64_t(std::llround(*sessions[0].median))))
                 : tr("Median"),
             kMedian,
             Swatch::Dot,
             {}});
    } else if (view == ChartView::SectorTimes) {
        for (int sector = 0; sector < model.seriesCount(view); ++sector)
            entries.push_back(
                {tr("Sector %1").arg(sector + 1), sessionColour(sector), Swatch::Line, {}});
        entries.push_back({tr("Best of the sector"), kText, Swatch::Mark, {}});
    } else {
        entries.push_back({tr("TMP1 min to max"), kTmp1, Swatch::Band, {}});
        entries.push_back({tr("TMP2 min to max"), kTmp2, Swatch::Band, {}});
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

    // The legend flows in rows along the bottom.
    layout.legend = ChartTexts::legendOf(model, view);
    std::vector<int> rowOf;
    double x = rect.left() + pad;
    int rows = layout.legend.empty() ? 0 : 1;
    for (ChartLayout::LegendEntry& entry : layout.legend) {
        const double width = h * 1.9 + metrics.horizontalAdvance(entry.text);
        if (x > rect.left() + pad && x + width > rect.right() - pad) {
            x = rect.left() + pad;
            ++rows;
        }
        entry.at = QRectF(x, 0, width, h);
        rowOf.push_back(rows - 1);
        x += width + h;
    }
    const double legendTop = rect.bottom() - pad - rows * h;
    for (std::size_t i = 0; i < layout.legend.size(); ++i)
        layout.legend[i].at.moveTop(legendTop + rowOf[i] * h);

    for (const ChartSession& session : model.sessions())
        layout.names = layout.names || !session.name.isEmpty();
    layout.namesTop = rect.top() + pad;
    const double top = rect.top() + pad + (layout.names ? h + pad / 2 : 0);
    // Below the frame: tick, tick labels, the axis title, then the legend.
    const double bottom = legendTop - (rows > 0 ? pad / 2 : 0) - h - h - tick - pad / 4;
    const double inset = layout.ringRadius + layout.lineWidth;
    const double frameHeight = std::max(bottom - top, 2 * inset + h);

    const double areaHeight = frameHeight - 2 * inset;
    layout.valueTicks = model.valueTicks(view, std::max(2, int(areaHeight / (h * 1.8))));
    double labelWidth = 0;
    for (const ChartTick& t : layout.valueTicks)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(t.label));

    // The widest lap number decides how far apart the lap ticks stand.
    std::int64_t widest = 1;
    for (std::size_t s = 0; s < model.sessions().size(); ++s)
        widest = std::max<std::int64_t>(
            widest, std::llround(model.sessionLap(int(s), model.sessionSpan(int(s)).second)));
    const double lapLabelWidth = metrics.horizontalAdvance(QString::number(widest));

    const double left = rect.left() + pad + h + pad / 2 + labelWidth + tick + pad / 4;
    const double right = rect.right() - std::max(pad, lapLabelWidth / 2 + pad / 4);
    const QRectF frame(left, top, std::max(right - left, 2 * inset + h), frameHeight);
    layout.mapping = model.mapping(view, frame, inset);

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
                const QColor colour = sessionColour(view == ChartView::LapTimes ? int(s) : series);
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
                painter.setBrush(sessionColour(sector));
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

    // Session names over their stretch of the lap axis.
    if (layout.names) {
        for (std::size_t s = 0; s < sessions.size(); ++s) {
            if (sessions[s].laps.empty() || sessions[s].name.isEmpty())
                continue;
            const auto [from, to] = model.sessionSpan(int(s));
            const double x0 = std::max(frame.left(), m.px(from) - layout.ringRadius);
            const double x1 = std::min(frame.right(), m.px(to) + layout.ringRadius);
            if (x1 - x0 < h)
                continue;
            painter.setPen(sessionColour(int(s)));
            const QString name = metrics.elidedText(sessions[s].name, Qt::ElideRight, x1 - x0);
            painter.drawText(QRectF(x0, layout.namesTop, x1 - x0, h),
                             Qt::AlignLeft | Qt::AlignVCenter, name);
        }
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
