#pragma once

#include "file_io/FileResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>

// Writes a file that appears complete or not at all: the bytes go to a temporary file beside
// the target, which replaces the target only on commit(). A failed or abandoned write leaves the
// old file as it was and no temporary file behind. A target that is a symbolic link is followed:
// the file it names is replaced, the link stays.
//
// One exception: in a folder where no new file can be made (a shared or locked-down folder) but
// the target exists and may be written, the target is written in place. A failure part-way then
// leaves it half-written; without this, such a file could not be saved at all.
//
// A device, and a FIFO or socket that a link leads to, is never replaced: renaming over it would
// put a file in the place of a node that may belong to the system (a link to /dev/null). By
// default such a write is refused; with Stream::WriteThrough the bytes go straight to the node
// (a FIFO or /dev/null just takes them), as a shell's `>` would send them. A FIFO or socket that
// stands at the name itself is replaced like any file there, unless written through.
//
// On POSIX the name may be one decodeFileName() made (file_io/FileName.h), and a failure's
// reason is the system's own (No space left on device, File too large).
class SafeFileWriter {
public:
    enum class InPlace { WhenFolderIsLocked, Never };
    enum class Stream { Refuse, WriteThrough };

    // A writer that is never committed leaves the target as it was. InPlace::Never refuses the
    // in-place fallback, for outputs that promise never to be left half-written.
    explicit SafeFileWriter(const QString& path, InPlace inPlace = InPlace::WhenFolderIsLocked,
                            Stream stream = Stream::Refuse);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    FileResult<> open();
    // A failed write abandons the file, as cancel() does.
    FileResult<> write(QByteArrayView bytes);
    // Puts the written file in place.
    FileResult<> commit();
    // Abandons the write: the target stays as it was.
    void cancel();

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// Replaces the file at path with bytes, as SafeFileWriter does.
FileResult<> saveWholeFile(const QString& path, QByteArrayView bytes);

// Reads at most maxBytes from the start of path, which must be a regular file: a pipe or a
// device under the name could block or never end.
FileResult<QByteArray> readRegularFile(const QString& path, qint64 maxBytes);
