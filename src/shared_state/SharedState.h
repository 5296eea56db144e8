#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

// Truth values of the shared flags: -1 true, 0 false.
inline constexpr qint16 kTrue = -1;
inline constexpr qint16 kFalse = 0;

// Chooser modes; the mode is also the chooser's caption.
inline constexpr char kModeBilLoad[] = "BIL LOAD";
inline constexpr char kModeTextLoad[] = "TEXT LOAD";
inline constexpr char kModeTextSave[] = "TEXT SAVE";

// Fixed warning texts of the commands.
inline constexpr char kWarnNonFile[] = "!! non file !!";
inline constexpr char kWarnNonData[] = "!! non DATA !!";

// The state the main window owns for the whole run and shares with the commands and the chooser.
struct SharedState {
    QString PASS_NAME1;            // folder of text files
    QString PASS_NAME2;            // folder of lap record files
    QString FILE_TYPE;             // chooser mode, set by the button before the chooser is shown
    qint16 PORT_OPEN_FLG = kFalse; // kTrue: write the folders back at exit
    // Chooser result: "" when nothing was chosen; in "BIL LOAD" mode every chosen name followed
    // by one carriage return, in list order; in the text modes one name.
    QString GET_NAME;
};

// Shows a message to the user; the window shows a warning box, tests record the text.
using WarningFn = std::function<void(const QString& message)>;

// Shows the file chooser modally for state.FILE_TYPE and returns when it has closed.
using ShowChooserFn = std::function<void(SharedState& state)>;

// Joins a folder and a file name with the platform's separator, as they stand: a folder that
// already ends in a separator gives two in a row, which the file system accepts.
QString joinFolder(const QString& folder, const QString& name);
