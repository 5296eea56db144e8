// Time from a click on "bil load" to a 10,000-lap table in the view, and how the view then
// scrolls and paints. Runs on the offscreen platform unless another one is set.

#include "BilBuilder.h"
#include "TestFiles.h"
#include "tool_window/ToolWindow.h"
#include "main_window/KorvelLoader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kLaps = 10000;
constexpr int kRuns = 3;

double ms(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

double best(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.first();
}

double worst(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.last();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    if (!writeBytes(dir.filePath(QStringLiteral("RUN.BIL")), fullLaps(kLaps))) {
        std::fprintf(stderr, "bench_main_window: cannot write the lap file\n");
        return 1;
    }

    KorvelLoader window(dir.filePath(QStringLiteral("FILE_PASS.DAT")));
    window.setChooser([&dir](SharedState& state) {
        state.PASS_NAME2 = dir.path();
        state.GET_NAME = QStringLiteral("RUN.BIL\r");
    });
    int warnings = 0;
    const WarningBoxHook hook([&warnings](const QString&) { ++warnings; });
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    auto* view = window.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    auto* button = window.findChild<QPushButton*>(QStringLiteral("BIL_load"));

    QList<double> fill, fillPainted, toEnd, toRight, pageDown, wheel, readText;
    for (int run = 0; run < kRuns; ++run) {
        view->verticalScrollBar()->setValue(0);
        view->horizontalScrollBar()->setValue(0);
        QApplication::processEvents();

        QElapsedTimer timer;
        timer.start();
        button->click();
        fill << ms(timer);
        view->viewport()->repaint();
        fillPainted << ms(timer);
        QApplication::processEvents();

        timer.restart();
        view->verticalScrollBar()->setValue(0);
        view->viewport()->repaint();
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
        view->viewport()->repaint();
        toEnd << ms(timer);

        timer.restart();
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
        view->viewport()->repaint();
        toRight << ms(timer);

        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
        view->viewport()->repaint();
        timer.restart();
        for (int i = 0; i < 20; ++i) {
            view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
            view->viewport()->repaint();
        }
        pageDown << ms(timer) / 20;

        timer.restart();
        for (int i = 0; i < 20; ++i) {
            view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
            view->viewport()->repaint();
        }
        wheel << ms(timer) / 20;

        timer.restart();
        const QString text = window.text();
        readText << ms(timer);
        if (run == 0) {
            std::printf("table: %d laps, %d lines, %lld characters, %d warnings\n", kLaps,
                        view->blockCount(), static_cast<long long>(text.size()), warnings);
        }
    }

    // The same table through "Text load", and line by line outside a command (each line then is
    // its own edit, as when a caller appends without the window's batching).
    {
        QFile file(dir.filePath(QStringLiteral("TABLE.txt")));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(window.text().toLatin1());
    }
    window.setChooser([&dir](SharedState& state) {
        state.PASS_NAME1 = dir.path();
        state.GET_NAME = QStringLiteral("TABLE.txt");
    });
    const QStringList lines = window.text().split(QStringLiteral("\r\n"));
    auto* textLoad = window.findChild<QPushButton*>(QStringLiteral("FILE_LOAD"));
    QList<double> load, perLine;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        textLoad->click();
        view->viewport()->repaint();
        load << ms(timer);

        window.clear();
        timer.restart();
        for (const QString& line : lines) {
            window.append(line);
            window.append(QStringLiteral("\r\n"));
        }
        view->viewport()->repaint();
        perLine << ms(timer);
    }

    std::printf("bil load click to text in view:     best %7.1f ms, worst %7.1f ms (target 500)\n",
                best(fill), worst(fill));
    std::printf("bil load click to painted frame:    best %7.1f ms, worst %7.1f ms\n",
                best(fillPainted), worst(fillPainted));
    std::printf("scroll top to end, two frames:      best %7.1f ms, worst %7.1f ms\n", best(toEnd),
                worst(toEnd));
    std::printf("scroll to right edge, one frame:    best %7.1f ms, worst %7.1f ms\n",
                best(toRight), worst(toRight));
    std::printf("page down, per frame:               best %7.2f ms, worst %7.2f ms\n",
                best(pageDown), worst(pageDown));
    std::printf("line up, per frame:                 best %7.2f ms, worst %7.2f ms\n", best(wheel),
                worst(wheel));
    std::printf("whole text with CR LF:              best %7.1f ms, worst %7.1f ms\n",
                best(readText), worst(readText));
    std::printf("Text load of the table, painted:    best %7.1f ms, worst %7.1f ms\n", best(load),
                worst(load));
    std::printf("append line by line, unbatched:     best %7.1f ms, worst %7.1f ms\n",
                best(perLine), worst(perLine));
    return 0;
}
