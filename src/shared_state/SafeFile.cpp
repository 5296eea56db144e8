#include "shared_state/SafeFile.h"

#include <QFile>
#include <QFileInfo>

SafeFileWriter::SafeFileWriter(const QString& path, InPlace inPlace) : file_(path)
{
    file_.setDirectWriteFallback(inPlace == InPlace::WhenFolderIsLocked);
}

FileResult<> SafeFileWriter::open()
{
    // Unbuffered, so that a short write (disk full) shows in write()'s result: a buffered
    // QSaveFile can lose the error of its last flush and commit a truncated file.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return FileResult<>::failure(file_.errorString());
    return {};
}

FileResult<> SafeFileWriter::write(QByteArrayView bytes)
{
    if (file_.write(bytes.data(), bytes.size()) != bytes.size()) {
        const QString reason = file_.errorString();
        file_.cancelWriting();
        return FileResult<>::failure(reason);
    }
    return {};
}

FileResult<> SafeFileWriter::commit()
{
    if (!file_.commit())
        return FileResult<>::failure(file_.errorString());
    return {};
}

void SafeFileWriter::cancel()
{
    if (file_.isOpen())
        file_.cancelWriting();
}

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
