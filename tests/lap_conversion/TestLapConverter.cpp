#include "BilBuilder.h"
#include "TestMain.h"
#include "lap_conversion/LapFile.h"
#include "lap_conversion/LapTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <string>

namespace {

const QString kExampleLine = QStringLiteral(
    "   3  1:05.23    3500~ 9800   45~162  1.2  0.9   80~ 95   70~ 88  2450    0:20.12    4100~ "
    "9650   60~155  0.8  1.1   82~ 90   71~ 80   810  ");

std::span<const std::uint8_t> span(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

struct Converted {
    QString text;
    LapFault fault;
};

Converted convert(const QByteArray& bytes, char decimalPoint = '.')
{
    std::string text;
    const LapFault fault = convertLapBytes(span(bytes), decimalPoint, text);
    return {QString::fromStdString(text), fault};
}

QStringList lines(const QString& text)
{
    QStringList list = text.split(QStringLiteral("\r\n"));
    if (!list.isEmpty() && list.last().isEmpty())
        list.removeLast();
    return list;
}

QString header(int unit)
{
    return QString::fromLatin1(headerLine(unit).data(), static_cast<qsizetype>(kHeaderLength));
}

// Three lap records: two present blocks in each, lap indexes 0 to 2.
BilBuilder threeLaps()
{
    BilBuilder b;
    for (quint16 lap = 0; lap < 3; ++lap)
        b.lap(2, lap, workedExampleBlocks());
    return b;
}

} // namespace

class TestLapConverter : public QObject {
    Q_OBJECT
private slots:
    void workedExample();
    void readRules_data();
    void readRules();
    void firstFaultInReadOrder();
    void largestWordIsShown();
    void dataEnds_data();
    void dataEnds();
    void unitFromFirstLapRecord();
    void streamedFileMatchesMemory();
    void faultLocationAcrossChunks();
    void batchesConcatenateToTable();
    void samplesAreWhatTheBuilderMakes();
    void samplesConvert();
};

void TestLapConverter::workedExample()
{
    const Converted c = convert(BilBuilder().lap(2, 2, workedExampleBlocks()).bytes());
    QVERIFY(c.fault.ok());
    QCOMPARE(c.text, header(0) + "\r\n" + kExampleLine + "\r\n");
}

// Where a word with the high byte set, or a lap index of 32767, sits decides whether the file
// fails, where, and how much text it leaves: the header and the lines before the faulty record.
void TestLapConverter::readRules_data()
{
    QTest::addColumn<int>("record"); // 0-based record to change
    QTest::addColumn<int>("offset"); // byte offset inside that record
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("lines"); // lap lines left in the text
    QTest::addColumn<bool>("hasHeader");

    const int none = int(RecordFaultKind::None);
    const int high = int(RecordFaultKind::HighByte);
    const int lap = int(RecordFaultKind::LapOverflow);
    const int block1 = BilBuilder::blockOffset(1);
    const int block2 = BilBuilder::blockOffset(2);
    QTest::newRow("record word of first record") << 0 << 0 << 0x8000 << high << 0 << false;
    QTest::newRow("lap index of first record") << 0 << 2 << 0x8000 << high << 0 << true;
    QTest::newRow("lap index 32767") << 0 << 2 << 0x7FFF << lap << 0 << true;
    QTest::newRow("lap index 32766") << 0 << 2 << 0x7FFE << none << 3 << true;
    QTest::newRow("time word") << 1 << 4 << 0x8000 << high << 1 << true;
    QTest::newRow("shown word") << 2 << 6 << 0x8000 << high << 2 << true;
    QTest::newRow("first unshown word") << 1 << block1 + 18 << 0x80FF << high << 1 << true;
    QTest::newRow("last unshown word") << 1 << block1 + 24 << 0xFFFF << high << 1 << true;
    QTest::newRow("length of block 1") << 2 << block1 + 30 << 0x9000 << high << 2 << true;
    QTest::newRow("time of absent block") << 1 << block2 << 0x0000 << none << 3 << true;
    QTest::newRow("in absent block") << 1 << block2 + 18 << 0x8000 << none << 3 << true;
    QTest::newRow("last word of absent block 6") << 2 << 226 << 0xFFFF << none << 3 << true;
    QTest::newRow("record word of third record") << 2 << 0 << 0x8000 << high << 2 << true;
}

void TestLapConverter::readRules()
{
    QFETCH(int, record);
    QFETCH(int, offset);
    QFETCH(int, value);
    QFETCH(int, kind);
    QFETCH(int, lines);
    QFETCH(bool, hasHeader);

    BilBuilder b = threeLaps();
    b.setRecordWord(record, offset, static_cast<quint16>(value));
    const Converted c = convert(b.bytes());

    QCOMPARE(int(c.fault.kind), kind);
    if (kind != int(RecordFaultKind::None)) {
        QCOMPARE(c.fault.record, quint64(record + 1));
        QCOMPARE(c.fault.offset, quint64(record * 228 + offset));
        QCOMPARE(int(c.fault.value), value);
    }
    QStringList got = ::lines(c.text);
    QCOMPARE(!got.isEmpty() && got.first() == header(0), hasHeader);
    if (hasHeader)
        got.removeFirst();
    QCOMPARE(got.size(), lines);
    for (const QString& l : got)
        QCOMPARE(l.mid(4), kExampleLine.mid(4));
}

void TestLapConverter::firstFaultInReadOrder()
{
    BilBuilder b = threeLaps();
    b.setRecordWord(0, 30, 0xFFFF).setRecordWord(0, 8, 0x8001);
    const Converted c = convert(b.bytes());
    QCOMPARE(c.fault.offset, quint64(8));
    QCOMPARE(c.fault.value, quint16(0x8001));
}

void TestLapConverter::largestWordIsShown()
{
    BilBlock block = workedExampleBlocks()[0];
    block.rpmMax = 0x7FFF;
    block.unshown = {0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF};
    const Converted c = convert(BilBuilder().lap(0x7FFF, 0x7FFE, {block}).bytes());
    QVERIFY(c.fault.ok());
    QCOMPARE(lines(c.text).value(1),
             "2767  1:05.23    3500~32767   45~162  1.2  0.9   80~ 95   70~ 88  2450  ");
    QCOMPARE(lines(c.text).value(0), header(1));
}

// How a file's data ends: at a record word of 0 (nothing after it is read), at the end of the
// bytes, or before a final piece shorter than a record, which gives nothing.
void TestLapConverter::dataEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");

    const QString line1 = "   1" + kExampleLine.mid(4);
    const QString line2 = "   2" + kExampleLine.mid(4);
    const auto lapRecord = [](quint16 lap) {
        return BilBuilder().lap(2, lap, workedExampleBlocks());
    };
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("end record first")
        << BilBuilder().endRecord().lap(2, 0, workedExampleBlocks()).bytes() << QStringList();
    QTest::newRow("end record, then garbage")
        << lapRecord(0).endRecord().raw(QByteArray(228, '\xFF')).bytes()
        << QStringList{header(0), line1};
    QTest::newRow("short final piece")
        << lapRecord(0).lap(2, 1, workedExampleBlocks()).raw(QByteArray(227, '\x01')).bytes()
        << QStringList{header(0), line1, line2};
    QTest::newRow("short faulty final piece")
        << lapRecord(0).raw(QByteArray(100, '\xFF')).bytes() << QStringList{header(0), line1};
    QTest::newRow("block 0 absent")
        << BilBuilder().lap(2, 0, {}).bytes() << QStringList{header(0), "   1"};
    BilBuilder gap =
        BilBuilder().lap(2, 0, {workedExampleBlocks()[0], {}, workedExampleBlocks()[1]});
    gap.setRecordWord(0, BilBuilder::blockOffset(2) + 4, 0xFFFF);
    QTest::newRow("data after a zero time word")
        << gap.bytes() << QStringList{header(0), kExampleLine.left(4 + 68).replace(3, 1, '1')};
}

void TestLapConverter::dataEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    const Converted c = convert(bytes);
    QVERIFY(c.fault.ok());
    QCOMPARE(lines(c.text), expected);
}

void TestLapConverter::unitFromFirstLapRecord()
{
    // A converter spans the files of one command: the unit of its first lap record stays.
    std::string text;
    LapConverter converter('.', [&text](std::string_view t) { text.append(t); });
    const QByteArray endFirst =
        BilBuilder().endRecord().bytes() + BilBuilder().lap(5, 0, {}).bytes();
    const QByteArray even = BilBuilder().lap(2, 1, {}).bytes();
    converter.startFile();
    QCOMPARE(converter.feed(span(endFirst)).status, LapConverter::Status::EndOfData);
    QVERIFY(!converter.headerWritten());
    converter.startFile();
    converter.feed(span(BilBuilder().lap(5, 0, {}).bytes()));
    converter.startFile();
    converter.feed(span(even));
    converter.flush();
    QCOMPARE(QString::fromStdString(text), header(1) + "\r\n   1\r\n   2\r\n");
}

void TestLapConverter::streamedFileMatchesMemory()
{
    // More records than one read chunk holds, and a short final piece.
    BilBuilder b;
    BilBlock block = workedExampleBlocks()[0];
    for (int lap = 0; lap < 1300; ++lap) {
        block.time = static_cast<quint16>(5000 + lap);
        b.lap(2, static_cast<quint16>(lap), std::vector<BilBlock>(7, block));
    }
    b.raw(QByteArray(50, '\x02'));
    QTemporaryDir dir;
    const QString path = dir.filePath("LONG.BIL");
    QVERIFY(b.writeTo(path));

    std::string streamed;
    LapConverter converter('.', [&streamed](std::string_view t) { streamed.append(t); });
    const LapFileResult result = convertLapFile(path, converter);
    converter.flush();
    QVERIFY(result.ok());
    const Converted memory = convert(b.bytes());
    QCOMPARE(lines(memory.text).size(), 1301);
    QVERIFY(streamed == memory.text.toStdString());
}

void TestLapConverter::faultLocationAcrossChunks()
{
    BilBuilder b;
    for (int lap = 0; lap < 1200; ++lap)
        b.lap(3, static_cast<quint16>(lap), workedExampleBlocks());
    b.setRecordWord(1100, BilBuilder::blockOffset(1) + 20, 0xABCD);
    QTemporaryDir dir;
    const QString path = dir.filePath("BAD.BIL");
    QVERIFY(b.writeTo(path));

    std::string text;
    LapConverter converter(',', [&text](std::string_view t) { text.append(t); });
    const LapFileResult result = convertLapFile(path, converter);
    converter.flush();
    QCOMPARE(result.error, LapFileResult::Error::Record);
    QCOMPARE(result.fault.record, quint64(1101));
    QCOMPARE(result.fault.offset, quint64(1100 * 228 + 36 + 20));
    QCOMPARE(result.describe(),
             QStringLiteral("record 1101, byte 250856: word 0xABCD is above 32767"));
    QCOMPARE(lines(QString::fromStdString(text)).size(), 1 + 1100);
}

void TestLapConverter::batchesConcatenateToTable()
{
    BilBuilder b;
    for (int lap = 0; lap < 400; ++lap)
        b.lap(2, static_cast<quint16>(lap), std::vector<BilBlock>(7, workedExampleBlocks()[0]));
    const Converted whole = convert(b.bytes());

    std::string text;
    int calls = 0;
    LapConverter converter(
        '.',
        [&](std::string_view t) {
            ++calls;
            text.append(t);
        },
        16 * 1024);
    converter.startFile();
    converter.feed(span(b.bytes()));
    QCOMPARE(calls, int(text.size() / (16 * 1024))); // only full batches so far
    converter.flush();
    QVERIFY(text == whole.text.toStdString());
    QVERIFY(calls <= int(text.size() / (16 * 1024)) + 1);
}

void TestLapConverter::samplesAreWhatTheBuilderMakes()
{
    const QDir samples(QStringLiteral(MIREN_SAMPLES_DIR));
    for (const SampleFile& sample : sampleFiles()) {
        QFile file(samples.filePath(sample.name));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(sample.name));
        QVERIFY2(file.readAll() == sample.bytes,
                 qPrintable(sample.name + " differs: remake it with make-samples"));
    }
}

void TestLapConverter::samplesConvert()
{
    const auto samples = sampleFiles();
    QCOMPARE(samples.size(), size_t(3));
    const Converted example = convert(samples[0].bytes);
    QCOMPARE(lines(example.text).value(1), kExampleLine);

    const Converted kmh = convert(samples[1].bytes);
    const Converted mph = convert(samples[2].bytes);
    QVERIFY(kmh.fault.ok() && mph.fault.ok());
    QCOMPARE(lines(kmh.text).first(), header(0));
    QCOMPARE(lines(mph.text).first(), header(1));
    QCOMPARE(lines(kmh.text).size(), 1 + 20);
    QCOMPARE(lines(kmh.text).value(20).size(), 4 + 7 * 68); // GX, GY below 10.0
}

MIREN_REGISTER_TEST(TestLapConverter)
#include "TestLapConverter.moc"
