#pragma once

#include "analysis_window/AnalysisSource.h"
#include "lap_conversion/ConvertCommand.h"
#include "settings/FolderSettings.h"
#include "shared_state/SharedState.h"
#include "shared_state/TextView.h"

#include <QTextCursor>
#include <QWidget>
#include <memory>
#include <vector>

class AnalysisWindow;
class LibraryLink;
struct LoadedSession;
class QCloseEvent;
class QPlainTextEdit;
class QPushButton;
class QResizeEvent;

// The main window: the lap table view, the three command buttons, the button of the analysis
// window and the shared state. It reads the remembered folders when it is created and writes
// them back when it is closed, if the chooser was confirmed during the run.
//
// The view is a QPlainTextEdit, which holds blocks rather than line ends. The mapping:
// - CR LF is a block break and reads back as CR LF; so does a paragraph separator (U+2029),
//   which the text box cannot hold as a character.
// - A lone CR or LF is an ordinary character of its line, as in the text files: it is shown as
//   the control picture U+240D or U+240A, marked as a stand-in, and reads back as CR or LF.
//   A control picture typed or loaded as such stays what it is.
// - U+FDD0 and U+FDD1, which the text engine would take as frame marks and break the line at,
//   are shown as the replacement character U+FFFD, marked as stand-ins, and read back as they
//   were. A replacement character typed or loaded as such stays what it is.
// - Every other character is kept as it is (no-break spaces included).
// So any text round-trips exactly through append(), text() and readText(), except that U+2029
// comes back as CR LF.
class KorvelLoader : public QWidget, public TextView, public AnalysisSource {
    Q_OBJECT

public:
    // settingsPath: the folder settings file, by default the bare name in the working folder.
    explicit KorvelLoader(const QString& settingsPath = QString::fromLatin1(kSettingsFileName),
                          QWidget* parent = nullptr);
    ~KorvelLoader() override;

    SharedState& state() { return state_; }
    const QString& settingsPath() const { return settingsPath_; }

    // Test hook: what the buttons show instead of the chooser. Warnings go to the tool's
    // warning box (see WarningBoxHook).
    void setChooser(ShowChooserFn chooser);

    // TextView over Text1.
    void clear() override;
    void append(QStringView text) override;
    QString text() const override;
    bool isEmpty() const override;
    void readText(const std::function<void(QStringView)>& take) const override;

    // AnalysisSource over Text1.
    const QTextDocument* lapDocument() const override;
    void showLapLine(int line) override;
    QString lapFileName() const override { return lapFileName_; }
    QString textFolder() const override { return state_.PASS_NAME1; }
    QString lapFolder() const override { return state_.PASS_NAME2; }
    LoadedFiles lapFiles() const override;

    // The analysis window, once "Analysis" has been pressed.
    AnalysisWindow* analysisWindow() const { return analysisWindow_.get(); }
    // The lap library's windows.
    LibraryLink& libraryLink() { return *libraryLink_; }
    // Puts sessions of the lap library into the view, as "bil load" of their lap files would,
    // with their titles for the analysis; then shows the analysis window.
    void loadLibrarySessions(const std::vector<LoadedSession>& sessions);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void bilLoad();
    void textLoad();
    void textSave();
    void showAnalysis();
    void showLibrary();
    void placeBeside(QWidget& other) const;

private:
    class FillScope;

    void runChooser(const char* mode);
    void warn(const QString& message);
    void beginFill();
    void endFill();
    void keepLapFiles(LapFileLoad& load);

    SharedState state_;
    QString settingsPath_;
    ShowChooserFn chooser_;

    QPlainTextEdit* Text1 = nullptr;
    QPushButton* BIL_load = nullptr;
    QPushButton* FILE_LOAD = nullptr;
    QPushButton* FILE_SAVE = nullptr;
    QPushButton* ANALYSIS = nullptr;
    QPushButton* LIBRARY = nullptr;

    // A top-level window of its own, so it can sit beside or behind the main window.
    std::unique_ptr<AnalysisWindow> analysisWindow_;
    QString lapFileName_;
    // The files of the last "bil load" that filled the view, and a cursor at the start of each
    // one's first lap line (-1 without one): the view moves the cursors along with its edits.
    LapFileLoad lapLoad_;
    std::vector<QTextCursor> lapAnchors_;
    // The titles of the files when they came from the lap library, else none.
    std::vector<std::string> lapTitles_;
    std::unique_ptr<LibraryLink> libraryLink_;

    // While a command fills the view, its changes go through one edit block with undo off, so
    // the view is laid out once per command and a big table costs no undo memory.
    int fillDepth_ = 0;
    bool filled_ = false;
    QTextCursor fillCursor_;
};
