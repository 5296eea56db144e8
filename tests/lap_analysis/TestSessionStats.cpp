#include "TestMain.h"
#include "lap_analysis/SessionStats.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// A lap of the given time and sector times (kUnknownTime for "-:--.--"); laps are numbered from
// 1 in the order they are made.
LapData lap(std::int32_t time, std::vector<std::int32_t> sectors = {})
{
    static std::int64_t number = 0;
    LapData l;
    l.lapNumber = ++number;
    l.blockCount = 1 + static_cast<int>(sectors.size());
    l.blocks[0].time = time;
    for (std::size_t s = 0; s < sectors.size(); ++s)
        l.blocks[s + 1].time = sectors[s];
    return l;
}

using Statuses = std::vector<LapStatus>;
using Overrides = std::map<std::size_t, bool>;
constexpr auto C = LapStatus::Counted;
constexpr auto U = LapStatus::Untimed;
constexpr auto S = LapStatus::ExcludedSlow;
constexpr auto F = LapStatus::ExcludedFast;
constexpr auto X = LapStatus::ExcludedByUser;

} // namespace

class TestSessionStats : public QObject {
    Q_OBJECT
private slots:
    void exclusion_data();
    void exclusion();
    void session();
    void rollingAcrossLapEnd();
    void sectorsMissingOnSomeLaps();
    void noCountedLap();
    void oneLap();
    void peaks();
    void histogramMedian();
    void countedLapRule_data();
    void countedLapRule();
    void listedLines();
};

void TestSessionStats::exclusion_data()
{
    QTest::addColumn<std::vector<LapData>>("laps");
    QTest::addColumn<double>("percent");
    QTest::addColumn<Overrides>("overrides");
    QTest::addColumn<int>("median");
    QTest::addColumn<Statuses>("status");
    QTest::addColumn<int>("best"); // lap position, -1 for none

    using Laps = std::vector<LapData>;
    // The median leaves out the first and last lap: 6000, limit 6600; the out-lap and the
    // in-lap go.
    const Laps session{lap(7000), lap(6000), lap(5900), lap(6100), lap(6711)};
    QTest::newRow("out-lap and in-lap")
        << session << 110.0 << Overrides{} << 6000 << Statuses{S, C, C, C, S} << 2;
    // Three laps: the one flying lap alone sets the median, so neither slow lap counts.
    QTest::newRow("short session: out-lap, one flying lap, in-lap")
        << Laps{lap(7830), lap(6392), lap(8155)} << 110.0 << Overrides{} << 6392
        << Statuses{S, C, S} << 1;
    // A beacon read twice: a lap far faster than the median is no lap, and no best lap.
    QTest::newRow("mis-triggered lap")
        << Laps{lap(7600), lap(6410), lap(500), lap(6380), lap(6450), lap(6400), lap(7900)} << 110.0
        << Overrides{} << 6400 << Statuses{S, C, F, C, C, C, S} << 3;
    QTest::newRow("two laps: both set the median")
        << Laps{lap(6000), lap(6500)} << 110.0 << Overrides{} << 6250 << Statuses{C, C} << 0;
    QTest::newRow("only the first and last are timed")
        << Laps{lap(6000), lap(kUnknownTime), lap(6200)} << 110.0 << Overrides{} << 6100
        << Statuses{C, U, C} << 0;
    QTest::newRow("limit itself counts") << Laps{lap(6000), lap(6000), lap(6600)} << 110.0
                                         << Overrides{} << 6000 << Statuses{C, C, C} << 0;
    QTest::newRow("rule off") << session << 0.0 << Overrides{} << 6000 << Statuses{C, C, C, C, C}
                              << 2;
    QTest::newRow("overrides") << session << 110.0 << Overrides{{0, true}, {2, false}, {9, false}}
                               << 6000 << Statuses{C, C, X, C, S} << 1;
    QTest::newRow("even count: middle two, half up")
        << Laps{lap(6000), lap(6003), lap(9000), lap(5000)} << 150.0 << Overrides{} << 7502
        << Statuses{C, C, C, C} << 3;
    QTest::newRow("untimed laps stay out")
        << Laps{lap(kUnknownTime), lap(6000), lap(6001), LapData{}} << 110.0 << Overrides{{0, true}}
        << 6001 << Statuses{U, C, C, U} << 1;
    QTest::newRow("tie goes to the earlier lap") << Laps{lap(6100), lap(6000), lap(6000)} << 110.0
                                                 << Overrides{} << 6000 << Statuses{C, C, C} << 1;
}

void TestSessionStats::exclusion()
{
    QFETCH(std::vector<LapData>, laps);
    QFETCH(double, percent);
    QFETCH(Overrides, overrides);
    QFETCH(int, median);
    QFETCH(Statuses, status);
    QFETCH(int, best);
    const SessionStats stats = analyseSession(laps, {percent, overrides});
    QCOMPARE(stats.medianTimed, std::optional<std::int32_t>(median));
    QCOMPARE(stats.status, status);
    QCOMPARE(stats.countedCount, static_cast<int>(std::count(status.begin(), status.end(), C)));
    QVERIFY(stats.bestLap.has_value());
    QCOMPARE(static_cast<int>(stats.bestLap->lap), best);
    for (std::size_t i = 0; i < laps.size(); ++i) {
        const std::int32_t gap =
            laps[i].timed() ? laps[i].lapTime() - laps[std::size_t(best)].lapTime() : kUnknownTime;
        QCOMPARE(stats.gapToBest[i], gap);
    }
}

void TestSessionStats::session()
{
    const std::vector<LapData> laps{lap(7500, {2500, 2500, 2500}), lap(6200, {2000, 2100, 2100}),
                                    lap(6000, {2050, 1900, 2050}), lap(6100, {2000, 2000, 2100})};
    const SessionStats stats = analyseSession(laps);
    QCOMPARE(stats.status, (Statuses{S, C, C, C}));
    QCOMPARE(stats.bestLap->value, 6000);
    // Sector 1: 2000 on laps 1 and 3, the earlier wins; the out-lap's times do not count.
    QCOMPARE(stats.sectorBest[0]->value, 2000);
    QCOMPARE(stats.sectorBest[0]->lap, std::size_t{1});
    QCOMPARE(stats.sectorBest[1]->lap, std::size_t{2});
    QCOMPARE(stats.sectorBest[2]->value, 2050);
    QVERIFY(!stats.sectorBest[3]);
    QCOMPARE(stats.theoreticalBest->time, 5950);
    QCOMPARE(stats.theoreticalBest->sectorLaps, (std::vector<std::size_t>{1, 2, 2}));

    const auto& c = stats.consistency;
    QCOMPARE(c.count, 3);
    QCOMPARE(c.mean, 6100.0);
    QCOMPARE(c.median, 6100.0);
    QCOMPARE(c.stddev, 100.0);
    QVERIFY(qFuzzyCompare(*c.stddevPercent, 100.0 / 61.0));
    QCOMPARE(stats.totalTime, 25800);
    QCOMPARE(stats.timedCount, 4);
}

void TestSessionStats::rollingAcrossLapEnd()
{
    // Lap 0 sector 2 with lap 1 sector 1 makes 5700, faster than any whole lap; lap 2 is slow
    // and excluded, so the fast sector 1 of lap 3 cannot join lap 1's sector 2.
    const std::vector<LapData> laps{lap(5800, {3000, 2800}), lap(6200, {2900, 3300}),
                                    lap(9000, {4500, 4500}), lap(6100, {2000, 4100})};
    const SessionStats stats = analyseSession(laps);
    QCOMPARE(stats.status, (Statuses{C, C, S, C}));
    const auto& r = stats.rollingBest;
    QVERIFY(r);
    QCOMPARE(r->time, 5700);
    QCOMPARE(r->startLap, std::size_t{0});
    QCOMPARE(r->startSector, 2);
    QCOMPARE(r->endLap, std::size_t{1});
    QCOMPARE(r->endSector, 1);
    QCOMPARE(stats.theoreticalBest->time, 2000 + 2800);

    // An unknown sector time keeps every window holding it out.
    const std::vector<LapData> gap{lap(5800, {3000, kUnknownTime}), lap(6200, {2900, 3300})};
    QCOMPARE(analyseSession(gap).rollingBest->time, 6200);
}

void TestSessionStats::sectorsMissingOnSomeLaps()
{
    const std::vector<LapData> laps{lap(6000, {3000, 3000}), lap(6050, {2900}), lap(6020)};
    const SessionStats stats = analyseSession(laps);
    QCOMPARE(stats.sectorBest[0]->lap, std::size_t{1});
    QCOMPARE(stats.sectorBest[1]->lap, std::size_t{0});
    QVERIFY(!stats.theoreticalBest);
    QVERIFY(!stats.rollingBest);
}

void TestSessionStats::noCountedLap()
{
    const std::vector<LapData> laps{lap(6000, {3000, 3000}), lap(kUnknownTime, {3000})};
    const SessionStats stats = analyseSession(laps, {110.0, {{0, false}}});
    QCOMPARE(stats.status, (Statuses{X, U}));
    QVERIFY(!stats.bestLap && !stats.theoreticalBest && !stats.rollingBest && !stats.sectorBest[0]);
    QCOMPARE(stats.gapToBest, (std::vector<std::int32_t>{kUnknownTime, kUnknownTime}));
    QCOMPARE(stats.consistency.count, 0);
    QCOMPARE(stats.timedCount, 1);
    QVERIFY(!analyseSession({}).medianTimed);
}

void TestSessionStats::oneLap()
{
    const std::vector<LapData> laps{lap(6000, {3100, 2900})};
    const SessionStats stats = analyseSession(laps);
    QCOMPARE(stats.bestLap->value, 6000);
    QCOMPARE(stats.rollingBest->time, 6000);
    QCOMPARE(stats.consistency.stddev, 0.0);
    QVERIFY(!stats.consistency.stddevPercent);
}

void TestSessionStats::peaks()
{
    std::vector<LapData> laps{lap(6000), lap(kUnknownTime), lap(7000)};
    laps[0].blocks[0].rpmMax = 9000;
    laps[1].blocks[0].rpmMax = 9500; // an untimed lap's peak still counts
    laps[2].blocks[0].rpmMax = 9500;
    laps[0].blocks[0].tmp1Min = 70;
    laps[2].blocks[0].tmp1Min = 70;
    laps[1].blocks[0].tmp1Min = 75;
    laps[2].blocks[0].length = 2400;
    laps[1].blocks[0].length = 9999; // untimed: not in the total
    const SessionStats stats = analyseSession(laps);
    QCOMPARE(stats.rpmMax->value, 9500);
    QCOMPARE(stats.rpmMax->lap, std::size_t{1});
    QCOMPARE(stats.tmp1Min->lap, std::size_t{0});
    QCOMPARE(stats.totalLength, 2400);
    QCOMPARE(stats.totalTime, 13000);
}

void TestSessionStats::histogramMedian()
{
    QRandomGenerator random(7);
    for (int round = 0; round < 50; ++round) {
        TimeHistogram histogram;
        std::vector<std::int32_t> times;
        const int count = random.bounded(1, 40);
        for (int i = 0; i < count; ++i) {
            times.push_back(random.bounded(kMaxShownTime + 1));
            histogram.add(times.back());
        }
        histogram.add(kUnknownTime);
        QCOMPARE(histogram.median(), medianHundredths(times));
    }
    QVERIFY(!TimeHistogram().median());

    // Streamed lap by lap, a session's reference is the one its laps give in memory.
    StreamedReference reference;
    for (int round = 0; round < 200; ++round) {
        std::vector<LapData> laps;
        const int count = random.bounded(0, 8);
        for (int i = 0; i < count; ++i)
            laps.push_back(lap(random.bounded(4) == 0 ? kUnknownTime
                                                      : std::int32_t(random.bounded(1, 900))));
        for (const LapData& l : laps)
            reference.add(l.lapTime());
        QCOMPARE(reference.median(), referenceMedian(laps));
        reference.clear();
    }

    // Emptied for the next session, it forgets every time of the last one.
    TimeHistogram histogram;
    for (const std::int32_t t : {100, 59999, 300})
        histogram.add(t);
    histogram.clear();
    histogram.add(5000);
    QCOMPARE(histogram.count(), std::int64_t(1));
    QCOMPARE(histogram.median(), std::optional<std::int32_t>(5000));
}

void TestSessionStats::countedLapRule_data()
{
    QTest::addColumn<int>("time");
    QTest::addColumn<int>("limit");  // -1: none; -2: those of a median of 6001
    QTest::addColumn<int>("choice"); // -1 none, 0 excluded, 1 counted
    QTest::addColumn<LapStatus>("status");
    QTest::newRow("at the limit") << 6600 << 6600 << -1 << C;
    QTest::newRow("above the limit") << 6601 << 6600 << -1 << S;
    QTest::newRow("no limit") << 59999 << -1 << -1 << C;
    QTest::newRow("counted by choice") << 9000 << 6600 << 1 << C;
    QTest::newRow("excluded by choice") << 6000 << 6600 << 0 << X;
    QTest::newRow("untimed, whatever the choice") << int(kUnknownTime) << -1 << 1 << U;
    // The limits of a median of 6001 at 110 %: 6601 the slowest and 3001 the fastest counted.
    QTest::newRow("half the median counts") << 3001 << -2 << -1 << C;
    QTest::newRow("below half the median") << 3000 << -2 << -1 << F;
    QTest::newRow("too fast, counted by choice") << 3000 << -2 << 1 << C;
}

void TestSessionStats::countedLapRule()
{
    QFETCH(int, time);
    QFETCH(int, limit);
    QFETCH(int, choice);
    QFETCH(LapStatus, status);
    const CountLimits l = limit == -2  ? countLimitsFor(6001, 110)
                          : limit < 0 ? CountLimits{}
                                      : CountLimits{limit, std::nullopt};
    const auto c = choice < 0 ? std::nullopt : std::optional<bool>(choice == 1);
    QCOMPARE(lapStatusFor(time, l, c), status);
    QCOMPARE(lapCounts(time, l, c), status == C);
}

void TestSessionStats::listedLines()
{
    std::vector<std::int64_t> lines{3, 7};
    QCOMPARE(listLines(lines).names, std::string("3, 7"));
    QCOMPARE(listLines(lines).more, std::size_t(0));
    for (std::int64_t l = 10; l < 21; ++l)
        lines.push_back(l);
    const ListedLines listed = listLines(lines);
    QCOMPARE(listed.names, std::string("3, 7, 10, 11, 12, 13, 14, 15, 16, 17"));
    QCOMPARE(listed.more, std::size_t(3));
}

MIREN_REGISTER_TEST(TestSessionStats)
#include "TestSessionStats.moc"
