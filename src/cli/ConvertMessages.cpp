#include "cli/ConvertMessages.h"

#include "cli/ConvertOptions.h"

#include <QDir>
#include <cerrno>
#include <cstdio>
#include <cstring>

void printErr(const QString& text)
{
    std::fprintf(stderr, "miren-convert: %s\n", text.toLocal8Bit().constData());
}

int usageError(const QString& reason)
{
    printErr(reason);
    std::fprintf(stderr, "%s\nTry 'miren-convert --help' for more information.\n",
                 usageText().toLocal8Bit().constData());
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
