#include "lap_library/ZipArchive.h"

#include <QCoreApplication>
#include <QSet>
#include <QStringList>
#include <array>

namespace {

constexpr quint32 kLocalHeader = 0x04034b50;
constexpr quint32 kCentralHeader = 0x02014b50;
constexpr quint32 kEndOfDirectory = 0x06054b50;
constexpr quint16 kUtf8Names = 0x0800;
constexpr qsizetype kLocalHeaderSize = 30, kCentralHeaderSize = 46, kEndSize = 22;

void put16(QByteArray& out, quint32 value)
{
    out.append(char(value & 0xff)).append(char(value >> 8 & 0xff));
}

void put32(QByteArray& out, quint32 value)
{
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

quint32 get16(QByteArrayView in, qsizetype at)
{
    return quint32(quint8(in[at])) | quint32(quint8(in[at + 1])) << 8;
}

quint32 get32(QByteArrayView in, qsizetype at)
{
    return get16(in, at) | get16(in, at + 2) << 16;
}

// A name as a message shows it: a control character would act on the terminal.
QString shownName(QString name)
{
    for (QChar& c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QChar(0xFFFD);
    return name;
}

} // namespace

quint32 crc32Of(QByteArrayView bytes)
{
    static const auto table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (char byte : bytes)
        crc = table[(crc ^ quint8(byte)) & 0xff] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

bool isSafeEntryName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(u'/') || name.contains(u'\\') || name.contains(u':'))
        return false;
    for (QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    QString path = name;
    if (path.endsWith(u'/'))
        path.chop(1);
    for (const QString& part : path.split(u'/'))
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    return true;
}

QByteArray writeZip(const std::vector<ZipEntry>& entries, const QDateTime& time)
{
    const QDateTime local = time.toLocalTime();
    const QDate date = local.date();
    const quint32 dosTime = quint32(local.time().hour() << 11 | local.time().minute() << 5 |
                                    local.time().second() / 2);
    const quint32 dosDate =
        date.year() >= 1980 ? quint32((date.year() - 1980) << 9 | date.month() << 5 | date.day())
                            : quint32(1 << 5 | 1);
    QByteArray out, directory;
    for (const ZipEntry& entry : entries) {
        const QByteArray name = entry.name.toUtf8();
        const quint32 crc = crc32Of(entry.data);
        const auto offset = quint32(out.size());
        put32(out, kLocalHeader);
        put16(out, 10);
        put16(out, kUtf8Names);
        put16(out, 0); // stored
        put16(out, dosTime);
        put16(out, dosDate);
        put32(out, crc);
        put32(out, quint32(entry.data.size()));
        put32(out, quint32(entry.data.size()));
        put16(out, quint32(name.size()));
        put16(out, 0);
        out.append(name).append(entry.data);

        put32(directory, kCentralHeader);
        put16(directory, 3 << 8 | 20); // made on Unix, zip 2.0
        put16(directory, 10);
        put16(directory, kUtf8Names);
        put16(directory, 0);
        put16(directory, dosTime);
        put16(directory, dosDate);
        put32(directory, crc);
        put32(directory, quint32(entry.data.size()));
        put32(directory, quint32(entry.data.size()));
        put16(directory, quint32(name.size()));
        put16(directory, 0);
        put16(directory, 0);
        put16(directory, 0);
        put16(directory, 0);
        put32(directory, 0100644u << 16); // a regular file, rw-r--r--
        put32(directory, offset);
        directory.append(name);
    }
    const auto directoryOffset = quint32(out.size());
    out.append(directory);
    put32(out, kEndOfDirectory);
    put16(out, 0);
    put16(out, 0);
    put16(out, quint32(entries.size()));
    put16(out, quint32(entries.size()));
    put32(out, quint32(directory.size()));
    put32(out, directoryOffset);
    put16(out, 0);
    return out;
}

std::optional<std::vector<ZipEntry>> readZip(QByteArrayView archive, QString& error,
                                             const ZipLimits& limits)
{
    const auto fail = [&error](const QString& reason) {
        error = reason;
        return std::nullopt;
    };
    if (archive.size() > limits.maxTotalBytes + 1024 * 1024)
        return fail(QCoreApplication::translate("ZipArchive", "the zip is too large"));
    // The end record is at the end, before a comment of at most 65535 bytes.
    qsizetype end = -1;
    for (qsizetype at = archive.size() - kEndSize; at >= 0 && at >= archive.size() - kEndSize - 65535;
         --at) {
        if (get32(archive, at) == kEndOfDirectory &&
            at + kEndSize + qsizetype(get16(archive, at + 20)) == archive.size()) {
            end = at;
            break;
        }
    }
    if (end < 0)
        return fail(QCoreApplication::translate("ZipArchive", "it is not a zip file"));
    const quint32 count = get16(archive, end + 10);
    const quint32 directorySize = get32(archive, end + 12);
    const quint32 directoryOffset = get32(archive, end + 16);
    if (get16(archive, end + 4) != 0 || get16(archive, end + 6) != 0 ||
        get16(archive, end + 8) != count)
        return fail(QCoreApplication::translate("ZipArchive", "zips of several parts are not read"));
    if (count == 0xffff || directoryOffset == 0xffffffffu)
        return fail(QCoreApplication::translate("ZipArchive", "zip64 archives are not read"));
    if (qint64(count) > limits.maxEntries)
        return fail(QCoreApplication::translate("ZipArchive", "the zip holds too many entries"));
    if (qint64(directoryOffset) + directorySize > end)
        return fail(QCoreApplication::translate("ZipArchive", "the zip's directory lies outside the file"));

    std::vector<ZipEntry> entries;
    QSet<QString> names;
    qint64 total = 0;
    qsizetype at = directoryOffset;
    const qsizetype directoryEnd = qsizetype(directoryOffset) + directorySize;
    for (quint32 i = 0; i < count; ++i) {
        if (at + kCentralHeaderSize > directoryEnd || get32(archive, at) != kCentralHeader)
            return fail(QCoreApplication::translate("ZipArchive", "the zip's directory is damaged"));
        const quint32 flags = get16(archive, at + 8);
        const quint32 method = get16(archive, at + 10);
        const quint32 crc = get32(archive, at + 16);
        const quint32 packed = get32(archive, at + 20);
        const quint32 size = get32(archive, at + 24);
        const qsizetype nameLength = get16(archive, at + 28);
        const qsizetype extraLength = get16(archive, at + 30);
        const qsizetype commentLength = get16(archive, at + 32);
        const quint32 localOffset = get32(archive, at + 42);
        if (at + kCentralHeaderSize + nameLength + extraLength + commentLength > directoryEnd)
            return fail(QCoreApplication::translate("ZipArchive", "the zip's directory is damaged"));
        const QByteArrayView rawName = archive.sliced(at + kCentralHeaderSize, nameLength);
        const QString name = (flags & kUtf8Names) ? QString::fromUtf8(rawName)
                                                  : QString::fromLatin1(rawName);
        at += kCentralHeaderSize + nameLength + extraLength + commentLength;

        if (!isSafeEntryName(name))
            return fail(QCoreApplication::translate("ZipArchive", "the entry \"%1\" would leave the folder it is unpacked into")
                            .arg(shownName(name)));
        if (names.contains(name))
            return fail(QCoreApplication::translate("ZipArchive", "the entry \"%1\" is there twice").arg(shownName(name)));
        names.insert(name);
        if (flags & 0x0001)
            return fail(QCoreApplication::translate("ZipArchive", "the entry \"%1\" is encrypted").arg(shownName(name)));
        if (size == 0xffffffffu || packed == 0xffffffffu || localOffset == 0xffffffffu)
            return fail(QCoreApplication::translate("ZipArchive", "zip64 archives are not read"));
        if (qint64(size) > limits.maxEntryBytes || qint64(packed) > limits.maxEntryBytes)
            return fail(QCoreApplication::translate("ZipArchive", "the entry \"%1\" is too large").arg(shownName(name)));
        if (method != 0 || packed != size)
            return fail(QCoreApplication::translate("ZipArchive", "the entry \"%1\" is compressed; only stored entries are read").arg(shownName(name)));
        total += size;
        if (total > limits.maxTotalBytes)
            return fail(QCoreApplication::translate("ZipArchive", "the zip's entries are too large together"));

        const qsizetype local = localOffset;
        if (local + kLocalHeaderSize > qsizetype(directoryOffset) ||
            get32(archive, local) != kLocalHeader)
            return fail(QCoreApplication::translate("ZipArchive", "the entry \"%1\" is damaged").arg(shownName(name)));
        const qsizetype dataStart =
            local + kLocalHeaderSize + get16(archive, local + 26) + get16(archive, local + 28);
        if (dataStart + qsizetype(size) > qsizetype(directoryOffset) ||
            archive.sliced(local + kLocalHeaderSize, get16(archive, local + 26)) != rawName)
            return fail(QCoreApplication::translate("ZipArchive", "the entry \"%1\" is damaged").arg(shownName(name)));
        const QByteArrayView data = archive.sliced(dataStart, size);
        if (crc32Of(data) != crc)
            return fail(QCoreApplication::translate("ZipArchive", "the entry \"%1\" fails its checksum").arg(shownName(name)));
        if (name.endsWith(u'/')) {
            if (size != 0)
                return fail(QCoreApplication::translate("ZipArchive", "the entry \"%1\" is damaged").arg(shownName(name)));
            continue;
        }
        entries.push_back({name, data.toByteArray()});
    }
    return entries;
}
