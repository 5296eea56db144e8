#include "BilBuilder.h"
#include "ConvertRun.h"
#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "lap_conversion/ConvertCommand.h"
#include "lap_conversion/LapTable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kExampleLine =
    "   3  1:05.23    3500~ 9800   45~162  1.2  0.9   80~ 95   70~ 88  2450    0:20.12    4100~ "
    "9650   60~155  0.8  1.1   82~ 90   71~ 80   810  ";

QByteArray header(int unit)
{
    return QByteArray(headerLine(unit).data(), static_cast<qsizetype>(kHeaderLength));
}

} // namespace

class TestMirenConvert : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void workedExampleToStdout();
    void decimalPointOption();
    void outputFileMatchesStdout();
    void sameBytesAsBilLoadAndTextSave();
    void noLapRecordWritesNothing();
    void failingFileKeepsTextSoFar();
    void recordFaultIsLocated();
    void failedRunLeavesNoHalfFile();
    void unwritableOutput();
    void fullDiskKeepsOldOutput();
    void badUsage_data();
    void badUsage();
    void helpAndVersion();

private:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
    QString example_;
};

void TestMirenConvert::initTestCase()
{
    QVERIFY(dir_.isValid());
    example_ = QDir(QStringLiteral(MIREN_SAMPLES_DIR)).filePath("EXAMPLE.BIL");
    BilBuilder end;
    QVERIFY(end.endRecord().writeTo(path("END.BIL")));
    BilBuilder faulty;
    for (quint16 lap = 0; lap < 4; ++lap)
        faulty.lap(2, lap, workedExampleBlocks());
    faulty.setRecordWord(2, 6, 0x8000);
    QVERIFY(faulty.writeTo(path("FAULTY.BIL")));
}

void TestMirenConvert::workedExampleToStdout()
{
    const Run r = convert({"--decimal-point", ".", example_});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, header(0) + "\r\n" + kExampleLine + "\r\n\r\n");
    QCOMPARE(r.err, QByteArray());
}

void TestMirenConvert::decimalPointOption()
{
    const Run r = convert({"--decimal-point", ",", example_});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.contains("  1:05.23    3500~ 9800   45~162  1,2  0,9"));
}

void TestMirenConvert::outputFileMatchesStdout()
{
    const QStringList inputs{QDir(MIREN_SAMPLES_DIR).filePath("SESSION_KMH.BIL"), example_};
    const Run toStdout = convert(QStringList{"--decimal-point", "."} + inputs);
    const Run toFile = convert(QStringList{"--decimal-point", ".", "-o", path("out.txt")} + inputs);
    QCOMPARE(toFile.exitCode, 0);
    QCOMPARE(toFile.out, QByteArray());
    QCOMPARE(readBytes(path("out.txt")), toStdout.out);
    QCOMPARE(toStdout.out.count("\r\n"), 1 + 20 + 1 + 1);
}

// The converter's output is the view's text after "bil load" plus the CR LF of "Text save".
void TestMirenConvert::sameBytesAsBilLoadAndTextSave()
{
    SharedState state;
    state.PASS_NAME2 = QStringLiteral(MIREN_SAMPLES_DIR);
    state.GET_NAME = "SESSION_MPH.BIL\rEXAMPLE.BIL\rSESSION_KMH.BIL\r";
    MemoryTextView view;
    convertLapFiles(
        state, view, [](const QString&) { QFAIL("unexpected warning"); }, ';');

    const QDir samples(MIREN_SAMPLES_DIR);
    const Run r = convert({"--decimal-point", ";", samples.filePath("SESSION_MPH.BIL"),
                           samples.filePath("EXAMPLE.BIL"), samples.filePath("SESSION_KMH.BIL")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, (view.text() + "\r\n").toUtf8());
}

void TestMirenConvert::noLapRecordWritesNothing()
{
    const Run r = convert({path("END.BIL")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray());
    QVERIFY(r.err.contains("nothing written"));

    QFile existing(path("keep.txt"));
    QVERIFY(existing.open(QIODevice::WriteOnly) && existing.write("keep") == 4);
    existing.close();
    QCOMPARE(convert({"-o", path("keep.txt"), path("END.BIL")}).exitCode, 0);
    QCOMPARE(readBytes(path("keep.txt")), QByteArray("keep"));
    QCOMPARE(convert({"-o", path("new.txt"), path("END.BIL")}).exitCode, 0);
    QVERIFY(!QFile::exists(path("new.txt")));
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files).filter("new"), QStringList());
}

void TestMirenConvert::failingFileKeepsTextSoFar()
{
    const QString missing = path("MISSING.BIL");
    const Run r = convert({"--decimal-point", ".", example_, missing, example_});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, header(0) + "\r\n" + kExampleLine + "\r\n\r\n");
    QVERIFY2(r.err.contains(QDir::toNativeSeparators(missing).toLocal8Bit() + ": cannot open: "),
             r.err.constData());

    const Run first = convert({"-o", path("first.txt"), missing, example_});
    QCOMPARE(first.exitCode, 1);
    QVERIFY(!QFile::exists(path("first.txt"))); // nothing converted, so nothing saved

    // An empty name gets the tool's own one-line message and nothing from the libraries.
    const Run empty = convert({example_, ""});
    QCOMPARE(empty.exitCode, 1);
    QByteArray err = empty.err;
#ifdef Q_OS_WIN
    err.replace("\r\n", "\n"); // standard error is a text stream there
#endif
    QVERIFY2(err == "miren-convert: \"\": cannot open: No file name specified\n",
             err.constData());
}

void TestMirenConvert::recordFaultIsLocated()
{
    const Run r =
        convert({"--decimal-point", ".", "-o", path("faulty.txt"), path("FAULTY.BIL"), example_});
    QCOMPARE(r.exitCode, 1);
    const QByteArray text = readBytes(path("faulty.txt"));
    QCOMPARE(text.count("\r\n"), 1 + 2 + 1);
    QVERIFY(text.endsWith("810  \r\n\r\n"));
    QVERIFY2(r.err.contains("FAULTY.BIL: record 3, byte 462: word 0x8000 is above 32767"),
             r.err.constData());
}

void TestMirenConvert::failedRunLeavesNoHalfFile()
{
    // A folder given as the output: the commit fails and the folder is not touched.
    QVERIFY(QDir(dir_.path()).mkpath("outdir"));
    const Run r = convert({"-o", path("outdir"), example_});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains("cannot write"));
    QVERIFY(QFileInfo(path("outdir")).isDir());
    QCOMPARE(QDir(path("outdir")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList());
}

void TestMirenConvert::unwritableOutput()
{
    const Run r = convert({"-o", path("no/such/folder/out.txt"), example_});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains("cannot write"));
    QCOMPARE(r.out, QByteArray());
}

void TestMirenConvert::fullDiskKeepsOldOutput()
{
#ifndef Q_OS_UNIX
    QSKIP("needs a file-size limit");
#else
    // The whole table is smaller than any write buffer, so only an unbuffered write notices that
    // the disk is full before the file is committed.
    const QString out = path("full.txt");
    {
        QFile f(out);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old table\r\n");
    }
    Run r;
    {
        FileSizeLimit limit{100};
        r = convert({"-o", out, example_});
    }
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("cannot write"), r.err.constData());
    QCOMPARE(readBytes(out), QByteArray("old table\r\n"));
#endif
}

void TestMirenConvert::badUsage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no files") << QStringList();
    QTest::newRow("only options") << QStringList{"--decimal-point", ","};
    QTest::newRow("unknown option") << QStringList{"--fast", "x.BIL"};
    QTest::newRow("two characters") << QStringList{"--decimal-point", "ab", "x.BIL"};
    QTest::newRow("empty decimal point") << QStringList{"--decimal-point", "", "x.BIL"};
    QTest::newRow("non-ASCII decimal point") << QStringList{"--decimal-point", "·", "x.BIL"};
    QTest::newRow("control character") << QStringList{"--decimal-point", "\t", "x.BIL"};
    QTest::newRow("missing value") << QStringList{"x.BIL", "-o"};
}

void TestMirenConvert::badUsage()
{
    QFETCH(QStringList, args);
    const Run r = convert(args);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, QByteArray());
    QVERIFY2(r.err.contains("Usage: miren-convert"), r.err.constData());
}

void TestMirenConvert::helpAndVersion()
{
    const Run help = convert({"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains("--decimal-point"));
    const Run version = convert({"--version"});
    QCOMPARE(version.exitCode, 0);
    QVERIFY(version.out.startsWith("miren-convert 2."));
}

MIREN_REGISTER_TEST(TestMirenConvert)
#include "TestMirenConvert.moc"
