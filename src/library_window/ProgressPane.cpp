#include "library_window/ProgressPane.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QVBoxLayout>

ProgressChartView::ProgressChartView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("progressChart"));
    setMouseTracking(true);
    setMinimumHeight(200);
}

void ProgressChartView::setDays(std::vector<ProgressPoint> days)
{
    chart_.setDays(std::move(days));
    update();
}

void ProgressChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    chart_.paint(painter, rect());
}

void ProgressChartView::mouseMoveEvent(QMouseEvent* event)
{
    const ProgressLayout layout = chart_.layout(rect(), QFontMetricsF(font(), this));
    const auto hit = chart_.hitTest(layout, event->position());
    if (hit)
        QToolTip::showText(event->globalPosition().toPoint(), chart_.hitText(*hit), this);
    else
        QToolTip::hideText();
}

ProgressPane::ProgressPane(QWidget* parent) : QWidget(parent)
{
    trackLabel_ = new QLabel;
    vehicleLabel_ = new QLabel;
    track_ = new QComboBox;
    track_->setObjectName(QStringLiteral("progressTrack"));
    vehicle_ = new QComboBox;
    vehicle_->setObjectName(QStringLiteral("progressVehicle"));
    trackLabel_->setBuddy(track_);
    vehicleLabel_->setBuddy(vehicle_);
    for (QComboBox* box : {track_, vehicle_})
        connect(box, &QComboBox::activated, this, &ProgressPane::choiceChanged);
    chart_ = new ProgressChartView;
    auto* row = new QHBoxLayout;
    row->addWidget(trackLabel_);
    row->addWidget(track_);
    row->addSpacing(12);
    row->addWidget(vehicleLabel_);
    row->addWidget(vehicle_);
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(chart_, 1);
    setCaptions();
}

void ProgressPane::setCaptions()
{
    trackLabel_->setText(tr("Track"));
    vehicleLabel_->setText(tr("Vehicle"));
    if (vehicle_->count() > 0)
        vehicle_->setItemText(0, tr("All vehicles"));
}

void ProgressPane::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        setCaptions();
    QWidget::changeEvent(event);
}

void ProgressPane::reload(LapLibrary& library, const SessionSheet* suggestion)
{
    const QVariant track = track_->currentData();
    const QVariant vehicle = vehicle_->currentData();
    track_->clear();
    for (const auto& [t, l] : library.trackLayouts())
        track_->addItem(l.isEmpty() ? t : t + QStringLiteral(" / ") + l, QStringList{t, l});
    vehicle_->clear();
    vehicle_->addItem(tr("All vehicles"), QString());
    for (const QString& v : library.values(LapLibrary::Field::Vehicle))
        vehicle_->addItem(v, v);
    int trackIndex = track_->findData(track);
    int vehicleIndex = vehicle_->findData(vehicle);
    if (trackIndex < 0 && suggestion) {
        trackIndex = track_->findData(QStringList{suggestion->track, suggestion->layout});
        vehicleIndex = vehicle_->findData(suggestion->vehicle);
    }
    track_->setCurrentIndex(std::max(0, trackIndex));
    vehicle_->setCurrentIndex(std::max(0, vehicleIndex));
}

void ProgressPane::showProgress(LapLibrary& library, SessionFilter filter)
{
    const QStringList track = track_->currentData().toStringList();
    if (track.size() != 2) {
        chart_->setDays({});
        return;
    }
    filter.track = track[0];
    filter.layout = track[1];
    filter.vehicle = vehicle_->currentData().toString();
    std::vector<ProgressDay> days = library.progress(filter);
    // A layout of "" matches every layout of the track: keep the one chosen.
    std::erase_if(days, [&](const ProgressDay& d) { return d.layout != track[1]; });
    chart_->setDays(progressPoints(days));
}
