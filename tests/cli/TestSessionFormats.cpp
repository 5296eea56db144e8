#include "BilBuilder.h"
#include "ConvertRun.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString sample(const QString& name)
{
    return QDir(QStringLiteral(MIREN_SAMPLES_DIR)).filePath(name);
}

// The text of a PDF as pdftotext reads it; empty when it cannot.
QByteArray pdfText(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    return p.waitForFinished(30000) ? p.readAllStandardOutput() : QByteArray();
}

} // namespace

// miren-convert over several sessions, one per input file.
class TestSessionFormats : public QObject {
    Q_OBJECT
private slots:
    void sessionsOfOneUnitAreCompared();
    void timesAreComparedAcrossUnits();
    void pdfReport_data();
    void pdfReport();
    void everyFormatSaysWhatItCovers_data();
    void everyFormatSaysWhatItCovers();
    void laterHeaderStartsSessionInItsUnit();

private:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

void TestSessionFormats::sessionsOfOneUnitAreCompared()
{
    const QStringList files{sample("SESSION_KMH.BIL"), sample("EXAMPLE.BIL")};
    const Run text = convert(QStringList{"--format", "sessions"} + files);
    QCOMPARE(text.exitCode, 0);
    // EXAMPLE's best lap 1:05.23 is 1.22 behind SESSION_KMH's 1:04.01.
    QVERIFY2(text.out.contains("R2 EXAMPLE.BIL      km/h      1        1    1:05.23  lap 3        "
                               "+1.22"),
             text.out.constData());
    const Run csv =
        convert(QStringList{"--format", "sessions-csv", "--csv-delimiter", ";"} + files);
    QCOMPARE(csv.exitCode, 0);
    QVERIFY2(csv.out.contains("\r\n2;EXAMPLE.BIL;km/h;1;1;65,23;1,22;3;"), csv.out.constData());

    // Each lap row carries its session; the second file's laps are session 2.
    const Run laps = convert(QStringList{"--format", "csv"} + files);
    QCOMPARE(laps.exitCode, 0);
    QVERIFY(laps.out.startsWith("session,session_name,lap,counted,lap_time_s,"));
    QCOMPARE(laps.out.count("\r\n1,SESSION_KMH.BIL,"), 20);
    QCOMPARE(laps.out.count("\r\n2,EXAMPLE.BIL,"), 1);
}

// Times are times whatever the unit: the km/h session's best lap is 0.07 behind the m/h
// session's, and the day is one; only the top speeds stay one per unit.
void TestSessionFormats::timesAreComparedAcrossUnits()
{
    const QStringList files{sample("SESSION_KMH.BIL"), sample("SESSION_MPH.BIL")};
    const Run text = convert(QStringList{"--format", "sessions"} + files);
    QCOMPARE(text.exitCode, 0);
    QVERIFY2(text.out.contains("1:04.01  lap 11       +0.07"), text.out.constData());
    QVERIFY2(text.out.contains("1:03.94  lap 9        +0.00"), text.out.constData());

    const Run summary = convert(QStringList{"--format", "summary"} + files);
    QVERIFY(summary.out.contains("Day: 2 sessions, 32 laps"));
    QVERIFY(summary.out.contains("Best lap        1:03.94  R2 lap 9\n"));
    QVERIFY(summary.out.contains(" km/h  R1 lap ") && summary.out.contains(" m/h   R2 lap "));

    // The speeds say their unit in every row instead of in the header.
    const Run csv = convert(QStringList{"--format", "csv"} + files);
    QVERIFY(csv.out.contains(",speed_min,speed_max,"));
    QCOMPARE(csv.out.count(",km/h\r\n"), 20);
    QCOMPARE(csv.out.count(",m/h\r\n"), 12);
}

void TestSessionFormats::pdfReport_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("theoretical");
    QTest::newRow("English") << "en" << QByteArray("Theoretical best");
    QTest::newRow("Japanese") << "ja" << QByteArray("理論ベスト");
}

void TestSessionFormats::pdfReport()
{
    QFETCH(QString, language);
    QFETCH(QByteArray, theoretical);
    const QString pdf = dir_.filePath(language + ".pdf");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("MIREN_LANG", language);
    env.remove("QT_QPA_PLATFORM"); // the program picks the offscreen platform itself
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(MIREN_CONVERT_PATH),
            {"--format", "pdf", "-o", pdf, sample("SESSION_KMH.BIL"), sample("EXAMPLE.BIL")});
    const Run r = finish(p, 60000);
    QCOMPARE(r.exitCode, 0);
    QFile written(pdf);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.read(5), QByteArray("%PDF-"));

    // A PDF is not written to standard output.
    const Run toStdout = convert({"--format", "pdf", sample("EXAMPLE.BIL")});
    QCOMPARE(toStdout.exitCode, 2);
    QCOMPARE(toStdout.out, QByteArray());

    // pdftotext is a Linux program: a Windows build under Wine checks the file alone.
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) reads the PDF");
    const QByteArray text = pdfText(pdf);
    QVERIFY2(text.contains("1:04.01"), text.constData()); // best lap
    QVERIFY(text.contains("1:03.38"));                    // theoretical best
    QVERIFY(text.contains(theoretical));
    QVERIFY(text.contains("SESSION_KMH.BIL"));
}

// A file that failed half-way, the files after it and the skipped lines of a table are named by
// every format: in its text, or on standard error where the output is CSV.
void TestSessionFormats::everyFormatSaysWhatItCovers_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("faultyInputs"); // else a table with an edited line
    QTest::addColumn<QString>("where");     // "out", "err" or "pdf"
    QTest::addColumn<QByteArrayList>("says");
    const QByteArrayList fault{"Covers only the laps before the fault: ", "HALFBAD.BIL: record 3",
                               "Not read: ", "SESSION_MPH.BIL"};
    QTest::newRow("sessions, fault") << "sessions" << true << "out" << fault;
    QTest::newRow("summary, fault") << "summary" << true << "out" << fault;
    QTest::newRow("pdf, fault") << "pdf" << true << "pdf" << fault;
    QTest::newRow("sessions-csv, fault")
        << "sessions-csv" << true << "err" << QByteArrayList{"HALFBAD.BIL: record 3"};
    const QByteArrayList skipped{"EDITED.txt: 1 line", " skipped, not ", ": 4"};
    QTest::newRow("sessions, skipped") << "sessions" << false << "out" << skipped;
    QTest::newRow("sessions-csv, skipped") << "sessions-csv" << false << "err" << skipped;
    QTest::newRow("pdf, skipped") << "pdf" << false << "pdf" << skipped;
}

void TestSessionFormats::everyFormatSaysWhatItCovers()
{
    QFETCH(QString, format);
    QFETCH(bool, faultyInputs);
    QFETCH(QString, where);
    QFETCH(QByteArrayList, says);
    QStringList inputs;
    if (faultyInputs) {
        BilBuilder halfBad;
        for (quint16 lap = 0; lap < 4; ++lap) {
            BilBlock b;
            b.time = quint16(6500 + lap);
            halfBad.lap(2, lap, {b});
        }
        halfBad.setRecordWord(2, 6, 0x8000);
        QVERIFY(halfBad.writeTo(path("HALFBAD.BIL")));
        inputs = {sample("SESSION_KMH.BIL"), path("HALFBAD.BIL"), sample("SESSION_MPH.BIL")};
    } else {
        QCOMPARE(convert({"-o", path("EDITED.txt"), sample("SESSION_KMH.BIL")}).exitCode, 0);
        QByteArrayList lines = readBytes(path("EDITED.txt")).split('\n');
        lines[3] = "an edited line\r";
        QVERIFY(writeBytes(path("EDITED.txt"), lines.join('\n')));
        inputs = {path("EDITED.txt")};
    }
    const QString pdf = path(format + ".pdf");
    const Run r = convert(QStringList{"--format", format} +
                          (where == "pdf" ? QStringList{"-o", pdf} : QStringList{}) + inputs);
    QCOMPARE(r.exitCode, faultyInputs ? 1 : 0);
    QByteArray said = where == "out" ? r.out : r.err;
    if (where == "pdf") {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) reads the PDF");
        said = pdfText(pdf).simplified();
    }
    for (const QByteArray& words : says)
        QVERIFY2(said.contains(words), said.constData());
}

// A table text of km/h laps, then an m/h header and m/h laps: two sessions, each in its own
// unit, as the analysis window finds them.
void TestSessionFormats::laterHeaderStartsSessionInItsUnit()
{
    const Run kmh = convert({sample("SESSION_KMH.BIL")});
    const Run mph = convert({sample("SESSION_MPH.BIL")});
    QVERIFY(writeBytes(path("DAY.txt"), kmh.out.chopped(2) + mph.out));
    const Run summary = convert({"--format", "summary", path("DAY.txt")});
    QCOMPARE(summary.exitCode, 0);
    QVERIFY2(summary.out.contains("Session 1, DAY.txt: 20 laps, 20 timed, 19 counted; speed in km/h") &&
                 summary.out.contains("Session 2, DAY.txt: 12 laps, 12 timed, 11 counted; speed in m/h"),
             summary.out.constData());
    const Run csv = convert({"--format", "csv", path("DAY.txt")});
    QCOMPARE(csv.out.count(",km/h\r\n1,DAY.txt,"), 19);
    QCOMPARE(csv.out.count(",m/h\r\n2,DAY.txt,"), 11);
}

MIREN_REGISTER_TEST(TestSessionFormats)
#include "TestSessionFormats.moc"
