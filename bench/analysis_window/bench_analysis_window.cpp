// The analysis window over a "bil load" of 10,000, 100,000 and 200,000 laps: opening it until it is
// drawn, bringing it up to date after a line of the view was deleted, toggling one lap's check
// box, sorting the list by lap time and exporting the CSV; and its lap chart: one frame of it,
// one wheel step of zoom and one step of a drag, each with the frame after it. Then a "bil load"
// of 100 files of 100 laps: opening the window and switching from session to session; and a
// table text of 20,000 laps each numbered 1, 20,000 sessions. Runs on the offscreen platform
// unless another one is set. Usage: bench_analysis_window [LAPS...], or "ones" for the last only

#include "BilBuilder.h"
#include "TestFiles.h"
#include "analysis_window/AnalysisWindow.h"
#include "analysis_window/LapChart.h"
#include "analysis_window/LapListModel.h"
#include "lap_conversion/LapConverter.h"
#include "tool_window/ToolWindow.h"
#include "main_window/KorvelLoader.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QThread>
#include <QWheelEvent>
#include <cstdio>
#include <ctime>

namespace {

double ms(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// Runs the events a step left behind and paints the window, so a figure covers the drawn frame.
void draw(QWidget& window)
{
    QApplication::processEvents();
    window.repaint();
}

struct Figures {
    double open = 0, update = 0, toggle = 0, sort = 0, csv = 0;
    double frame = 0, zoom = 0, pan = 0, hover = 0;
    // A key typed while a re-analysis runs; the re-analysis after a deleted line: the time the
    // window's thread is busy with it, and the time until its result is drawn.
    double key = 0, updateBusy = 0, updateWall = 0;
};

// CPU time of the calling thread, ms: what the window's thread spends, whatever else the
// machine's cores do meanwhile.
double threadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// A re-analysis as a pause in the view's changes starts it, waited for and drawn: the window's
// thread's CPU time for it (busy) and the time to the drawn result (wall).
void reanalyse(AnalysisWindow& window, double& busy, double& wall)
{
    QElapsedTimer all;
    all.start();
    const double cpu = threadMs();
    window.analyseInBackground();
    while (window.analysing()) {
        QThread::msleep(1);
        QApplication::processEvents();
    }
    window.repaint();
    busy = threadMs() - cpu;
    wall = ms(all);
}

void wheel(QWidget& chart, QPointF at, int notches)
{
    QWheelEvent event(at, chart.mapToGlobal(at), {}, QPoint(0, 120 * notches), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &event);
}

void mouse(QWidget& chart, QEvent::Type type, QPointF at)
{
    QMouseEvent event(type, at, chart.mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
    QApplication::sendEvent(&chart, &event);
}

// The chart alone: frames of the whole session, then wheel steps in and out around the middle,
// then a drag across the zoomed chart, each step drawn.
void measureChart(LapChart& chart, Figures& f)
{
    QElapsedTimer timer;
    constexpr int kFrames = 20;
    timer.start();
    for (int i = 0; i < kFrames; ++i)
        chart.repaint();
    f.frame = ms(timer) / kFrames;

    const QPointF middle = chart.rect().center();
    constexpr int kSteps = 10;
    timer.restart();
    for (int i = 0; i < 2 * kSteps; ++i) {
        wheel(chart, middle, i < kSteps ? 1 : -1);
        chart.repaint();
    }
    f.zoom = ms(timer) / (2 * kSteps);

    wheel(chart, middle, 3);
    mouse(chart, QEvent::MouseButtonPress, middle);
    constexpr int kMoves = 40;
    timer.restart();
    for (int i = 1; i <= kMoves; ++i) {
        mouse(chart, QEvent::MouseMove, middle + QPointF(i % 20 < 10 ? 8.0 * i : -8.0 * i, 0));
        chart.repaint();
    }
    f.pan = ms(timer) / kMoves;
    mouse(chart, QEvent::MouseButtonRelease, middle);

    // The pointer moved over the plot, no button held: a hit test and the frame after it.
    timer.restart();
    for (int i = 1; i <= kMoves; ++i) {
        QMouseEvent move(QEvent::MouseMove, middle + QPointF(3.0 * i - 60, 0),
                         chart.mapToGlobal(middle), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(&chart, &move);
        chart.repaint();
    }
    f.hover = ms(timer) / kMoves;
}

Figures measure(int laps, const QTemporaryDir& dir)
{
    const QString name = QStringLiteral("RUN%1.BIL").arg(laps);
    if (!writeBytes(dir.filePath(name), fullLaps(laps)))
        qFatal("bench_analysis_window: cannot write the lap file");
    KorvelLoader window(dir.filePath(QStringLiteral("FILE_PASS.DAT")));
    window.setChooser([&](SharedState& state) {
        state.PASS_NAME1 = dir.path();
        state.PASS_NAME2 = dir.path();
        state.GET_NAME = name + u'\r';
    });
    WarningBoxHook hook([](const QString& m) { qFatal("warning: %s", qPrintable(m)); });
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("bench_analysis_window: no window");
    window.findChild<QPushButton*>(QStringLiteral("BIL_load"))->click();
    QApplication::processEvents();

    Figures f;
    QElapsedTimer timer;
    timer.start();
    window.findChild<QPushButton*>(QStringLiteral("ANALYSIS"))->click();
    AnalysisWindow& analysis = *window.analysisWindow();
    draw(analysis);
    f.open = ms(timer);
    if (analysis.laps().size() != std::size_t(laps))
        qFatal("bench_analysis_window: %zu laps analysed", analysis.laps().size());

    // Deleting the view's line of the tenth lap, then the pause's work and the frame after it.
    auto* view = window.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    QTextCursor cursor(view->document()->findBlockByNumber(10));
    cursor.select(QTextCursor::BlockUnderCursor);
    cursor.removeSelectedText();
    timer.restart();
    analysis.refresh();
    draw(analysis);
    f.update = ms(timer);
    // The same as a pause in typing starts it, on another thread.
    cursor = QTextCursor(view->document()->findBlockByNumber(12));
    cursor.select(QTextCursor::BlockUnderCursor);
    cursor.removeSelectedText();
    reanalyse(analysis, f.updateBusy, f.updateWall);
    // Keys typed into a lap line while a re-analysis runs, each with the events after it.
    view->setTextCursor(QTextCursor(view->document()->findBlockByNumber(20)));
    analysis.analyseInBackground();
    constexpr int kKeys = 10;
    timer.restart();
    for (int i = 0; i < kKeys; ++i) {
        QTest::keyClick(view, Qt::Key_Space);
        QApplication::processEvents();
    }
    f.key = ms(timer) / kKeys;
    while (analysis.analysing())
        QTest::qWait(5);
    double busy = 0, wall = 0;
    reanalyse(analysis, busy, wall);

    // Clearing and ticking one lap's box, a full step each.
    LapListModel& model = *analysis.lapModel();
    const QModelIndex box = model.index(5, LapListModel::LapColumn);
    constexpr int kToggles = 10;
    timer.restart();
    for (int i = 0; i < kToggles; ++i) {
        model.setData(box, i % 2 == 0 ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        draw(analysis);
    }
    f.toggle = ms(timer) / kToggles;

    timer.restart();
    model.sort(LapListModel::TimeColumn, Qt::AscendingOrder);
    draw(analysis);
    f.sort = ms(timer);

    analysis.setSaveName([&](QWidget*, const QString&) { return dir.filePath("out.csv"); });
    timer.restart();
    QMetaObject::invokeMethod(analysis.findChild<QPushButton*>(QStringLiteral("exportCsv")),
                              "click");
    f.csv = ms(timer);

    measureChart(*analysis.chart(), f);
    return f;
}

// 100 sessions of 100 laps: the window opened and drawn, and one session after another shown
// (the mean of a switch), then all of them again.
struct SessionFigures {
    double open = 0, sessionSwitch = 0, all = 0;
};

SessionFigures measureSessions(int sessions, int laps, const QTemporaryDir& dir)
{
    QString names;
    for (int s = 0; s < sessions; ++s) {
        const QString name = QStringLiteral("S%1.BIL").arg(s, 3, 10, QLatin1Char('0'));
        if (!writeBytes(dir.filePath(name), fullLaps(laps)))
            qFatal("bench_analysis_window: cannot write the lap files");
        names += name + u'\r';
    }
    KorvelLoader window(dir.filePath(QStringLiteral("FILE_PASS.DAT")));
    window.setChooser([&](SharedState& state) {
        state.PASS_NAME1 = dir.path();
        state.PASS_NAME2 = dir.path();
        state.GET_NAME = names;
    });
    WarningBoxHook hook([](const QString& m) { qFatal("warning: %s", qPrintable(m)); });
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("bench_analysis_window: no window");
    window.findChild<QPushButton*>(QStringLiteral("BIL_load"))->click();
    QApplication::processEvents();

    SessionFigures f;
    QElapsedTimer timer;
    timer.start();
    window.findChild<QPushButton*>(QStringLiteral("ANALYSIS"))->click();
    AnalysisWindow& analysis = *window.analysisWindow();
    draw(analysis);
    f.open = ms(timer);
    if (analysis.analysis().sessionCount() != std::size_t(sessions))
        qFatal("bench_analysis_window: %zu sessions found", analysis.analysis().sessionCount());

    auto* selector = analysis.findChild<QComboBox*>(QStringLiteral("sessionSelector"));
    timer.restart();
    for (int s = 1; s <= sessions; ++s) {
        selector->setCurrentIndex(s);
        draw(analysis);
    }
    f.sessionSwitch = ms(timer) / sessions;
    timer.restart();
    selector->setCurrentIndex(0);
    draw(analysis);
    f.all = ms(timer);
    return f;
}

// A table text of laps all numbered 1 (a logger restarted after every lap), loaded with "Text
// load": each lap is a session of its own. The window opened and drawn, then the view changed.
struct OneLapSessionFigures {
    double open = 0, update = 0;
};

OneLapSessionFigures measureOneLapSessions(int sessions, const QTemporaryDir& dir)
{
    BilBuilder laps;
    for (int i = 0; i < sessions; ++i) {
        BilBlock b;
        b.time = quint16(6400 + i % 97);
        laps.lap(2, 0, {b});
    }
    std::string table;
    const QByteArray bytes = laps.bytes();
    convertLapBytes({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                     std::size_t(bytes.size())},
                    '.', table);
    if (!writeBytes(dir.filePath(QStringLiteral("ONES.txt")), QByteArray::fromStdString(table)))
        qFatal("bench_analysis_window: cannot write the table text");
    KorvelLoader window(dir.filePath(QStringLiteral("FILE_PASS.DAT")));
    window.setChooser([&](SharedState& state) {
        state.PASS_NAME1 = dir.path();
        state.GET_NAME = QStringLiteral("ONES.txt");
    });
    WarningBoxHook hook([](const QString& m) { qFatal("warning: %s", qPrintable(m)); });
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("bench_analysis_window: no window");
    window.findChild<QPushButton*>(QStringLiteral("FILE_LOAD"))->click();
    QApplication::processEvents();

    OneLapSessionFigures f;
    QElapsedTimer timer;
    timer.start();
    window.findChild<QPushButton*>(QStringLiteral("ANALYSIS"))->click();
    AnalysisWindow& analysis = *window.analysisWindow();
    draw(analysis);
    f.open = ms(timer);
    if (analysis.analysis().sessionCount() != std::size_t(sessions))
        qFatal("bench_analysis_window: %zu sessions found", analysis.analysis().sessionCount());

    auto* view = window.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    QTextCursor cursor(view->document()->findBlockByNumber(10));
    cursor.select(QTextCursor::BlockUnderCursor);
    cursor.removeSelectedText();
    timer.restart();
    analysis.refresh();
    draw(analysis);
    f.update = ms(timer);
    return f;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const bool onesOnly = argc > 1 && QByteArray(argv[1]) == "ones";

    std::printf("%-8s %10s %10s %10s %10s %10s %10s %10s %10s %10s %10s %10s %10s\n", "laps",
                "open ms", "update ms", "toggle ms", "sort ms", "csv ms", "chart ms", "zoom ms",
                "pan ms", "hover ms", "key ms", "bg busy", "bg wall");
    // Lap counts may be given as arguments, e.g. 880000 for a table of about 400 MB.
    QList<int> sizes{10000, 100000, 200000};
    if (onesOnly)
        sizes.clear();
    if (argc > 1) {
        sizes.clear();
        for (int i = 1; i < argc; ++i)
            sizes << QByteArray(argv[i]).toInt();
    }
    for (const int laps : sizes) {
        const Figures f = measure(laps, dir);
        std::printf("%-8d %10.1f %10.1f %10.1f %10.1f %10.1f %10.1f %10.1f %10.1f %10.1f %10.1f "
                    "%10.1f %10.1f\n",
                    laps, f.open, f.update, f.toggle, f.sort, f.csv, f.frame, f.zoom, f.pan,
                    f.hover, f.key, f.updateBusy, f.updateWall);
    }
    std::printf("targets: 10,000 laps open < 200, update < 200, toggle < 50, zoom and pan < 16; "
                "100,000 laps every step < 2000, chart < 30; 200,000 laps key <= 50, hover and "
                "zoom <= 16, toggle <= 100\n"
                "(update: the view read and analysed on the window's thread, as on opening; bg "
                "busy: the window's thread's share of a re-analysis after typing, bg wall: until "
                "its result is drawn)\n");

    if (argc > 1 && !onesOnly)
        return 0;
    if (!onesOnly) {
        const SessionFigures s = measureSessions(100, 100, dir);
        std::printf("\n100 sessions of 100 laps: open %.1f ms, session switch %.1f ms, all "
                    "sessions %.1f ms\n",
                    s.open, s.sessionSwitch, s.all);
        std::printf("targets: open <= 300, session switch <= 100\n");
    }

    const OneLapSessionFigures ones = measureOneLapSessions(20000, dir);
    std::printf("\n20,000 sessions of one lap (a table text): open %.1f ms, update %.1f ms\n",
                ones.open, ones.update);
    return 0;
}
