#pragma once

#include <QString>
#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <QFile>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

// A folder where no new file can be made but whose files may be written (a shared or
// locked-down folder), for the lifetime of this object: the folder is made read-only, and for
// root, whom no permission stops, this thread's file-system user becomes "nobody" meanwhile.
// Its files must be writable by others, and the folders above it searchable.
class LockedFolder {
public:
    explicit LockedFolder(const QString& folder) : folder_(QFile::encodeName(folder))
    {
        ok_ = ::chmod(folder_.constData(), 0555) == 0;
        if (ok_ && ::geteuid() == 0) {
            ::setfsuid(65534);
            ok_ = int(::setfsuid(65534)) == 65534;
        }
    }
    ~LockedFolder()
    {
        if (::geteuid() == 0)
            ::setfsuid(0);
        ::chmod(folder_.constData(), 0755);
    }
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;

    bool ok() const { return ok_; }

private:
    QByteArray folder_;
    bool ok_ = false;
};
#endif
