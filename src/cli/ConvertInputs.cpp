#include "cli/ConvertInputs.h"

#include "cli/ConvertMessages.h"
#include "file_io/FileName.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QDateTime>
#include <algorithm>
#include <cstdint>
#include <cstdio>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString kStandardInput = QStringLiteral("-");

int standardInputHandle()
{
#ifdef Q_OS_WIN
    return _fileno(stdin);
#else
    return fileno(stdin);
#endif
}

// What tells one version of a regular file from another: a file replaced, or written to, between
// two passes over it differs in one of these.
struct FileIdentity {
    std::uint64_t device = 0, inode = 0;
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds (Windows: milliseconds) since the epoch
    bool operator==(const FileIdentity&) const = default;
};

struct Opened {
    std::unique_ptr<QFile> file;
    bool regular = false;
    FileIdentity identity; // of a regular file
};

// Opens a name for reading, as QFile would but taking every name the shell can pass.
FileResult<Opened> openByName(const QString& name)
{
    // QFile would also complain about an empty name on the process's own error output.
    if (name.isEmpty())
        return FileResult<Opened>::failure(
            QCoreApplication::translate("MirenConvert", "No file name specified"));
    Opened opened;
    opened.file = std::make_unique<QFile>();
#ifdef Q_OS_WIN
    opened.file->setFileName(name);
    if (!opened.file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return FileResult<Opened>::failure(opened.file->errorString());
    const QFileInfo info(name);
    opened.regular = info.isFile();
    opened.identity.size = info.size();
    opened.identity.modified = info.lastModified().toMSecsSinceEpoch();
#else
    const QByteArray bytes = encodeFileName(name);
    int fd = -1;
    do {
        fd = ::open(bytes.constData(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return FileResult<Opened>::failure(systemError());
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const bool folder = S_ISDIR(st.st_mode);
        const QString reason =
            folder ? QCoreApplication::translate("MirenConvert", "file to open is a directory")
                   : systemError();
        ::close(fd);
        return FileResult<Opened>::failure(reason);
    }
    if (!opened.file->open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered,
                           QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FileResult<Opened>::failure(opened.file->errorString());
    }
    opened.regular = S_ISREG(st.st_mode);
    opened.identity = {std::uint64_t(st.st_dev), std::uint64_t(st.st_ino), qint64(st.st_size),
                       qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
#endif
    return opened;
}

} // namespace

struct RunInputs::Input {
    QString name;
    enum class State { Unknown, Regular, Stream } state = State::Unknown;
    FileIdentity identity; // a regular file as it was first opened
    // A stream: its source, opened once, and the copy of what has been read of it.
    std::unique_ptr<QFile> source;
    std::unique_ptr<QTemporaryFile> copy;
    qint64 copied = 0;
    bool ended = false;    // the source gave all it had
    bool consumed = false; // its last pass has begun: nothing more can be read again
    QString failure;       // a read of the source or a write of the copy failed
};

namespace {

// Reads a stream from its start: the copy first, then on from the source, copying what it reads
// when a later pass needs it again.
class StreamCursor : public QIODevice {
public:
    StreamCursor(RunInputs::Input& input, bool keepCopy) : input_(input), keepCopy_(keepCopy)
    {
        QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        RunInputs::Input& in = input_;
        if (position_ < in.copied) {
            if (!in.copy->seek(position_))
                return fail(in.copy->errorString());
            const qint64 n = in.copy->read(data, std::min(maxSize, in.copied - position_));
            if (n <= 0)
                return fail(in.copy->errorString());
            position_ += n;
            return n;
        }
        if (!in.failure.isEmpty())
            return fail(in.failure);
        if (in.ended)
            return 0;
        const qint64 n = in.source->read(data, maxSize);
        if (n < 0) {
            in.failure = in.source->errorString();
            return fail(in.failure);
        }
        if (n == 0) {
            in.ended = true;
            return 0;
        }
        if (keepCopy_) {
            if (!in.copy) {
                in.copy = std::make_unique<QTemporaryFile>();
                if (!in.copy->open())
                    return failCopy();
            }
            if (!in.copy->seek(in.copied) || in.copy->write(data, n) != n)
                return failCopy();
            in.copied += n;
        }
        position_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    qint64 fail(const QString& reason)
    {
        setErrorString(reason);
        return -1;
    }
    qint64 failCopy()
    {
        input_.failure = QCoreApplication::translate(
                             "MirenConvert", "cannot keep a copy in the temporary folder: %1")
                             .arg(input_.copy->errorString());
        return fail(input_.failure);
    }

    RunInputs::Input& input_;
    bool keepCopy_;
    qint64 position_ = 0;
};

} // namespace

RunInputs::RunInputs(const QStringList& names, bool rereads, bool standardInputClosed)
    : rereads_(rereads), standardInputClosed_(standardInputClosed)
{
    for (const QString& name : names) {
        inputs_.push_back(std::make_unique<Input>());
        inputs_.back()->name = name;
    }
}

RunInputs::~RunInputs() = default;

QString RunInputs::shownName(qsizetype i) const
{
    const QString& name = inputs_[std::size_t(i)]->name;
    return name == kStandardInput ? QCoreApplication::translate("MirenConvert", "standard input")
                                  : native(name);
}

FileResult<std::shared_ptr<QIODevice>> RunInputs::open(qsizetype i, Pass pass)
{
    using Result = FileResult<std::shared_ptr<QIODevice>>;
    Input& in = *inputs_[std::size_t(i)];
    if (in.state == Input::State::Unknown) {
        if (in.name == kStandardInput) {
            if (standardInputClosed_)
                return Result::failure(
                    QCoreApplication::translate("MirenConvert", "standard input is closed"));
#ifdef Q_OS_WIN
            _setmode(_fileno(stdin), _O_BINARY);
#endif
            in.source = std::make_unique<QFile>();
            if (!in.source->open(standardInputHandle(), QIODevice::ReadOnly | QIODevice::Unbuffered,
                                 QFileDevice::DontCloseHandle))
                return Result::failure(in.source->errorString());
        } else {
            FileResult<Opened> opened = openByName(in.name);
            if (!opened)
                return Result::failure(opened);
            if (opened.value().regular) {
                in.state = Input::State::Regular;
                in.identity = opened.value().identity;
                return std::shared_ptr<QIODevice>(std::move(opened.value().file));
            }
            in.source = std::move(opened.value().file);
        }
        in.state = Input::State::Stream;
        if (!rereads_) {
            in.consumed = true;
            return std::shared_ptr<QIODevice>(std::move(in.source));
        }
    }
    if (in.state == Input::State::Regular) {
        // Opened again by name for each pass, so a run of many files holds one open at a time;
        // a pass over another version than the one before would mix the two.
        FileResult<Opened> opened = openByName(in.name);
        if (!opened)
            return Result::failure(opened);
        if (!opened.value().regular || !(opened.value().identity == in.identity))
            return Result::failure(
                QCoreApplication::translate("MirenConvert", "changed while it was being read"));
        return std::shared_ptr<QIODevice>(std::move(opened.value().file));
    }
    if (in.consumed)
        return Result::failure(
            QCoreApplication::translate("MirenConvert", "read already; it cannot be read again"));
    in.consumed = pass == Pass::Last;
    return std::shared_ptr<QIODevice>(std::make_shared<StreamCursor>(in, pass == Pass::Again));
}

std::optional<LapInputKind> RunInputs::kind(qsizetype i)
{
    const QString& name = inputs_[std::size_t(i)]->name;
    const auto device = open(i, Pass::Again);
    if (!device)
        return std::nullopt;
    // Where the name decides, only whether there is a byte at all matters.
    const bool byName =
        name.endsWith(u".bil", Qt::CaseInsensitive) || name.endsWith(u".txt", Qt::CaseInsensitive);
    QByteArray head(byName ? 1 : kLapInputSniffBytes, '\0');
    qsizetype filled = 0;
    while (filled < head.size()) {
        const qint64 n = device.value()->read(head.data() + filled, head.size() - filled);
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        filled += qsizetype(n);
    }
    head.resize(filled);
    return lapInputKind(name, head);
}

bool RunInputs::includes(const QString& path) const
{
#ifdef Q_OS_WIN
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty())
        return false;
    for (const auto& in : inputs_) {
        if (in->name != kStandardInput &&
            QFileInfo(in->name).canonicalFilePath().compare(target, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
#else
    struct stat target {};
    if (::stat(encodeFileName(path).constData(), &target) != 0 || S_ISCHR(target.st_mode))
        return false;
    for (const auto& in : inputs_) {
        struct stat st {};
        const bool known =
            in->name == kStandardInput
                ? ::fstat(standardInputHandle(), &st) == 0
                : !in->name.isEmpty() && ::stat(encodeFileName(in->name).constData(), &st) == 0;
        if (known && st.st_dev == target.st_dev && st.st_ino == target.st_ino)
            return true;
    }
    return false;
#endif
}
