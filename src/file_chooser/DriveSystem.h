#pragma once

#include "file_io/FileResult.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// The drives the chooser offers and the folder each drive starts on. On Windows a drive is a
// letter and a colon ("c:"); elsewhere it is the root path of a mounted volume ("/", "/home").
// The chooser reaches the disks only through this interface, so tests can put a failing drive
// in front of it.
class DriveSystem {
public:
    virtual ~DriveSystem() = default;

    // The drives in the order the drive list shows them.
    virtual QStringList drives() const = 0;

    // The drive a folder value lies on, spelled as in drives(); "" when it names none.
    virtual QString driveOf(const QString& folder) const = 0;

    // The root folder of a drive, as a folder value (e.g. "c:\" or "/home").
    virtual QString driveRoot(const QString& drive) const = 0;

    // The drive the chooser falls back to when a drive cannot be read ("c:" on Windows, the
    // volume of "/" elsewhere).
    virtual QString fallbackDrive() const = 0;

    // The folder the drive starts on, or the system's reason why the drive cannot be read.
    virtual FileResult<QString> currentFolder(const QString& drive) const = 0;
};

// The drives of the machine this runs on. The list of drives is read once, when it is first
// asked for: reading it asks every mounted volume for its state, and a chooser asks for it
// at every folder change.
class SystemDrives : public DriveSystem {
public:
    QStringList drives() const override;
    QString driveOf(const QString& folder) const override;
    QString driveRoot(const QString& drive) const override;
    QString fallbackDrive() const override;
    FileResult<QString> currentFolder(const QString& drive) const override;

private:
    mutable std::optional<QStringList> drives_;
};

// Letter case in folder paths: ignored on Windows, significant elsewhere.
#ifdef Q_OS_WIN
inline constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
inline constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

// A folder value in the form the chooser reports it: absolute, cleaned, with the platform's
// separators. Relative values are taken from the working folder.
QString normalFolder(const QString& folder);

// The folder value of a folder that exists and can be listed; "" for any other value.
QString listableFolder(const QString& folder);

// The system's message for a folder that is missing or cannot be listed.
QString folderErrorMessage(const QString& folder);
