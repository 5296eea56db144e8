#pragma once

#include "lap_analysis/LapTableReader.h"
#include "lap_analysis/SessionAnalysis.h"
#include "lap_analysis/SessionSummary.h"
#include "lap_analysis/Sessions.h"

#include <QObject>
#include <cstddef>
#include <cstdint>
#include <vector>

// The analysis a window shows, owned in one place: the sessions of a lap table, their figures
// and the user's choices of laps. Whatever shows it (the lap list, the sessions side by side,
// the summary, the chart) observes changed() and reads it anew; nothing is kept in step by hand.
// It is fed a whole table text, with the files of the "bil load" that made it where known.
class AnalysisDocument : public QObject {
    Q_OBJECT

public:
    enum class Change {
        Laps,    // new laps and sessions: positions and rows are new
        Figures, // the same laps, counted otherwise: every figure may differ
    };

    explicit AnalysisDocument(QObject* parent = nullptr);

    // Takes a table text and the files it came from (see SessionFeed::addTable). A user's choice
    // stays with its lap (see SessionAnalysis::load).
    void load(LapTableText table, LoadedFiles files = {});

    // The same in three steps, so that the analysis, the long step, runs on another thread while
    // the document is still shown and changed: prepareLoad() copies the user's limit and choices,
    // Load::run() analyses (it touches nothing but the Load), finishLoad() takes the result in,
    // unless the limit or a choice changed after prepareLoad(): then it returns false and the
    // result is dropped, out of date.
    class Load {
    public:
        void run(LapTableText table, LoadedFiles files);

    private:
        friend class AnalysisDocument;
        SessionAnalysis analysis_;
        std::uint64_t generation_ = 0;
        bool headerFound_ = false;
        bool sessionsFromFiles_ = false;
        std::vector<std::int64_t> skippedLines_;
        LoadedFiles files_;
    };
    Load prepareLoad() const;
    bool finishLoad(Load&& load);

    // Counts or leaves out a lap by the user's choice.
    void setLapCounted(std::size_t lap, bool counted);
    // See SessionAnalysis::setExcludeSlowerPercent.
    void setExcludeSlowerPercent(double percent);
    void resetChoices();

    const SessionAnalysis& analysis() const { return analysis_; }
    bool headerFound() const { return headerFound_; }
    // A table with laps.
    bool holdsTable() const { return headerFound_ && !analysis_.laps().empty(); }
    // The sessions come from the files of the "bil load", not from the text.
    bool sessionsFromFiles() const { return sessionsFromFiles_; }
    // 1-based lines after the header that are not lap lines.
    const std::vector<std::int64_t>& skippedLines() const { return skippedLines_; }
    const LoadedFiles& files() const { return files_; }
    // What the figures do not cover: the file where reading stopped and why, the files not
    // read after it, the lines of the text that are not laps (file name "").
    SummaryNotes notes() const;

signals:
    void changed(AnalysisDocument::Change change);

private:
    SessionAnalysis analysis_;
    std::uint64_t generation_ = 0; // counts the changes of limit and choices
    bool headerFound_ = false;
    bool sessionsFromFiles_ = false;
    std::vector<std::int64_t> skippedLines_;
    LoadedFiles files_;
};
