#include "TestMain.h"
#include "lap_analysis/LapCsv.h"
#include "lap_analysis/SessionSummary.h"

#include <QTest>

namespace {

// Lap 10234 (beyond what the table shows) with a whole-lap block and one sector.
LapData sampleLap(std::int32_t lapTime, std::int32_t sectorTime)
{
    LapData lap;
    lap.lapNumber = 10234;
    lap.blockCount = 2;
    lap.blocks[0] = {lapTime, 3500, 9800, 45, 162, 105, 9, 80, 95, 70, 88, 2450};
    lap.blocks[1] = {sectorTime, 4100, 9650, 60, 155, 8, 11, 82, 90, 71, 80, 810};
    return lap;
}

const std::string kEmptySectors(5 * 12, ',');

} // namespace

class TestLapCsv : public QObject {
    Q_OBJECT
private slots:
    void rows_data();
    void rows();
    void headerNamesTheUnit();
    void textCells_data();
    void textCells();
    void summaryWithoutCountedLap();
};

void TestLapCsv::rows_data()
{
    QTest::addColumn<LapData>("lap");
    QTest::addColumn<bool>("counted");
    QTest::addColumn<char>("delimiter");
    QTest::addColumn<std::string>("row");
    QTest::newRow("comma") << sampleLap(6523, 2012) << true << ','
                           << "10234,1,65.23,3500,9800,45,162,10.5,0.9,80,95,70,88,2450,"
                              "20.12,4100,9650,60,155,0.8,1.1,82,90,71,80,810" +
                                  kEmptySectors + "\r\n";
    QTest::newRow("semicolon, unknown and unshown times")
        << sampleLap(kUnknownTime, 60000) << false << ';'
        << "10234;0;;3500;9800;45;162;10,5;0,9;80;95;70;88;2450;;4100;9650;60;155;0,8;1,1;82;90;"
           "71;80;810" +
               std::string(5 * 12, ';') + "\r\n";
    QTest::newRow("no blocks") << LapData{7} << false << '\t'
                               << std::to_string(7) + "\t0" + std::string(7 * 12, '\t') + "\r\n";
}

void TestLapCsv::rows()
{
    QFETCH(LapData, lap);
    QFETCH(bool, counted);
    QFETCH(char, delimiter);
    QFETCH(std::string, row);
    std::string out = "x";
    appendCsvRow(lap, counted, csvDialectFor(delimiter), out);
    QCOMPARE(out, "x" + row);
}

void TestLapCsv::headerNamesTheUnit()
{
    std::string header;
    appendCsvHeader(SpeedUnit::Mph, csvDialectFor(';'), header);
    QVERIFY(
        header.starts_with("lap;counted;lap_time_s;rpm_min;rpm_max;speed_min_mph;speed_max_mph;"
                           "gx_max;gy_max;tmp1_min;tmp1_max;tmp2_min;tmp2_max;length;s1_time_s;"));
    QVERIFY(header.ends_with(";s6_tmp2_max;s6_length\r\n"));
    QCOMPARE(std::count(header.begin(), header.end(), ';'), 2 + 7 * 12 - 1);
}

// A file name goes into a cell quoted where it must be, and never as a spreadsheet formula.
void TestLapCsv::textCells_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<std::string>("cell");
    QTest::newRow("plain") << std::string("QUALI.BIL") << std::string("QUALI.BIL");
    QTest::newRow("delimiter and quote")
        << std::string("a,\"b\".BIL") << std::string("\"a,\"\"b\"\".BIL\"");
    QTest::newRow("formula") << std::string("=HYPERLINK(\"x\").BIL")
                             << std::string("\"'=HYPERLINK(\"\"x\"\").BIL\"");
    QTest::newRow("plus") << std::string("+1.BIL") << std::string("'+1.BIL");
    QTest::newRow("minus") << std::string("-1.BIL") << std::string("'-1.BIL");
    QTest::newRow("at, with delimiter") << std::string("@A,1") << std::string("\"'@A,1\"");
    QTest::newRow("minus inside") << std::string("a-1.BIL") << std::string("a-1.BIL");
    QTest::newRow("empty") << std::string() << std::string();
}

void TestLapCsv::textCells()
{
    QFETCH(std::string, text);
    QFETCH(std::string, cell);
    QCOMPARE(csvCell(text, csvDialectFor(',')), cell);
}

void TestLapCsv::summaryWithoutCountedLap()
{
    const std::vector<LapData> laps{sampleLap(kUnknownTime, 2000)};
    const std::string summary = sessionSummary(laps, SpeedUnit::Kmh, analyseSession(laps));
    QVERIFY2(summary.starts_with("Session: 1 lap, 0 timed, 0 counted; speed in km/h\n"),
             summary.c_str());
    QVERIFY2(summary.find("No counted lap") != std::string::npos, summary.c_str());
    QVERIFY2(summary.find("  lap 10234    -:--.--  no lap time\n") != std::string::npos,
             summary.c_str());
}

MIREN_REGISTER_TEST(TestLapCsv)
#include "TestLapCsv.moc"
