#include "text_files/TextCommands.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

int main()
{
    QTemporaryDir dir;
    const QString crlf = dir.filePath("crlf.txt"), lf = dir.filePath("lf.txt");
    QByteArray line(492, 'x');
    line += "\r\n";
    QByteArray bytes;
    while (bytes.size() < 50 * 1000 * 1000)
        bytes += line;
    {
        QFile f(crlf);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    bytes.replace("\r\n", "\n");
    {
        QFile f(lf);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    for (const QString& p : {crlf, lf}) {
        MemoryTextView v;
        QElapsedTimer t;
        t.start();
        const bool ok = loadTextFromFile(p, v).ok();
        const qint64 ms = t.elapsed();
        std::printf("load %s: %lld MB in %lld ms (%s, %lld chars)\n",
                    qPrintable(QFileInfo(p).fileName()), (long long)QFileInfo(p).size() / 1000000,
                    (long long)ms, ok ? "ok" : "FAILED", (long long)v.text().size());
        t.restart();
        const bool saved = saveTextToFile(dir.filePath("out.txt"), v).ok();
        std::printf("save %lld chars: %lld ms (%s)\n", (long long)v.text().size(),
                    (long long)t.elapsed(), saved ? "ok" : "FAILED");
    }
}
