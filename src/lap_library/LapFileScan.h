#pragma once

#include "file_io/FileResult.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Where lap files for the library come from: a folder searched for them, and a file read whole.

// A lap file larger than this is not imported: 1.1 million laps, far beyond any session.
inline constexpr qint64 kMaxLapFileBytes = 256LL * 1024 * 1024;

class LapFileScan {
    Q_DECLARE_TR_FUNCTIONS(LapFileScan)
public:
    // Every *.BIL in any letter case under folder and its subfolders, in name order.
    static QStringList lapFilesIn(const QString& folder);
    // A regular file whole, up to kMaxLapFileBytes: the buffer is as large as the file.
    static FileResult<QByteArray> read(const QString& path);
};
