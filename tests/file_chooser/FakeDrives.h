#pragma once

#include "file_chooser/DriveSystem.h"

#include <QDir>
#include <QList>

// Drives with made-up letters, each rooted at a folder of the test; a drive with an error text
// cannot be read and reports that text.
class FakeDrives : public DriveSystem {
public:
    struct Drive {
        QString name;
        QString root;
        QString error;
    };

    QList<Drive> list;
    QString fallback = QStringLiteral("c:");
    mutable int currentFolderCalls = 0;

    QStringList drives() const override
    {
        QStringList names;
        for (const Drive& d : list)
            names << d.name;
        return names;
    }
    QString driveOf(const QString& folder) const override
    {
        if (folder.isEmpty())
            return QString();
        const QString path = normalFolder(folder);
        for (const Drive& d : list) {
            if (path == d.root || path.startsWith(d.root + QDir::separator()))
                return d.name;
        }
        return QString();
    }
    QString driveRoot(const QString& drive) const override { return find(drive).root; }
    QString fallbackDrive() const override { return fallback; }
    FileResult<QString> currentFolder(const QString& drive) const override
    {
        ++currentFolderCalls;
        const Drive d = find(drive);
        if (!d.error.isEmpty())
            return FileResult<QString>::failure(d.error);
        return d.root;
    }

private:
    Drive find(const QString& name) const
    {
        for (const Drive& d : list) {
            if (d.name == name)
                return d;
        }
        return {};
    }
};
