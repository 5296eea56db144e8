#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// The dialogs the library's windows show, each a seam that tests replace. Warnings go to the
// tool's warning box (tool_window/ToolWindow.h, WarningBoxHook).
struct LibraryDialogs {
    // Lap files to import, starting in folder; none to cancel.
    std::function<QStringList(QWidget* parent, const QString& folder)> openLapFiles;
    // A folder to import, searched for lap files; "" to cancel.
    std::function<QString(QWidget* parent, const QString& folder)> openFolder;
    // Where to start a new library, proposed is a whole path; "" to cancel.
    std::function<QString(QWidget* parent, const QString& proposed)> newLibrary;
    // A question with its answers, the first the default; the answer's index, -1 to cancel.
    std::function<int(QWidget* parent, const QString& text, const QStringList& answers)> ask;

    // The standard file dialogs and a question box with the tool's caption.
    static LibraryDialogs standard();
};
