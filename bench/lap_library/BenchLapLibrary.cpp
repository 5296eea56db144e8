// The lap library's speed and size targets:
// - miren-library import of a folder of 1,000 lap files of 30 laps: at most 3 s; the same folder
//   again (nothing new): at most 0.5 s;
// - bests and progress over a library of 5,000 sessions (150,000 laps): at most 0.2 s each;
// - a command on that library (open, bests) stays within 100 MB resident;
// - the library file is at most 3 times the bytes of the lap files it holds.
#include "BilBuilder.h"
#include "lap_library/LapLibrary.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/wait.h>
#endif

namespace {

// A lap file of 30 laps whose bytes differ from every other n.
QByteArray lapFile(int n)
{
    BilBuilder b;
    b.raw(fullLaps(30));
    b.setRecordWord(0, 4, quint16(6000 + n % 2000));
    b.setRecordWord(1, 4, quint16(6000 + n / 2000));
    return b.bytes();
}

double runSeconds(const QStringList& arguments, long* maxRssKb = nullptr)
{
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(MIREN_LIBRARY_PATH), arguments);
    process.waitForFinished(-1);
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    if (process.exitCode() != 0)
        std::printf("  (exit status %d)\n", process.exitCode());
#ifdef Q_OS_UNIX
    if (maxRssKb) {
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        *maxRssKb = usage.ru_maxrss;
    }
#else
    (void)maxRssKb;
#endif
    return seconds;
}

const char* verdict(bool ok)
{
    return ok ? "ok" : "MISSED";
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("season"));
    QDir().mkpath(folder);
    qint64 folderBytes = 0;
    for (int i = 0; i < 1000; ++i) {
        const QByteArray bytes = lapFile(i);
        QFile f(folder + QStringLiteral("/RUN%1.BIL").arg(i, 4, 10, QLatin1Char('0')));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        folderBytes += bytes.size();
    }
    const QString season = dir.filePath(QStringLiteral("season.sqlite"));
    const QStringList import{QStringLiteral("--library"), season, QStringLiteral("import"), folder};
    const double first = runSeconds(import);
    std::printf("import of 1,000 lap files of 30 laps: %.2f s (target 3 s: %s)\n", first,
                verdict(first <= 3));
    const double again = runSeconds(import);
    std::printf("the same folder again, nothing new:  %.2f s (target 0.5 s: %s)\n", again,
                verdict(again <= 0.5));
    const qint64 seasonBytes = QFileInfo(season).size() + QFileInfo(season + "-wal").size();
    std::printf("library size: %.2f times the lap files' %lld bytes (target 3: %s)\n",
                double(seasonBytes) / double(folderBytes), static_cast<long long>(folderBytes),
                verdict(seasonBytes <= 3 * folderBytes));

    // 5,000 sessions at three tracks, four a day, made through the library itself.
    const QString big = dir.filePath(QStringLiteral("big.sqlite"));
    {
        auto library = std::move(*LapLibrary::open(big, LapLibrary::Mode::ReadWrite).value);
        const QDateTime start(QDate(2020, 3, 1), QTime(9, 0));
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 5000; ++i) {
            ImportRequest request;
            request.bytes = lapFile(i);
            request.fileName = QStringLiteral("RUN%1.BIL").arg(i);
            request.fileTime = start.addSecs(qint64(i) * 6 * 3600);
            request.sheet.track = QStringLiteral("Track %1").arg(QChar(u'A' + i % 3));
            request.sheet.vehicle = QStringLiteral("Kart %1").arg(i % 2);
            if (!library->importSession(request).ok())
                return 1;
        }
        std::printf("(5,000 sessions imported through the library in %.2f s)\n",
                    double(clock.nsecsElapsed()) / 1e9);
    }
    auto library = std::move(*LapLibrary::open(big, LapLibrary::Mode::ReadOnly).value);
    QElapsedTimer clock;
    clock.start();
    const auto bests = library->bests();
    const double bestsSeconds = double(clock.nsecsElapsed()) / 1e9;
    std::printf("bests over 5,000 sessions (%zu groups): %.3f s (target 0.2 s: %s)\n", bests.size(),
                bestsSeconds, verdict(bestsSeconds <= 0.2));
    SessionFilter filter;
    filter.track = QStringLiteral("Track A");
    clock.restart();
    const auto days = library->progress(filter);
    const double progressSeconds = double(clock.nsecsElapsed()) / 1e9;
    std::printf("progress at a track of 1,667 sessions (%zu days): %.3f s (target 0.2 s: %s)\n",
                days.size(), progressSeconds, verdict(progressSeconds <= 0.2));
    filter.track.clear();
    clock.restart();
    const auto all = library->progress(filter);
    std::printf("progress over all 5,000 sessions (%zu days): %.3f s\n", all.size(),
                double(clock.nsecsElapsed()) / 1e9);
    long rss = 0;
    const double cli = runSeconds({QStringLiteral("--library"), big, QStringLiteral("progress"),
                                   QStringLiteral("--track"), QStringLiteral("Track B")},
                                  &rss);
    std::printf("miren-library progress on it: %.3f s\n", cli);
    runSeconds({QStringLiteral("--library"), big, QStringLiteral("bests")}, &rss);
    std::printf("peak memory of miren-library on 5,000 sessions: %.1f MB (target 100 MB: %s)\n",
                double(rss) / 1024.0, verdict(rss <= 100 * 1024));
    return 0;
}
