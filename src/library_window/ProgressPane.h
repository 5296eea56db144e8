#pragma once

#include "lap_library/LapLibrary.h"
#include "library_view/ProgressChart.h"

#include <QWidget>

class QComboBox;
class QLabel;

// The progress chart drawn by the library's own painter, with the hover text of a point.
class ProgressChartView : public QWidget {
    Q_OBJECT

public:
    explicit ProgressChartView(QWidget* parent = nullptr);
    void setDays(std::vector<ProgressPoint> days);
    const ProgressChart& chart() const { return chart_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    ProgressChart chart_;
};

// The progress of one track layout (and vehicle) over the days: the chart and the choice of the
// layout and vehicle. The other filters of the window hold too.
class ProgressPane : public QWidget {
    Q_OBJECT

public:
    explicit ProgressPane(QWidget* parent = nullptr);
    // Fills the choices from the library; suggestion (a session's track, layout and vehicle)
    // is chosen when nothing is yet.
    void reload(LapLibrary& library, const SessionSheet* suggestion);
    // Shows the progress under filter, with the pane's track, layout and vehicle.
    void showProgress(LapLibrary& library, SessionFilter filter);
    ProgressChartView* chartView() const { return chart_; }

signals:
    void choiceChanged();

protected:
    void changeEvent(QEvent* event) override;

private:
    void setCaptions();

    QLabel* trackLabel_ = nullptr;
    QLabel* vehicleLabel_ = nullptr;
    QComboBox* track_ = nullptr;
    QComboBox* vehicle_ = nullptr;
    ProgressChartView* chart_ = nullptr;
};
