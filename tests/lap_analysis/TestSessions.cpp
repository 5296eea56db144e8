#include "TestMain.h"
#include "lap_analysis/LapTableReader.h"
#include "lap_analysis/SessionCsv.h"
#include "lap_analysis/SessionFeed.h"
#include "lap_analysis/SessionTexts.h"
#include "lap_conversion/ConvertCommand.h"

#include <QTest>

namespace {

// A lap of the given number, time and sector times, from line `line` of a table.
LapData lap(std::int64_t number, std::int32_t time, std::vector<std::int32_t> sectors = {},
            std::int64_t line = 0)
{
    LapData l;
    l.lapNumber = number;
    l.line = line;
    l.blockCount = 1 + static_cast<int>(sectors.size());
    l.blocks[0].time = time;
    for (std::size_t s = 0; s < sectors.size(); ++s)
        l.blocks[s + 1].time = sectors[s];
    return l;
}

// Laps numbered as given, on lines 2, 3, ...
std::vector<LapData> numbered(std::vector<std::int64_t> numbers)
{
    std::vector<LapData> laps;
    for (const std::int64_t n : numbers)
        laps.push_back(lap(n, 6000, {}, std::int64_t(laps.size()) + 2));
    return laps;
}

// firstLap and lapCount of each session.
using Spans = std::vector<std::pair<std::size_t, std::size_t>>;
Spans spansOf(const std::vector<SessionSpan>& sessions)
{
    Spans spans;
    for (const SessionSpan& s : sessions)
        spans.emplace_back(s.firstLap, s.lapCount);
    return spans;
}

SessionSpan span(std::size_t first, std::size_t count, SpeedUnit unit = SpeedUnit::Kmh)
{
    return SessionSpan{{}, unit, first, count, {}};
}

} // namespace

class TestSessions : public QObject {
    Q_OBJECT
private slots:
    void fromTable_data();
    void fromTable();
    void fromFiles_data();
    void fromFiles();
    void bilLoadAndRestartsAgree();
    void rollingLapNeverCrossesSessions();
    void dayTheoreticalBestNamesSessionAndLap();
    void oneDayOverTwoUnits();
    void toggleReturnsToTheRule();
    void reports();
    void badInput();
};

void TestSessions::fromTable_data()
{
    QTest::addColumn<std::vector<LapData>>("laps");
    QTest::addColumn<std::vector<LaterHeader>>("headers");
    QTest::addColumn<Spans>("spans");
    QTest::addColumn<bool>("secondIsMph");
    using H = std::vector<LaterHeader>;
    QTest::newRow("numbers restart at 1")
        << numbered({1, 2, 3, 1, 2, 1}) << H{} << Spans{{0, 3}, {3, 2}, {5, 1}} << false;
    QTest::newRow("a repeated number restarts")
        << numbered({4, 5, 5}) << H{} << Spans{{0, 2}, {2, 1}} << false;
    QTest::newRow("gaps still rise") << numbered({1, 5, 9}) << H{} << Spans{{0, 3}} << false;
    // A header on line 4, between the laps on lines 3 and 5; the numbers go on rising past it.
    std::vector<LapData> header = numbered({1, 2, 3, 4});
    header[2].line = 5;
    header[3].line = 6;
    QTest::newRow("later header") << header << H{{4, SpeedUnit::Mph}} << Spans{{0, 2}, {2, 2}}
                                  << true;
    std::vector<LapData> cut = numbered({9998, 9999, 0, 1});
    cut[2].lapNumberCut = cut[3].lapNumberCut = true;
    QTest::newRow("cut numbers never restart") << cut << H{} << Spans{{0, 4}} << false;
    QTest::newRow("no laps") << std::vector<LapData>{} << H{} << Spans{} << false;
}

void TestSessions::fromTable()
{
    QFETCH(std::vector<LapData>, laps);
    QFETCH(std::vector<LaterHeader>, headers);
    QFETCH(Spans, spans);
    QFETCH(bool, secondIsMph);
    const std::vector<SessionSpan> sessions = sessionsFromTable(laps, SpeedUnit::Kmh, headers);
    QCOMPARE(spansOf(sessions), spans);
    if (sessions.size() > 1) {
        QCOMPARE(sessions[0].unit, SpeedUnit::Kmh);
        QCOMPARE(sessions[1].unit, secondIsMph ? SpeedUnit::Mph : SpeedUnit::Kmh);
    }

    // Streamed, header by header and lap by lap as a file is read, the feed finds the same
    // sessions, each named after the file.
    SessionFeed feed(false);
    feed.beginSource("DAY.txt", LapInputKind::TableText);
    feed.receiver().unit(SpeedUnit::Kmh);
    std::size_t next = 0;
    for (const LapData& l : laps) {
        for (; next < headers.size() && headers[next].line < l.line; ++next)
            feed.receiver().laterHeader(headers[next].unit);
        feed.receiver().lap(l);
    }
    feed.endSource();
    if (laps.empty())
        return;
    QCOMPARE(spansOf(feed.sessions()), spans);
    for (std::size_t s = 0; s < sessions.size(); ++s) {
        QCOMPARE(feed.sessions()[s].unit, sessions[s].unit);
        QCOMPARE(feed.sessions()[s].name, std::string("DAY.txt"));
    }
}

void TestSessions::fromFiles_data()
{
    QTest::addColumn<std::vector<std::int64_t>>("firstLines"); // per file, 0: no lap line
    QTest::addColumn<std::vector<std::int64_t>>("lapLines");
    QTest::addColumn<Spans>("spans"); // empty: does not fit
    using L = std::vector<std::int64_t>;
    QTest::newRow("as loaded") << L{2, 5} << L{2, 3, 4, 5, 6} << Spans{{0, 3}, {3, 2}};
    QTest::newRow("lines moved, laps deleted") << L{3, 5} << L{3, 5, 9} << Spans{{0, 1}, {1, 2}};
    QTest::newRow("files without laps")
        << L{0, 2, 0, 4, 0} << L{2, 3, 4} << Spans{{0, 0}, {0, 2}, {2, 0}, {2, 1}, {3, 0}};
    QTest::newRow("first line no longer a lap") << L{2, 5} << L{2, 3, 4, 6} << Spans{};
    QTest::newRow("a lap before the first file") << L{3, 5} << L{2, 3, 5} << Spans{};
    QTest::newRow("out of order") << L{5, 2} << L{2, 5} << Spans{};
    QTest::newRow("no file with laps") << L{0} << L{2} << Spans{};
}

void TestSessions::fromFiles()
{
    QFETCH(std::vector<std::int64_t>, firstLines);
    QFETCH(std::vector<std::int64_t>, lapLines);
    QFETCH(Spans, spans);
    std::vector<LapData> laps;
    for (const std::int64_t line : lapLines)
        laps.push_back(lap(1, 6000, {}, line));
    std::vector<LoadedFile> files;
    for (const std::int64_t line : firstLines)
        files.push_back({"F" + std::to_string(files.size()), line, SpeedUnit::Mph, {}});
    const auto sessions = sessionsFromFiles(laps, files, SpeedUnit::Kmh);
    QCOMPARE(sessions.has_value(), !spans.empty());
    if (sessions) {
        QCOMPARE(spansOf(*sessions), spans);
        QCOMPARE(sessions->back().name, files.back().name);
        QCOMPARE(sessions->back().unit, SpeedUnit::Mph);
    }
}

// The record "bil load" keeps and the lap-number rule find the same sessions in a saved table.
void TestSessions::bilLoadAndRestartsAgree()
{
    SharedState state;
    state.PASS_NAME2 = QStringLiteral(MIREN_SAMPLES_DIR);
    state.GET_NAME =
        QStringLiteral("SESSION_KMH.BIL\rSESSION_MPH.BIL\rEXAMPLE.BIL\rSESSION_KMH.BIL\r");
    MemoryTextView view;
    LapFileLoad load;
    convertLapFiles(
        state, view, [](const QString& m) { QFAIL(qPrintable(m)); }, '.', &load);
    const LapTableText table = readLapTable(view.text().toStdString());
    QVERIFY(load.replacedView && load.files.size() == 4);

    std::vector<LoadedFile> files;
    for (const LapFileLoad::File& f : load.files)
        files.push_back({f.name.toStdString(),
                         f.firstLine + 1,
                         f.unitFlag == 1 ? SpeedUnit::Mph : SpeedUnit::Kmh,
                         {}});
    const auto byFiles = sessionsFromFiles(table.laps, files, table.unit);
    QVERIFY(byFiles);
    const std::vector<SessionSpan> byNumbers = sessionsFromTable(table.laps, table.unit);
    QCOMPARE(spansOf(*byFiles), spansOf(byNumbers));
    QCOMPARE(spansOf(*byFiles), (Spans{{0, 20}, {20, 12}, {32, 1}, {33, 20}}));
    QCOMPARE((*byFiles)[1].unit, SpeedUnit::Mph);
    QCOMPARE((*byFiles)[1].name, std::string("SESSION_MPH.BIL"));
}

void TestSessions::rollingLapNeverCrossesSessions()
{
    // S1's last lap ends fast and S2's first lap starts fast: joined they would make 5000, and
    // S1 lap 2's sectors follow lap 1's in the list of laps.
    SessionAnalysis a;
    a.load({lap(1, 6000, {3000, 3000}), lap(2, 6000, {3000, 2500}), lap(1, 6000, {2500, 3000}),
            lap(2, 6000, {3000, 3000})},
           {span(0, 2), span(2, 2)});
    for (std::size_t s = 0; s < 2; ++s) {
        const auto& r = a.stats(s).rollingBest;
        QVERIFY(r);
        QCOMPARE(r->time, 5500);
    }
    const DayStats& day = a.day();
    QVERIFY(day.rollingBest);
    QCOMPARE(day.rollingBest->at.time, 5500);
    QCOMPARE(a.sessionOf(day.rollingBest->at.startLap), a.sessionOf(day.rollingBest->at.endLap));
    QCOMPARE(day.rollingBest->session, std::size_t(0));
}

void TestSessions::dayTheoreticalBestNamesSessionAndLap()
{
    SessionAnalysis a;
    a.load({lap(1, 6000, {3000, 3000}), lap(2, 5990, {2900, 3090}), lap(1, 6100, {3100, 3000}),
            lap(2, 6050, {3060, 2950}), lap(3, 6020, {3020, 3000})},
           {span(0, 2), span(2, 3)});
    const DayStats& day = a.day();
    QVERIFY(day.theoreticalBest);
    QCOMPARE(day.theoreticalBest->time, 2900 + 2950);
    QCOMPARE(day.theoreticalBest->sectors.size(), std::size_t(2));
    QCOMPARE(day.theoreticalBest->sectors[0].session, std::size_t(0));
    QCOMPARE(day.theoreticalBest->sectors[0].lap, std::size_t(1));
    QCOMPARE(day.theoreticalBest->sectors[1].session, std::size_t(1));
    QCOMPARE(day.theoreticalBest->sectors[1].lap, std::size_t(3));
    QCOMPARE(day.bestLap->lap, std::size_t(1));
    QVERIFY2(daySummary(a).find("best sectors from R1 lap 2, R2 lap 2\n") != std::string::npos,
             daySummary(a).c_str());

    // Sessions of different sector counts give no theoretical best of the day.
    a.load({lap(1, 6000, {3000, 3000}), lap(1, 6000, {2000, 2000, 2000})},
           {span(0, 1), span(1, 1)});
    QVERIFY(a.stats(0).theoreticalBest && a.stats(1).theoreticalBest);
    QVERIFY(!a.day().theoreticalBest);
}

// Times are times whatever the speed unit: the day's best lap and theoretical best take the
// m/h session's laps and sectors; only the top speeds stay apart, one per unit.
void TestSessions::oneDayOverTwoUnits()
{
    std::vector<LapData> laps{lap(1, 6000, {3000, 3000}), lap(2, 6100, {3000, 3100}),
                              lap(1, 5000, {2900, 2100}), lap(1, 6200, {2800, 3400})};
    laps[0].blocks[0].speedMax = 160;
    laps[2].blocks[0].speedMax = 110; // m/h
    laps[3].blocks[0].speedMax = 150;
    SessionAnalysis a;
    a.load(laps, {span(0, 2), span(2, 1, SpeedUnit::Mph), span(3, 1)});
    QVERIFY(a.unitsDiffer());
    const DayStats& day = a.day();
    QCOMPARE(day.sessions, (std::vector<std::size_t>{0, 1, 2}));
    QCOMPARE(day.bestLap->value, 5000); // the m/h session's lap is the day's best
    QCOMPARE(day.theoreticalBest->time, 2800 + 2100);
    QCOMPARE(day.theoreticalBest->sectors[1].session, std::size_t(1));
    QCOMPARE(day.speedMax.size(), std::size_t(2));
    QCOMPARE(day.speedMax[0].unit, SpeedUnit::Kmh);
    QCOMPARE(day.speedMax[0].at.value, 160);
    QCOMPARE(day.speedMax[1].unit, SpeedUnit::Mph);
    QCOMPARE(day.speedMax[1].at.value, 110);
    const std::vector<SessionComparison> rows = a.comparison();
    QCOMPARE(rows[2].bestGap, std::optional<std::int32_t>(1200));
    QCOMPARE(rows[1].bestGap, std::optional<std::int32_t>(0));
    const std::string summary = daySummary(a);
    for (const char* says : {"Day: 3 sessions, 4 laps", "Best lap        0:50.00  R2 lap 1\n",
                             "speed max         160  km/h  R1 lap 1\n",
                             "speed max         110  m/h   R2 lap 1\n"})
        QVERIFY2(summary.find(says) != std::string::npos, summary.c_str());

    const std::string csv = sessionLapCsv(a, csvDialectFor(','));
    QVERIFY(csv.starts_with("session,session_name,lap,counted,lap_time_s,rpm_min,rpm_max,"
                            "speed_min,speed_max,"));
    QVERIFY(csv.find("_kmh") == std::string::npos && csv.find("_mph") == std::string::npos);
    QVERIFY(csv.find(",km/h\r\n2,,1,1,50.00,") != std::string::npos);
    const std::string empty = ",0,0,0,0,0.0,0.0,0,0,0,0,0";
    QVERIFY(csv.ends_with(",m/h\r\n3,,1,1,62.00" + std::string(",0,0,0,150,0.0,0.0,0,0,0,0,0") +
                          ",28.00" + empty + ",34.00" + empty + std::string(4 * 12, ',') +
                          ",km/h\r\n"));
}

void TestSessions::toggleReturnsToTheRule()
{
    SessionAnalysis a;
    a.load({lap(1, 7000), lap(2, 6000), lap(3, 6100), lap(4, 6200)}, {span(0, 4)});
    QCOMPARE(a.status(0), LapStatus::ExcludedSlow);
    a.toggleLap(3);
    QCOMPARE(a.status(3), LapStatus::ExcludedByUser);
    a.toggleLap(3); // back to the rule: no choice is kept
    QCOMPARE(a.status(3), LapStatus::Counted);
    QVERIFY(!a.hasChoices());
    a.setExcludeSlowerPercent(100);
    QCOMPARE(a.status(3), LapStatus::ExcludedSlow);
    a.setExcludeSlowerPercent(110);

    a.toggleLap(0);
    QCOMPARE(a.status(0), LapStatus::Counted);
    // The choice follows its lap through a reload that drops the lap before it.
    a.load({lap(2, 6000), lap(1, 7000), lap(3, 6100), lap(4, 6050), lap(5, 6080)}, {span(0, 5)});
    QCOMPARE(a.status(1), LapStatus::Counted);
    QCOMPARE(a.choiceOf(1), std::optional<bool>(true));
    a.resetChoices();
    QCOMPARE(a.status(1), LapStatus::ExcludedSlow);
    a.toggleLap(1);
    a.toggleLap(1);
    QCOMPARE(a.status(1), LapStatus::ExcludedSlow);
    QVERIFY(!a.hasChoices());
}

void TestSessions::reports()
{
    std::vector<LapData> laps{lap(1, 6000, {3000, 3000}), lap(2, 6100, {3000, 3100}),
                              lap(1, 5900, {2950, 2950})};
    SessionAnalysis one;
    one.load(laps, {span(0, 3)});
    QCOMPARE(sessionsSummary(one, {}), sessionSummary(laps, SpeedUnit::Kmh, analyseSession(laps)));

    SessionAnalysis two;
    std::vector<SessionSpan> spans{span(0, 2), span(2, 1)};
    spans[0].name = "PRACTICE, \"wet\".BIL";
    two.load(laps, spans);
    const std::string summary = sessionsSummary(two, {});
    for (const char* says :
         {"2 sessions: 3 laps, 3 timed, 3 counted\n", "Session 1, PRACTICE, \"wet\".BIL: 2 laps",
          "Best lap        1:00.00  R1 lap 1\n", "Day: 2 sessions, 3 laps",
          "Best lap        0:59.00  R2 lap 1\n", "\nSessions\n"})
        QVERIFY2(summary.find(says) != std::string::npos, summary.c_str());

    const std::string csv = comparisonCsv(two, csvDialectFor(';'));
    QCOMPARE(csv, std::string("session;session_name;speed_unit;laps;counted;best_s;best_gap_s;"
                              "best_lap;theoretical_s;theoretical_gap_s;median_s;median_gap_s;"
                              "stddev_s;stddev_gap_s\r\n"
                              "1;\"PRACTICE, \"\"wet\"\".BIL\";km/h;2;2;60,00;1,00;1;60,00;1,00;"
                              "60,50;1,50;0,71;0,00\r\n"
                              "2;;km/h;1;1;59,00;0,00;1;59,00;0,00;59,00;0,00;;\r\n"));
    const std::string text = comparisonText(two);
    QVERIFY2(text.find("km/h      1        1    0:59.00  lap 1        +0.00") != std::string::npos,
             text.c_str());
}

// Sessions without laps or times, and many of them: figures are absent, never made up.
void TestSessions::badInput()
{
    std::vector<LapData> laps{lap(1, kUnknownTime), lap(2, kUnknownTime)};
    std::vector<SessionSpan> spans{span(0, 0), span(0, 2)};
    for (std::size_t s = 0; s < 10000; ++s) {
        laps.push_back(lap(1, 6000 + std::int32_t(s % 7)));
        spans.push_back(span(laps.size() - 1, 1, s % 2 ? SpeedUnit::Mph : SpeedUnit::Kmh));
    }
    SessionAnalysis a;
    a.load(laps, spans);
    QCOMPARE(a.sessionCount(), std::size_t(10002));
    QCOMPARE(a.day().sessions.front(), std::size_t(1)); // the session of no laps is not in it
    QVERIFY(!a.stats(1).bestLap);
    const std::vector<SessionComparison> rows = a.comparison();
    QVERIFY(!rows[0].best && !rows[1].best && !rows[1].bestGap && rows[2].best);
    const std::string summary = sessionsSummary(a, {});
    QVERIFY(summary.find("Session 1: no laps\n") != std::string::npos);
    QVERIFY(summary.find("No counted lap") != std::string::npos);
    QVERIFY(summary.find("Day: 10001 sessions") != std::string::npos);

    // Sessions that do not cover the laps are not taken: the laps are one session.
    a.load(laps, {span(0, 1)});
    QCOMPARE(a.sessionCount(), std::size_t(1));
    QCOMPARE(a.session(0).lapCount, laps.size());
}

MIREN_REGISTER_TEST(TestSessions)
#include "TestSessions.moc"
