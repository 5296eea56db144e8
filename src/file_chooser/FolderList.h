#pragma once

#include "file_io/FileResult.h"

#include <QListWidget>
#include <QString>

class DriveSystem;

// The chooser's folder list: the folders from the drive's root down to the current folder,
// then the current folder's subfolders, each level indented one step further. Opening an entry
// (double-click or Enter) makes it the current folder.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    FolderList(const DriveSystem& drives, QWidget* parent = nullptr);

    // Makes folder the current folder. Emits pathChanged() before returning when the folder
    // differs from the current one. When the folder cannot be listed, the list stays as it was
    // and the result gives the system's reason.
    FileResult<> setPath(const QString& folder);
    // The current folder as a folder value (absolute, platform separators).
    QString path() const { return path_; }

signals:
    void pathChanged(const QString& folder);

private:
    void open(const QModelIndex& index);
    void rebuild();

    const DriveSystem& drives_;
    QString path_;
};
