#include "lap_library/LapFileScan.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

QStringList LapFileScan::lapFilesIn(const QString& folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (file.endsWith(QLatin1String(".bil"), Qt::CaseInsensitive))
            found << file;
    }
    found.sort();
    return found;
}

FileResult<QByteArray> LapFileScan::read(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return FileResult<QByteArray>::failure(tr("not a regular file"));
    if (!file.open(QIODevice::ReadOnly))
        return FileResult<QByteArray>::failure(file.errorString());
    if (file.size() > kMaxLapFileBytes)
        return FileResult<QByteArray>::failure(tr("larger than 256 MB, not a lap file"));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return FileResult<QByteArray>::failure(file.errorString());
    return bytes;
}
