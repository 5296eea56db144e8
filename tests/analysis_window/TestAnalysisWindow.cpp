#include "FileSizeLimit.h"
#include "LockedFolder.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "analysis_window/AnalysisWindow.h"
#include "analysis_window/LapChart.h"
#include "analysis_window/LapDocument.h"
#include "analysis_window/LapListModel.h"
#include "analysis_window/SummaryPanel.h"
#include "tool_window/ToolWindow.h"
#include "lap_analysis/LapCsv.h"
#include "lap_analysis/LapFormat.h"
#include "lap_analysis/LapTableReader.h"
#include "lap_conversion/LapRecord.h"
#include "lap_conversion/LapTable.h"
#include "main_window/KorvelLoader.h"
#include "ui_language/UiLanguage.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QWheelEvent>
#include <memory>

namespace {

const QString kSample = QStringLiteral("SESSION_KMH.BIL");

// The laps of a lap record file straight from its records, without the table in between.
std::vector<LapData> recordLaps(const QString& path)
{
    const QByteArray bytes = readBytes(path);
    std::vector<LapData> laps;
    for (qsizetype at = 0; at + qsizetype(kRecordSize) <= bytes.size(); at += kRecordSize) {
        LapRecord record;
        RecordFault fault;
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData() + at);
        if (decodeLapRecord({data, kRecordSize}, record, fault) != RecordStatus::Lap)
            break;
        laps.push_back(lapFromRecord(record));
    }
    return laps;
}

QString text(const std::string& s)
{
    return QString::fromStdString(s);
}

// Whether the lap-time chart draws lap (a position in the window's laps) on its line of counted
// laps, or as an excluded lap's ring.
bool drawnAsCounted(const LapChart& chart, std::size_t lap)
{
    const ChartMapping& m = chart.layout().mapping;
    const double x = m.px(chart.model().axisX(0, lap));
    for (const QPolygonF& run : chart.model().lineRuns(ChartView::LapTimes, 0, 0, m)) {
        if (std::any_of(run.begin(), run.end(), [x](const QPointF& p) { return p.x() == x; }))
            return true;
    }
    return false;
}
bool drawnAsExcluded(const LapChart& chart, std::size_t lap)
{
    const ChartMapping& m = chart.layout().mapping;
    const double x = m.px(chart.model().axisX(0, lap));
    const QPolygonF rings = chart.model().rings(0, m);
    return std::any_of(rings.begin(), rings.end(), [x](const QPointF& p) { return p.x() == x; });
}

// The pointer moved to at over w, wherever the window lies on the screen (QTest::mouseMove moves
// the cursor, which stays on the screen).
void movePointer(QWidget* w, QPoint at)
{
    QMouseEvent event(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(w, &event);
}

// Where the lap-time chart draws lap, in the chart's pixels.
QPoint pointOf(const LapChart& chart, std::size_t lap, std::int32_t time)
{
    return chart.layout().mapping.point(chart.model().axisX(0, lap), time).toPoint();
}

} // namespace

class TestAnalysisWindow : public QObject {
    Q_OBJECT

private:
    // The main window on a temp settings file; "bil load" picks a sample, the text folder is
    // the fixture's folder.
    struct Fixture {
        QTemporaryDir dir;
        std::unique_ptr<KorvelLoader> window;
        QStringList warnings;
        WarningBoxHook hook{[this](const QString& m) { warnings << m; }};

        Fixture()
        {
            window = std::make_unique<KorvelLoader>(dir.filePath(QStringLiteral("FILE_PASS.DAT")));
        }
        QPlainTextEdit* view() const { return window->findChild<QPlainTextEdit*>("Text1"); }
        void click(const char* name) const
        {
            window->findChild<QPushButton*>(QString::fromLatin1(name))->click();
        }
        void bilLoad(const QString& name = kSample)
        {
            window->setChooser([this, name](SharedState& state) {
                state.PASS_NAME1 = dir.path();
                state.PASS_NAME2 = QStringLiteral(MIREN_SAMPLES_DIR);
                state.GET_NAME = name + u'\r';
            });
            click("BIL_load");
        }
        AnalysisWindow& open()
        {
            click("ANALYSIS");
            return *window->analysisWindow();
        }
        // Deletes line `line` (0-based) of the view, as the user would.
        void deleteLine(int line) const
        {
            QTextCursor cursor(view()->document()->findBlockByNumber(line));
            cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
    };

    // The figures the window shows are the core's for these laps.
    static void compareWithCore(const AnalysisWindow& w, const std::vector<LapData>& laps,
                                const AnalysisOptions& options = {})
    {
        const SessionStats expected = analyseSession(laps, options);
        QCOMPARE(w.laps().size(), laps.size());
        QVERIFY(expected.bestLap && w.stats().bestLap);
        QCOMPARE(w.stats().bestLap->value, expected.bestLap->value);
        QCOMPARE(w.stats().bestLap->lap, expected.bestLap->lap);
        QVERIFY(expected.theoreticalBest && w.stats().theoreticalBest);
        QCOMPARE(w.stats().theoreticalBest->time, expected.theoreticalBest->time);
        QCOMPARE(w.stats().theoreticalBest->sectorLaps, expected.theoreticalBest->sectorLaps);
        for (const auto peak :
             {&SessionStats::rpmMax, &SessionStats::speedMax, &SessionStats::gxMax,
              &SessionStats::gyMax, &SessionStats::tmp1Min, &SessionStats::tmp2Max}) {
            QCOMPARE((w.stats().*peak)->value, (expected.*peak)->value);
            QCOMPARE((w.stats().*peak)->lap, (expected.*peak)->lap);
        }
        const QString best = w.findChild<QLabel*>("bestLap")->text();
        QVERIFY2(best.contains(text(formatLapTime(expected.bestLap->value))), qPrintable(best));
        QVERIFY(w.findChild<QLabel*>("theoreticalBest")
                    ->text()
                    .contains(text(formatLapTime(expected.theoreticalBest->time))));
        QCOMPARE(w.chart()->model().sessions().at(0).best, std::optional(expected.bestLap->value));
    }

private slots:
    void cleanup() { QCOMPARE(QApplication::activeModalWidget(), nullptr); }

    // Opened on an empty view, the window says so; a "bil load" then fills it, and pressing
    // the button again raises the same window.
    void followsBilLoad()
    {
        Fixture f;
        AnalysisWindow& w = f.open();
        QCOMPARE(w.windowTitle(), QStringLiteral("Lap analysis"));
        QVERIFY(w.isWindow() && !w.isModal() && w.isVisible());
        QVERIFY(!w.holdsTable());
        QVERIFY(w.findChild<QStackedWidget*>()->currentWidget()->objectName() == "noTable");

        f.bilLoad();
        QTRY_VERIFY(w.holdsTable());
        compareWithCore(w, recordLaps(QStringLiteral(MIREN_SAMPLES_DIR "/") + kSample));
        QVERIFY(w.findChild<QLabel*>("counts")->text().contains("Every line after the header"));
        QCOMPARE(&f.open(), &w);
    }

    // A deleted line is a lap gone; a spoilt line is a line that is not a lap, counted and named.
    void followsEditsOfTheView()
    {
        Fixture f;
        f.bilLoad();
        AnalysisWindow& w = f.open();
        std::vector<LapData> laps = recordLaps(QStringLiteral(MIREN_SAMPLES_DIR "/") + kSample);
        const std::size_t best = w.stats().bestLap->lap;

        f.deleteLine(int(w.laps()[best].line - 1));
        laps.erase(laps.begin() + std::ptrdiff_t(best));
        QTRY_COMPARE(w.laps().size(), laps.size());
        compareWithCore(w, laps);
        QVERIFY(w.skippedLines().empty());

        // Closed, the window only notes the change and catches up as it opens again.
        w.close();
        QTextCursor cursor(f.view()->document()->findBlockByNumber(3));
        cursor.insertText(QStringLiteral("x"));
        QTest::qWait(400);
        QVERIFY(w.skippedLines().empty());
        f.open();
        QCOMPARE(w.skippedLines(), std::vector<std::int64_t>{4});
        QVERIFY(w.findChild<QLabel*>("counts")->text().contains("Line 4 of the view"));
        // The lap list has a row for it after the laps; selected, it takes the caret there.
        LapListModel& model = *w.lapModel();
        const int row = model.rowCount() - 1;
        QCOMPARE(model.lapRowCount(), row);
        QCOMPARE(model.skippedLineAt(row), std::int64_t(4));
        QVERIFY(model.index(row, LapListModel::TimeColumn).data().toString().contains("not a lap"));
        QVERIFY(!(model.flags(model.index(row, LapListModel::LapColumn)) & Qt::ItemIsUserCheckable));
        auto* list = w.findChild<QTableView*>("lapList");
        list->setCurrentIndex(model.index(row, LapListModel::LapColumn));
        QCOMPARE(f.view()->textCursor().blockNumber(), 3);
        f.view()->moveCursor(QTextCursor::End);
        // Its link takes the view's caret to the line, marked.
        emit w.findChild<QLabel*>("counts")->linkActivated(QStringLiteral("line:4"));
        QCOMPARE(f.view()->textCursor().blockNumber(), 3);
        QCOMPARE(f.view()->extraSelections().size(), 1);
    }

    // A re-analysis runs beside the window: a key reaches the view while it runs, its result
    // of the older text is dropped, and the analysis ends on the text as typed.
    void typingNotBlockedDuringReanalysis()
    {
        Fixture f;
        f.bilLoad();
        AnalysisWindow& w = f.open();
        const std::size_t laps = w.laps().size();
        const std::int64_t typedLine = w.laps()[5].line;
        f.deleteLine(int(w.laps()[0].line - 1));
        w.analyseInBackground();
        QVERIFY(w.analysing());
        QTextCursor cursor(f.view()->document()->findBlockByNumber(int(typedLine - 2)));
        f.view()->setTextCursor(cursor);
        QTest::keyClick(f.view(), Qt::Key_X);
        QVERIFY(f.view()->document()->findBlockByNumber(int(typedLine - 2)).text().startsWith(u'x'));
        QVERIFY(w.analysing());
        QTRY_COMPARE(w.skippedLines(), std::vector<std::int64_t>{typedLine - 1});
        QVERIFY(!w.analysing());
        QCOMPARE(w.laps().size(), laps - 2);
        // A tick while the analysis runs is not lost: the result made before it is dropped.
        f.deleteLine(int(w.laps()[0].line - 1));
        w.analyseInBackground();
        const std::int64_t ticked = w.laps()[3].lapNumber;
        w.document().setLapCounted(3, false);
        QTRY_COMPARE(w.laps().size(), laps - 3);
        QVERIFY(!w.analysing());
        const auto lap = std::find_if(w.laps().begin(), w.laps().end(),
                                      [&](const LapData& l) { return l.lapNumber == ticked; });
        QCOMPARE(w.analysis().status(std::size_t(lap - w.laps().begin())),
                 LapStatus::ExcludedByUser);
    }

    // A cleared box excludes its lap at once, and the best lap, the list and the chart follow;
    // the choice stays with its lap when the view changes elsewhere.
    void checkBoxExcludesLap()
    {
        Fixture f;
        f.bilLoad();
        AnalysisWindow& w = f.open();
        const std::vector<LapData> laps = w.laps();
        const std::size_t best = w.stats().bestLap->lap;
        LapListModel& model = *w.lapModel();
        const QModelIndex box = model.index(model.rowOf(best), LapListModel::LapColumn);
        QCOMPARE(box.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
        QCOMPARE(box.data(Qt::FontRole).value<QFont>().bold(), true);

        QVERIFY(model.setData(box, Qt::Unchecked, Qt::CheckStateRole));
        AnalysisOptions options;
        options.overrides[best] = false;
        compareWithCore(w, laps, options);
        QCOMPARE(w.stats().status[best], LapStatus::ExcludedByUser);
        QCOMPARE(box.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
        QVERIFY(!drawnAsCounted(*w.chart(), best));
        QVERIFY(drawnAsExcluded(*w.chart(), best));
        QVERIFY(w.chart()
                    ->model()
                    .hitText(ChartView::LapTimes, ChartHit{0, best, 0, {}})
                    .contains(text(formatLapTime(laps[best].lapTime()))));

        f.deleteLine(1);
        QTRY_COMPARE(w.laps().size(), laps.size() - 1);
        QCOMPARE(w.stats().status[best - 1], LapStatus::ExcludedByUser);

        const QModelIndex moved = model.index(model.rowOf(best - 1), LapListModel::LapColumn);
        QVERIFY(model.setData(moved, Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(w.stats().bestLap->lap, best - 1);
        // Ticked again, the lap follows the rule: no choice is left to reset.
        QVERIFY(!w.analysis().hasChoices());
        QVERIFY(!w.findChild<QPushButton*>("resetChoices")->isEnabled());
        QVERIFY(drawnAsCounted(*w.chart(), best - 1));
    }

    void exclusionLimit()
    {
        Fixture f;
        f.bilLoad();
        AnalysisWindow& w = f.open();
        QCOMPARE(w.findChild<QSpinBox*>("excludeLimit")->value(), 110);
        QVERIFY(w.stats().countedCount < w.stats().timedCount);
        w.findChild<QSpinBox*>("excludeLimit")->setValue(0);
        QCOMPARE(w.stats().countedCount, w.stats().timedCount);
        // The converter's range: off, or 100 % and up; stepping down from 100 % turns it off.
        auto* limit = w.findChild<QSpinBox*>("excludeLimit");
        limit->setValue(1);
        QCOMPARE(limit->value(), 100);
        QVERIFY(w.stats().countedCount > 0 && w.stats().countedCount < w.stats().timedCount);
        limit->stepDown();
        QCOMPARE(limit->value(), 0);
        limit->stepUp();
        QCOMPARE(limit->value(), 100);
        limit->selectAll();
        QTest::keyClicks(limit, QStringLiteral("50"));
        QTest::keyClick(limit, Qt::Key_Enter);
        QCOMPARE(limit->value(), 100);
        // No lap counted: no best lap, and nothing breaks.
        LapListModel& model = *w.lapModel();
        for (int row = 0; row < model.rowCount(); ++row)
            model.setData(model.index(row, LapListModel::LapColumn), Qt::Unchecked,
                          Qt::CheckStateRole);
        QCOMPARE(w.stats().countedCount, 0);
        QCOMPARE(w.findChild<QLabel*>("bestLap")->text(), QStringLiteral("no counted lap"));
        const ChartMapping& m = w.chart()->layout().mapping;
        QVERIFY(w.chart()->model().lineRuns(ChartView::LapTimes, 0, 0, m).empty());
        QCOMPARE(w.chart()->model().rings(0, m).size(), qsizetype(w.laps().size()));
    }

    // Three files of a "bil load" are three sessions: the list names them, all sessions show
    // the day, one selected session is what the summary, the list and the chart show. Saved and
    // loaded again, the lap numbers find the same sessions.
    void sessionsOfSeveralFiles()
    {
        Fixture f;
        f.bilLoad(QStringLiteral("SESSION_KMH.BIL\rSESSION_MPH.BIL\rSESSION_KMH.BIL"));
        AnalysisWindow& w = f.open();
        const SessionAnalysis& a = w.analysis();
        QVERIFY(w.sessionsFromFiles());
        QCOMPARE(a.sessionCount(), std::size_t(3));
        QCOMPARE(a.session(1).unit, SpeedUnit::Mph);
        LapListModel& model = *w.lapModel();
        QCOMPARE(model.index(20, LapListModel::SessionColumn).data().toString(),
                 QStringLiteral("SESSION_MPH.BIL"));
        QVERIFY(!w.findChild<QTableView*>("lapList")->isColumnHidden(LapListModel::SessionColumn));
        QCOMPARE(model.headerData(LapListModel::SpeedMaxColumn, Qt::Horizontal).toString(),
                 QStringLiteral("Speed max"));
        QVERIFY(model.index(20, LapListModel::SpeedMaxColumn).data().toString().endsWith(" m/h"));
        // One day over both units: the m/h session's lap is the day's best; the top speeds
        // stay one per unit.
        const QString best = w.findChild<QLabel*>("bestLap")->text();
        QVERIFY2(best == "1:03.94   R2 lap 9", qPrintable(best));
        const QString speeds = w.findChild<QLabel*>("speedMax")->text();
        QVERIFY2(speeds.contains(" km/h   R1 lap ") && speeds.contains(" m/h   R2 lap "),
                 qPrintable(speeds));
        QCOMPARE(w.findChild<QTableView*>("comparison")->model()->rowCount(), 3);
        // The report of the day is named after its first and last file.
        QCOMPARE(w.proposedPdfName(), joinFolder(f.dir.path(), "SESSION_KMH-SESSION_KMH.pdf"));
        // The day's long lines scroll sideways; the window still fits a small screen.
        const int lineWidth = w.findChild<QLabel*>("theoreticalBest")->sizeHint().width();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QVERIFY(w.minimumSizeHint().width() < lineWidth);

        w.findChild<QComboBox*>("sessionSelector")->setCurrentIndex(2);
        QCOMPARE(w.shownSession(), std::optional<std::size_t>(1));
        QCOMPARE(model.rowCount(), 12);
        QCOMPARE(model.lapAt(0), std::size_t(20));
        QVERIFY(w.findChild<QLabel*>("bestLap")->text().endsWith("R2 lap 9"));
        QVERIFY(w.findChild<QLabel*>("title")->text().contains("speed in m/h"));
        // The chart shows that session alone, its counted laps as counted.
        const std::vector<ChartSession>& drawn = w.chart()->model().sessions();
        QCOMPARE(drawn.size(), std::size_t(1));
        QCOMPARE(int(std::count_if(drawn[0].laps.begin(), drawn[0].laps.end(),
                                   [](const ChartLap& lap) { return lap.counted; })),
                 w.stats().countedCount);
        // A toggled lap of the shown session counts in its session only.
        model.setData(model.index(1, LapListModel::LapColumn), Qt::Unchecked, Qt::CheckStateRole);
        QCOMPARE(a.status(21), LapStatus::ExcludedByUser);
        QCOMPARE(a.stats(1).countedCount, 10);
        QCOMPARE(a.stats(0).countedCount, 19);

        // The first lap line of a file deleted: the file's session begins at its next lap.
        f.deleteLine(int(w.laps()[20].line - 1));
        w.refresh();
        QVERIFY(w.sessionsFromFiles());
        QCOMPARE(a.session(1).lapCount, std::size_t(11));
        f.bilLoad(QStringLiteral("SESSION_KMH.BIL\rSESSION_MPH.BIL\rSESSION_KMH.BIL"));
        w.refresh();
        std::vector<std::pair<std::size_t, std::size_t>> spans;
        for (std::size_t s = 0; s < a.sessionCount(); ++s)
            spans.emplace_back(a.session(s).firstLap, a.session(s).lapCount);

        QVERIFY(writeBytes(f.dir.filePath("day.txt"), f.window->text().toUtf8()));
        f.window->setChooser([&f](SharedState& state) {
            state.PASS_NAME1 = f.dir.path();
            state.GET_NAME = QStringLiteral("day.txt");
        });
        f.click("FILE_LOAD");
        w.refresh();
        QVERIFY(!w.sessionsFromFiles());
        for (std::size_t s = 0; s < a.sessionCount(); ++s) {
            QCOMPARE(a.session(s).firstLap, spans[s].first);
            QCOMPARE(a.session(s).lapCount, spans[s].second);
        }
        QCOMPARE(a.sessionCount(), spans.size());
        QCOMPARE(w.shownSession(), std::optional<std::size_t>(1)); // the selection stays
        w.showSession(std::nullopt);
        QCOMPARE(model.index(20, LapListModel::SessionColumn).data().toString(),
                 QStringLiteral("Session 2"));
        // A session without a file name is named in the window's language.
        QVERIFY(installTranslators(*QCoreApplication::instance(), QStringLiteral("ja")));
        const auto restore = qScopeGuard(
            [] { installTranslators(*QCoreApplication::instance(), QStringLiteral("en")); });
        QCOMPARE(model.index(20, LapListModel::SessionColumn).data().toString(),
                 QStringLiteral("セッション 2"));
    }

    // A window the user narrowed stays so while the sessions stay; a "bil load" of a day of
    // sessions widens the open window again for the day's longer lines, within the screen.
    void widensForMoreSessions()
    {
        Fixture f;
        f.bilLoad();
        AnalysisWindow& w = f.open();
        w.resize(w.minimumSizeHint().width(), w.height());
        const int narrow = w.width();
        const std::size_t laps = w.laps().size();
        f.deleteLine(3);
        QTRY_COMPARE(w.laps().size(), laps - 1);
        QCOMPARE(w.width(), narrow);
        if (narrow >= w.screen()->availableGeometry().width() - 32)
            QSKIP("the window's narrowest leaves no room to grow on this screen");
        f.bilLoad(QStringLiteral("SESSION_KMH.BIL\rSESSION_MPH.BIL"));
        QTRY_COMPARE(w.analysis().sessionCount(), std::size_t(2));
        QVERIFY(w.width() > narrow);
        QVERIFY(w.frameGeometry().right() <= w.screen()->availableGeometry().right());
    }

    // After "!! non file !!" the analysis names the file that failed and why, and so does the
    // first page of its report, with the files not read.
    void failedLoadIsNamed()
    {
        Fixture f;
        f.bilLoad(QStringLiteral("SESSION_KMH.BIL\rMISSING.BIL\rSESSION_MPH.BIL"));
        QCOMPARE(f.warnings, QStringList{"!! non file !!"});
        AnalysisWindow& w = f.open();
        QCOMPARE(w.analysis().sessionCount(), std::size_t(2));
        QCOMPARE(w.analysis().session(1).lapCount, std::size_t(0));
        auto* fault = w.findChild<QLabel*>("fault");
        QVERIFY(!fault->isHidden());
        QVERIFY2(fault->text().contains("MISSING.BIL: cannot open") &&
                     fault->text().contains("1 later file"),
                 qPrintable(fault->text()));
        const QString covers = w.report().day.coverage.join(u'\n');
        QVERIFY2(covers.contains("MISSING.BIL: cannot open") && covers.contains("SESSION_MPH.BIL"),
                 qPrintable(covers));
    }

    void noLapTable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("says");
        QTest::newRow("empty") << QString() << "no lap table";
        QTest::newRow("prose") << "LAP 1  1:05.23\r\nnot a table"
                               << "no lap table";
        QTest::newRow("binary") << QString::fromLatin1("\x01\xff\x80 LAP\x00", 8) << "no lap table";
        QTest::newRow("header only") << text(std::string(headerLine(0))) + "\r\n   1  garbage\r\n"
                                     << "holds no laps";
    }
    void noLapTable()
    {
        QFETCH(QString, text);
        QFETCH(QString, says);
        Fixture f;
        f.window->append(text);
        AnalysisWindow& w = f.open();
        QVERIFY(!w.holdsTable());
        auto* shown = qobject_cast<QLabel*>(w.findChild<QStackedWidget*>()->currentWidget());
        QVERIFY(shown);
        QVERIFY2(shown->text().contains(says), qPrintable(shown->text()));
    }

    // Selecting a lap puts the view's caret on its line, also in a sorted list.
    void selectedLapMovesCaret()
    {
        Fixture f;
        f.bilLoad();
        AnalysisWindow& w = f.open();
        LapListModel& model = *w.lapModel();
        auto* list = w.findChild<QTableView*>("lapList");
        list->sortByColumn(LapListModel::TimeColumn, Qt::AscendingOrder);
        QCOMPARE(model.lapAt(0), w.stats().bestLap->lap);
        list->setCurrentIndex(model.index(0, LapListModel::TimeColumn));
        QCOMPARE(f.view()->textCursor().blockNumber(), int(w.laps()[model.lapAt(0)].line - 1));
        QVERIFY(f.view()->textCursor().atBlockStart());
        // Space clears the box of the selected lap, whatever column the cursor is in.
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(w.stats().status[model.lapAt(0)], LapStatus::ExcludedByUser);
        model.sort(-1);
        QCOMPARE(model.lapAt(0), std::size_t(0));
    }

    // The CSV of the laps as the boxes count them, under the name of the first lap file in the
    // text folder; a failed write warns with the reason.
    void exportCsv()
    {
        const QLocale before;
        QLocale::setDefault(QLocale::c());
        const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
        Fixture f;
        AnalysisWindow& w = f.open();
        QCOMPARE(w.proposedCsvPath(),
                 joinFolder(f.window->state().PASS_NAME1, QStringLiteral("LAP_TXT_DATA.csv")));
        f.bilLoad();
        QTRY_VERIFY(w.holdsTable());
        QCOMPARE(w.proposedCsvPath(), joinFolder(f.dir.path(), QStringLiteral("SESSION_KMH.csv")));
        w.lapModel()->setData(w.lapModel()->index(2, LapListModel::LapColumn), Qt::Unchecked,
                              Qt::CheckStateRole);

        QStringList proposed;
        QString answer = f.dir.filePath(QStringLiteral("out.csv"));
        w.setSaveName([&](QWidget*, const QString& path) {
            proposed << path;
            return answer;
        });
        w.findChild<QPushButton*>("exportCsv")->click();
        QCOMPARE(proposed, QStringList{w.proposedCsvPath()});
        QCOMPARE(readBytes(answer),
                 readBytes(QStringLiteral(MIREN_TEST_DATA_DIR "/SESSION_KMH-lap3-left-out.csv")));
        QCOMPARE(f.warnings, QStringList());

        answer = f.dir.filePath(QStringLiteral("gone/out.csv"));
        w.findChild<QPushButton*>("exportCsv")->click();
        QCOMPARE(f.warnings.size(), 1);
        QVERIFY(f.warnings[0].contains(QDir::toNativeSeparators(answer)));
        QVERIFY(!f.warnings[0].endsWith(QStringLiteral(": ")));
        QVERIFY(!QFile::exists(answer));

        answer.clear();
        w.findChild<QPushButton*>("exportCsv")->click();
        QCOMPARE(f.warnings.size(), 1);

#ifdef Q_OS_LINUX
        // A folder where only the old file may be written, on a full disk: the export is never
        // written in place, so the old file stays whole.
        const QString folder = f.dir.filePath(QStringLiteral("locked"));
        answer = folder + QStringLiteral("/old.csv");
        QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("locked")));
        QVERIFY(writeBytes(answer, "old") && QFile::setPermissions(answer, QFileDevice::ReadOther |
                                                                            QFileDevice::WriteOther));
        QVERIFY(QFile::setPermissions(f.dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                        QFileDevice::ExeOwner | QFileDevice::ExeOther));
        {
            LockedFolder locked(folder);
            QVERIFY(locked.ok());
            FileSizeLimit full(100);
            w.findChild<QPushButton*>("exportCsv")->click();
        }
        QCOMPARE(f.warnings.size(), 2);
        QCOMPARE(readBytes(answer), QByteArray("old"));
#endif
    }

    // A language that cannot be remembered is still the window's language, and the window says
    // that it is not kept.
    void languageThatCannotBeKeptIsSaid()
    {
        Fixture f;
        const QByteArray config = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(f.dir.filePath("config")));
        const auto restore = qScopeGuard([&] {
            qputenv("XDG_CONFIG_HOME", config);
            installTranslators(*QCoreApplication::instance(), QStringLiteral("en"));
        });
        // The settings file's name is taken by a folder: it can be neither read nor written.
        QVERIFY(QDir().mkpath(languageSettingsPath()));
        AnalysisWindow& w = f.open();
        auto* language = w.findChild<QComboBox*>("language");
        QCOMPARE(language->currentIndex(), 0);
        language->setCurrentIndex(language->findData(QStringLiteral("ja")));
        QCOMPARE(f.warnings.size(), 1);
        QVERIFY2(f.warnings[0].contains(QDir::toNativeSeparators(languageSettingsPath())),
                 qPrintable(f.warnings[0]));
        QTRY_COMPARE(w.findChild<QPushButton*>("resetChoices")->text(),
                     QStringLiteral("選択をリセット(&R)"));
        QVERIFY(QFileInfo(languageSettingsPath()).isDir());
    }

    // The window's export and miren-convert --format csv write the same bytes for the same lap
    // files; a file name a spreadsheet would take for a formula stays a text in both.
    void exportIsTheConvertersCsv()
    {
        const QLocale before;
        QLocale::setDefault(QLocale::c());
        const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
        Fixture f;
        QTemporaryDir laps;
        const QString names[] = {QStringLiteral("=1+1.BIL"), QStringLiteral("SESSION_MPH.BIL")};
        QVERIFY(QFile::copy(QStringLiteral(MIREN_SAMPLES_DIR "/SESSION_KMH.BIL"),
                            laps.filePath(names[0])));
        QVERIFY(QFile::copy(QStringLiteral(MIREN_SAMPLES_DIR "/SESSION_MPH.BIL"),
                            laps.filePath(names[1])));
        f.window->setChooser([&](SharedState& state) {
            state.PASS_NAME1 = f.dir.path();
            state.PASS_NAME2 = laps.path();
            state.GET_NAME = names[0] + u'\r' + names[1] + u'\r';
        });
        f.click("BIL_load");
        AnalysisWindow& w = f.open();
        QTRY_VERIFY(w.holdsTable());
        const QString exported = f.dir.filePath(QStringLiteral("window.csv"));
        w.setSaveName([&](QWidget*, const QString&) { return exported; });
        w.findChild<QPushButton*>("exportCsv")->click();

        QProcess convert;
        convert.start(QStringLiteral(MIREN_CONVERT_PATH),
                      {"--format", "csv", laps.filePath(names[0]), laps.filePath(names[1])});
        QVERIFY(convert.waitForFinished(60000));
        QCOMPARE(convert.exitCode(), 0);
        const QByteArray csv = convert.readAllStandardOutput();
        QCOMPARE(readBytes(exported), csv);
        QCOMPARE(csv.count("\r\n1,'=1+1.BIL,"), 20);
        QCOMPARE(csv.count(",m/h\r\n"), 12);
    }

    // Read block by block, a line of the view is a line of the table: numbering holds, and a
    // lap line with a character the table never writes is skipped, not read around.
    void documentLinesAreTableLines()
    {
        Fixture f;
        f.bilLoad();
        const QString table = f.window->text();
        QTextDocument document;
        QTextCursor cursor(&document);
        cursor.insertText(QStringLiteral("note above\n") +
                          table.section(QStringLiteral("\r\n"), 0, 2) + QStringLiteral("é\n") +
                          table.section(QStringLiteral("\r\n"), 3, 3));
        const LapTableText read = readLapDocument(document);
        QVERIFY(read.headerFound);
        QCOMPARE(read.laps.size(), std::size_t(2));
        QCOMPARE(read.laps[1].line, std::int64_t(5));
        QCOMPARE(read.skippedLines, std::vector<std::int64_t>{4});
    }

    // The lines kept in step with the edits of a document are its blocks after every kind of
    // edit: typing, a line end typed and deleted, lines pasted and cut, a non-ASCII character,
    // an undo, the whole text replaced; also after edits that waited while the lines were
    // shared.
    void mirroredLinesFollowEdits()
    {
        QTextDocument document;
        // As the view's: a document reports its changes only with a layout.
        document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
        document.setPlainText(QStringLiteral("a\nbb\nccc\ndddd\ne"));
        LapTextMirror mirror(document);
        QObject::connect(&document, &QTextDocument::contentsChange, &document,
                         [&](int p, int r, int a) { mirror.change(p, r, a); });
        const auto blocks = [&] {
            std::vector<std::string> lines;
            for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
                lines.push_back(b.text().toStdString());
            return lines;
        };
        const auto at = [&](int block, int column) {
            QTextCursor c(document.findBlockByNumber(block));
            c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
            return c;
        };
        const std::vector<std::function<void()>> edits{
            [&] { at(1, 1).insertText(QStringLiteral("x")); },
            [&] { at(2, 1).insertText(QStringLiteral("\n")); },
            [&] { at(0, 0).insertText(QStringLiteral("p1\np2\n")); },
            [&] { at(3, 0).insertText(QStringLiteral("é")); },
            [&] {
                QTextCursor c = at(1, 0);
                c.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor, 3);
                c.removeSelectedText();
            },
            [&] {
                QTextCursor c = at(0, 1);
                c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
                c.insertText(QStringLiteral("q\nr"));
            },
            [&] { document.undo(); },
            [&] { at(int(document.blockCount() - 1), 0).insertText(QStringLiteral("\n\n")); },
            [&] { document.setPlainText(QStringLiteral("new\ntext")); },
            [&] { document.clear(); },
        };
        // Lines shared with another thread stay as they were; the edits meanwhile wait.
        std::shared_ptr<const LapTextMirror::Lines> shared;
        LapTextMirror::Lines copy;
        for (std::size_t i = 0; i < edits.size(); ++i) {
            if (i == 3) {
                shared = mirror.share();
                copy = *shared;
            }
            edits[i]();
            if (i == 3 || i == 4) {
                QVERIFY(*shared == copy);
                continue;
            }
            if (i == 5)
                mirror.release();
            QVERIFY2(mirror.lines() == blocks(), qPrintable(QString::number(i)));
        }
    }

    // Without the files of a "bil load", a second header starts a session in its own unit, and
    // so does a lap number that does not rise.
    void sessionsFromTheText()
    {
        Fixture f;
        f.bilLoad();
        const QString table = f.window->text();
        const QString laps = table.section(QStringLiteral("\r\n"), 1, 20);
        QString mph = text(std::string(headerLine(1)));
        f.window->clear();
        f.window->append(table.section(QStringLiteral("\r\n"), 0, 0) + "\r\n" + laps + "\r\n" +
                         laps + "\r\n" + mph + "\r\n" + laps + "\r\n");
        AnalysisWindow& w = f.open();
        QVERIFY(!w.sessionsFromFiles());
        const SessionAnalysis& a = w.analysis();
        QCOMPARE(a.sessionCount(), std::size_t(3));
        QCOMPARE(a.session(1).firstLap, std::size_t(20));
        QCOMPARE(a.session(1).unit, SpeedUnit::Kmh);
        QCOMPARE(a.session(2).unit, SpeedUnit::Mph);
        QCOMPARE(w.skippedLines(), std::vector<std::int64_t>{42});
        // One day over both units; the speeds stay apart, and the window says where the
        // sessions' units come from.
        QVERIFY(a.unitsDiffer());
        QCOMPARE(a.day().speedMax.size(), std::size_t(2));
        QVERIFY(!w.findChild<QLabel*>("unitNote")->isHidden());
    }

    // Thousands of laps are drawn thinned, but the fastest and the slowest stay on the chart.
    void chartKeepsExtremesOfLongSessions()
    {
        std::vector<LapData> laps(10000);
        for (std::size_t i = 0; i < laps.size(); ++i) {
            laps[i].lapNumber = std::int64_t(i + 1);
            laps[i].blockCount = 1;
            laps[i].blocks[0].time = 6000 + std::int32_t(i * 7919 % 500);
        }
        laps[4321].blocks[0].time = 5900;
        laps[8765].blocks[0].time = 6540;
        const SessionStats stats = analyseSession(laps, {});
        ChartModel model;
        model.setSessions({chartSession(QString(), laps, stats)});
        const ChartMapping m = model.mapping(ChartView::LapTimes, QRectF(0, 0, 1000, 400), 5);
        const std::vector<QPolygonF> runs = model.lineRuns(ChartView::LapTimes, 0, 0, m);
        QCOMPARE(runs.size(), std::size_t(1));
        const QPolygonF& points = runs[0];
        QVERIFY(points.size() <= 2000);
        QVERIFY(points.contains(m.point(4322, 5900)));
        QVERIFY(points.contains(m.point(8766, 6540)));
        QVERIFY(std::is_sorted(points.begin(), points.end(),
                               [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); }));
    }

    // Hovering a lap's point shows its session, lap and time, also where the best-lap line runs
    // through, and the label stays while the pointer does.
    void hoverShowsLap()
    {
        Fixture f;
        f.bilLoad();
        AnalysisWindow& w = f.open();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        LapChart* chart = w.chart();
        const std::size_t lap = w.stats().bestLap->lap;
        const LapData& best = w.laps()[lap];
        const QPoint at = pointOf(*chart, lap, best.lapTime());
        movePointer(chart, at + QPoint(-6, 0));
        movePointer(chart, at);
        const QString expected = QStringLiteral("SESSION_KMH\nLap %1: %2")
                                     .arg(best.lapNumber)
                                     .arg(text(formatLapTime(best.lapTime())));
        QCOMPARE(chart->hoverText(), expected);
        QTest::qWait(1500);
        QCOMPARE(chart->hoverText(), expected);
        // The label is drawn on the chart: its pale ground is there beside the point.
        const QImage frame = chart->grab().toImage();
        bool labelDrawn = false;
        for (int dy = -40; dy <= 40 && !labelDrawn; ++dy) {
            for (int dx = -200; dx <= 200 && !labelDrawn; ++dx) {
                const QPoint p = (at + QPoint(dx, dy)) * frame.devicePixelRatio();
                labelDrawn = frame.rect().contains(p) && frame.pixel(p) == qRgb(0xFF, 0xFD, 0xE7);
            }
        }
        QVERIFY(labelDrawn);
        movePointer(chart, QPoint(1, 1));
        QCOMPARE(chart->hoverText(), QString());
    }

    // A click on a point selects its lap in the list, and so puts the view's caret on its line.
    void chartClickSelectsLap()
    {
        Fixture f;
        f.bilLoad();
        AnalysisWindow& w = f.open();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* list = w.findChild<QTableView*>("lapList");
        list->sortByColumn(LapListModel::TimeColumn, Qt::DescendingOrder);
        const std::size_t lap = 3;
        QTest::mouseClick(w.chart(), Qt::LeftButton, {},
                          pointOf(*w.chart(), lap, w.laps()[lap].lapTime()));
        QCOMPARE(list->currentIndex().row(), w.lapModel()->rowOf(lap));
        QCOMPARE(f.view()->textCursor().blockNumber(), int(w.laps()[lap].line - 1));
    }

    // The lap selected in the list is marked in the chart, which pans to it when zoomed
    // elsewhere, and stays marked when a lap is ticked off.
    void listSelectionMarksChart()
    {
        Fixture f;
        f.bilLoad(QStringLiteral("SESSION_KMH.BIL\rSESSION_MPH.BIL"));
        AnalysisWindow& w = f.open();
        LapChart& chart = *w.chart();
        const ChartModel& model = chart.model();
        const QRectF frame = chart.layout().mapping.frame;
        const QPointF end(frame.right() - 1, frame.center().y());
        for (int notch = 0; notch < 8; ++notch) {
            QWheelEvent wheel(end, chart.mapToGlobal(end), {}, QPoint(0, 120), Qt::NoButton, {},
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(&chart, &wheel);
        }
        const std::size_t lap = 4;
        QVERIFY(*model.axisOfLap(lap) < model.viewStart());
        auto* list = w.findChild<QTableView*>("lapList");
        list->setCurrentIndex(w.lapModel()->index(w.lapModel()->rowOf(lap), 0));
        QCOMPARE(chart.markedLap(), std::optional(lap));
        const double x = *model.axisOfLap(lap);
        QVERIFY(model.zoomed() && model.viewStart() <= x && x <= model.viewEnd());
        w.lapModel()->setData(w.lapModel()->index(w.lapModel()->rowOf(lap), 0), Qt::Unchecked,
                              Qt::CheckStateRole);
        QCOMPARE(chart.markedLap(), std::optional(lap));
    }

    // The switch above the chart shows the sector times or the TMP ranges of the same laps.
    void chartViewSwitch()
    {
        Fixture f;
        f.bilLoad();
        AnalysisWindow& w = f.open();
        LapChart& chart = *w.chart();
        QVERIFY(w.findChild<QRadioButton*>("lapTimesView")->isChecked());
        w.findChild<QRadioButton*>("sectorTimesView")->click();
        QCOMPARE(chart.view(), ChartView::SectorTimes);
        const int sectors = w.laps()[0].sectorCount();
        QVERIFY(sectors > 1);
        QCOMPARE(chart.model().seriesCount(ChartView::SectorTimes), sectors);
        QCOMPARE(chart.layout().legend.front().text, QStringLiteral("Sector 1"));
        const ChartMapping& m = chart.layout().mapping;
        for (int sector = 0; sector < sectors; ++sector) {
            QVERIFY(!chart.model().lineRuns(ChartView::SectorTimes, 0, sector, m).empty());
            QCOMPARE(chart.model().sectorBestMarks(sector, m).size(), 1);
        }
        w.findChild<QRadioButton*>("temperatureView")->click();
        QCOMPARE(chart.view(), ChartView::Temperatures);
        QCOMPARE(chart.layout().valueTitle, QStringLiteral("TMP1 and TMP2"));
        w.findChild<QRadioButton*>("lapTimesView")->click();
        QCOMPARE(chart.view(), ChartView::LapTimes);
    }

    void csvDialectFollowsLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<char>("delimiter");
        QTest::addColumn<char>("decimalPoint");
        QTest::newRow("en_US") << "en_US" << ',' << '.';
        QTest::newRow("de_DE") << "de_DE" << ';' << ',';
        QTest::newRow("fr_FR") << "fr_FR" << ';' << ',';
        QTest::newRow("C") << "C" << ',' << '.';
    }
    void csvDialectFollowsLocale()
    {
        QFETCH(QString, locale);
        QFETCH(char, delimiter);
        QFETCH(char, decimalPoint);
        const CsvDialect dialect = csvDialectForLocale(QLocale(locale));
        QCOMPARE(dialect.delimiter, delimiter);
        QCOMPARE(dialect.decimalPoint, decimalPoint);
    }

    // A language switch renames the open window's buttons, tabs, summary captions and chart at
    // once.
    void captionsFollowTheLanguage()
    {
        Fixture f;
        f.bilLoad();
        AnalysisWindow& w = f.open();
        const auto restore = qScopeGuard(
            [] { installTranslators(*QCoreApplication::instance(), QStringLiteral("en")); });
        auto* reset = w.findChild<QPushButton*>("resetChoices");
        auto* tabs = w.findChild<QTabWidget*>("tabs");
        const auto captions = [&] {
            QStringList texts;
            for (const QLabel* l : w.findChild<SummaryPanel*>("summary")->findChildren<QLabel*>())
                texts << l->text();
            return texts;
        };
        QCOMPARE(reset->text(), QStringLiteral("&Reset choices"));
        QVERIFY(captions().contains(QStringLiteral("Best lap")));
        QVERIFY(installTranslators(*QCoreApplication::instance(), QStringLiteral("ja")));
        QTRY_COMPARE(reset->text(), QStringLiteral("選択をリセット(&R)"));
        QCOMPARE(tabs->tabText(0), QStringLiteral("周回(&L)"));
        QVERIFY(captions().contains(QStringLiteral("ベストラップ")));
        QCOMPARE(w.chart()->layout().valueTitle, QStringLiteral("ラップタイム"));
        QCOMPARE(w.chart()->layout().legend.front().text, QStringLiteral("集計周回"));
        QVERIFY(installTranslators(*QCoreApplication::instance(), QStringLiteral("en")));
        QTRY_COMPARE(reset->text(), QStringLiteral("&Reset choices"));
        QVERIFY(captions().contains(QStringLiteral("Best lap")));
    }

    // "Save as PDF…" writes the report of the sessions shown, in the window's language: the
    // best lap's time on its page, the summary's captions translated, the GX figure with "."
    // in a comma-decimal locale.
    void saveAsPdf_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("bestCaption");
        QTest::newRow("en") << "en"
                            << "Best lap";
        QTest::newRow("ja") << "ja"
                            << "ベストラップ";
    }
    void saveAsPdf()
    {
        QFETCH(QString, language);
        QFETCH(QString, bestCaption);
        QVERIFY(installTranslators(*QCoreApplication::instance(), language));
        const QLocale before;
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        const auto restore = qScopeGuard([&] {
            installTranslators(*QCoreApplication::instance(), QStringLiteral("en"));
            QLocale::setDefault(before);
        });
        Fixture f;
        f.bilLoad();
        AnalysisWindow& w = f.open();
        QTRY_VERIFY(w.holdsTable());
        const auto captions = w.findChild<SummaryPanel*>("summary")->findChildren<QLabel*>();
        QVERIFY(std::any_of(captions.begin(), captions.end(),
                            [&](const QLabel* l) { return l->text() == bestCaption; }));
        const QString gx = w.findChild<QLabel*>("gxMax")->text();
        QVERIFY2(gx.contains(u'.') && !gx.contains(u','), qPrintable(gx));

        const QString path = f.dir.filePath(QStringLiteral("report.pdf"));
        QStringList proposed;
        w.setReportSaveName([&](QWidget*, const QString& name) {
            proposed << name;
            return path;
        });
        w.findChild<QPushButton*>("saveAsPdf")->click();
        QCOMPARE(proposed, QStringList{joinFolder(f.dir.path(), "SESSION_KMH.pdf")});
        QCOMPARE(f.warnings, QStringList());
        QProcess run;
        run.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, "-"});
        if (!run.waitForFinished())
            QSKIP("pdftotext (poppler-utils) reads the PDF");
        const QString pdf = QString::fromUtf8(run.readAllStandardOutput());
        QVERIFY2(pdf.contains(text(formatLapTime(w.stats().bestLap->value))) &&
                     pdf.contains(bestCaption) && pdf.contains(kSample),
                 qPrintable(pdf));
    }
};

MIREN_REGISTER_TEST(TestAnalysisWindow)
#include "TestAnalysisWindow.moc"
