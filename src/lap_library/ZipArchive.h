#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// A small zip of stored (uncompressed) entries: enough for a session bundle, and small enough to
// read with every size and offset checked. Entry names are UTF-8 paths with "/" between folders.

struct ZipEntry {
    QString name;
    QByteArray data;
};

// The zip of the entries, each stamped with time (local time, as zip keeps it).
QByteArray writeZip(const std::vector<ZipEntry>& entries, const QDateTime& time);

struct ZipLimits {
    int maxEntries = 64;
    qint64 maxEntryBytes = 256 * 1024 * 1024;
    qint64 maxTotalBytes = 512 * 1024 * 1024;
};

// The entries of a zip, folder entries left out. Refused, with the reason in error: anything
// that is not a well-formed zip of stored entries (compressed, encrypted or zip64 entries
// included), an entry whose bytes fail their CRC-32, a name that could leave the folder it is
// unpacked into (see isSafeEntryName), a name given twice, and entries beyond the limits.
std::optional<std::vector<ZipEntry>> readZip(QByteArrayView archive, QString& error,
                                             const ZipLimits& limits = {});

// A relative path that stays inside its folder on any system: no "..", "." or empty part, no
// leading "/", no "\", no ":" (drive letters, Windows streams), no control characters.
bool isSafeEntryName(const QString& name);

// The CRC-32 of zip (and PNG, gzip).
quint32 crc32Of(QByteArrayView bytes);
