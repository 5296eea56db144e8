// "Text save" of a large table: time, and the memory the save needs on top of the view's own.
// The view is filled by "bil load" of a lap file with every block present (the longest lines).
//
// Usage: bench_text_save [laps]   (default 876544, a 435 MB table; offscreen unless set)
#include "BilBuilder.h"
#include "tool_window/ToolWindow.h"
#include "main_window/KorvelLoader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <atomic>
#include <cstdio>
#include <thread>

namespace {

// Resident memory of the process now, in MiB (Linux; 0 elsewhere).
double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 / (1024.0 * 1024.0) : 0;
}

// Samples the resident memory every few milliseconds while it lives and keeps the highest.
class PeakSampler {
public:
    PeakSampler()
        : thread_([this] {
              while (!stop_) {
                  peak_ = std::max(peak_.load(), residentMiB());
                  std::this_thread::sleep_for(std::chrono::milliseconds(5));
              }
          })
    {}
    double stop()
    {
        stop_ = true;
        thread_.join();
        return std::max(peak_.load(), residentMiB());
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<double> peak_{0};
    std::thread thread_;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int laps = argc > 1 ? QByteArray(argv[1]).toInt() : 876544;

    QTemporaryDir dir;
    {
        const QByteArray chunk = fullLaps(4096);
        QFile file(dir.filePath(QStringLiteral("LARGE.BIL")));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        for (int written = 0; written < laps; written += 4096)
            file.write(written + 4096 <= laps ? chunk : fullLaps(laps - written));
    }

    KorvelLoader window(dir.filePath(QStringLiteral("FILE_PASS.DAT")));
    window.setChooser([&dir](SharedState& state) {
        state.PASS_NAME1 = dir.path();
        state.PASS_NAME2 = dir.path();
        state.GET_NAME = state.FILE_TYPE == QLatin1String(kModeBilLoad)
                             ? QStringLiteral("LARGE.BIL\r")
                             : QStringLiteral("LARGE");
    });
    int warnings = 0;
    const WarningBoxHook hook([&warnings](const QString&) { ++warnings; });
    window.findChild<QPushButton*>(QStringLiteral("BIL_load"))->click();
    QCoreApplication::processEvents();

    const double viewMiB = residentMiB();
    PeakSampler sampler;
    QElapsedTimer timer;
    timer.start();
    window.findChild<QPushButton*>(QStringLiteral("FILE_SAVE"))->click();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double peakMiB = sampler.stop();

    const qint64 bytes = QFileInfo(dir.filePath(QStringLiteral("LARGE.txt"))).size();
    std::printf("table: %d laps, %.1f MB saved, %d warnings\n", laps, bytes / 1e6, warnings);
    std::printf("Text save:                          %7.2f s (target 3)\n", seconds);
    std::printf("memory above the view during save:  %7.1f MiB (target 300; view %.0f MiB)\n",
                peakMiB - viewMiB, viewMiB);
    return warnings == 0 ? 0 : 1;
}
