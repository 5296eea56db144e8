#pragma once

#include "shared_state/SharedState.h"

#include <QDialog>

class DriveSystem;
class FileList;
class FolderList;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Shows the file chooser modally for state.FILE_TYPE over the real drives and folders, and
// returns when the user has left it. The result is in state.GET_NAME (and, on "OK", the mode's
// folder and PORT_OPEN_FLG).
void showFileForm(SharedState& state, QWidget* parent);

// The proposed name of a text file to be saved.
inline constexpr char kProposedTextName[] = "LAP_TXT_DATA";
// Hover hint of the file list in the text modes.
inline constexpr char kTextHint[] = "テキスト選択時は複数選択できません。";

// What the chooser is for, from SharedState::FILE_TYPE: kModeBilLoad picks lap record files,
// kModeTextSave names a text file to write, and any other mode picks a text file to load.
enum class ChooserMode { BilLoad, TextLoad, TextSave };
ChooserMode chooserModeOf(const QString& fileType);

// The tool's file chooser: drive list, folder list, file list and, when saving, a name entry.
// It reads the mode and the mode's folder from the shared state when it is made, and writes
// its result back when it is left: "OK" accepts, "CANCEL" and the window's close button reject.
// Make a new one for every showing.
//
// Child object names: "Drive1", "Dir1", "File1", "Label1", "Text1", and the buttons "OK_BOT_0"
// ("OK") and "OK_BOT_1" ("CANCEL").
class File_Form : public QDialog {
    Q_OBJECT
public:
    // Runs the opening steps at once. Unreadable drives are reported in a warning box over the
    // chooser.
    File_Form(SharedState& state, const DriveSystem& drives, QWidget* parent = nullptr);

    ChooserMode mode() const { return mode_; }

public slots:
    // "OK": the chosen names and the folder go to the shared state.
    void accept() override;
    // "CANCEL", the window's own close button and Alt+F4: nothing is chosen.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void load();
    bool setDrive(const QString& drive);
    void driveChange();
    void folderChange();

    SharedState& state_;
    const DriveSystem& drives_;
    const ChooserMode mode_;
    QString drive_; // the drive whose change was last handled

    QComboBox* Drive1 = nullptr;
    FolderList* Dir1 = nullptr;
    FileList* File1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* OK_BOT[2] = {nullptr, nullptr};
};
