#pragma once

#include "analysis_window/AnalysisSource.h"
#include "lap_analysis/LapCsv.h"
#include "lap_analysis/LapData.h"
#include "lap_analysis/SessionStats.h"

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

class LapChart;
class LapListModel;
class QLabel;
class QLocale;
class QModelIndex;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class SummaryPanel;
class QTableView;

// Asks where to save; proposed is a whole path. Returns the chosen path, "" to cancel.
using SaveNameFn = std::function<QString(QWidget* parent, const QString& proposed)>;

// The "Lap analysis" window: the summary, the lap list and the lap chart of the lap table in
// the main window's view, and the CSV export of its laps. It follows the view: a change of the
// text is analysed again after a short pause, so typing stays instant. While it is hidden it
// only notes that the text changed.
class AnalysisWindow : public QWidget {
    Q_OBJECT

public:
    explicit AnalysisWindow(AnalysisSource& source, QWidget* parent = nullptr);
    ~AnalysisWindow() override;

    // Test hook: what "Export CSV…" shows instead of the save dialog. A failed export shows
    // the tool's warning box (see WarningBoxHook).
    void setSaveName(SaveNameFn saveName);

    // Reads the view and analyses it now instead of after the pause.
    void refresh();

    const std::vector<LapData>& laps() const { return laps_; }
    const SessionStats& stats() const { return stats_; }
    const std::vector<std::int64_t>& skippedLines() const { return skippedLines_; }
    bool holdsTable() const;
    LapChart* chart() const { return chart_; }
    LapListModel* lapModel() const { return model_; }

    // The CSV file name proposed for this session, in the text folder.
    QString proposedCsvPath() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void viewChanged();
    void toggleLap(std::size_t lap, bool counted);
    void setExcludeLimit(int percent);
    void showLapInView(const QModelIndex& current);
    void exportCsv();

private:
    // A user's choice follows its lap through edits of the view: a lap is known by its number,
    // its time and how many laps before it have both.
    using LapKey = std::tuple<std::int64_t, std::int32_t, int>;
    LapKey keyOf(std::size_t lap) const;
    void analyse();
    void showAnalysis();
    void feedChart();

    AnalysisSource& source_;
    SaveNameFn saveName_;
    QTimer pause_;
    bool stale_ = true;

    std::vector<LapData> laps_;
    SpeedUnit unit_ = SpeedUnit::Kmh;
    bool headerFound_ = false;
    std::vector<std::int64_t> skippedLines_;
    AnalysisOptions options_;
    std::map<LapKey, bool> userChoices_;
    SessionStats stats_;

    QStackedWidget* pages_ = nullptr;
    QLabel* noTable_ = nullptr;
    SummaryPanel* summary_ = nullptr;
    QSpinBox* excludeLimit_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QTableView* lapList_ = nullptr;
    LapListModel* model_ = nullptr;
    LapChart* chart_ = nullptr;
};

// The CSV dialect of a locale: ";" with "," decimals where the decimal point is ",".
CsvDialect csvDialectForLocale(const QLocale& locale);
