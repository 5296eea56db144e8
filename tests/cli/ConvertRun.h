#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <functional>

// One run of the built miren-convert: its exit status (-2 when it crashed, -1 when it hung) and
// what it wrote.
struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// A finished process as a Run; a process still running after timeoutMs is killed.
inline Run finish(QProcess& p, int timeoutMs)
{
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(5000);
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

// A session CSV without its session and session_name columns: the laps alone, to compare runs
// whose inputs have other names (the test names hold no delimiter).
inline QByteArray lapColumns(const QByteArray& csv)
{
    QByteArray laps;
    for (const QByteArray& row : csv.split('\n')) {
        if (row.isEmpty())
            continue;
        const char delimiter = row.contains(';') ? ';' : row.contains('\t') ? '\t' : ',';
        const qsizetype first = row.indexOf(delimiter);
        laps += row.mid(row.indexOf(delimiter, first + 1) + 1) + '\n';
    }
    return laps;
}

inline Run convert(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(MIREN_CONVERT_PATH), args);
    return finish(p, 60000);
}

// A run given input on its standard input; inChild (POSIX) runs in the new process before the
// program starts, to set limits or close descriptors. Gives up after timeoutMs.
inline Run convertWith(const QStringList& args, const QByteArray& input,
                       const std::function<void()>& inChild = {}, int timeoutMs = 20000)
{
    QProcess p;
#ifdef Q_OS_UNIX
    if (inChild)
        p.setChildProcessModifier(inChild);
#else
    Q_UNUSED(inChild);
#endif
    p.start(QStringLiteral(MIREN_CONVERT_PATH), args);
    if (!p.waitForStarted(timeoutMs))
        return {};
    p.write(input);
    p.closeWriteChannel();
    return finish(p, timeoutMs);
}
