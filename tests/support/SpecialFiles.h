#pragma once

#include <QFile>
#include <QString>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/sysmacros.h>

// Nodes other than regular files, made by the tests in their own folders, never the system's.

inline bool makeFifo(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// A character device with the numbers of /dev/null (1, 3), or of /dev/full (1, 7), which takes
// no byte ("No space left on device"). Only root may make one: false otherwise.
inline bool makeCharDevice(const QString& path, bool full = false)
{
    return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, full ? 7 : 3)) ==
           0;
}

// What stands at path, links not followed: "fifo", "char device", "link", "file", "folder",
// "missing" or "other".
inline QString nodeKind(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("missing");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("fifo");
    if (S_ISCHR(st.st_mode))
        return QStringLiteral("char device");
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("link");
    if (S_ISREG(st.st_mode))
        return QStringLiteral("file");
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("folder");
    return QStringLiteral("other");
}
#endif
