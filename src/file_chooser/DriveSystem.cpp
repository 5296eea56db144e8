#include "file_chooser/DriveSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <cerrno>
#include <iterator>

#ifdef Q_OS_WIN
#include <direct.h>
#include <windows.h>
#else
#include <dirent.h>
#endif

QString listableFolder(const QString& folder)
{
    if (folder.isEmpty())
        return QString();
    const QString path = normalFolder(folder);
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() ? path : QString();
}

QString normalFolder(const QString& folder)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(folder).absolutePath()));
}

#ifdef Q_OS_WIN

QString folderErrorMessage(const QString& folder)
{
    const std::wstring path = QDir::toNativeSeparators(folder).toStdWString();
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return qt_error_string(int(GetLastError()));
    return qt_error_string(ERROR_PATH_NOT_FOUND);
}

QStringList SystemDrives::drives() const
{
    QStringList result;
    for (const QFileInfo& drive : QDir::drives())
        result << drive.absolutePath().left(2).toLower();
    return result;
}

QString SystemDrives::driveOf(const QString& folder) const
{
    // A folder value names its drive by its first two characters.
    const QString drive = folder.left(2).toLower();
    return drives().contains(drive) ? drive : QString();
}

QString SystemDrives::driveRoot(const QString& drive) const
{
    return drive + QLatin1Char('\\');
}

QString SystemDrives::fallbackDrive() const
{
    return QStringLiteral("c:");
}

FileResult<QString> SystemDrives::currentFolder(const QString& drive) const
{
    // Asking for the root first makes a drive without a medium report "not ready" rather than
    // hand back a remembered folder.
    const std::wstring root = driveRoot(drive).toStdWString();
    if (GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES)
        return FileResult<QString>::failure(qt_error_string(int(GetLastError())));
    const int number = drive.isEmpty() ? 0 : drive.at(0).toLower().unicode() - 'a' + 1;
    wchar_t buffer[MAX_PATH * 2];
    if (!_wgetdcwd(number, buffer, int(std::size(buffer)))) {
        // The C runtime reports through errno, not through the system's last error.
        wchar_t message[256];
        _wcserror_s(message, std::size(message), errno);
        return FileResult<QString>::failure(QString::fromWCharArray(message));
    }
    return QString::fromWCharArray(buffer);
}

#else

QString folderErrorMessage(const QString& folder)
{
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return qt_error_string(errno);
    closedir(dir);
    return qt_error_string(ENOENT);
}

namespace {

// Volumes that hold no user files: kernel interfaces, and memory file systems for the system's
// own use.
bool isPseudoVolume(const QStorageInfo& volume)
{
    static const QByteArrayList pseudoTypes = {
        "autofs",     "binfmt_misc", "bpf",      "cgroup",   "cgroup2",     "configfs",
        "debugfs",    "devpts",      "devtmpfs", "efivarfs", "fusectl",     "hugetlbfs",
        "mqueue",     "nsfs",        "proc",     "pstore",   "ramfs",       "rpc_pipefs",
        "securityfs", "selinuxfs",   "sysfs",    "tracefs",  "fuse.portal", "fuse.gvfsd-fuse",
    };
    const QByteArray type = volume.fileSystemType();
    if (pseudoTypes.contains(type))
        return true;
    const QString root = volume.rootPath();
    const auto under = [&root](const char* top) {
        const QString t = QString::fromLatin1(top);
        return root == t || root.startsWith(t + QLatin1Char('/'));
    };
    if (under("/proc") || under("/sys"))
        return true;
    return type == "tmpfs" && (under("/dev") || under("/run"));
}

bool isWithin(const QString& folder, const QString& root)
{
    if (root == QLatin1String("/"))
        return folder.startsWith(QLatin1Char('/'));
    return folder == root || folder.startsWith(root + QLatin1Char('/'));
}

} // namespace

QStringList SystemDrives::drives() const
{
    if (drives_)
        return *drives_;
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && !isPseudoVolume(volume) && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    }
    // "/" first, then the others by path.
    std::sort(roots.begin(), roots.end(), [](const QString& a, const QString& b) {
        if ((a == QLatin1String("/")) != (b == QLatin1String("/")))
            return a == QLatin1String("/");
        return a < b;
    });
    drives_ = roots;
    return roots;
}

QString SystemDrives::driveOf(const QString& folder) const
{
    if (folder.isEmpty())
        return QString();
    // The innermost volume whose root holds the folder; decided on the path alone, so that a
    // folder that no longer exists still maps to its drive.
    const QString path = normalFolder(folder);
    QString best;
    for (const QString& root : drives()) {
        if (isWithin(path, root) && root.size() > best.size())
            best = root;
    }
    return best;
}

QString SystemDrives::driveRoot(const QString& drive) const
{
    return drive;
}

QString SystemDrives::fallbackDrive() const
{
    const QString drive = driveOf(QStringLiteral("/"));
    return drive.isEmpty() ? QStringLiteral("/") : drive;
}

FileResult<QString> SystemDrives::currentFolder(const QString& drive) const
{
    const QStorageInfo volume(drive);
    if (!volume.isValid() || !volume.isReady() || volume.rootPath() != drive) {
        // Unmounted since the list was made: the root is now a plain folder of another volume.
#ifdef ENOMEDIUM
        return FileResult<QString>::failure(qt_error_string(ENOMEDIUM));
#else
        return FileResult<QString>::failure(qt_error_string(ENODEV));
#endif
    }
    DIR* dir = opendir(QFile::encodeName(drive).constData());
    if (!dir)
        return FileResult<QString>::failure(qt_error_string(errno));
    closedir(dir);
    const QString working = normalFolder(QDir::currentPath());
    return driveOf(working) == drive ? working : drive;
}

#endif
