// Converts one large lap record file in the real window and prints how long it took, how much
// memory the process needed and how quickly the window answers afterwards. A measurement, not a
// test: it asserts nothing.
//
// Usage: measure_large_lap_file [megabytes]   (default 200; run with QT_QPA_PLATFORM=offscreen)
#include "BilBuilder.h"
#include "tool_window/ToolWindow.h"
#include "main_window/KorvelLoader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

// Peak resident memory of the process so far, in MiB.
double peakMiB()
{
#ifdef Q_OS_UNIX
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
#else
    return 0;
#endif
}

double secondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 200;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LARGE.BIL"));
    {
        // Laps with all seven blocks: the longest lines the table has.
        const QByteArray chunk = fullLaps(4096);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        const qint64 target = megabytes * 1000 * 1000;
        while (file.size() + chunk.size() <= target)
            file.write(chunk);
    }
    const qint64 bytes = QFileInfo(path).size();
    const double before = peakMiB();

    KorvelLoader window(dir.filePath(QStringLiteral("FILE_PASS.DAT")));
    // Lap files and text files share the temporary folder.
    window.setChooser([&dir](SharedState& state) {
        state.PASS_NAME1 = dir.path();
        state.PASS_NAME2 = dir.path();
        if (state.FILE_TYPE == QLatin1String(kModeBilLoad))
            state.GET_NAME = QStringLiteral("LARGE.BIL\r");
        else if (state.FILE_TYPE == QLatin1String(kModeTextSave))
            state.GET_NAME = QStringLiteral("LARGE");
        else
            state.GET_NAME = QStringLiteral("LARGE.txt");
    });
    QStringList warnings;
    const WarningBoxHook hook([&warnings](const QString& m) { warnings << m; });
    window.show();
    QCoreApplication::processEvents();

    auto* button = window.findChild<QPushButton*>(QStringLiteral("BIL_load"));
    const double convert = secondsOf([&] {
        button->click();
        QCoreApplication::processEvents();
    });
    const double afterConvert = peakMiB();
    auto* view = window.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    const int lines = view->document()->blockCount();

    const double scroll = secondsOf([&] {
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
        QCoreApplication::processEvents();
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
        QCoreApplication::processEvents();
    });
    const double type = secondsOf([&] {
        view->moveCursor(QTextCursor::End);
        view->insertPlainText(QStringLiteral("a note typed at the end"));
        QCoreApplication::processEvents();
    });
    qsizetype chars = 0;
    const double read = secondsOf([&] { chars = window.text().size(); });

    const double save =
        secondsOf([&] { window.findChild<QPushButton*>(QStringLiteral("FILE_SAVE"))->click(); });
    const qint64 saved = QFileInfo(dir.filePath(QStringLiteral("LARGE.txt"))).size();
    QFile::remove(path);
    const double load = secondsOf([&] {
        window.findChild<QPushButton*>(QStringLiteral("FILE_LOAD"))->click();
        QCoreApplication::processEvents();
    });

    std::printf("lap file: %.1f MB, %lld records\n", bytes / 1e6,
                static_cast<long long>(bytes / BilBuilder::kRecordSize));
    std::printf("warnings: %lld\n", static_cast<long long>(warnings.size()));
    std::printf("bil load in the window: %.2f s\n", convert);
    std::printf("view: %lld lines, %lld characters\n", static_cast<long long>(lines),
                static_cast<long long>(chars));
    std::printf("scroll to middle and end: %.3f s\n", scroll);
    std::printf("type at the end: %.3f s\n", type);
    std::printf("read the whole text (as Text save does): %.2f s\n", read);
    std::printf("Text save: %.2f s, %.1f MB written\n", save, saved / 1e6);
    std::printf("Text load of that file: %.2f s\n", load);
    std::printf("peak memory: %.0f MiB before, %.0f MiB after bil load, %.0f MiB at the end\n",
                before, afterConvert, peakMiB());
    return 0;
}
