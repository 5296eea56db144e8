#include "shared_state/SharedState.h"

#include <QDir>
#include <QSaveFile>

QString joinFolder(const QString& folder, const QString& name)
{
    return folder + QDir::separator() + name;
}

QString saveWholeFile(const QString& path, const QByteArray& bytes)
{
    // Unbuffered, so that a short write (disk full) shows in write()'s result: a buffered
    // QSaveFile can lose the error of its last flush and commit a truncated file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}
