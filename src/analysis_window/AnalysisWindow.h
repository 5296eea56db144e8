#pragma once

#include "analysis_window/AnalysisSource.h"
#include "lap_analysis/AnalysisDocument.h"
#include "lap_analysis/LapCsv.h"
#include "lap_analysis/LapData.h"
#include "lap_analysis/SessionAnalysis.h"
#include "report_dialogs/ReportDialogs.h"

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class LanguageBox;
class LapChart;
class LapListModel;
class LimitSpinBox;
class QComboBox;
class QLabel;
class QLocale;
class QModelIndex;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class QTabWidget;
class QTableView;
class LapTextMirror;
class SessionTableModel;
class SummaryPanel;

// Asks where to save; proposed is a whole path. Returns the chosen path, "" to cancel.
using SaveNameFn = std::function<QString(QWidget* parent, const QString& proposed)>;

// The "Lap analysis" window: the summary, the lap list, the comparison of the sessions and the
// lap-time chart of the lap table in the main window's view, and the CSV export of its laps. A
// session is one lap file; the session selector shows all of them (the day) or one. It follows
// the view: a change of the text is read into the document again after a short pause, so typing
// stays instant. While it is hidden it only notes that the text changed. The document owns the
// analysis and every part of the window observes it; the window lays them out. The exports are
// in AnalysisExports.cpp.
class AnalysisWindow : public QWidget {
    Q_OBJECT

public:
    explicit AnalysisWindow(AnalysisSource& source, QWidget* parent = nullptr);
    ~AnalysisWindow() override;

    // Test hook: what "Export CSV…" shows instead of the save dialog. A failed export shows
    // the tool's warning box (see WarningBoxHook).
    void setSaveName(SaveNameFn saveName);

    // Test hooks: what "Save as PDF…" asks for a name and what "Print…" shows.
    void setReportSaveName(ReportSaveNameFn saveName);
    void setPrintDialog(PrintDialogFn printDialog);

    // The report "Print…" and "Save as PDF…" give of what the window holds.
    SessionReport report() const;
    // The PDF name proposed, in the text folder.
    QString proposedPdfName() const;

    // Reads the view and analyses it now instead of after the pause.
    void refresh();
    // Reads the view now and analyses it on another thread, as a pause in the view's changes
    // does: the window shows the analysis before it, and takes typing, until it is done.
    void analyseInBackground();
    bool analysing() const { return worker_.joinable(); }

    AnalysisDocument& document() { return document_; }
    const SessionAnalysis& analysis() const { return document_.analysis(); }
    // Every lap of the view, session after session; a lap is known by its position here.
    const std::vector<LapData>& laps() const { return analysis().laps(); }
    // The statistics of what is shown: the selected session's (its lap positions count from its
    // first lap), or with all sessions shown those of all laps as one list.
    const SessionStats& stats() const;
    // The session shown, nothing when all are.
    std::optional<std::size_t> shownSession() const { return shown_; }
    void showSession(std::optional<std::size_t> session);
    // The sessions come from the files of the "bil load" that filled the view, not from the
    // lap numbers.
    bool sessionsFromFiles() const { return document_.sessionsFromFiles(); }
    const std::vector<std::int64_t>& skippedLines() const { return document_.skippedLines(); }
    bool holdsTable() const { return document_.holdsTable(); }
    LapChart* chart() const { return chart_; }
    LapListModel* lapModel() const { return model_; }

    // The CSV file name proposed for this session, in the text folder.
    QString proposedCsvPath() const;

    // The lap library's part, set by the main window: "Add to library" for the loaded sessions
    // the library lacks (hidden for none), and what finishes the report (the sessions' sheets).
    void setAddToLibrary(int count);
    using ReportFinishFn = std::function<void(SessionReport& report)>;
    void setReportFinish(ReportFinishFn finish);
    // The laps of the list's selected rows, in the list's order; "Compare…" takes 2 to 8.
    std::vector<std::size_t> selectedLaps() const;

signals:
    void addToLibraryRequested();
    void compareRequested(const std::vector<std::size_t>& laps);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void viewChanged();
    void selectSession(int index);
    void showLapInView(const QModelIndex& current);
    void exportCsv();
    void saveAsPdf();
    void print();

private:
    void documentChanged(AnalysisDocument::Change change);
    QString proposedExportPath(const QString& suffix) const;
    void showColumns();
    void updateSelector();
    void fitWidth();
    void analysed(AnalysisDocument::Load&& load, quint64 textGeneration);
    void fitWidthToSessions(std::size_t sessionsBefore);
    std::optional<std::size_t> selectedLap() const;

    AnalysisSource& source_;
    AnalysisDocument document_;
    SaveNameFn saveName_;
    ReportSaveNameFn reportSaveName_ = pdfSaveDialog();
    PrintDialogFn printDialog_ = systemPrintDialog();
    QTimer pause_;
    bool stale_ = true;
    // The thread of the re-analysis running, if any; each read of the view's text counts up
    // textGeneration_, so the result of an older text is dropped. again_: the text changed
    // while it ran.
    std::thread worker_;
    quint64 textGeneration_ = 0;
    bool again_ = false;
    // The view's lines, kept in step with its changes, so reading them costs no walk over the
    // view's blocks.
    std::unique_ptr<LapTextMirror> lines_;

    std::optional<std::size_t> shown_;
    QStringList sessionTitles_; // the selector's entries after "All sessions"

    QStackedWidget* pages_ = nullptr;
    QLabel* noTable_ = nullptr;
    QWidget* sessionRow_ = nullptr;
    QComboBox* selector_ = nullptr;
    SummaryPanel* summary_ = nullptr;
    QScrollArea* summaryScroll_ = nullptr;
    bool widthFitted_ = false;
    std::function<void()> setCaptions_;
    LimitSpinBox* excludeLimit_ = nullptr;
    QPushButton* resetButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* pdfButton_ = nullptr;
    LanguageBox* language_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTableView* lapList_ = nullptr;
    LapListModel* model_ = nullptr;
    QTableView* comparison_ = nullptr;
    SessionTableModel* comparisonModel_ = nullptr;
    LapChart* chart_ = nullptr;
    QPushButton* addToLibrary_ = nullptr;
    QPushButton* compareButton_ = nullptr;
    int addToLibraryCount_ = 0;
    ReportFinishFn reportFinish_;
};

// The CSV dialect of a locale: ";" with "," decimals where the decimal point is ",".
CsvDialect csvDialectForLocale(const QLocale& locale);
