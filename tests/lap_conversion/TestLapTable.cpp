#include "TestMain.h"
#include "lap_conversion/LapTable.h"

#include <QTest>
#include <string>

namespace {

// A block whose fields are those of the first block of the table's worked example.
LapBlock baselineBlock()
{
    LapBlock b;
    b.time = 6523;
    b.rpmMin = 3500;
    b.rpmMax = 9800;
    b.speedMin = 45;
    b.speedMax = 162;
    b.tmp1Min = 80;
    b.tmp1Max = 95;
    b.tmp2Min = 70;
    b.tmp2Max = 88;
    b.gxMax = 12;
    b.gyMax = 9;
    b.length = 2450;
    return b;
}

// The baseline block's text, field by field, in line order.
const char* const kBaselineFields[12] = {"  1:05.23 ", "   3500~", " 9800", "   45~",
                                         "162",        "  1.2",    "  0.9", "   80",
                                         "~ 95",       "   70",    "~ 88",  "  2450  "};

enum Field {
    Time,
    RpmMin,
    RpmMax,
    SpeedMin,
    SpeedMax,
    Gx,
    Gy,
    Tmp1Min,
    Tmp1Max,
    Tmp2Min,
    Tmp2Max,
    Length
};

void setField(LapBlock& b, int field, quint16 v)
{
    quint16* fieldSlots[12] = {&b.time,     &b.rpmMin,  &b.rpmMax,  &b.speedMin,
                               &b.speedMax, &b.gxMax,   &b.gyMax,   &b.tmp1Min,
                               &b.tmp1Max,  &b.tmp2Min, &b.tmp2Max, &b.length};
    *fieldSlots[field] = v;
}

std::string line(const LapRecord& r, char decimalPoint = '.')
{
    std::string out;
    appendLapLine(r, decimalPoint, out);
    return out;
}

LapRecord oneBlockRecord(const LapBlock& b, quint16 lapNumber = 3)
{
    LapRecord r;
    r.recordWord = 2;
    r.lapNumber = lapNumber;
    r.blockCount = 1;
    r.blocks[0] = b;
    return r;
}

} // namespace

class TestLapTable : public QObject {
    Q_OBJECT
private slots:
    void header_data();
    void header();
    void timeText_data();
    void timeText();
    void fieldWidths_data();
    void fieldWidths();
    void lapField_data();
    void lapField();
    void commaKeepsTimePoint();
    void blocksFollowWithoutSeparators();
};

void TestLapTable::header_data()
{
    QTest::addColumn<int>("unitFlag");
    QTest::addColumn<QString>("unit");
    QTest::newRow("km/h") << 0 << "   km/h";
    QTest::newRow("m/h") << 1 << "    m/h";
    QTest::newRow("only bit 0 counts") << 3 << "    m/h";
}

void TestLapTable::header()
{
    QFETCH(int, unitFlag);
    QFETCH(QString, unit);
    const QString lapPart =
        " LAP   TIME    rpm min~max " + unit + "  GXmax GYmax   TMP1     TMP2  LENGTH";
    const QString sectorPart =
        " TIME  rpm min~max " + unit + "  GXmax GYmax   TMP1     TMP2  LENGTH";
    QString expected = lapPart;
    for (int n = 1; n <= 6; ++n)
        expected += " SEG" + QString::number(n) + sectorPart;
    QCOMPARE(lapPart.size(), 71);
    QCOMPARE(sectorPart.size(), 63);

    std::string out = "x";
    appendHeaderLine(unitFlag, out);
    QCOMPARE(out.size(), size_t(1 + 479 + 2));
    QCOMPARE(QString::fromStdString(out), "x" + expected + "\r\n");
}

void TestLapTable::timeText_data()
{
    QTest::addColumn<int>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << "0:00.01";
    QTest::newRow("99") << 99 << "0:00.99";
    QTest::newRow("100") << 100 << "0:01.00";
    QTest::newRow("5999") << 5999 << "0:59.99";
    QTest::newRow("6000") << 6000 << "1:00.00";
    QTest::newRow("6523") << 6523 << "1:05.23";
    QTest::newRow("largest word") << 32767 << "5:27.67";
    QTest::newRow("59999") << 59999 << "9:59.99";
    QTest::newRow("60000") << 60000 << "-:--.--";
    QTest::newRow("int max") << 2147483647 << "-:--.--";
    QTest::newRow("negative") << -1 << "-:--.--";
}

void TestLapTable::timeText()
{
    QFETCH(int, time);
    QFETCH(QString, text);
    const TimeText t = tableTimeText(time);
    QCOMPARE(QString::fromLatin1(t.data(), 7), text);
}

// Each row changes one field of the baseline block and gives that field's expected text; the
// rest of the line must stay as it was, so a field that spills into its neighbour shows up too.
void TestLapTable::fieldWidths_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    const struct {
        const char* name;
        int field;
        int value;
        const char* text;
    } rows[] = {
        {"time 1", Time, 1, "  0:00.01 "},
        {"time 32767", Time, 32767, "  5:27.67 "},
        {"rpm min 0", RpmMin, 0, "      0~"},
        {"rpm min 9999", RpmMin, 9999, "   9999~"},
        {"rpm min 10000", RpmMin, 10000, "  10000~"},
        {"rpm min 32767", RpmMin, 32767, "  32767~"},
        {"rpm max 0", RpmMax, 0, "    0"},
        {"rpm max 9999", RpmMax, 9999, " 9999"},
        {"rpm max 10000", RpmMax, 10000, "10000"},
        {"speed min 0", SpeedMin, 0, "    0~"},
        {"speed min 9999", SpeedMin, 9999, " 9999~"},
        {"speed min 10000", SpeedMin, 10000, "10000~"},
        {"speed max 7", SpeedMax, 7, "  7"},
        {"speed max 99", SpeedMax, 99, " 99"},
        {"speed max 999", SpeedMax, 999, "999"},
        {"speed max 1234", SpeedMax, 1234, "234"},
        {"speed max 32767", SpeedMax, 32767, "767"},
        {"gx 0", Gx, 0, "  0.0"},
        {"gx 99", Gx, 99, "  9.9"},
        {"gx 100", Gx, 100, "  10.0"},
        {"gx 999", Gx, 999, "  99.9"},
        {"gx 1000", Gx, 1000, " 100.0"},
        {"gx 9999", Gx, 9999, " 999.9"},
        {"gx 10000", Gx, 10000, "1000.0"},
        {"gy 32767", Gy, 32767, "3276.7"},
        {"tmp1 min 0", Tmp1Min, 0, "    0"},
        {"tmp1 min 999", Tmp1Min, 999, "  999"},
        {"tmp1 min 1000", Tmp1Min, 1000, " 1000"},
        {"tmp1 min 32767", Tmp1Min, 32767, "32767"},
        {"tmp1 max 0", Tmp1Max, 0, "~  0"},
        {"tmp1 max 99", Tmp1Max, 99, "~ 99"},
        {"tmp1 max 999", Tmp1Max, 999, "~999"},
        {"tmp1 max 1234", Tmp1Max, 1234, "1234"},
        {"tmp1 max 32767", Tmp1Max, 32767, "2767"},
        {"tmp2 min 12345", Tmp2Min, 12345, "12345"},
        {"tmp2 max 5", Tmp2Max, 5, "~  5"},
        {"tmp2 max 1000", Tmp2Max, 1000, "1000"},
        {"length 0", Length, 0, "     0  "},
        {"length 32767", Length, 32767, " 32767  "},
        {"length 810", Length, 810, "   810  "},
    };
    for (const auto& r : rows)
        QTest::newRow(r.name) << r.field << r.value << QString::fromLatin1(r.text);
}

void TestLapTable::fieldWidths()
{
    QFETCH(int, field);
    QFETCH(int, value);
    QFETCH(QString, text);
    LapBlock b = baselineBlock();
    setField(b, field, static_cast<quint16>(value));
    QString expected = "   3";
    for (int i = 0; i < 12; ++i)
        expected += i == field ? text : QString::fromLatin1(kBaselineFields[i]);
    QCOMPARE(QString::fromStdString(line(oneBlockRecord(b))), expected);
}

void TestLapTable::lapField_data()
{
    QTest::addColumn<int>("lapNumber");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << "   1";
    QTest::newRow("999") << 999 << " 999";
    QTest::newRow("9999") << 9999 << "9999";
    QTest::newRow("10000") << 10000 << "0000";
    QTest::newRow("32767") << 32767 << "2767";
}

void TestLapTable::lapField()
{
    QFETCH(int, lapNumber);
    QFETCH(QString, text);
    LapRecord r;
    r.lapNumber = static_cast<quint16>(lapNumber);
    r.blockCount = 0; // block 0 absent: the line is the lap field alone
    QCOMPARE(QString::fromStdString(line(r)), text);
}

void TestLapTable::commaKeepsTimePoint()
{
    LapBlock b = baselineBlock();
    b.gyMax = 12345;
    const std::string text = line(oneBlockRecord(b), ',');
    QCOMPARE(QString::fromStdString(text),
             "   3  1:05.23    3500~ 9800   45~162  1,21234,5   80~ 95   70~ 88  2450  ");
}

void TestLapTable::blocksFollowWithoutSeparators()
{
    // GX 99 and 100 in two blocks of one line: the block texts differ in length by one.
    LapRecord r = oneBlockRecord(baselineBlock());
    r.blockCount = 7;
    for (std::size_t k = 1; k < 7; ++k)
        r.blocks[k] = baselineBlock();
    r.blocks[1].gxMax = 99;
    r.blocks[2].gxMax = 100;
    const std::string text = line(r);
    QCOMPARE(text.size(), size_t(4 + 7 * 68 + 1));
    QCOMPARE(
        QString::fromStdString(text.substr(4 + 68, 68 + 69)),
        QStringLiteral("  1:05.23    3500~ 9800   45~162  9.9  0.9   80~ 95   70~ 88  2450  "
                       "  1:05.23    3500~ 9800   45~162  10.0  0.9   80~ 95   70~ 88  2450  "));
}

MIREN_REGISTER_TEST(TestLapTable)
#include "TestLapTable.moc"
