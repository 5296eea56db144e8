#pragma once

#include "file_io/FileResult.h"

#include <QListWidget>
#include <QString>

// The chooser's file list: the ordinary files of one folder whose names match a pattern,
// sorted by name. Several entries may be selected (extended selection).
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    // Sets the name pattern ("*.BIL") and lists the folder again. Names match without regard
    // to letter case: a card copied to a case-sensitive file system may carry ".bil".
    void setPattern(const QString& pattern);
    QString pattern() const { return pattern_; }

    // Lists another folder. When the folder cannot be listed, the current listing stays and the
    // result gives the system's reason.
    FileResult<> setFolder(const QString& folder);
    // The listed folder as a folder value (absolute, platform separators).
    QString folder() const { return folder_; }

    // The names of the selected entries, in list order.
    QStringList selectedNames() const;

private:
    void relist();

    QString pattern_ = QStringLiteral("*");
    QString folder_;
};
