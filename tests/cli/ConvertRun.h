#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// One run of the built miren-convert: its exit status (-2 when it crashed, -1 when it hung) and
// what it wrote.
struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline Run convert(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(MIREN_CONVERT_PATH), args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2, p.readAllStandardOutput(),
            p.readAllStandardError()};
}
