#include "library_view/ProgressChart.h"

#include "analysis_view/DisplayText.h"
#include "session_report/MarkColours.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

const QColor kText(0x21, 0x21, 0x21);
const QColor kFrame(0xBD, 0xBD, 0xBD);
const QColor kGrid(0xEE, 0xEE, 0xEE);
const QColor kTheoretical(0x15, 0x65, 0xC0);
const QColor kMedian(0x38, 0x8E, 0x3C);

QPen pen(const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine)
{
    return QPen(colour, width, style, Qt::FlatCap, Qt::RoundJoin);
}

// Date ticks at steps a calendar reads: days, weeks, months, years; no closer than minDays.
std::vector<ChartTick> dayTicks(const QDate& first, double x0, double x1, double minDays)
{
    std::vector<ChartTick> ticks;
    const QDate from = first.addDays(qint64(std::ceil(x0)));
    const QDate to = first.addDays(qint64(std::floor(x1)));
    for (int step : {1, 2, 7, 14}) {
        if (step < minDays)
            continue;
        for (QDate d = from; d <= to; d = d.addDays(step))
            ticks.push_back({double(first.daysTo(d)), d.toString(QStringLiteral("yyyy-MM-dd"))});
        return ticks;
    }
    for (int months : {1, 2, 3, 6, 12, 24, 60, 120}) {
        if (months * 30.4 < minDays)
            continue;
        // The first of a month (of a January for whole years) on the step's grid.
        QDate d(from.year(), from.month(), 1);
        while (d < from || (months < 12 ? (d.month() - 1) % months != 0
                                        : d.month() != 1 || d.year() % (months / 12) != 0))
            d = d.addMonths(1);
        for (; d <= to; d = d.addMonths(months))
            ticks.push_back({double(first.daysTo(d)),
                             d.toString(months >= 12 ? QStringLiteral("yyyy")
                                                     : QStringLiteral("yyyy-MM"))});
        return ticks;
    }
    return ticks;
}

} // namespace

std::vector<ProgressPoint> progressPoints(std::span<const ProgressDay> days)
{
    std::vector<ProgressPoint> points;
    points.reserve(days.size());
    for (const ProgressDay& d : days)
        points.push_back({d.day, d.sessions, d.figures.bestLap, d.figures.theoretical,
                          d.figures.median, d.improved && d.figures.bestLap.has_value(),
                          d.gapToPrevious});
    return points;
}

QColor ProgressChart::colourOf(ProgressSeries series)
{
    switch (series) {
    case ProgressSeries::Best:
        return kBestMark;
    case ProgressSeries::Theoretical:
        return kTheoretical;
    case ProgressSeries::Median:
        break;
    }
    return kMedian;
}

QString ProgressChart::nameOf(ProgressSeries series)
{
    switch (series) {
    case ProgressSeries::Best:
        return tr("Best lap");
    case ProgressSeries::Theoretical:
        return tr("Theoretical best");
    case ProgressSeries::Median:
        break;
    }
    return tr("Median of counted laps");
}

void ProgressChart::setDays(std::vector<ProgressPoint> days)
{
    days_ = std::move(days);
    x_.clear();
    low_ = high_ = 0;
    bool any = false;
    for (const ProgressPoint& p : days_) {
        x_.push_back(days_.front().day.isValid() && p.day.isValid()
                         ? double(days_.front().day.daysTo(p.day))
                         : double(x_.size()));
        for (const auto& value : {p.best, p.theoretical, p.median}) {
            if (!value)
                continue;
            low_ = any ? std::min(low_, double(*value)) : *value;
            high_ = any ? std::max(high_, double(*value)) : *value;
            any = true;
        }
    }
    if (!any)
        low_ = 0, high_ = 6000;
}

std::optional<std::int32_t> ProgressChart::valueOf(std::size_t day, ProgressSeries series) const
{
    const ProgressPoint& p = days_[day];
    switch (series) {
    case ProgressSeries::Best:
        return p.best;
    case ProgressSeries::Theoretical:
        return p.theoretical;
    case ProgressSeries::Median:
        break;
    }
    return p.median;
}

ProgressLayout ProgressChart::layout(const QRectF& rect, const QFontMetricsF& metrics) const
{
    ProgressLayout l;
    l.rect = rect;
    const double h = metrics.height();
    l.fontHeight = h;
    l.lineWidth = h / 10;
    l.markRadius = h * 0.32;
    const double pad = h / 2, tick = h / 3;

    // The legend: the three series and the mark, in rows along the bottom.
    for (int s = 0; s < kProgressSeries; ++s) {
        const auto series = ProgressSeries(s);
        l.legend.push_back({nameOf(series), colourOf(series),
                            series == ProgressSeries::Best          ? Qt::SolidLine
                            : series == ProgressSeries::Theoretical ? Qt::DashLine
                                                                    : Qt::DotLine,
                            false,
                            {}});
    }
    l.legend.push_back({tr("Personal best improved"), kBestMark, Qt::SolidLine, true, {}});
    double x = rect.left() + pad;
    int rows = 1;
    std::vector<int> rowOf;
    for (auto& e : l.legend) {
        const double width = h * 1.9 + metrics.horizontalAdvance(e.text);
        if (x > rect.left() + pad && x + width > rect.right() - pad) {
            x = rect.left() + pad;
            ++rows;
        }
        e.at = QRectF(x, 0, width, h);
        rowOf.push_back(rows - 1);
        x += width + h;
    }
    const double legendTop = rect.bottom() - pad - rows * h;
    for (std::size_t i = 0; i < l.legend.size(); ++i)
        l.legend[i].at.moveTop(legendTop + rowOf[i] * h);

    const double top = rect.top() + pad;
    const double bottom = legendTop - pad / 2 - h - tick - pad / 4;
    const double inset = l.markRadius + l.lineWidth;
    const double frameHeight = std::max(bottom - top, 2 * inset + h);
    const auto [y0, y1] = paddedRange(low_, high_, 50, true);
    l.y0 = y0;
    l.y1 = y1;
    l.valueTicks = timeTicks(y0, y1, std::max(2, int((frameHeight - 2 * inset) / (h * 1.8))));
    double labelWidth = 0;
    for (const ChartTick& t : l.valueTicks)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(t.label));
    const double dateWidth = metrics.horizontalAdvance(QStringLiteral("0000-00-00"));
    const double left = rect.left() + pad + h + pad / 2 + labelWidth + tick + pad / 4;
    const double right = rect.right() - std::max(pad, dateWidth / 2 + pad / 4);
    l.frame = QRectF(left, top, std::max(right - left, 2 * inset + h), frameHeight);
    l.area = l.frame.adjusted(inset, inset, -inset, -inset);

    const double span = x_.empty() ? 0 : x_.back();
    // A single day stands in the middle; otherwise half a day of room at each end.
    l.x0 = span == 0 ? -1 : -span * 0.02;
    l.x1 = span == 0 ? 1 : span * 1.02;
    if (!days_.empty()) {
        const double perDay = l.area.width() / (l.x1 - l.x0);
        l.dayTicks = dayTicks(days_.front().day, l.x0, l.x1, (dateWidth + h) / perDay);
    }
    l.valueTitle = tr("Lap time");
    return l;
}

std::optional<QPointF> ProgressChart::pointOf(const ProgressLayout& l, std::size_t day,
                                              ProgressSeries series) const
{
    const auto value = valueOf(day, series);
    if (!value)
        return std::nullopt;
    return QPointF(l.px(x_[day]), l.py(*value));
}

void ProgressChart::paint(QPainter& painter, const ProgressLayout& l) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(l.rect, Qt::white);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double h = l.fontHeight, w = l.lineWidth, tick = h / 3;

    painter.setPen(pen(kGrid, w * 0.6));
    for (const ChartTick& t : l.valueTicks)
        painter.drawLine(QPointF(l.frame.left(), l.py(t.value)),
                         QPointF(l.frame.right(), l.py(t.value)));

    painter.save();
    painter.setClipRect(l.frame);
    painter.setBrush(Qt::NoBrush);
    for (int s = kProgressSeries - 1; s >= 0; --s) {
        const auto series = ProgressSeries(s);
        QPolygonF line;
        for (std::size_t d = 0; d < days_.size(); ++d)
            if (const auto p = pointOf(l, d, series))
                line << *p;
        const Qt::PenStyle style = l.legend[std::size_t(s)].style;
        QPen linePen = pen(colourOf(series), w * (series == ProgressSeries::Best ? 1.6 : 1.3), style);
        if (style == Qt::SolidLine)
            linePen.setCapStyle(Qt::RoundCap); // the segments meet without a gap
        painter.setPen(linePen);
        // Segment by segment: a long zigzag polyline costs the stroker many times more.
        QList<QLineF> segments;
        for (qsizetype i = 1; i < line.size(); ++i)
            segments << QLineF(line[i - 1], line[i]);
        painter.drawLines(segments);
        // The dots as one path, filled once: far quicker than a round pen point by point.
        const double r = l.markRadius * (series == ProgressSeries::Best ? 0.5 : 0.35);
        QPainterPath dots;
        for (const QPointF& p : std::as_const(line))
            dots.addEllipse(p, r, r);
        painter.fillPath(dots, colourOf(series));
    }
    // The days that improved the personal best: a diamond on the best lap.
    QPainterPath diamonds;
    for (std::size_t d = 0; d < days_.size(); ++d) {
        if (!days_[d].improved)
            continue;
        if (const auto p = pointOf(l, d, ProgressSeries::Best)) {
            const double r = l.markRadius * 1.4;
            diamonds.addPolygon(QPolygonF({*p + QPointF(0, -r), *p + QPointF(r, 0),
                                           *p + QPointF(0, r), *p + QPointF(-r, 0),
                                           *p + QPointF(0, -r)}));
        }
    }
    painter.setPen(pen(kText, w * 0.8));
    painter.setBrush(kBestMark);
    painter.drawPath(diamonds);
    painter.restore();

    painter.setBrush(Qt::NoBrush);
    painter.setPen(pen(kFrame, w * 0.8));
    painter.drawRect(l.frame);
    painter.setPen(pen(kText, w * 0.8));
    for (const ChartTick& t : l.valueTicks) {
        const double y = l.py(t.value);
        painter.drawLine(QPointF(l.frame.left() - tick, y), QPointF(l.frame.left(), y));
        const double width = metrics.horizontalAdvance(t.label);
        painter.drawText(QRectF(l.frame.left() - tick - h / 8 - width - h, y - h / 2, width + h, h),
                         Qt::AlignRight | Qt::AlignVCenter, t.label);
    }
    for (const ChartTick& t : l.dayTicks) {
        const double x = l.px(t.value);
        painter.drawLine(QPointF(x, l.frame.bottom()), QPointF(x, l.frame.bottom() + tick));
        const double width = metrics.horizontalAdvance(t.label) + h;
        painter.drawText(QRectF(x - width / 2, l.frame.bottom() + tick, width, h), Qt::AlignCenter,
                         t.label);
    }
    painter.save();
    painter.translate(l.rect.left() + h / 2, l.frame.center().y());
    painter.rotate(-90);
    const double titleWidth = metrics.horizontalAdvance(l.valueTitle) + h;
    painter.drawText(QRectF(-titleWidth / 2, -h / 2, titleWidth, h),
                     Qt::AlignCenter | Qt::TextDontClip, l.valueTitle);
    painter.restore();

    for (const auto& e : l.legend) {
        const QRectF box(e.at.left(), e.at.top(), h * 1.6, e.at.height());
        if (e.mark) {
            const double r = l.markRadius * 1.4;
            const QPointF c = box.center();
            painter.setPen(pen(kText, w * 0.8));
            painter.setBrush(e.colour);
            painter.drawPolygon(QPolygonF({c + QPointF(0, -r), c + QPointF(r, 0),
                                           c + QPointF(0, r), c + QPointF(-r, 0)}));
            painter.setBrush(Qt::NoBrush);
        } else {
            painter.setPen(pen(e.colour, w * 1.4, e.style));
            painter.drawLine(QPointF(box.left(), box.center().y()),
                             QPointF(box.right(), box.center().y()));
        }
        painter.setPen(kText);
        const double textLeft = e.at.left() + h * 1.9;
        painter.drawText(QRectF(textLeft, e.at.top(), e.at.right() - textLeft + h, h),
                         Qt::AlignLeft | Qt::AlignVCenter, e.text);
    }
    if (days_.empty())
        painter.drawText(l.frame, Qt::AlignCenter, tr("No day at this track yet"));
    painter.restore();
}

void ProgressChart::paint(QPainter& painter, const QRectF& rect) const
{
    paint(painter, layout(rect, QFontMetricsF(painter.font(), painter.device())));
}

std::optional<ProgressChart::Hit> ProgressChart::hitTest(const ProgressLayout& l,
                                                         const QPointF& pos) const
{
    std::optional<Hit> best;
    double nearest = l.fontHeight * 0.6;
    for (std::size_t d = 0; d < days_.size(); ++d) {
        if (std::abs(l.px(x_[d]) - pos.x()) > nearest)
            continue;
        for (int s = 0; s < kProgressSeries; ++s) {
            const auto p = pointOf(l, d, ProgressSeries(s));
            if (!p)
                continue;
            const double distance = std::hypot(p->x() - pos.x(), p->y() - pos.y());
            if (distance <= nearest) {
                nearest = distance;
                best = Hit{d, ProgressSeries(s), *p};
            }
        }
    }
    return best;
}

QString ProgressChart::hitText(const Hit& hit) const
{
    const ProgressPoint& p = days_[hit.day];
    QStringList lines;
    lines << tr("%1, %n session(s)", nullptr, p.sessions).arg(p.day.toString(Qt::ISODate));
    if (const auto value = valueOf(hit.day, hit.series))
        lines << tr("%1 %2").arg(nameOf(hit.series), timeText(*value));
    if (hit.series == ProgressSeries::Best) {
        if (p.improved && p.gapToPrevious)
            lines << tr("Personal best improved by %1 s").arg(
                         QString::fromStdString(formatSeconds(-*p.gapToPrevious)));
        else if (p.improved)
            lines << tr("The first personal best");
        else if (p.gapToPrevious)
            lines << tr("%1 to the personal best before it").arg(gapText(*p.gapToPrevious));
    }
    return lines.join(QLatin1Char('\n'));
}
