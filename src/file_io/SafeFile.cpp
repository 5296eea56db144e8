#include "file_io/SafeFile.h"

#include "file_io/FileName.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#ifdef Q_OS_WIN
#include <QSaveFile>
#else
#include <QCryptographicHash>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#endif

#ifdef Q_OS_WIN

// QSaveFile does the work; only a device under the name needs care of its own.
struct SafeFileWriter::Impl {
    Impl(const QString& path, InPlace inPlace, Stream stream)
        : file(path), direct(path), stream(stream)
    {
        file.setDirectWriteFallback(inPlace == InPlace::WhenFolderIsLocked);
    }
    QSaveFile file;
    QFile direct; // a device, written through
    Stream stream;
    bool through = false;
};

SafeFileWriter::SafeFileWriter(const QString& path, InPlace inPlace, Stream stream)
    : d_(std::make_unique<Impl>(path, inPlace, stream))
{}

SafeFileWriter::~SafeFileWriter() = default;

FileResult<> SafeFileWriter::open()
{
    const QFileInfo target(d_->file.fileName());
    if (target.exists() && !target.isFile() && !target.isDir()) {
        if (d_->stream == Stream::Refuse)
            return FileResult<>::failure(QStringLiteral("not a regular file"));
        d_->through = true;
        if (!d_->direct.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return FileResult<>::failure(d_->direct.errorString());
        return {};
    }
    // Unbuffered, so that a short write (disk full) shows in write()'s result: a buffered
    // QSaveFile can lose the error of its last flush and commit a truncated file.
    if (!d_->file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return FileResult<>::failure(d_->file.errorString());
    return {};
}

FileResult<> SafeFileWriter::write(QByteArrayView bytes)
{
    QFileDevice& device =
        d_->through ? static_cast<QFileDevice&>(d_->direct) : static_cast<QFileDevice&>(d_->file);
    if (device.write(bytes.data(), bytes.size()) != bytes.size()) {
        const QString reason = device.errorString();
        cancel();
        return FileResult<>::failure(reason);
    }
    return {};
}

FileResult<> SafeFileWriter::commit()
{
    if (d_->through) {
        if (!d_->direct.isOpen())
            return FileResult<>::failure(QStringLiteral("the write was abandoned"));
        d_->direct.close();
        return {};
    }
    if (!d_->file.commit())
        return FileResult<>::failure(d_->file.errorString());
    return {};
}

void setSyncFunction(SyncFn)
{
    // QSaveFile syncs the file itself before it renames it.
}

void SafeFileWriter::cancel()
{
    if (d_->direct.isOpen())
        d_->direct.close();
    if (d_->file.isOpen())
        d_->file.cancelWriting();
}

#else

namespace {

QString reasonOf(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

SyncFn& syncFunction()
{
    static SyncFn sync;
    return sync;
}

// fsync(), or the test's stand-in: 0 or the system's error.
int syncTo(int fd, SyncStep step)
{
    if (const SyncFn& sync = syncFunction())
        return sync(fd, step);
    return ::fsync(fd) == 0 ? 0 : errno;
}

// The folder part and the last part of a name ("out.txt" is in ".").
std::pair<QByteArray, QByteArray> splitName(const QByteArray& name)
{
    const qsizetype slash = name.lastIndexOf('/');
    if (slash < 0)
        return {QByteArrayLiteral("."), name};
    return {slash == 0 ? QByteArrayLiteral("/") : name.left(slash), name.mid(slash + 1)};
}

// Temporary files of a target are named "<prefix>XXXXXX" beside it: ".<name>.miren-" while that
// fits a name's 255 bytes, else ".miren-" and a hash of the name. A run that was killed leaves
// one behind; the next write of the same target finds it by the prefix.
QByteArray temporaryPrefix(const QByteArray& base)
{
    constexpr qsizetype kNameMax = 255;
    const QByteArray plain = '.' + base + ".miren-";
    if (plain.size() + 6 <= kNameMax)
        return plain;
    const QByteArray hash = QCryptographicHash::hash(base, QCryptographicHash::Sha256).toHex();
    return ".miren-" + hash.left(16) + '-';
}

// Six letters or digits for a temporary file's name.
QByteArray randomSuffix()
{
    static constexpr char kChars[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(6, '\0');
    for (char& c : suffix)
        c = kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))];
    return suffix;
}

// Removes the temporary files a killed run left for the target. A writer holds a lock on its
// temporary file for as long as it writes, which the system drops when the process ends: a file
// that can be locked has no writer left.
void removeStaleTemporaries(int folder, const QByteArray& prefix)
{
    const int listFd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0)
        return;
    DIR* list = ::fdopendir(listFd);
    if (!list) {
        ::close(listFd);
        return;
    }
    std::vector<QByteArray> stale;
    while (const dirent* entry = ::readdir(list)) {
        const QByteArray name(entry->d_name);
        if (name.size() == prefix.size() + 6 && name.startsWith(prefix))
            stale.push_back(name);
    }
    ::closedir(list);
    for (const QByteArray& name : stale) {
        const int fd = ::openat(folder, name.constData(),
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(folder, name.constData(), 0);
        ::close(fd);
    }
}

// The name the system gives the file open at fd, after every link: the kernel followed them
// when it opened the file (and applied its rules for links in shared folders). Linux only.
std::optional<QByteArray> nameOfOpenFile(int fd)
{
    QByteArray name(4096, '\0');
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t n = ::readlink(link.constData(), name.data(), std::size_t(name.size()));
    if (n <= 0 || n >= name.size() || name[0] != '/')
        return std::nullopt;
    name.resize(n);
    return name;
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Only the kernel resolves a link's path: O_PATH opens nothing but the name.
#ifdef O_PATH
constexpr int kNameOnly = O_PATH;
#else
constexpr int kNameOnly = O_RDONLY | O_NONBLOCK | O_NOCTTY;
#endif

} // namespace

void setSyncFunction(SyncFn sync)
{
    syncFunction() = std::move(sync);
}

struct SafeFileWriter::Impl {
    QString path;
    InPlace inPlace;
    Stream stream;
    int fd = -1;
    int folder = -1;       // the target's folder; -1 when a node is written through
    QByteArray base;       // the target's name in folder
    QByteArray temporary;  // the temporary file's name in folder; empty when written in place
    bool createdAtLink = false; // open() made the file a dangling link names
    QString abandoned;     // why a failed write gave up

    void close()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        if (folder >= 0) {
            if (!temporary.isEmpty())
                ::unlinkat(folder, temporary.constData(), 0);
            if (createdAtLink)
                ::unlinkat(folder, base.constData(), 0);
            ::close(folder);
        }
        folder = -1;
        temporary.clear();
        createdAtLink = false;
    }

    FileResult<> fail(int error)
    {
        close();
        return FileResult<>::failure(reasonOf(error));
    }

    FileResult<> openThrough(const QByteArray& name);
    FileResult<> openLink(const QByteArray& name);
    FileResult<> openReplacing(const QByteArray& name, const struct stat* old);
};

// A device or FIFO: the bytes go straight to it, as a shell's `>` sends them.
FileResult<> SafeFileWriter::Impl::openThrough(const QByteArray& name)
{
    if (stream == Stream::Refuse)
        return FileResult<>::failure(QStringLiteral("not a regular file"));
    fd = ::open(name.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    struct stat opened {};
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode)) {
        close(); // replaced by a regular file meanwhile: not to be written in place
        return FileResult<>::failure(QStringLiteral("changed while it was opened"));
    }
    return {};
}

// A symbolic link: the kernel follows it, never this code, and the node it leads to is
// written to or replaced.
FileResult<> SafeFileWriter::Impl::openLink(const QByteArray& name)
{
    int node = ::open(name.constData(), kNameOnly | O_CLOEXEC);
    if (node < 0 && errno == ENOENT) {
        // A link to nothing: the file it names is made, as `>` makes it, and replaced below.
        node = ::open(name.constData(), O_WRONLY | O_CREAT | O_NOCTTY | O_CLOEXEC, 0666);
        createdAtLink = node >= 0;
    }
    if (node < 0)
        return fail(errno);
    struct stat st {};
    struct stat out {};
    const bool ok = ::fstat(node, &st) == 0;
    const int error = errno;
    if (!ok || S_ISDIR(st.st_mode)) {
        ::close(node);
        return fail(ok ? EISDIR : error);
    }
    // The file standard output is open on (/dev/stdout): written through its own open file,
    // so that a shell's `>>` keeps appending and a pipe gets the bytes.
    if (stream == Stream::WriteThrough && ::fstat(STDOUT_FILENO, &out) == 0 && sameFile(st, out)) {
        ::close(node);
        fd = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
        return fd < 0 ? fail(errno) : FileResult<>();
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(node);
        return openThrough(name);
    }
    const std::optional<QByteArray> target = nameOfOpenFile(node);
    ::close(node);
    if (!target) {
        if (createdAtLink) // not to be left behind; the kernel named it through the link
            ::unlink(name.constData());
        createdAtLink = false;
        return FileResult<>::failure(QStringLiteral("the file behind the link cannot be named"));
    }
    return openReplacing(*target, &st);
}

// A regular file or a new one: written aside and renamed over the name. old is what stands
// there now (none for a new file); the name must still lead to it.
FileResult<> SafeFileWriter::Impl::openReplacing(const QByteArray& name, const struct stat* old)
{
    const auto [folderName, baseName] = splitName(name);
    base = baseName;
    if (base.isEmpty())
        return fail(EISDIR);
    folder = ::open(folderName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return fail(errno);
    struct stat st {};
    const bool exists = ::fstatat(folder, base.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT)
        return fail(errno);
    if (bool(old) != exists || (old && !sameFile(*old, st))) {
        close();
        return FileResult<>::failure(QStringLiteral("changed while it was opened"));
    }
    if (exists && ::faccessat(folder, base.constData(), W_OK, 0) != 0)
        return fail(errno);

    removeStaleTemporaries(folder, temporaryPrefix(base));
    // The temporary file is private until it takes the old file's owner and permissions; a new
    // file gets the usual ones (0666 less the umask).
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        temporary = temporaryPrefix(base) + randomSuffix();
        fd = ::openat(folder, temporary.constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, exists ? 0600 : 0666);
        error = fd < 0 ? errno : 0;
        if (fd < 0)
            continue;
        // Held until the file is renamed or removed; see removeStaleTemporaries. A file that a
        // cleaner of another run removed before the lock is given up for another name.
        struct stat made {};
        const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
        if (!locked || ::fstat(fd, &made) != 0 || made.st_nlink == 0) {
            ::close(fd);
            fd = -1;
            error = EEXIST;
        }
    }
    if (fd < 0) {
        temporary.clear();
        if (error == EACCES && exists && inPlace == InPlace::WhenFolderIsLocked) {
            fd = ::openat(folder, base.constData(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
            return fd < 0 ? fail(errno) : FileResult<>();
        }
        return fail(error);
    }
    if (exists) {
        // Another owner where the process may give it (root); otherwise the file becomes the
        // writer's, as any new file would.
        struct stat made {};
        if (::fstat(fd, &made) == 0 && (made.st_uid != st.st_uid || made.st_gid != st.st_gid)) {
            if (::fchown(fd, st.st_uid, st.st_gid) != 0)
                (void)::fchown(fd, uid_t(-1), st.st_gid);
        }
        (void)::fchmod(fd, st.st_mode & 07777);
    }
    return {};
}

SafeFileWriter::SafeFileWriter(const QString& path, InPlace inPlace, Stream stream)
    : d_(std::make_unique<Impl>())
{
    d_->path = path;
    d_->inPlace = inPlace;
    d_->stream = stream;
}

SafeFileWriter::~SafeFileWriter()
{
    cancel();
}

FileResult<> SafeFileWriter::open()
{
    cancel();
    d_->abandoned.clear();
    if (d_->path.isEmpty())
        return FileResult<>::failure(QStringLiteral("No file name specified"));
    const QByteArray name = encodeFileName(d_->path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) {
        if (errno != ENOENT)
            return d_->fail(errno);
        return d_->openReplacing(name, nullptr);
    }
    if (S_ISLNK(st.st_mode))
        return d_->openLink(name);
    if (S_ISDIR(st.st_mode))
        return d_->fail(EISDIR);
    // A device is never replaced; a FIFO or socket standing at the name is, unless written to.
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ||
        (!S_ISREG(st.st_mode) && d_->stream == Stream::WriteThrough))
        return d_->openThrough(name);
    return d_->openReplacing(name, &st);
}

FileResult<> SafeFileWriter::write(QByteArrayView bytes)
{
    if (d_->fd < 0)
        return FileResult<>::failure(d_->abandoned.isEmpty() ? QStringLiteral("not open")
                                                             : d_->abandoned);
    const char* p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(d_->fd, p, std::size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // errno right away: the system's reason, which QFile would report as unknown.
            d_->abandoned = n < 0 ? reasonOf(errno) : reasonOf(ENOSPC);
            d_->close();
            return FileResult<>::failure(d_->abandoned);
        }
        p += n;
        left -= n;
    }
    return {};
}

FileResult<> SafeFileWriter::commit()
{
    if (d_->fd < 0)
        return FileResult<>::failure(d_->abandoned.isEmpty() ? QStringLiteral("not open")
                                                             : d_->abandoned);
    const int fd = d_->fd;
    d_->fd = -1;
    // A file on disk is synced before its name can lead to it, so that a power cut leaves the
    // old file or the whole new one; a node written through has nothing to sync.
    if (d_->folder >= 0) {
        if (const int error = syncTo(fd, SyncStep::File); error != 0) {
            ::close(fd);
            return d_->fail(error);
        }
    }
    if (::close(fd) != 0)
        return d_->fail(errno);
    if (d_->folder < 0)
        return {};
    if (!d_->temporary.isEmpty()) {
        if (::renameat(d_->folder, d_->temporary.constData(), d_->folder, d_->base.constData()) !=
            0)
            return d_->fail(errno);
        d_->temporary.clear();
        d_->createdAtLink = false;
        // The rename itself is kept by syncing the folder that holds the name.
        if (const int error = syncTo(d_->folder, SyncStep::Folder); error != 0)
            return d_->fail(error);
    }
    d_->createdAtLink = false;
    d_->close();
    return {};
}

void SafeFileWriter::cancel()
{
    d_->close();
}

#endif

FileResult<> saveWholeFile(const QString& path, QByteArrayView bytes,
                           SafeFileWriter::InPlace inPlace)
{
    SafeFileWriter writer(path, inPlace);
    if (auto opened = writer.open(); !opened)
        return opened;
    if (auto written = writer.write(bytes); !written)
        return written;
    return writer.commit();
}

FileResult<QByteArray> readRegularFile(const QString& path, qint64 maxBytes)
{
#ifdef Q_OS_WIN
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return FileResult<QByteArray>::failure(QStringLiteral("not a regular file"));
    if (!file.open(QIODevice::ReadOnly))
        return FileResult<QByteArray>::failure(file.errorString());
    QByteArray bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return FileResult<QByteArray>::failure(file.errorString());
    return bytes;
#else
    // Looked at before it is opened (opening a device may act on it), and again once open,
    // without waiting, in case another node took the name meanwhile.
    const QByteArray name = encodeFileName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        return FileResult<QByteArray>::failure(reasonOf(errno));
    if (!S_ISREG(st.st_mode))
        return FileResult<QByteArray>::failure(QStringLiteral("not a regular file"));
    const int fd = ::open(name.constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return FileResult<QByteArray>::failure(reasonOf(errno));
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return FileResult<QByteArray>::failure(QStringLiteral("not a regular file"));
    }
    QByteArray bytes(qsizetype(std::min<qint64>(maxBytes, st.st_size)), '\0');
    qsizetype got = 0;
    while (got < maxBytes) {
        if (got == bytes.size())
            bytes.resize(qsizetype(std::min<qint64>(maxBytes, 2 * got + 4096)));
        const ssize_t n = ::read(fd, bytes.data() + got, std::size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return FileResult<QByteArray>::failure(reasonOf(error));
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    bytes.truncate(got);
    return bytes;
#endif
}
