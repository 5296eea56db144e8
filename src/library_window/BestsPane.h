#pragma once

#include "lap_library/LapLibrary.h"

#include <QTreeWidget>
#include <cstdint>

// The personal bests per track, layout and vehicle of the sessions the filters let through (a
// wet best is not a dry best: choose the conditions): the best lap with its date, the rolling
// best, the ideal lap ("never driven whole") and the best sector times with their sessions.
// Activating a line tells its session.
class BestsPane : public QTreeWidget {
    Q_OBJECT

public:
    explicit BestsPane(QWidget* parent = nullptr);
    void showBests(const std::vector<TrackBests>& bests);

signals:
    void sessionActivated(std::int64_t session);

protected:
    void changeEvent(QEvent* event) override;

private:
    void setCaptions();
    std::vector<TrackBests> shown_;
};
