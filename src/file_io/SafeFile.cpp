#include "file_io/SafeFile.h"

#include "file_io/FileName.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QSaveFile>
#else
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
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

// The name a chain of symbolic links ends at (which need not exist), as QSaveFile follows it.
std::optional<QByteArray> followLinks(QByteArray name)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(name.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return name;
        QByteArray link(4096, '\0');
        const ssize_t n = ::readlink(name.constData(), link.data(), std::size_t(link.size()));
        if (n < 0 || n >= link.size())
            return name;
        link.resize(n);
        if (link.startsWith('/')) {
            name = link;
        } else {
            const qsizetype slash = name.lastIndexOf('/');
            name = (slash < 0 ? QByteArray() : name.left(slash + 1)) + link;
        }
    }
    errno = ELOOP;
    return std::nullopt;
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

} // namespace

struct SafeFileWriter::Impl {
    QString path;
    InPlace inPlace;
    Stream stream;
    QByteArray target;    // the file written, after links
    QByteArray temporary; // the temporary file beside it; empty when the target is written itself
    int fd = -1;
    QString abandoned; // why a failed write gave up

    void close()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        if (!temporary.isEmpty())
            ::unlink(temporary.constData());
        temporary.clear();
    }
};

SafeFileWriter::SafeFileWriter(const QString& path, InPlace inPlace, Stream stream)
    : d_(std::make_unique<Impl>(Impl{path, inPlace, stream, {}, {}, -1, {}}))
{}

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
    const std::optional<QByteArray> target = followLinks(encodeFileName(d_->path));
    if (!target)
        return FileResult<>::failure(reasonOf(errno));
    d_->target = *target;

    struct stat st {};
    const bool exists = ::stat(d_->target.constData(), &st) == 0;
    if (!exists && errno != ENOENT)
        return FileResult<>::failure(reasonOf(errno));
    if (exists && S_ISDIR(st.st_mode))
        return FileResult<>::failure(reasonOf(EISDIR));
    const bool throughLink = d_->target != encodeFileName(d_->path);
    const bool keepNode = S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) || throughLink;
    if (exists && !S_ISREG(st.st_mode) && (keepNode || d_->stream == Stream::WriteThrough)) {
        if (d_->stream == Stream::Refuse)
            return FileResult<>::failure(QStringLiteral("not a regular file"));
        d_->fd = ::open(d_->target.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (d_->fd < 0)
            return FileResult<>::failure(reasonOf(errno));
        struct stat opened {};
        if (::fstat(d_->fd, &opened) == 0 && S_ISREG(opened.st_mode)) {
            d_->close(); // replaced by a regular file meanwhile: not to be written in place
            return FileResult<>::failure(QStringLiteral("changed while it was opened"));
        }
        return {};
    }
    if (exists && ::access(d_->target.constData(), W_OK) != 0)
        return FileResult<>::failure(reasonOf(errno));

    // The temporary file is private until it takes the old file's permissions; a new file gets
    // the usual ones (0666 less the umask).
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        d_->temporary = d_->target + '.' + randomSuffix();
        d_->fd = ::open(d_->temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                        exists ? 0600 : 0666);
        error = d_->fd < 0 ? errno : 0;
    }
    if (d_->fd < 0) {
        d_->temporary.clear();
        if (error == EACCES && exists && d_->inPlace == InPlace::WhenFolderIsLocked) {
            d_->fd = ::open(d_->target.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
            if (d_->fd >= 0)
                return {};
            error = errno;
        }
        return FileResult<>::failure(reasonOf(error));
    }
    if (exists)
        (void)::fchmod(d_->fd, st.st_mode & 07777);
    return {};
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
    if (::close(fd) != 0) {
        const QString reason = reasonOf(errno);
        d_->close();
        return FileResult<>::failure(reason);
    }
    if (!d_->temporary.isEmpty() &&
        ::rename(d_->temporary.constData(), d_->target.constData()) != 0) {
        const QString reason = reasonOf(errno);
        d_->close();
        return FileResult<>::failure(reason);
    }
    d_->temporary.clear();
    return {};
}

void SafeFileWriter::cancel()
{
    d_->close();
}

#endif

FileResult<> saveWholeFile(const QString& path, QByteArrayView bytes)
{
    SafeFileWriter writer(path);
    if (auto opened = writer.open(); !opened)
        return opened;
    if (auto written = writer.write(bytes); !written)
        return written;
    return writer.commit();
}

FileResult<QByteArray> readRegularFile(const QString& path, qint64 maxBytes)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return FileResult<QByteArray>::failure(QStringLiteral("not a regular file"));
    if (!file.open(QIODevice::ReadOnly))
        return FileResult<QByteArray>::failure(file.errorString());
    QByteArray bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return FileResult<QByteArray>::failure(file.errorString());
    return bytes;
}
