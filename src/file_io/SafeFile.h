#pragma once

#include "file_io/FileResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <memory>

// Writes a file that appears complete or not at all: the bytes go to a temporary file beside
// the target, which is synced to disk and then takes the target's name on commit(); the folder
// is synced after the rename, so that a power cut leaves the old file or the whole new one. A
// failed or abandoned write leaves the old file as it was and no temporary file behind. The new
// file keeps the old one's permissions, and its owner where the process may give it.
//
// Temporary files are named ".<name>.miren-XXXXXX" (for a name too long for that, ".miren-", a
// hash of the name and "-XXXXXX"): the next write of the same target removes those a killed
// run left.
//
// A symbolic link is followed by the system, never by this code, so its rules for links in
// shared folders (fs.protected_symlinks) hold: the file it leads to is replaced, the link stays.
//
// One exception: in a folder where no new file can be made (a shared or locked-down folder) but
// the target exists and may be written, the target is written in place. A failure part-way then
// leaves it half-written; without this, such a file could not be saved at all.
//
// A device, and a FIFO or socket that a link leads to, is never replaced: renaming over it would
// put a file in the place of a node that may belong to the system (a link to /dev/null). By
// default such a write is refused; with Stream::WriteThrough the bytes go straight to the node
// (a FIFO or /dev/null just takes them), as a shell's `>` would send them, and a link to the
// file that standard output is open on (/dev/stdout) writes to standard output itself, so that
// `>>` keeps appending. A FIFO or socket that stands at the name itself is replaced like any
// file there, unless written through.
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
FileResult<> saveWholeFile(const QString& path, QByteArrayView bytes,
                           SafeFileWriter::InPlace inPlace = SafeFileWriter::InPlace::WhenFolderIsLocked);

// What a commit syncs: the written file before it takes the target's name, then the folder.
enum class SyncStep { File, Folder };
// Stands in for fsync() in the writer on POSIX, for tests: gets the descriptor and the step,
// returns 0 or the system's error. An empty function restores fsync().
using SyncFn = std::function<int(int fd, SyncStep step)>;
void setSyncFunction(SyncFn sync);

// Reads at most maxBytes from the start of path, which must be a regular file (links followed):
// a pipe or a device under the name could block or never end, and is never opened for reading.
FileResult<QByteArray> readRegularFile(const QString& path, qint64 maxBytes);
