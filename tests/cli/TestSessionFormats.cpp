#include "ConvertRun.h"
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
    void unitsAreNeverCompared();
    void pdfReport_data();
    void pdfReport();

private:
    QTemporaryDir dir_;
};

void TestSessionFormats::sessionsOfOneUnitAreCompared()
{
    const QStringList files{sample("SESSION_KMH.BIL"), sample("EXAMPLE.BIL")};
    const Run text = convert(QStringList{"--format", "sessions"} + files);
    QCOMPARE(text.exitCode, 0);
    // EXAMPLE's best lap 1:05.23 is 1.22 behind SESSION_KMH's 1:04.01.
    QVERIFY2(text.out.contains("S2 EXAMPLE.BIL      km/h      1        1    1:05.23  lap 3        "
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

void TestSessionFormats::unitsAreNeverCompared()
{
    const QStringList files{sample("SESSION_KMH.BIL"), sample("SESSION_MPH.BIL")};
    const Run text = convert(QStringList{"--format", "sessions"} + files);
    QCOMPARE(text.exitCode, 0);
    // Both are the best of their own unit, though the m/h session is faster.
    QCOMPARE(text.out.count("+0.00      "), 2);
    QVERIFY(!text.out.contains("+0.07"));

    const Run summary = convert(QStringList{"--format", "summary"} + files);
    QVERIFY(summary.out.contains("Day in km/h: 1 session, 20 laps"));
    QVERIFY(summary.out.contains("Day in m/h: 1 session, 12 laps"));

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

MIREN_REGISTER_TEST(TestSessionFormats)
#include "TestSessionFormats.moc"
