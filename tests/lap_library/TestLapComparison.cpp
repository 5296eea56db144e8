// Laps compared sector by sector: the gaps, the summed gaps, the speed differences and the
// timing-screen marks against hand-worked figures; the laps the comparison refuses and why; a
// target time spread over the sectors; and two edits of one sheet merged field by field.
#include "BilBuilder.h"
#include "TestMain.h"
#include "lap_library/LapComparison.h"
#include "lap_library/LibraryComparison.h"
#include "lap_library/SheetMerge.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// A lap of the given sector times (hundredths); the lap time is their sum. Lengths 800 per
// sector unless given; speeds min 50 + k, max 100 + k for sector k.
ComparedLap lap(const QString& label, const std::vector<int>& sectors,
                const std::vector<int>& lengths = {}, SpeedUnit unit = SpeedUnit::Kmh)
{
    ComparedLap c;
    c.label = label;
    c.unit = unit;
    c.lap.blockCount = int(sectors.size()) + 1;
    c.lap.blocks[0].time = 0;
    for (std::size_t k = 0; k < sectors.size(); ++k) {
        BlockValues& b = c.lap.blocks[k + 1];
        b.time = sectors[k];
        b.length = lengths.empty() ? 800 : lengths[k];
        b.speedMin = 50 + int(k);
        b.speedMax = 100 + int(k);
        c.lap.blocks[0].time += sectors[k];
        c.lap.blocks[0].length += b.length;
    }
    return c;
}

// A lap file of laps of three sectors (hundredths; the lap time is their sum), lengths alike.
QByteArray threeSectorFile(const std::vector<std::array<int, 3>>& laps)
{
    BilBuilder b;
    for (std::size_t i = 0; i < laps.size(); ++i) {
        std::vector<BilBlock> blocks(4);
        blocks[0].length = 2400;
        for (std::size_t k = 0; k < 3; ++k) {
            blocks[k + 1].time = quint16(laps[i][k]);
            blocks[k + 1].length = 800;
            blocks[0].time = quint16(blocks[0].time + laps[i][k]);
        }
        b.lap(2, quint16(i), blocks);
    }
    return b.bytes();
}

} // namespace

class TestLapComparison : public QObject {
    Q_OBJECT

private slots:
    // Reference 20.00 / 30.00 / 15.00: lap A loses 0.50 in S1 and gains 0.20 in S3, lap B gains
    // 0.30 in S1 and loses 1.00 in S2. Sectors by time lost: S2 (+1.00), S1 (+0.20), S3 (-0.20).
    void gapsMarksAndOrder()
    {
        const ComparedLap ref = lap(QStringLiteral("ref"), {2000, 3000, 1500});
        ComparedLap slowSpeed = lap(QStringLiteral("A"), {2050, 3000, 1480});
        slowSpeed.lap.blocks[2].speedMin = 40; // 11 below the reference's corner speed
        const std::vector<ComparedLap> laps{slowSpeed, lap(QStringLiteral("B"), {1970, 3100, 1500})};
        const LapComparison c = compareLaps(
            laps, referenceOfLap(ReferenceKind::SessionBest, QStringLiteral("ref"), ref.lap,
                                 SpeedUnit::Kmh));
        QVERIFY2(c.ok(), qPrintable(c.refused));
        QCOMPARE(c.sectors.size(), std::size_t(3));
        const auto cell = [&](int s, int l) { return c.sectors[std::size_t(s)].laps[std::size_t(l)]; };
        QCOMPARE(cell(0, 0).gap, 50);
        QCOMPARE(cell(0, 1).gap, -30);
        QCOMPARE(cell(1, 0).cumulative, 50);
        QCOMPARE(cell(1, 1).cumulative, 70);
        QCOMPARE(cell(2, 0).cumulative, 30);
        QCOMPARE(cell(2, 1).cumulative, 70);
        QCOMPARE(c.whole.laps[0].gap, 30);
        QCOMPARE(c.whole.laps[1].gap, 70);
        QCOMPARE(*cell(1, 0).speedMinDiff, -11);
        QCOMPARE(*cell(1, 0).speedMaxDiff, 0);
        // Purple for the best shown, green better, yellow worse, none when level.
        QCOMPARE(cell(0, 0).mark, ComparisonMark::Worse);
        QCOMPARE(cell(0, 1).mark, ComparisonMark::BestShown);
        QCOMPARE(cell(1, 0).mark, ComparisonMark::BestShown);
        QCOMPARE(cell(1, 1).mark, ComparisonMark::Worse);
        QCOMPARE(cell(2, 1).mark, ComparisonMark::None);
        QCOMPARE(sectorsByTimeLost(c), (std::vector<std::size_t>{1, 0, 2}));

        // Speeds of two units are never compared.
        std::vector<ComparedLap> mixed = laps;
        mixed[1].unit = SpeedUnit::Mph;
        const LapComparison m = compareLaps(
            mixed, referenceOfLap(ReferenceKind::SessionBest, QStringLiteral("ref"), ref.lap,
                                  SpeedUnit::Kmh));
        QVERIFY(m.sectors[0].laps[0].speedMinDiff.has_value());
        QVERIFY(!m.sectors[0].laps[1].speedMinDiff.has_value());
    }

    void refused_data()
    {
        QTest::addColumn<std::vector<ComparedLap>>("laps");
        QTest::addColumn<int>("referenceSectors");
        QTest::addColumn<QString>("reason"); // a piece of the refusal; "" when compared
        const auto a = lap(QStringLiteral("A"), {2000, 3000, 1500});
        QTest::newRow("one lap") << std::vector{a} << 3 << QStringLiteral("not 1");
        QTest::newRow("nine laps") << std::vector(9, a) << 3 << QStringLiteral("not 9");
        QTest::newRow("sector counts")
            << std::vector{a, lap(QStringLiteral("B"), {2000, 4500})} << 3
            << QStringLiteral("B has 2");
        QTest::newRow("sector 2 is 3.1 % longer")
            << std::vector{a, lap(QStringLiteral("B"), {2000, 3000, 1500}, {800, 826, 800})} << 3
            << QStringLiteral("Sector 2 is 800 long in A and 826 in B");
        QTest::newRow("sector 2 is 3 % longer")
            << std::vector{a, lap(QStringLiteral("B"), {2000, 3000, 1500}, {800, 824, 800})} << 3
            << QString();
        ComparedLap untimed = a;
        untimed.label = QStringLiteral("C");
        untimed.lap.blocks[3].time = kUnknownTime;
        QTest::newRow("sector without time")
            << std::vector{a, untimed} << 3 << QStringLiteral("C has no time for sector 3");
        QTest::newRow("reference of two sectors")
            << std::vector{a, a} << 2 << QStringLiteral("has 2 sectors and the laps 3");
        QTest::newRow("eight laps") << std::vector(8, a) << 3 << QString();
    }

    void refused()
    {
        QFETCH(std::vector<ComparedLap>, laps);
        QFETCH(int, referenceSectors);
        QFETCH(QString, reason);
        std::vector<int> times(std::size_t(referenceSectors), 2000);
        const ComparisonReference ref =
            referenceOfLap(ReferenceKind::SessionBest, QStringLiteral("ref"),
                           lap(QStringLiteral("ref"), times).lap, SpeedUnit::Kmh);
        const LapComparison c = compareLaps(laps, ref);
        if (reason.isEmpty()) {
            QVERIFY2(c.ok(), qPrintable(c.refused));
            QCOMPARE(c.whole.laps.size(), laps.size());
        } else {
            QVERIFY2(c.refused.contains(reason), qPrintable(c.refused));
            QVERIFY(c.sectors.empty());
        }
    }

    // The sectors of a target add up to it exactly, in the best lap's proportions.
    void targetSpreadOverSectors()
    {
        const ComparisonReference base =
            referenceOfLap(ReferenceKind::SessionBest, QStringLiteral("best"),
                           lap(QStringLiteral("best"), {2001, 3001, 1501}).lap, SpeedUnit::Kmh);
        const ComparisonReference t = targetReference(QStringLiteral("t"), 6350, base);
        QCOMPARE(t.whole.time, 6350);
        QCOMPARE(t.sectors[0].time + t.sectors[1].time + t.sectors[2].time, 6350);
        QVERIFY(std::abs(t.sectors[1].time - 6350 * 3001 / 6503) <= 1);
        QVERIFY(!t.sectors[0].speedMin.has_value());
        QCOMPARE(t.sectors[2].length, 800);
    }

    void lapTimes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("time"); // -1: refused
        QTest::newRow("m:ss.hh") << "1:03.50" << 6350;
        QTest::newRow("seconds") << "63.5" << 6350;
        QTest::newRow("comma") << "63,05" << 6305;
        QTest::newRow("60 seconds") << "1:60.00" << -1;
        QTest::newRow("one digit seconds") << "1:3.50" << -1;
        QTest::newRow("above the table") << "10:00.00" << -1;
        QTest::newRow("zero") << "0" << -1;
        QTest::newRow("words") << "fast" << -1;
    }

    void lapTimes()
    {
        QFETCH(QString, text);
        QFETCH(int, time);
        const auto parsed = parseLapTime(text);
        QCOMPARE(parsed.value_or(-1), time);
    }

    void libraryReferences_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("time");     // the reference's lap time; -1: refused
        QTest::addColumn<QString>("label"); // a piece of its label, or of the refusal
        QTest::newRow("session best") << "session" << 6450 << "session best 1:04.50 (1:2)";
        QTest::newRow("day's best, other session") << "day" << 6430 << "(2:2)";
        // The wet session's 1:01.00 is no dry best.
        QTest::newRow("dry personal best") << "pb" << 6400 << "personal best 1:04.00 (4:1)";
        QTest::newRow("ideal of dry sectors") << "ideal" << 6280 << "never driven whole";
        QTest::newRow("target") << "1:00.00" << 6000 << "target 1:00.00";
    }

    // Sessions of one track and vehicle: 1 and 2 on one dry day, 3 wet, 4 dry later.
    void libraryReferences()
    {
        QFETCH(QString, choice);
        QFETCH(int, time);
        QFETCH(QString, label);
        QTemporaryDir dir;
        auto opened = LapLibrary::open(dir.filePath(QStringLiteral("l.sqlite")),
                                       LapLibrary::Mode::ReadWrite);
        QVERIFY(opened.ok());
        LapLibrary& library = **opened.value;
        const std::vector<std::vector<std::array<int, 3>>> sessions{
            {{2100, 2600, 1900}, {2050, 2550, 1850}},
            {{2000, 2600, 1900}, {2040, 2500, 1890}},
            {{1900, 2400, 1800}, {1950, 2450, 1800}},
            {{2060, 2560, 1780}, {2100, 2600, 1800}}};
        const int days[] = {1, 1, 2, 3};
        for (std::size_t i = 0; i < sessions.size(); ++i) {
            SessionSheet sheet;
            sheet.track = QStringLiteral("Ridge");
            sheet.vehicle = QStringLiteral("K1");
            sheet.conditions = i == 2 ? Conditions::Wet : Conditions::Dry;
            const auto added = library.importSession(
                {threeSectorFile(sessions[i]), QStringLiteral("S%1.BIL").arg(i + 1),
                 QDateTime(QDate(2024, 5, days[i]), QTime(10 + int(i), 0)), sheet});
            QVERIFY2(added.ok(), qPrintable(added.error.message));
            QCOMPARE(added.value->session, std::int64_t(i) + 1);
        }
        LibraryComparison comparison(library);
        const auto c = comparison.compare({{1, 1}, {1, 2}}, *parseReferenceChoice(choice));
        QVERIFY2(c.ok(), qPrintable(c.error.message));
        QVERIFY2(c.value->ok(), qPrintable(c.value->refused));
        const ComparisonReference& r = comparison.lastReference();
        QCOMPARE(r.whole.time, time);
        QCOMPARE(r.sectors[0].time + r.sectors[1].time + r.sectors[2].time, time);
        QVERIFY2(r.label.contains(label), qPrintable(r.label));
        QCOMPARE(c.value->whole.laps[0].gap, 6600 - time);

        // Personal bests are kept per track: a session without one has none to compare with.
        SessionSheet none;
        const auto info = library.session(1);
        QVERIFY(library.setSheet(1, none, {}, info.value->revision).ok());
        const auto refused = LibraryComparison(library).compare({{1, 1}, {1, 2}},
                                                                {ReferenceKind::PersonalBest, 0});
        QVERIFY(refused.ok() && refused.value->refused.contains(QStringLiteral("no track")));
    }

    // What each edit changed is kept; a field both changed differently is a conflict that
    // keeps theirs until the caller takes mine.
    void mergeOfTwoEdits()
    {
        DatedSheet base;
        base.sheet.track = QStringLiteral("Ridge");
        base.sheet.vehicle = QStringLiteral("K1");
        base.date = QDateTime(QDate(2024, 5, 1), QTime(10, 0));
        DatedSheet mine = base, theirs = base;
        mine.sheet.notesAfter = QStringLiteral("understeer");
        mine.sheet.driver = QStringLiteral("Ann");
        theirs.sheet.tyreSet = QStringLiteral("B");
        theirs.sheet.driver = QStringLiteral("Bea");
        theirs.date = base.date.addSecs(3600);
        SheetMerge m = mergeSheets(base, mine, theirs);
        QCOMPARE(m.conflicts, std::vector<SheetField>{SheetField::Driver});
        QCOMPARE(m.merged.sheet.notesAfter, QStringLiteral("understeer"));
        QCOMPARE(m.merged.sheet.tyreSet, QStringLiteral("B"));
        QCOMPARE(m.merged.date, theirs.date);
        QCOMPARE(m.merged.sheet.driver, QStringLiteral("Bea"));
        takeFields(m.merged, mine, m.conflicts);
        QCOMPARE(m.merged.sheet.driver, QStringLiteral("Ann"));
        // The same change on both sides is no conflict.
        theirs.sheet.driver = QStringLiteral("Ann");
        QVERIFY(mergeSheets(base, mine, theirs).conflicts.empty());
    }
};

MIREN_REGISTER_TEST(TestLapComparison)
#include "TestLapComparison.moc"
