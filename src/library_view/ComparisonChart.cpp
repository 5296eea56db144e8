#include "library_view/ComparisonChart.h"

#include "analysis_view/ChartModel.h"
#include "analysis_view/DisplayText.h"
#include "library_view/ComparisonText.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

const QColor kText(0x21, 0x21, 0x21);
const QColor kFrame(0xBD, 0xBD, 0xBD);
const QColor kGrid(0xEE, 0xEE, 0xEE);

} // namespace

void ComparisonChart::paint(QPainter& painter, const QRectF& rect, const LapComparison& comparison,
                            std::span<const std::size_t> sectorOrder, const QStringList& lapLabels)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect, Qt::white);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double h = metrics.height(), pad = h / 2, tick = h / 3, w = h / 10;
    if (!comparison.ok() || comparison.sectors.empty()) {
        painter.setPen(kText);
        painter.drawText(rect.adjusted(pad, pad, -pad, -pad), Qt::AlignCenter | Qt::TextWordWrap,
                         comparison.ok() ? tr("The laps have no sectors.") : comparison.refused);
        painter.restore();
        return;
    }
    const std::size_t laps = comparison.whole.laps.size();

    // The legend: the laps in their colours, in rows along the bottom.
    struct Entry {
        QString text;
        QRectF at;
    };
    std::vector<Entry> legend;
    double x = rect.left() + pad;
    int rows = 1;
    std::vector<int> rowOf;
    for (std::size_t i = 0; i < laps; ++i) {
        const QString text = i < std::size_t(lapLabels.size()) ? lapLabels[qsizetype(i)] : QString();
        const double width = h * 1.4 + metrics.horizontalAdvance(text);
        if (x > rect.left() + pad && x + width > rect.right() - pad) {
            x = rect.left() + pad;
            ++rows;
        }
        legend.push_back({text, QRectF(x, 0, width, h)});
        rowOf.push_back(rows - 1);
        x += width + h;
    }
    const double legendTop = rect.bottom() - pad - rows * h;
    for (std::size_t i = 0; i < legend.size(); ++i)
        legend[i].at.moveTop(legendTop + rowOf[i] * h);

    std::int32_t low = 0, high = 0;
    for (const ComparisonRow& row : comparison.sectors)
        for (const ComparisonCell& cell : row.laps) {
            low = std::min(low, cell.gap);
            high = std::max(high, cell.gap);
        }
    const double span = std::max(10.0, double(high - low));
    const double y0 = low - span * 0.08, y1 = high + span * 0.08;
    const double top = rect.top() + pad;
    const double bottom = legendTop - pad / 2 - h - tick - pad / 4;
    const double frameHeight = std::max(bottom - top, 2 * h);
    // Gap ticks at steps of whole hundredths, labelled as gaps.
    const int maxTicks = std::max(2, int(frameHeight / (h * 1.8)));
    const double step = std::max(1.0, niceStep((y1 - y0) / maxTicks));
    std::vector<std::pair<double, QString>> ticks;
    for (double v = std::ceil(y0 / step) * step; v <= y1; v += step)
        ticks.push_back({v, gapText(std::llround(v))});
    double labelWidth = 0;
    for (const auto& t : ticks)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(t.second));
    const double left = rect.left() + pad + h + pad / 2 + labelWidth + tick + pad / 4;
    const QRectF frame(left, top, std::max(rect.right() - pad - left, 2 * h), frameHeight);
    const auto py = [&](double v) { return frame.bottom() - (v - y0) / (y1 - y0) * frame.height(); };

    painter.setPen(QPen(kGrid, w * 0.6));
    for (const auto& t : ticks)
        painter.drawLine(QPointF(frame.left(), py(t.first)), QPointF(frame.right(), py(t.first)));

    // Each sector a group, each lap a bar; a gap between the groups.
    const double group = frame.width() / double(sectorOrder.size());
    const double bar = group * 0.8 / double(laps);
    for (std::size_t g = 0; g < sectorOrder.size(); ++g) {
        const ComparisonRow& row = comparison.sectors[sectorOrder[g]];
        const double groupLeft = frame.left() + g * group + group * 0.1;
        for (std::size_t i = 0; i < row.laps.size(); ++i) {
            const double yGap = py(row.laps[i].gap), yZero = py(0);
            const QRectF r(groupLeft + i * bar, std::min(yGap, yZero), bar * 0.9,
                           std::max(w, std::abs(yGap - yZero)));
            painter.fillRect(r, sessionColour(int(i)));
        }
        painter.setPen(kText);
        const QString title = ComparisonText::rowTitle(row);
        painter.drawText(QRectF(frame.left() + g * group, frame.bottom() + tick, group, h),
                         Qt::AlignCenter, title);
    }
    painter.setPen(QPen(kText, w));
    painter.drawLine(QPointF(frame.left(), py(0)), QPointF(frame.right(), py(0)));
    painter.setPen(QPen(kFrame, w * 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);

    painter.setPen(QPen(kText, w * 0.8));
    for (const auto& [value, label] : ticks) {
        const double y = py(value);
        painter.drawLine(QPointF(frame.left() - tick, y), QPointF(frame.left(), y));
        const double width = metrics.horizontalAdvance(label);
        painter.drawText(QRectF(frame.left() - tick - h / 8 - width - h, y - h / 2, width + h, h),
                         Qt::AlignRight | Qt::AlignVCenter, label);
    }
    painter.save();
    painter.translate(rect.left() + h / 2, frame.center().y());
    painter.rotate(-90);
    const QString title = tr("Gap to the reference (s)");
    const double titleWidth = metrics.horizontalAdvance(title) + h;
    painter.drawText(QRectF(-titleWidth / 2, -h / 2, titleWidth, h),
                     Qt::AlignCenter | Qt::TextDontClip, title);
    painter.restore();

    for (std::size_t i = 0; i < legend.size(); ++i) {
        const Entry& e = legend[i];
        painter.fillRect(QRectF(e.at.left(), e.at.top() + h * 0.2, h, h * 0.6), sessionColour(int(i)));
        painter.setPen(kText);
        painter.drawText(QRectF(e.at.left() + h * 1.4, e.at.top(), e.at.width(), h),
                         Qt::AlignLeft | Qt::AlignVCenter, e.text);
    }
    painter.restore();
}
