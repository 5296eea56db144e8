#pragma once

#include "lap_analysis/AnalysisDocument.h"
#include "lap_analysis/SessionAnalysis.h"

#include <QWidget>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class QGridLayout;
class QLabel;

// The session at a glance: best lap, theoretical and rolling best with the laps they came from,
// consistency, the peaks with their laps, and how many laps count and which lines are not laps.
// Over several sessions it shows one of them, or the day over all of them. Each figure is a label
// named for it, so it can be read out on its own. It follows the document's changes.
class SummaryPanel : public QWidget {
    Q_OBJECT

public:
    explicit SummaryPanel(QWidget* parent = nullptr);

    // The document it sums up; the caller owns it, and it outlives the panel.
    void setDocument(const AnalysisDocument* document);
    // Sums up one session, or with nothing (or a session no longer there) the day, or the one
    // session when there is only one.
    void showSession(std::optional<std::size_t> session);

    // What the summary says beside the figures: lines of the view that are not laps, the fault
    // that cut the view short ("" for none), and whether the sessions were found in the text,
    // so each takes the unit of the header above it.
    struct Notes {
        std::vector<std::int64_t> skippedLines;
        QString fault;
        bool unitsFromHeaders = false;
    };

    // One session's figures.
    void showSession(const SessionAnalysis& analysis, std::size_t session, const Notes& notes);
    // The day over all sessions: its figures with the sessions and laps they came from, one line
    // per speed unit when the units differ.
    void showDay(const SessionAnalysis& analysis, const Notes& notes);

signals:
    // The user follows the link to a line of the view that is not a lap line (1-based).
    void lineClicked(qint64 line);

protected:
    void changeEvent(QEvent* event) override;

private:
    // caption: the English source text, translated now and again at each language change.
    QLabel* addRow(QGridLayout* grid, const char* caption, const char* name);
    void set(const char* name, const QString& text);
    void showNotes(const Notes& notes, const QString& counts);
    void showDocument();
    QString faultNote() const;

    const AnalysisDocument* document_ = nullptr;
    std::optional<std::size_t> session_;
    std::vector<std::pair<QLabel*, const char*>> captions_;
};
