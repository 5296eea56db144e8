#include "BilBuilder.h"
#include "ConvertRun.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString sample(const QString& name)
{
    return QDir(QStringLiteral(MIREN_SAMPLES_DIR)).filePath(name);
}

QString expected(const QString& name)
{
    return QDir(QStringLiteral(MIREN_TEST_DATA_DIR)).filePath(name);
}

} // namespace

// miren-convert --format csv and summary, against outputs checked by hand once.
class TestAnalysisFormats : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void expectedOutput_data();
    void expectedOutput();
    void sameCsvFromTableText();
    void tableTextWithoutTable();
    void mixedInputsAreBadUsage();
    void summaryCoversLapsBeforeFault_data();
    void summaryCoversLapsBeforeFault();
    void csvOutputFile();
    void badUsage_data();
    void badUsage();

private:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

void TestAnalysisFormats::initTestCase()
{
    QVERIFY(dir_.isValid());
    BilBuilder faulty;
    const quint16 times[4] = {6500, 6400, 6600, 6450};
    for (quint16 lap = 0; lap < 4; ++lap) {
        BilBlock b;
        b.time = times[lap];
        faulty.lap(2, lap, {b});
    }
    faulty.setRecordWord(2, 6, 0x8000);
    QVERIFY(faulty.writeTo(path("FAULTY.BIL")));
}

void TestAnalysisFormats::expectedOutput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("file");
    QTest::newRow("csv") << QStringList{"--format", "csv", sample("SESSION_KMH.BIL")}
                         << "SESSION_KMH.csv";
    QTest::newRow("csv ;") << QStringList{"--format", "csv", "--csv-delimiter", ";",
                                          sample("SESSION_MPH.BIL")}
                           << "SESSION_MPH.semicolon.csv";
    QTest::newRow("summary km/h") << QStringList{"--format", "summary", sample("SESSION_KMH.BIL")}
                                  << "SESSION_KMH.summary.txt";
    QTest::newRow("summary m/h") << QStringList{"--format=summary", sample("SESSION_MPH.BIL")}
                                 << "SESSION_MPH.summary.txt";
}

void TestAnalysisFormats::expectedOutput()
{
    QFETCH(QStringList, args);
    QFETCH(QString, file);
    const Run r = convert(args);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.out, readBytes(expected(file)));

    const Run toFile = convert(QStringList{"-o", path("out")} + args);
    QCOMPARE(toFile.exitCode, 0);
    QCOMPARE(readBytes(path("out")), r.out);
}

void TestAnalysisFormats::sameCsvFromTableText()
{
    // LONG.BIL's table (about 0.6 MB) is read in several pieces, so lines run across their ends.
    BilBuilder longFile;
    longFile.raw(fullLaps(1200));
    QVERIFY(longFile.writeTo(path("LONG.BIL")));
    for (const QString& bil : {sample("EXAMPLE.BIL"), sample("SESSION_KMH.BIL"),
                               sample("SESSION_MPH.BIL"), path("LONG.BIL")}) {
        for (const char* delimiter : {",", "\t"}) {
            const QString text = path(QFileInfo(bil).fileName() + ".txt");
            QCOMPARE(convert({"--decimal-point", ",", "-o", text, bil}).exitCode, 0);
            const Run fromBil = convert({"--format", "csv", "--csv-delimiter", delimiter, bil});
            const Run fromText = convert({"--format", "csv", "--csv-delimiter", delimiter, text});
            QCOMPARE(fromText.exitCode, 0);
            QCOMPARE(fromText.err, QByteArray());
            QVERIFY(fromBil.out.count("\r\n") > 1);
            QCOMPARE(lapColumns(fromText.out), lapColumns(fromBil.out));
        }
    }
}

void TestAnalysisFormats::tableTextWithoutTable()
{
    QVERIFY(writeBytes(path("notes.txt"), "just notes\r\n"));
    const Run r = convert({"--format", "csv", "-o", path("none.csv"), path("notes.txt")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("no lap table in " +
                            QDir::toNativeSeparators(path("notes.txt")).toLocal8Bit()),
             r.err.constData());
    QVERIFY(!QFile::exists(path("none.csv")));

    // A table with edited lines: the rest is read, the skipped lines are named.
    QCOMPARE(convert({"-o", path("edited.txt"), sample("SESSION_KMH.BIL")}).exitCode, 0);
    QList<QByteArray> lines = readBytes(path("edited.txt")).split('\n');
    lines[3] = "edited\r";
    QVERIFY(writeBytes(path("edited.txt"), lines.join('\n')));
    const Run summary = convert({"--format", "summary", path("edited.txt")});
    QCOMPARE(summary.exitCode, 0);
    QVERIFY2(summary.out.contains("Session: 19 laps"), summary.out.constData());
    QVERIFY2(summary.out.contains("edited.txt: 1 line skipped, not lap lines: 4\n"),
             summary.out.constData());
}

void TestAnalysisFormats::mixedInputsAreBadUsage()
{
    QCOMPARE(convert({"-o", path("kmh.txt"), sample("SESSION_KMH.BIL")}).exitCode, 0);
    const Run r = convert({"--format", "summary", path("kmh.txt"), sample("SESSION_MPH.BIL")});
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, QByteArray());
    QVERIFY2(r.err.contains("cannot be mixed"), r.err.constData());
}

void TestAnalysisFormats::summaryCoversLapsBeforeFault_data()
{
    QTest::addColumn<QString>("folder"); // under the test's folder
    QTest::newRow("short path") << QString();
    // Over a kilobyte of path: the fault line keeps its reason and its line end.
    QTest::newRow("long path") << QString(4, u'/').replace(u'/', QString(240, u'd') + u'/');
}

void TestAnalysisFormats::summaryCoversLapsBeforeFault()
{
    QFETCH(QString, folder);
    QVERIFY(QDir(dir_.path()).mkpath(folder.isEmpty() ? QStringLiteral(".") : folder));
    const QString faulty = path(folder + "FAULTY.BIL");
    if (!folder.isEmpty())
        QVERIFY(QFile::copy(path("FAULTY.BIL"), faulty));
    const Run r = convert({"--format", "summary", faulty, sample("EXAMPLE.BIL")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("FAULTY.BIL: record 3, byte 462"), r.err.constData());
    QVERIFY2(r.out.startsWith("Session: 2 laps, 2 timed, 2 counted"), r.out.constData());
    // Paths are written as the system writes them (backslashes on Windows).
    const QByteArray line = "Covers only the laps before the fault: " +
                            QFile::encodeName(QDir::toNativeSeparators(faulty)) +
                            ": record 3, byte 462";
    const qsizetype at = r.out.indexOf(line);
    QVERIFY2(at > 0, r.out.constData());
    const qsizetype end = r.out.indexOf('\n', at);
    QVERIFY2(end > 0 && r.out.mid(end + 1).startsWith("Not read: "), r.out.constData());
    QVERIFY2(r.out.contains("Best lap        1:04.00  lap 2\n"), r.out.constData());
}

void TestAnalysisFormats::csvOutputFile()
{
    QVERIFY(writeBytes(path("old.csv"), "old"));
    const Run r = convert({"--format", "csv", "-o", path("old.csv"), path("FAULTY.BIL")});
    QCOMPARE(r.exitCode, 1);
    // The rows before the fault are written, as the table's lines are.
    QCOMPARE(readBytes(path("old.csv")).count("\r\n"), 1 + 2);

    QVERIFY(QDir(dir_.path()).mkpath("outdir"));
    const Run folder = convert({"--format", "csv", "-o", path("outdir"), sample("EXAMPLE.BIL")});
    QCOMPARE(folder.exitCode, 1);
    QVERIFY(folder.err.contains("cannot write"));
    QCOMPARE(QDir(path("outdir")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList());
}

void TestAnalysisFormats::badUsage_data()
{
    QTest::addColumn<QStringList>("args");
    const QString f = sample("EXAMPLE.BIL");
    QTest::newRow("unknown format") << QStringList{"--format", "xml", f};
    QTest::newRow("format twice") << QStringList{"--format", "csv", "--format", "csv", f};
    QTest::newRow("delimiter without csv") << QStringList{"--csv-delimiter", ";", f};
    QTest::newRow("bad delimiter") << QStringList{"--format", "csv", "--csv-delimiter", "|", f};
    QTest::newRow("decimal point with csv")
        << QStringList{"--format", "csv", "--decimal-point", ",", f};
    QTest::newRow("exclusion with table") << QStringList{"--exclude-slower", "105", f};
    QTest::newRow("exclusion below 100")
        << QStringList{"--format", "summary", "--exclude-slower", "90", f};
    QTest::newRow("exclusion not a number")
        << QStringList{"--format", "summary", "--exclude-slower", "lots", f};
}

void TestAnalysisFormats::badUsage()
{
    QFETCH(QStringList, args);
    const Run r = convert(args);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, QByteArray());
    QVERIFY2(r.err.contains("Usage: miren-convert"), r.err.constData());
}

MIREN_REGISTER_TEST(TestAnalysisFormats)
#include "TestAnalysisFormats.moc"
