#pragma once

#include "lap_library/LibraryComparison.h"
#include "lap_library/LapLibrary.h"
#include "library_window/ComparisonDialog.h"
#include "library_window/LibraryAccess.h"
#include "library_window/LibraryDialogs.h"
#include "library_window/LibraryWindow.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class AnalysisSource;
class AnalysisWindow;

// The lap library beside the main window and its analysis window: opens the "Lap library"
// window, takes its sessions into the table, tells the analysis window which of the loaded
// sessions the library lacks ("Add to library"), prints their sheets in its report and compares
// its laps. A session of the table is the library's when it was loaded from it, or when its lap
// file's bytes are the library's (by their hash).
class LibraryLink : public QObject {
    Q_OBJECT

public:
    // Takes the library's sessions into the main window's table, as "bil load" would.
    using LoadFn = LibraryWindow::LoadFn;

    LibraryLink(AnalysisSource& source, LoadFn load, QWidget* mainWindow,
                std::unique_ptr<LibraryAccess> access = {});
    ~LibraryLink() override;

    // Test hook: the dialogs of the library window and of the analysis window's "Add to
    // library".
    void setDialogs(LibraryDialogs dialogs);

    LibraryAccess& access() { return *access_; }
    // The library window, made at the first call.
    LibraryWindow& libraryWindow();
    void showLibrary();
    // Closes the library's windows, which ends their edits.
    void closeWindows();
    // Gives the analysis window its library buttons and its report's sheets.
    void attach(AnalysisWindow& window);

    // The library's session of the table's lap file (LoadedFiles order); nothing when it has
    // none or the table was not filled from files.
    std::optional<std::int64_t> librarySessionOf(std::size_t file);
    // The lap files of the table the library does not have, as paths.
    QStringList filesMissing();
    // The comparison of the analysis window's laps (positions in its laps).
    void compareLaps(const std::vector<std::size_t>& laps);
    ComparisonDialog* comparisonDialog() const { return comparison_; }

    // Notes the sessions just loaded from the library into the table.
    void loaded(const std::vector<LoadedSession>& sessions);

private:
    void updateAnalysis();
    std::optional<QString> hashOfFile(const QString& path);
    LibraryResult<ComparisonReference> analysisReference(const ReferenceChoice& choice,
                                                         const std::vector<ComparedLap>& laps);

    AnalysisSource& source_;
    LoadFn load_;
    QWidget* mainWindow_;
    std::unique_ptr<LibraryAccess> access_;
    std::unique_ptr<LibraryWindow> window_;
    std::optional<LibraryDialogs> dialogs_;
    QPointer<AnalysisWindow> analysis_;
    QPointer<ComparisonDialog> comparison_;
    // The sessions last loaded from the library, by their title, in the table's order.
    std::vector<std::pair<std::string, std::int64_t>> loaded_;
    // Hashes of lap files read, by path, while their size and time stay.
    struct Hashed {
        qint64 size = -1;
        QDateTime modified;
        QString sha256;
    };
    std::map<QString, Hashed> hashes_;
    // The analysis's laps being compared, by their position then.
    std::vector<std::size_t> comparedLaps_;
};
