#include "TestMain.h"
#include "lap_analysis/LapTableReader.h"
#include "lap_conversion/LapTable.h"

#include <QRandomGenerator>
#include <QTest>
#include <string>

namespace {

// A record with random values the table shows in full: speed max below 1000, TMP max below
// 10000, lap number below 10000; GX and GY on both sides of 10.0.
LapRecord randomRecord(QRandomGenerator& random)
{
    auto word = [&random](int below) { return static_cast<std::uint16_t>(random.bounded(below)); };
    auto tenths = [&](int) { return word(2) == 0 ? word(100) : word(32768); };
    LapRecord r;
    r.recordWord = 2;
    r.lapNumber = static_cast<std::uint16_t>(1 + word(9999));
    r.blockCount = random.bounded(kBlockCount + 1);
    for (int k = 0; k < r.blockCount; ++k) {
        LapBlock& b = r.blocks[static_cast<std::size_t>(k)];
        b = {static_cast<std::uint16_t>(1 + word(32767)),
             word(32768),
             word(32768),
             word(32768),
             word(1000),
             word(32768),
             word(10000),
             word(32768),
             word(10000),
             tenths(0),
             tenths(0),
             word(32768)};
    }
    return r;
}

void compareLaps(const LapData& read, const LapData& expected)
{
    QCOMPARE(read.lapNumber, expected.lapNumber);
    QCOMPARE(read.lapNumberCut, false);
    QCOMPARE(read.blockCount, expected.blockCount);
    for (int k = 0; k < expected.blockCount; ++k) {
        const BlockValues& a = read.blocks[static_cast<std::size_t>(k)];
        const BlockValues& e = expected.blocks[static_cast<std::size_t>(k)];
        const std::int32_t got[12] = {a.time,     a.rpmMin,  a.rpmMax,  a.speedMin,
                                      a.speedMax, a.gxMax,   a.gyMax,   a.tmp1Min,
                                      a.tmp1Max,  a.tmp2Min, a.tmp2Max, a.length};
        const std::int32_t want[12] = {e.time,     e.rpmMin,  e.rpmMax,  e.speedMin,
                                       e.speedMax, e.gxMax,   e.gyMax,   e.tmp1Min,
                                       e.tmp1Max,  e.tmp2Min, e.tmp2Max, e.length};
        for (int v = 0; v < 12; ++v)
            QCOMPARE(got[v], want[v]);
        QVERIFY(!a.speedMaxCut && !a.tmp1MaxCut && !a.tmp2MaxCut);
    }
}

// The worked example's lap line, to be edited by the rows below.
std::string exampleLine()
{
    LapRecord r;
    r.lapNumber = 3;
    r.blockCount = 2;
    r.blocks[0] = {6523, 3500, 9800, 45, 162, 80, 95, 70, 88, 12, 9, 2450};
    r.blocks[1] = {2012, 4100, 9650, 60, 155, 82, 90, 71, 80, 8, 11, 810};
    std::string line;
    appendLapLine(r, '.', line);
    return line;
}

} // namespace

class TestLapTableReader : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void cutValues_data();
    void cutValues();
    void skippedLines_data();
    void skippedLines();
};

void TestLapTableReader::roundTrip_data()
{
    QTest::addColumn<int>("unitFlag");
    QTest::addColumn<char>("decimalPoint");
    QTest::newRow("km/h, point") << 0 << '.';
    QTest::newRow("m/h, comma") << 1 << ',';
    QTest::newRow("km/h, comma") << 0 << ',';
    QTest::newRow("m/h, space") << 1 << ' ';
}

void TestLapTableReader::roundTrip()
{
    QFETCH(int, unitFlag);
    QFETCH(char, decimalPoint);
    QRandomGenerator random(static_cast<quint32>(unitFlag * 256 + decimalPoint));
    std::vector<LapRecord> records;
    std::string text;
    appendHeaderLine(unitFlag, text);
    for (int i = 0; i < 2000; ++i) {
        records.push_back(randomRecord(random));
        appendLapLine(records.back(), decimalPoint, text);
        text += kLineEnd;
    }
    text += kLineEnd; // as Text save ends it

    const LapTableText table = readLapTable(text);
    QVERIFY(table.headerFound);
    QCOMPARE(table.unit, unitFlag == 0 ? SpeedUnit::Kmh : SpeedUnit::Mph);
    QCOMPARE(table.skippedLines, std::vector<std::int64_t>());
    QCOMPARE(table.laps.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        compareLaps(table.laps[i], lapFromRecord(records[i]));
        QCOMPARE(table.laps[i].line, static_cast<std::int64_t>(i + 2));
    }
}

void TestLapTableReader::cutValues_data()
{
    QTest::addColumn<int>("field"); // 0 lap number, 1 speed max, 2 TMP1 max
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("shown");
    QTest::addColumn<bool>("cut");
    QTest::newRow("lap 9999 in full") << 0 << 9999 << 9999 << false;
    QTest::newRow("lap 10000") << 0 << 10000 << 0 << true;
    QTest::newRow("lap 10234") << 0 << 10234 << 234 << true;
    QTest::newRow("lap 12345 looks whole") << 0 << 12345 << 2345 << false;
    QTest::newRow("speed 999 in full") << 1 << 999 << 999 << false;
    QTest::newRow("speed 1000") << 1 << 1000 << 0 << true;
    QTest::newRow("speed 1012") << 1 << 1012 << 12 << true;
    QTest::newRow("speed 1162 looks whole") << 1 << 1162 << 162 << false;
    QTest::newRow("TMP 1234 in full") << 2 << 1234 << 1234 << false;
    QTest::newRow("TMP 10099") << 2 << 10099 << 99 << true;
}

void TestLapTableReader::cutValues()
{
    QFETCH(int, field);
    QFETCH(int, value);
    QFETCH(int, shown);
    QFETCH(bool, cut);
    LapRecord r;
    r.lapNumber = 5;
    r.blockCount = 1;
    r.blocks[0] = {6523, 3500, 9800, 45, 162, 80, 95, 70, 88, 12, 9, 2450};
    const auto v = static_cast<std::uint16_t>(value);
    (field == 0 ? r.lapNumber : field == 1 ? r.blocks[0].speedMax : r.blocks[0].tmp1Max) = v;
    std::string line;
    appendLapLine(r, '.', line);

    const std::optional<LapData> lap = parseLapLine(line);
    QVERIFY2(lap, line.c_str());
    const BlockValues& b = lap->blocks[0];
    QCOMPARE(field == 0 ? lap->lapNumber : field == 1 ? b.speedMax : b.tmp1Max, shown);
    QCOMPARE(field == 0 ? lap->lapNumberCut : field == 1 ? b.speedMaxCut : b.tmp1MaxCut, cut);
}

void TestLapTableReader::skippedLines_data()
{
    const std::string header(headerLine(0));
    const std::string lap = exampleLine();
    std::string edited = lap;
    edited[20] = 'x';
    std::string secondDecimal = lap;
    secondDecimal.replace(secondDecimal.find("1.2"), 3, "1,2"); // any separator is the layout's
    QTest::addColumn<std::string>("text");
    QTest::addColumn<bool>("headerFound");
    QTest::addColumn<int>("laps");
    QTest::addColumn<std::vector<std::int64_t>>("skipped");
    using Lines = std::vector<std::int64_t>;
    QTest::newRow("no header") << lap + "\r\n" << false << 0 << Lines{};
    QTest::newRow("text before the header is ignored")
        << "notes\r\n" + header + "\r\n" + lap + "\r\n"
        << true << 1 << Lines{};
    QTest::newRow("Text save's last empty line") << header + "\r\n" + lap + "\r\n\r\n"
                                                 << true << 1 << Lines{};
    QTest::newRow("blank lines between laps") << header + "\n" + lap + "\n\n  \n" + lap + "\n"
                                              << true << 2 << Lines{3, 4};
    QTest::newRow("edited, cut, trailing space")
        << header + "\r\n" + edited + "\r\n" + lap.substr(0, 100) + "\r\n" + lap + " \r\n" +
               secondDecimal
        << true << 1 << Lines{2, 3, 4};
    QTest::newRow("lap line ending in two CRs")
        << header + "\r\n   7\r\r\n" + lap << true << 1 << Lines{2};
    QTest::newRow("second header")
        << header + "\r\n" + header + "\r\n" + lap << true << 1 << Lines{2};
    QTest::newRow("lap time 0:00.00 is never shown")
        << header + "\r\n" + std::string(lap).replace(6, 7, "0:00.00") << true << 0 << Lines{2};
    QTest::newRow("unknown time reads")
        << header + "\r\n" + std::string(lap).replace(6, 7, "-:--.--") << true << 1 << Lines{};
}

void TestLapTableReader::skippedLines()
{
    QFETCH(std::string, text);
    QFETCH(bool, headerFound);
    QFETCH(int, laps);
    QFETCH(std::vector<std::int64_t>, skipped);
    const LapTableText table = readLapTable(text);
    QCOMPARE(table.headerFound, headerFound);
    QCOMPARE(static_cast<int>(table.laps.size()), laps);
    QCOMPARE(table.skippedLines, skipped);
}

MIREN_REGISTER_TEST(TestLapTableReader)
#include "TestLapTableReader.moc"
