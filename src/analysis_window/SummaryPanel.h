#pragma once

#include "lap_analysis/SessionAnalysis.h"

#include <QWidget>
#include <cstdint>
#include <utility>
#include <vector>

class QGridLayout;
class QLabel;

// The session at a glance: best lap, theoretical and rolling best with the laps they came from,
// consistency, the peaks with their laps, and how many laps count and which lines are not laps.
// Over several sessions it shows one of them, or the day over all of them. Each figure is a label
// named for it, so it can be read out on its own.
class SummaryPanel : public QWidget {
    Q_OBJECT

public:
    explicit SummaryPanel(QWidget* parent = nullptr);

    // What the summary says beside the figures: lines of the view that are not laps, and the
    // fault that cut the view short ("" for none).
    struct Notes {
        std::vector<std::int64_t> skippedLines;
        QString fault;
    };

    // One session's figures.
    void showSession(const SessionAnalysis& analysis, std::size_t session, const Notes& notes);
    // The day over all sessions: its figures with the sessions and laps they came from, one line
    // per speed unit when the units differ.
    void showDay(const SessionAnalysis& analysis, const Notes& notes);

protected:
    void changeEvent(QEvent* event) override;

private:
    // caption: the English source text, translated now and again at each language change.
    QLabel* addRow(QGridLayout* grid, const char* caption, const char* name);
    void set(const char* name, const QString& text);
    void showNotes(const Notes& notes, const QString& counts);

    std::vector<std::pair<QLabel*, const char*>> captions_;
};
