#include "cli/ConvertMessages.h"

#include "cli/ConvertOptions.h"
#include "file_io/FileName.h"

#include <QCoreApplication>
#include <QDir>
#include <cerrno>
#include <cstdio>
#include <cstring>

void printErr(const QString& text)
{
    // Names that are not valid UTF-8 go out as the bytes they were given as.
    std::fprintf(stderr, "miren-convert: %s\n", encodeFileName(text).constData());
}

int usageError(const QString& reason)
{
    printErr(reason);
    const QString hint = QCoreApplication::translate(
        "MirenConvert", "Try 'miren-convert --help' for more information.");
    std::fprintf(stderr, "%s\n%s\n", usageText().toLocal8Bit().constData(),
                 hint.toLocal8Bit().constData());
    return kExitUsage;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QString native(const QString& path)
{
    return path.isEmpty() ? QStringLiteral("\"\"") : QDir::toNativeSeparators(path);
}
