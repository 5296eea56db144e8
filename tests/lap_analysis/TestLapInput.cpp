#include "TestMain.h"
#include "lap_analysis/LapInput.h"
#include "lap_conversion/LapTable.h"

#include <QBuffer>
#include <QTest>
#include <string>

namespace {

std::string lapLine(int number)
{
    LapRecord r;
    r.lapNumber = static_cast<std::uint16_t>(number);
    r.blockCount = 1;
    r.blocks[0] = {6523, 3500, 9800, 45, 162, 80, 95, 70, 88, 12, 9, 2450};
    std::string line;
    appendLapLine(r, '.', line);
    return line;
}

struct Read {
    LapInputResult result;
    std::vector<std::int32_t> laps; // lap numbers
};

Read readTable(const std::string& text)
{
    QBuffer buffer;
    buffer.setData(text.data(), qsizetype(text.size()));
    buffer.open(QIODevice::ReadOnly);
    Read read;
    read.result = readLapTableFile(
        buffer,
        {[](SpeedUnit) {}, [&read](const LapData& lap) { read.laps.push_back(lap.lapNumber); }});
    return read;
}

} // namespace

// Saved lap tables read from a device: line ends and a byte-order mark as the window takes
// them, and the bookkeeping of skipped lines.
class TestLapInput : public QObject {
    Q_OBJECT
private slots:
    void lineEndsAsTheWindowReads_data();
    void lineEndsAsTheWindowReads();
    void junkLinesKeepOnlyTheFirstTenNumbers();
};

void TestLapInput::lineEndsAsTheWindowReads_data()
{
    const std::string h(headerLine(0));
    const std::string a = lapLine(1);
    const std::string b = lapLine(2);
    using Laps = std::vector<std::int32_t>;
    using Lines = std::vector<std::int64_t>;
    QTest::addColumn<std::string>("text");
    QTest::addColumn<int>("error"); // LapInputResult::Error
    QTest::addColumn<Laps>("laps");
    QTest::addColumn<Lines>("skipped");
    const int none = int(LapInputResult::Error::None);
    QTest::newRow("CR LF") << h + "\r\n" + a + "\r\n" + b + "\r\n\r\n"
                           << none << Laps{1, 2} << Lines{};
    QTest::newRow("CR only") << h + "\r" + a + "\r" + b + "\r" << none << Laps{1, 2} << Lines{};
    QTest::newRow("LF only") << h + "\n" + a + "\n" + b << none << Laps{1, 2} << Lines{};
    QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + h + "\r\n" + a + "\r\n"
                                     << none << Laps{1} << Lines{};
    QTest::newRow("CR CR LF is an empty line")
        << h + "\r\n" + a + "\r\r\n" + b << none << Laps{1, 2} << Lines{3};
    QTest::newRow("empty input is an empty table") << std::string() << none << Laps{} << Lines{};
    QTest::newRow("no header") << a + "\r\n"
                               << int(LapInputResult::Error::NoTable) << Laps{} << Lines{};
}

void TestLapInput::lineEndsAsTheWindowReads()
{
    QFETCH(std::string, text);
    QFETCH(int, error);
    QFETCH(std::vector<std::int32_t>, laps);
    QFETCH(std::vector<std::int64_t>, skipped);
    const Read read = readTable(text);
    QCOMPARE(int(read.result.error), error);
    QCOMPARE(read.laps, laps);
    QCOMPARE(read.result.skippedLines, skipped);
}

// A table of junk lines costs no memory per line: only the first ten line numbers are kept.
void TestLapInput::junkLinesKeepOnlyTheFirstTenNumbers()
{
    std::string text = std::string(headerLine(1)) + "\r\n";
    for (int i = 0; i < 5000; ++i)
        text += "junk\r\n";
    text += lapLine(7) + "\r\n";
    const Read read = readTable(text);
    QVERIFY(read.result.ok());
    QCOMPARE(read.laps, std::vector<std::int32_t>{7});
    QCOMPARE(read.result.skippedCount, 5000);
    QCOMPARE(read.result.skippedLines, (std::vector<std::int64_t>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

MIREN_REGISTER_TEST(TestLapInput)
#include "TestLapInput.moc"
