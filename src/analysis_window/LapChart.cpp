#include "analysis_window/LapChart.h"

#include "analysis_view/DisplayText.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>
#include <QWheelEvent>
#include <cmath>

namespace {

// One wheel notch (120 eighths of a degree) shows this share of the laps in view.
constexpr double kZoomPerNotch = 0.8;
// A horizontal wheel notch moves the view by this share of its span.
constexpr double kPanPerNotch = 0.1;

} // namespace

LapChart::LapChart(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    relayout();
}

void LapChart::setDocument(const AnalysisDocument* document)
{
    if (document_)
        disconnect(document_, nullptr, this, nullptr);
    document_ = document;
    if (document_) {
        connect(document_, &AnalysisDocument::changed, this,
                [this](AnalysisDocument::Change change) {
                    if (change == AnalysisDocument::Change::Laps)
                        marked_.reset();
                    chartDocument();
                });
    }
    chartDocument();
}

void LapChart::showSession(std::optional<std::size_t> session)
{
    session_ = session;
    marked_.reset();
    chartDocument();
}

// The sessions shown, each named after its lap file and drawn in its own colour.
void LapChart::chartDocument()
{
    std::vector<ChartSession> sessions;
    if (!document_) {
        setSessions(std::move(sessions));
        return;
    }
    const SessionAnalysis& analysis = document_->analysis();
    if (session_ && *session_ >= analysis.sessionCount())
        session_.reset();
    const auto add = [&](std::size_t s) {
        // One session is named after its lap file alone; several carry their tag ("R2 ..."),
        // which stands for the name where it has no room.
        QString name = chartName(analysis, s);
        QString tag = QString::fromStdString(SessionAnalysis::sessionTag(s));
        if (analysis.sessionCount() == 1 || session_) {
            name = QString::fromStdString(analysis.session(s).name);
            if (name.endsWith(QStringLiteral(".BIL"), Qt::CaseInsensitive))
                name.chop(4);
            if (analysis.sessionCount() > 1)
                name = chartName(analysis, s);
            tag.clear();
        }
        sessions.push_back(chartSession(name, analysis.lapsOf(s), analysis.stats(s),
                                        analysis.session(s).firstLap, tag));
    };
    if (session_) {
        add(*session_);
    } else {
        sessions.reserve(analysis.sessionCount());
        for (std::size_t s = 0; s < analysis.sessionCount(); ++s)
            add(s);
    }
    setSessions(std::move(sessions));
}

void LapChart::setSessions(std::vector<ChartSession> sessions)
{
    model_.setSessions(std::move(sessions));
    relayout();
}

void LapChart::setView(ChartView view)
{
    if (view == view_)
        return;
    view_ = view;
    relayout();
}

QString LapChart::hoverText() const
{
    return hover_ ? model_.hitText(view_, *hover_) : QString();
}

QSize LapChart::sizeHint() const
{
    const int h = fontMetrics().height();
    return {h * 40, h * 18};
}

QSize LapChart::minimumSizeHint() const
{
    const int h = fontMetrics().height();
    return {h * 16, h * 9};
}

// Lays the chart out anew for the widget's size and the model's state, and finds the point
// under a pointer that stayed where it was.
void LapChart::relayout()
{
    layout_ = layoutChart(QRectF(rect()), QFontMetricsF(font(), this), model_, view_);
    bodyDrawn_ = false;
    if (pointer_)
        hoverAt(*pointer_);
    else
        hover_.reset();
    update();
}

void LapChart::hoverAt(const QPointF& pos)
{
    const std::optional<ChartHit> hit =
        model_.hitTest(view_, layout_.mapping, pos, layout_.hitRadius);
    if (hit != hover_) {
        hover_ = hit;
        update();
    }
}

void LapChart::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    if (!bodyDrawn_ || body_.size() != size() * ratio) {
        body_ = QPixmap(size() * ratio);
        body_.setDevicePixelRatio(ratio);
        body_.fill(Qt::white);
        QPainter body(&body_);
        body.setFont(font());
        paintChart(body, layout_, model_, view_);
        bodyDrawn_ = true;
    }
    QPainter painter(this);
    painter.setFont(font());
    painter.drawPixmap(0, 0, body_);
    paintMark(painter);
    paintHover(painter);
}

void LapChart::setMarkedLap(std::optional<std::size_t> lapIndex, bool bringIntoView)
{
    marked_ = lapIndex;
    const std::optional<double> x = marked_ ? model_.axisOfLap(*marked_) : std::nullopt;
    if (bringIntoView && x && !model_.inView(*x)) {
        const double half = (model_.viewEnd() - model_.viewStart()) / 2;
        model_.setViewRange(*x - half, *x + half);
        relayout();
    }
    update();
}

// The marked lap: a thin grey upright line, under the hover label.
void LapChart::paintMark(QPainter& painter) const
{
    const std::optional<double> x = marked_ ? model_.axisOfLap(*marked_) : std::nullopt;
    if (!x || !model_.inView(*x))
        return;
    const ChartMapping& m = layout_.mapping;
    const double at = m.px(*x);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x21, 0x21, 0x21, 0x90), layout_.lineWidth));
    painter.drawLine(QPointF(at, m.frame.top()), QPointF(at, m.frame.bottom()));
    painter.restore();
}

// The hovered point ringed, and its label beside it, kept inside the widget.
void LapChart::paintHover(QPainter& painter) const
{
    if (!hover_)
        return;
    const QStringList lines = hoverText().split(u'\n');
    const QFontMetricsF metrics(font(), this);
    const double h = layout_.fontHeight;
    double width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const QSizeF size(width + h, h * double(lines.size()) + h / 2);
    const QPointF at = hover_->at;
    QRectF box(at + QPointF(h * 0.8, -h * 0.8 - size.height()), size);
    if (box.right() > rect().right())
        box.moveRight(at.x() - h * 0.8);
    if (box.top() < rect().top())
        box.moveTop(at.y() + h * 0.8);
    box.moveLeft(std::max(box.left(), 0.0));

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x21, 0x21, 0x21), layout_.lineWidth * 1.2));
    painter.setBrush(Qt::NoBrush);
    const double ring = layout_.ringRadius * 1.5;
    painter.drawEllipse(at, ring, ring);
    painter.setPen(QPen(QColor(0x9E, 0x9E, 0x9E), layout_.lineWidth * 0.8));
    painter.setBrush(QColor(0xFF, 0xFD, 0xE7));
    painter.drawRoundedRect(box, h / 4, h / 4);
    painter.setPen(QColor(0x21, 0x21, 0x21));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        painter.drawText(
            QRectF(box.left() + h / 2, box.top() + h / 4 + h * double(i), box.width() - h / 2, h),
            Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    }
    painter.restore();
}

void LapChart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void LapChart::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        relayout();
}

void LapChart::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    press_ = event->position();
    pressStart_ = model_.viewStart();
    dragging_ = false;
}

void LapChart::mouseMoveEvent(QMouseEvent* event)
{
    pointer_ = event->position();
    if (press_ && (event->buttons() & Qt::LeftButton)) {
        const QPointF moved = event->position() - *press_;
        if (!dragging_ &&
            moved.manhattanLength() >= QGuiApplication::styleHints()->startDragDistance()) {
            dragging_ = true;
            setCursor(Qt::ClosedHandCursor);
        }
        if (dragging_) {
            const ChartMapping& m = layout_.mapping;
            const double span = model_.viewEnd() - model_.viewStart();
            const double start = pressStart_ - moved.x() / m.area.width() * span;
            model_.setViewRange(start, start + span);
            relayout();
        }
        return;
    }
    hoverAt(event->position());
}

void LapChart::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !press_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (!dragging_) {
        const std::optional<ChartHit> hit =
            model_.hitTest(view_, layout_.mapping, *press_, layout_.hitRadius);
        if (hit) {
            const ChartSession& session = model_.sessions()[std::size_t(hit->session)];
            emit lapClicked(session.laps[hit->lap].index);
        }
    }
    press_.reset();
    dragging_ = false;
    unsetCursor();
}

void LapChart::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    model_.resetZoom();
    relayout();
}

void LapChart::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    if (delta.y() == 0 && delta.x() == 0) {
        event->ignore();
        return;
    }
    const ChartMapping& m = layout_.mapping;
    if (delta.y() != 0) {
        model_.zoomAt(m.xAt(event->position().x()), std::pow(kZoomPerNotch, delta.y() / 120.0));
    } else {
        const double span = model_.viewEnd() - model_.viewStart();
        model_.panBy(-delta.x() / 120.0 * kPanPerNotch * span);
    }
    pointer_ = event->position();
    relayout();
    event->accept();
}

void LapChart::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    pointer_.reset();
    if (hover_) {
        hover_.reset();
        update();
    }
}
