// miren-library as a program: killed at random moments while it imports, two of it importing one
// folder at once, and its commands end to end.
#include "BilBuilder.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "lap_library/LapLibrary.h"
#include "library_cli/LibraryOptions.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A folder of lap files, each of other bytes, some in subfolders and in lower case.
QStringList makeFolder(const QString& folder, int count)
{
    QStringList files;
    for (int i = 0; i < count; ++i) {
        const QString sub = folder + (i % 3 == 0 ? QStringLiteral("/day%1").arg(i % 4) : QString());
        QDir().mkpath(sub);
        const QString file = sub + QStringLiteral("/RUN%1.%2").arg(i).arg(i % 2 ? "BIL" : "bil");
        writeBytes(file, fullLaps(20 + i));
        files << file;
    }
    return files;
}

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

// Starts miren-library with English messages, whatever the locale of the test run.
void start(QProcess& process, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MIREN_LANG"), QStringLiteral("en"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(MIREN_LIBRARY_PATH), arguments);
}

Run run(const QStringList& arguments, int timeoutMs = 60000)
{
    QProcess process;
    start(process, arguments);
    process.waitForFinished(timeoutMs);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// The hashes of the imports a run reported as done ("added N HASH12 FILE").
QSet<QByteArray> reported(const QByteArray& out)
{
    QSet<QByteArray> hashes;
    for (const QByteArray& line : out.split('\n'))
        if (line.startsWith("added "))
            hashes.insert(line.split(' ').value(2));
    return hashes;
}

} // namespace

class TestMirenLibrary : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void killedImportsLeaveLibraryConsistent();
    void twoProcessesImportOneFolder();
    void commandsEndToEnd();
    void usageErrors_data();
    void usageErrors();
    void badLibraryAndBundle_data();
    void badLibraryAndBundle();

private:
    QString library() const { return dir_->filePath(QStringLiteral("lib.sqlite")); }
    std::unique_ptr<QTemporaryDir> dir_;
};

// SIGKILL at random moments of an import, again and again: after each, the library passes its
// check and holds every import the killed run reported as done.
void TestMirenLibrary::killedImportsLeaveLibraryConsistent()
{
    const QStringList files = makeFolder(dir_->filePath(QStringLiteral("laps")), 40);
    const int seconds = qEnvironmentVariableIntValue("MIREN_KILL_SECONDS");
    const qint64 budgetMs = 1000LL * (seconds > 0 ? seconds : 3);
    QSet<QByteArray> done;
    QElapsedTimer clock;
    clock.start();
    int kills = 0, rounds = 0;
    while (clock.elapsed() < budgetMs) {
        QProcess process;
        start(process, {QStringLiteral("--library"), library(), QStringLiteral("import"),
                        dir_->filePath(QStringLiteral("laps"))});
        QVERIFY(process.waitForStarted());
        QTest::qSleep(int(QRandomGenerator::global()->bounded(5, 120)));
        process.kill();
        process.waitForFinished();
        done.unite(reported(process.readAllStandardOutput()));
        ++kills;
        auto opened = LapLibrary::open(library(), LapLibrary::Mode::ReadOnly);
        if (!opened.ok()) {
            // Killed before the library's first transaction: no file, or an empty one.
            QVERIFY2(done.isEmpty(), qPrintable(opened.error.message));
            continue;
        }
        const auto check = (*opened.value)->check();
        QVERIFY(check.ok());
        QVERIFY2(check.value->problems.isEmpty(), qPrintable(check.value->problems.join('\n')));
        QSet<QByteArray> present;
        for (const SessionInfo& s : (*opened.value)->sessions())
            present.insert(s.sha256.left(12).toLatin1());
        QVERIFY(present.contains(done));
        QCOMPARE(present.size(), int((*opened.value)->sessions().size()));
        // Once every file is in, a new library, so that the kills keep landing in imports.
        if (present.size() == files.size()) {
            opened.value->reset();
            for (const char* suffix : {"", "-wal", "-shm"})
                QFile::remove(library() + QLatin1String(suffix));
            done.clear();
            ++rounds;
        }
    }
    qInfo("%d kills in %lld ms, %d libraries filled whole meanwhile", kills,
          static_cast<long long>(clock.elapsed()), rounds);
    const Run last = run({QStringLiteral("--library"), library(), QStringLiteral("import"),
                          dir_->filePath(QStringLiteral("laps"))});
    QCOMPARE(last.exitCode, 0);
    auto opened = LapLibrary::open(library(), LapLibrary::Mode::ReadOnly);
    QCOMPARE(int((*opened.value)->sessions().size()), files.size());
}

void TestMirenLibrary::twoProcessesImportOneFolder()
{
    const QString folder = dir_->filePath(QStringLiteral("laps"));
    const QStringList files = makeFolder(folder, 60);
    QProcess a, b;
    const QStringList arguments{QStringLiteral("--library"), library(), QStringLiteral("import"),
                                folder};
    start(a, arguments);
    start(b, arguments);
    QVERIFY(a.waitForFinished(60000) && b.waitForFinished(60000));
    const QByteArray errors = a.readAllStandardError() + b.readAllStandardError();
    QVERIFY2(a.exitCode() == 0 && b.exitCode() == 0, errors.constData());
    QVERIFY(!errors.contains("locked"));
    QCOMPARE(reported(a.readAllStandardOutput()).size() + reported(b.readAllStandardOutput()).size(),
             files.size());
    auto opened = LapLibrary::open(library(), LapLibrary::Mode::ReadOnly);
    QCOMPARE(int((*opened.value)->sessions().size()), files.size());
}

void TestMirenLibrary::commandsEndToEnd()
{
    const QStringList lib{QStringLiteral("--library"), library()};
    const QString kmh = QStringLiteral(MIREN_SAMPLES_DIR "/SESSION_KMH.BIL");
    Run r = run(lib + QStringList{"import", "--track", "Suzu", "--vehicle", "Kart", "--conditions",
                                  "dry", kmh});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.endsWith("1 added, 0 already in the library, 0 failed\n"));
    r = run(lib + QStringList{"import", kmh, QStringLiteral(MIREN_SAMPLES_DIR "/SESSION_MPH.BIL")});
    QVERIFY(r.out.endsWith("1 added, 1 already in the library, 0 failed\n"));
    QCOMPARE(run(lib + QStringList{"set", "2", "--track", "Suzu", "--setup", "rear=1.5", "--note",
                                   "fast, \"really\""})
                 .exitCode,
             0);
    r = run(lib + QStringList{"sessions", "--track", "Suzu", "--format", "csv"});
    QCOMPARE(r.out.count("\r\n"), 3);
    r = run(lib + QStringList{"progress", "--track", "Suzu", "--format", "csv"});
    QVERIFY2(r.out.contains(",2,63.94,63.34,65.48,30,2,1,"), r.out.constData());
    r = run(lib + QStringList{"bests", "--conditions", "dry"});
    QVERIFY2(r.out.contains("best lap       1:04.01  ") && r.out.contains("session 1 lap 11\n"),
             r.out.constData());
    QVERIFY(r.out.contains("never driven whole (6 sectors)"));
    // Two laps of session 1 against its best lap (lap 11); a lap of one sector is refused.
    r = run(lib + QStringList{"compare", "1:11", "1:12"});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QVERIFY2(r.out.contains("S2      1:12           0:10.53    0:10.02     +0.51     +1.06"),
             r.out.constData());
    QVERIFY(r.out.contains("lap     1:12           1:05.75    1:04.01     +1.74"));
    QVERIFY(r.out.contains("sectors by time lost  S1 +0.55, S2 +0.51, S6 +0.50, S3 +0.34, "
                           "S5 -0.04, S4 -0.12\n"));
    r = run(lib + QStringList{"compare", "1:11", "1:12", "--reference", "1:03.00", "--format",
                              "csv"});
    QVERIFY2(r.out.contains("\nlap,1:12,65.75,63.00,2.75,2.75,"), r.out.constData());
    QCOMPARE(run(lib + QStringList{"import", QStringLiteral(MIREN_SAMPLES_DIR "/EXAMPLE.BIL")})
                 .exitCode,
             0);
    r = run(lib + QStringList{"compare", "1:11", "3:3"});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("1:11 has 6 sectors and 3:3 has 1"), r.err.constData());
    const QString pdf = dir_->filePath(QStringLiteral("suzu.pdf"));
    r = run(lib + QStringList{"report", "--track", "Suzu", "-o", pdf});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QVERIFY(readBytes(pdf).startsWith("%PDF"));
    QCOMPARE(run(lib + QStringList{"remove", "3"}).exitCode, 0);

    // A session's bytes come back as they went in; a bundle carries them to another library.
    const QString bil = dir_->filePath(QStringLiteral("out.BIL"));
    const QString zip = dir_->filePath(QStringLiteral("out.zip"));
    QCOMPARE(run(lib + QStringList{"export", "1", "-o", bil}).exitCode, 0);
    QCOMPARE(readBytes(bil), readBytes(kmh));
    r = run(lib + QStringList{"export", "2", "-o", zip});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    const QStringList other{QStringLiteral("--library"), dir_->filePath(QStringLiteral("o.sqlite"))};
    QCOMPARE(run(other + QStringList{"import-bundle", zip}).exitCode, 0);
    r = run(other + QStringList{"show", "1"});
    QVERIFY(r.out.contains("fast, \"really\""));
    QVERIFY(r.out.contains("rear = 1.5"));
    QCOMPARE(run(lib + QStringList{"remove", "1"}).exitCode, 0);
    r = run(lib + QStringList{"check"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.endsWith("1 sessions, ok\n"));
    QCOMPARE(run(lib + QStringList{"backup", "-o", dir_->filePath(QStringLiteral("b.sqlite"))})
                 .exitCode,
             0);
    QCOMPARE(run({"--help"}).exitCode, 0);
    QCOMPARE(run(lib + QStringList{"frobnicate"}).exitCode, 2);
    QCOMPARE(run(lib + QStringList{"progress"}).exitCode, 2);
}

void TestMirenLibrary::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no command") << QStringList{"--library", "x"};
    QTest::newRow("unknown command") << QStringList{"list"};
    QTest::newRow("json of bests") << QStringList{"bests", "--format", "json"};
    QTest::newRow("unknown conditions") << QStringList{"import", "--conditions", "foggy", "x.BIL"};
    QTest::newRow("filter on no conditions") << QStringList{"sessions", "--conditions", ""};
    QTest::newRow("export without -o") << QStringList{"export", "1"};
    QTest::newRow("progress without a track") << QStringList{"progress", "--vehicle", "Kart"};
    QTest::newRow("setup without a value") << QStringList{"set", "1", "--setup", "rear"};
    QTest::newRow("date of no day") << QStringList{"sessions", "--from", "2024-02-30"};
    QTest::newRow("sheet option of a query") << QStringList{"check", "--track", "Suzu"};
    QTest::newRow("two sessions to show") << QStringList{"show", "1", "2"};
    QTest::newRow("option without its value") << QStringList{"sessions", "--track"};
    QTest::newRow("temperature out of range") << QStringList{"set", "1", "--air-temp", "900"};
}

// Bad usage is found before anything is opened.
void TestMirenLibrary::usageErrors()
{
    QFETCH(QStringList, arguments);
    const ParsedLibraryArguments parsed =
        parseLibraryArguments(QStringList{"miren-library"} + arguments);
    QCOMPARE(parsed.action, ParsedLibraryArguments::Action::Usage);
    QVERIFY(!parsed.text.isEmpty());
}

void TestMirenLibrary::badLibraryAndBundle_data()
{
    QTest::addColumn<QByteArray>("libraryBytes");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("garbage library") << QByteArray(3000, 'g') << QStringList{"sessions"}
                                     << "is not a lap library";
    QTest::newRow("import into garbage")
        << QByteArray(3000, 'g') << QStringList{"import", MIREN_SAMPLES_DIR} << "is not a lap library";
    QTest::newRow("bundle that is no zip")
        << QByteArray() << QStringList{"import-bundle", MIREN_SAMPLES_DIR "/EXAMPLE.BIL"}
        << "refused: it is not a zip file";
}

// Exit status 1, a message naming the file, and the library file as it was.
void TestMirenLibrary::badLibraryAndBundle()
{
    QFETCH(QByteArray, libraryBytes);
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    if (!libraryBytes.isEmpty())
        QVERIFY(writeBytes(library(), libraryBytes));
    const Run r = run(QStringList{"--library", library()} + arguments);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
    if (!libraryBytes.isEmpty()) {
        QVERIFY(r.err.contains(QDir::toNativeSeparators(library()).toUtf8()));
        QCOMPARE(readBytes(library()), libraryBytes);
    }
}

MIREN_REGISTER_TEST(TestMirenLibrary)
#include "TestMirenLibrary.moc"
