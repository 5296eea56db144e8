#pragma once

#include "lap_analysis/LapData.h"
#include "lap_analysis/SessionStats.h"

#include <QWidget>
#include <cstdint>
#include <span>
#include <vector>

class QGridLayout;
class QLabel;

// The session at a glance: best lap, theoretical and rolling best with the laps they came from,
// consistency, the peaks with their laps, and how many laps count and which lines are not laps.
// Each figure is a label named for it, so it can be read out on its own.
class SummaryPanel : public QWidget {
    Q_OBJECT

public:
    explicit SummaryPanel(QWidget* parent = nullptr);

    void showSession(std::span<const LapData> laps, SpeedUnit unit, const SessionStats& stats,
                     const std::vector<std::int64_t>& skippedLines);

private:
    QLabel* addRow(QGridLayout* grid, const QString& caption, const char* name);
    void set(const char* name, const QString& text);
};
