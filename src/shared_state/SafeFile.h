#pragma once

#include "shared_state/FileResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

// Writes a file that appears complete or not at all: the bytes go to a temporary file beside
// the target, which replaces the target only on commit(). A failed or abandoned write leaves the
// old file as it was and no temporary file behind.
//
// One exception: in a folder where no new file can be made (a shared or locked-down folder) but
// the target exists and may be written, the target is written in place. A failure part-way then
// leaves it half-written; without this, such a file could not be saved at all.
class SafeFileWriter {
public:
    enum class InPlace { WhenFolderIsLocked, Never };

    // A writer that is never committed leaves the target as it was. InPlace::Never refuses the
    // in-place fallback, for outputs that promise never to be left half-written.
    explicit SafeFileWriter(const QString& path, InPlace inPlace = InPlace::WhenFolderIsLocked);
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    FileResult<> open();
    FileResult<> write(QByteArrayView bytes);
    // Puts the written file in place.
    FileResult<> commit();
    // Abandons the write: the target stays as it was.
    void cancel();

private:
    QSaveFile file_;
};

// Replaces the file at path with bytes, as SafeFileWriter does.
FileResult<> saveWholeFile(const QString& path, QByteArrayView bytes);

// Reads at most maxBytes from the start of path, which must be a regular file: a pipe or a
// device under the name could block or never end.
FileResult<QByteArray> readRegularFile(const QString& path, qint64 maxBytes);
