#pragma once

#include "lap_conversion/ConvertCommand.h"
#include "lap_library/SheetMerge.h"
#include "library_window/ImportRunner.h"
#include "library_window/LibraryDialogs.h"

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

class BestsPane;
class ComparisonDialog;
class FilterPane;
class LibraryAccess;
class ProgressPane;
class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTableView;
class QToolButton;
class QUndoStack;
class SessionListModel;
class SheetEditor;

// A session of the library on its way into the main window's table.
struct LoadedSession {
    LapBytes file;
    QString title; // the sheet's track and the date beside the file's name
    std::int64_t session = 0;
};

// The "Lap library" window: the filters, the sessions they let through, and the sheet of the
// session chosen, which is saved as it is edited and can be undone (Ctrl+Z); beside the list the
// personal bests and the progress chart. Lap files and folders are imported in the background
// with a progress bar and Cancel; sessions are deleted after a question, and can be brought
// back until the window closes; the chosen sessions go into the main window's table or into a
// comparison of laps. A library that cannot be opened gets a plain message and the offer of a
// new library elsewhere.
class LibraryWindow : public QWidget {
    Q_OBJECT

public:
    using LoadFn = std::function<void(const std::vector<LoadedSession>& sessions)>;

    explicit LibraryWindow(LibraryAccess& access, QWidget* parent = nullptr);
    ~LibraryWindow() override;

    // Test hook: the dialogs and questions (warnings go to the WarningBoxHook).
    void setDialogs(LibraryDialogs dialogs);
    // What "Load into the table" hands the sessions to.
    void setLoad(LoadFn load);

    // Imports the files (as "Import lap files…" does), then shows their sessions chosen.
    void importFiles(const QStringList& files);
    // Reads the library anew: filters, list, bests and progress.
    void reload();

    std::vector<std::int64_t> selectedSessions() const;
    void selectSessions(const std::vector<std::int64_t>& ids);

    // For tests and the window's parts.
    SessionListModel* sessionModel() const { return model_; }
    QTableView* sessionList() const { return list_; }
    FilterPane* filters() const { return filters_; }
    SheetEditor* sheetEditor() const { return editor_; }
    QUndoStack* undoStack() const { return undo_; }
    ImportRunner& importRunner() { return import_; }
    ComparisonDialog* comparisonDialog() const;
    BestsPane* bestsPane() const { return bests_; }
    ProgressPane* progressPane() const { return progress_; }
    QString statusText() const;

    // Saves target as the sheet of session, which held base when the edit began. Another
    // change made meanwhile is merged with it; where both changed a field, the user chooses.
    // Returns what is saved and what it replaced; nothing when nothing was saved (the user
    // cancelled, or the library refused: the window said why).
    struct Saved {
        DatedSheet sheet, replaced;
    };
    std::optional<Saved> saveSheet(std::int64_t session, DatedSheet base, const DatedSheet& target);
    // Soft removal and its undo; false when the library refused (the window said why).
    bool removeSessions(const std::vector<std::int64_t>& ids, bool remove);

public slots:
    void importLapFiles();
    void importFolder();
    void deleteSelected();
    void loadIntoTable();
    void compareSelected();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setCaptions();
    // Saves a pending edit and makes the deletions final: the end of the window's undo.
    void finishEdits();
    bool openLibrary();
    void startNewLibrary();
    void readSessions();
    void filterChanged();
    void showCurrentSession();
    void sheetEdited(std::int64_t session, const DatedSheet& before, const DatedSheet& after);
    void copyLastSheet();
    void importFinished(const ImportRunner::Result& result);
    void offerSuggestions(const std::vector<ImportOutcome>& outcomes);
    void updateSide();
    void updateButtons();
    void setStatus(const QString& text);
    QString sessionTitle(const SessionInfo& info) const;

    LibraryAccess& access_;
    LibraryDialogs dialogs_ = LibraryDialogs::standard();
    LoadFn load_;
    ImportRunner import_;
    QUndoStack* undo_ = nullptr;
    std::map<std::int64_t, std::int64_t> revisions_; // per session, as last read or saved
    QString lastFolder_;
    bool removedAny_ = false;

    QStackedWidget* pages_ = nullptr;
    QLabel* problem_ = nullptr;
    QPushButton* newLibrary_ = nullptr;
    FilterPane* filters_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTableView* list_ = nullptr;
    SessionListModel* model_ = nullptr;
    BestsPane* bests_ = nullptr;
    ProgressPane* progress_ = nullptr;
    SheetEditor* editor_ = nullptr;
    QPushButton* importFiles_ = nullptr;
    QPushButton* importFolder_ = nullptr;
    QPushButton* loadButton_ = nullptr;
    QPushButton* compareButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QToolButton* undoButton_ = nullptr;
    QToolButton* redoButton_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* cancelImport_ = nullptr;
    QPointer<ComparisonDialog> comparison_;
};
