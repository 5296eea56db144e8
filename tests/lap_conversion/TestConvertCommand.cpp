#include "BilBuilder.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "lap_conversion/ConvertCommand.h"
#include "lap_conversion/LapTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString header(int unit)
{
    return QString::fromLatin1(headerLine(unit).data(), static_cast<qsizetype>(kHeaderLength));
}

// "   n" followed by the worked example's block texts.
QString exampleLine(int lapNumber)
{
    return QString::number(lapNumber).rightJustified(4) +
           "  1:05.23    3500~ 9800   45~162  1.2  0.9   80~ 95   70~ 88  2450    0:20.12    "
           "4100~ 9650   60~155  0.8  1.1   82~ 90   71~ 80   810  ";
}

QByteArray laps(quint16 recordWord, quint16 firstIndex, int count)
{
    BilBuilder b;
    for (int i = 0; i < count; ++i)
        b.lap(recordWord, static_cast<quint16>(firstIndex + i), workedExampleBlocks());
    return b.bytes();
}

} // namespace

class TestConvertCommand : public QObject {
    Q_OBJECT
private slots:
    void init();
    void nothingChosenKeepsView();
    void filesShareOneHeader();
    void headerWaitsForFirstLapRecord();
    void failingName_data();
    void failingName();
    void unreadableFile();
    void faultKeepsLinesBefore();
    void loadKeepsFilesForTheAnalysis();
    void faultInFirstLapRecordKeepsHeader();
    void lastNameWithoutCarriageReturn();
    void largeTableReachesViewInFewCalls();

private:
    void write(const QString& name, const QByteArray& bytes);
    void run(const QString& names);

    QTemporaryDir dir_;
    SharedState state_;
    CountingView view_;
    QStringList warnings_;
};

void TestConvertCommand::init()
{
    state_ = SharedState{};
    state_.PASS_NAME2 = dir_.path();
    view_.setText(QStringLiteral("old text\r\n"), 4);
    view_.appends = 0;
    warnings_.clear();
}

void TestConvertCommand::write(const QString& name, const QByteArray& bytes)
{
    BilBuilder b;
    b.raw(bytes);
    QVERIFY(b.writeTo(dir_.filePath(name)));
}

void TestConvertCommand::run(const QString& names)
{
    state_.GET_NAME = names;
    convertLapFiles(
        state_, view_, [this](const QString& w) { warnings_ << w; }, '.');
}

void TestConvertCommand::nothingChosenKeepsView()
{
    run(QString());
    QCOMPARE(view_.text(), QStringLiteral("old text\r\n"));
    QVERIFY(warnings_.isEmpty());
}

void TestConvertCommand::filesShareOneHeader()
{
    write("A.BIL", laps(2, 0, 2));
    write("B.BIL", laps(3, 2, 1)); // odd record word: the header stays km/h
    run("A.BIL\rB.BIL\r");
    QCOMPARE(view_.text(), header(0) + "\r\n" + exampleLine(1) + "\r\n" + exampleLine(2) + "\r\n" +
                               exampleLine(3) + "\r\n");
    QVERIFY(warnings_.isEmpty());
    QCOMPARE(state_.GET_NAME, QString());
}

void TestConvertCommand::headerWaitsForFirstLapRecord()
{
    write("END.BIL", BilBuilder().endRecord().bytes());
    write("EMPTY.BIL", QByteArray());
    write("MPH.BIL", laps(1, 0, 1));
    write("KMH.BIL", laps(2, 1, 1));
    run("END.BIL\rEMPTY.BIL\rMPH.BIL\rKMH.BIL\r");
    QCOMPARE(view_.text(), header(1) + "\r\n" + exampleLine(1) + "\r\n" + exampleLine(2) + "\r\n");

    init();
    run("END.BIL\rEMPTY.BIL\r");
    QCOMPARE(view_.text(), QString()); // cleared, and no lap record to show
    QVERIFY(warnings_.isEmpty());
}

// A name that cannot be opened as a file stops the command after the earlier files' lines; the
// names after it stay in GET_NAME.
void TestConvertCommand::failingName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing file") << "MISSING.BIL";
    QTest::newRow("folder") << "FOLDER.BIL";
    QTest::newRow("empty name") << "";
}

void TestConvertCommand::failingName()
{
    QFETCH(QString, name);
    QVERIFY(QDir(dir_.path()).mkpath("FOLDER.BIL"));
    write("A.BIL", laps(2, 0, 1));
    write("C.BIL", laps(2, 5, 1));
    run("A.BIL\r" + name + "\rC.BIL\r");
    QCOMPARE(view_.text(), header(0) + "\r\n" + exampleLine(1) + "\r\n");
    QCOMPARE(warnings_, QStringList{"!! non file !!"});
    QCOMPARE(state_.GET_NAME, QStringLiteral("C.BIL\r"));
}

void TestConvertCommand::unreadableFile()
{
    write("LOCKED.BIL", laps(2, 0, 1));
    QFile file(dir_.filePath("LOCKED.BIL"));
    QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
    if (file.open(QIODevice::ReadOnly))
        QSKIP("permissions do not stop this user from reading");
    run("LOCKED.BIL\r");
    QCOMPARE(view_.text(), QStringLiteral("old text\r\n")); // not opened: the view is kept
    QCOMPARE(warnings_, QStringList{"!! non file !!"});
}

void TestConvertCommand::faultKeepsLinesBefore()
{
    BilBuilder b;
    b.raw(laps(2, 0, 4)).setRecordWord(2, 10, 0x8000);
    write("A.BIL", b.bytes());
    write("B.BIL", laps(2, 9, 1));
    run("A.BIL\rB.BIL\r");
    QCOMPARE(view_.text(), header(0) + "\r\n" + exampleLine(1) + "\r\n" + exampleLine(2) + "\r\n");
    QCOMPARE(warnings_, QStringList{"!! non file !!"});
    QCOMPARE(state_.GET_NAME, QStringLiteral("B.BIL\r"));
}

// Where each file's lines begin, its unit and why the load stopped are kept, before the warning.
void TestConvertCommand::loadKeepsFilesForTheAnalysis()
{
    BilBuilder b;
    b.raw(laps(3, 0, 4)).setRecordWord(2, 10, 0x8000);
    write("A.BIL", b.bytes());
    write("B.BIL", laps(2, 9, 1));
    state_.GET_NAME = QStringLiteral("B.BIL\rA.BIL\rB.BIL\rB.BIL");
    LapFileLoad load;
    convertLapFiles(
        state_, view_,
        [&](const QString& w) {
            QVERIFY(load.replacedView);
            warnings_ << w;
        },
        '.', &load);
    QCOMPARE(warnings_, QStringList{"!! non file !!"});
    QCOMPARE(load.files.size(), std::size_t(2));
    QCOMPARE(load.files[0].firstLine, qsizetype(1));
    QCOMPARE(load.files[1].firstLine, qsizetype(2));
    QCOMPARE(load.files[1].lines, qsizetype(2));
    QCOMPARE(load.files[1].unitFlag, 1);
    QVERIFY2(load.files[1].fault.startsWith("record 3, byte 466: "),
             qPrintable(load.files[1].fault));
    QCOMPARE(load.unreadFiles, (QStringList{"B.BIL", "B.BIL"}));
}

void TestConvertCommand::faultInFirstLapRecordKeepsHeader()
{
    BilBuilder b;
    b.lap(3, 0x7FFF, workedExampleBlocks());
    write("A.BIL", b.bytes());
    run("A.BIL\r");
    QCOMPARE(view_.text(), header(1) + "\r\n");
    QCOMPARE(warnings_.size(), 1);

    init();
    b.setRecordWord(0, 0, 0x8003);
    write("A.BIL", b.bytes());
    run("A.BIL\r");
    QCOMPARE(view_.text(), QString());
    QCOMPARE(warnings_.size(), 1);
}

void TestConvertCommand::lastNameWithoutCarriageReturn()
{
    write("A.BIL", laps(2, 0, 1));
    write("B.BIL", laps(2, 1, 1));
    run("A.BIL\rB.BIL");
    QCOMPARE(view_.text(), header(0) + "\r\n" + exampleLine(1) + "\r\n" + exampleLine(2) + "\r\n");
    QCOMPARE(state_.GET_NAME, QString());
}

void TestConvertCommand::largeTableReachesViewInFewCalls()
{
    write("A.BIL", laps(2, 0, 3000));
    write("B.BIL", laps(2, 3000, 3000));
    run("A.BIL\rB.BIL\r");
    const QString text = view_.text();
    QCOMPARE(text.count(QStringLiteral("\r\n")), 6001);
    QVERIFY(text.endsWith(exampleLine(6000) + "\r\n"));
    // About 830 KB of text: a handful of batches, not one call per line.
    QVERIFY2(view_.appends <= 20, qPrintable(QString::number(view_.appends)));
}

MIREN_REGISTER_TEST(TestConvertCommand)
#include "TestConvertCommand.moc"
