#include "BilBuilder.h"
#include "ConvertRun.h"
#include "SpecialFiles.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

QString sample(const QString& name)
{
    return QDir(QStringLiteral(MIREN_SAMPLES_DIR)).filePath(name);
}

// A shell command in the background (a writer into a FIFO, a reader from one), ended with the
// test.
class Background {
public:
    explicit Background(const QString& script, const QStringList& args)
    {
        process_.start(QStringLiteral("sh"), QStringList{"-c", script, "sh"} + args);
    }
    ~Background()
    {
        if (!process_.waitForFinished(100))
            process_.kill();
        process_.waitForFinished(5000);
    }
    bool finished(int ms) { return process_.waitForFinished(ms); }

private:
    QProcess process_;
};

} // namespace

// miren-convert against what a hostile user can hand it: huge sparse files, pipes and FIFOs,
// devices and input files as -o, full disks and file-size limits, a closed standard output,
// tables an editor has touched and names that are not valid UTF-8.
class TestConvertHardening : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void hugeSparseFileDoesNotCrashSummary();
    void outOfMemoryIsAMessage();
    void pipesAndFifosAreReadOnce_data();
    void pipesAndFifosAreReadOnce();
    void outputOntoNodeDoesNotReplaceIt_data();
    void outputOntoNodeDoesNotReplaceIt();
    void outputToStandardOutput_data();
    void outputToStandardOutput();
    void settingsFileNeverStopsAStart_data();
    void settingsFileNeverStopsAStart();
    void outputNamingAnInputIsRefused_data();
    void outputNamingAnInputIsRefused();
    void fileSizeLimitIsReportedNotFatal();
    void closedStandardOutputIsNamed();
    void inputKindByNameFirst_data();
    void inputKindByNameFirst();
    void namesNotValidUtf8KeepTheirBytes();
    void fileReplacedBetweenPassesIsRefused();

private:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
    QString kmh_;
    QByteArray table_; // the table of SESSION_KMH.BIL
};

void TestConvertHardening::initTestCase()
{
    QVERIFY(dir_.isValid());
    kmh_ = sample("SESSION_KMH.BIL");
    const Run table = convert({"--decimal-point", ".", kmh_});
    QCOMPARE(table.exitCode, 0);
    table_ = table.out;
    QVERIFY(writeBytes(path("kmh.txt"), table_));
}

void TestConvertHardening::hugeSparseFileDoesNotCrashSummary()
{
#ifdef Q_OS_WIN
    QSKIP("needs sparse files");
#endif
    // 16 GB of zeros: the first record word ends the data, so nothing is read or kept.
    QFile huge(path("HUGE.BIL"));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(16) << 30));
    huge.close();
    const Run r = convert({"--format", "summary", path("HUGE.BIL")});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.err.contains("nothing written"), r.err.constData());
    QVERIFY(QFile::remove(path("HUGE.BIL")));
}

void TestConvertHardening::outOfMemoryIsAMessage()
{
#if !defined(Q_OS_UNIX) || defined(__SANITIZE_ADDRESS__)
    QSKIP("needs a POSIX address-space limit, which AddressSanitizer cannot run under");
#else
    // 150,000 laps of all seven blocks: about 70 MB of laps for the summary to hold.
    BilBuilder laps;
    laps.raw(fullLaps(150000));
    QVERIFY(laps.writeTo(path("MANY.BIL")));
    const Run r =
        convertWith({"--format", "summary", "-o", path("many.txt"), path("MANY.BIL")}, {}, [] {
            const rlimit limit{100 << 20, 100 << 20};
            setrlimit(RLIMIT_AS, &limit);
        });
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("out of memory; nothing written to"), r.err.constData());
    QVERIFY(!QFile::exists(path("many.txt")));
    QVERIFY(QFile::remove(path("MANY.BIL")));
#endif
}

void TestConvertHardening::pipesAndFifosAreReadOnce_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("input"); // "-", "/dev/stdin" or "fifo"
    QTest::addColumn<bool>("text");     // the input is the saved table, not the .BIL
    QTest::newRow("csv from -") << "csv"
                                << "-" << false;
    QTest::newRow("summary from /dev/stdin") << "summary"
                                             << "/dev/stdin" << false;
    QTest::newRow("csv of a table from -") << "csv"
                                           << "-" << true;
    QTest::newRow("table from -") << "table"
                                  << "-" << false;
    QTest::newRow("csv from a FIFO") << "csv"
                                     << "fifo" << false;
}

void TestConvertHardening::pipesAndFifosAreReadOnce()
{
#ifndef Q_OS_UNIX
    QSKIP("needs FIFOs and /dev/stdin");
#else
    QFETCH(QString, format);
    QFETCH(QString, input);
    QFETCH(bool, text);
    const QString source = text ? path("kmh.txt") : kmh_;
    const Run expected = convert({"--format", format, source});
    QCOMPARE(expected.exitCode, 0);

    Run r;
    if (input == "fifo") {
        const QString fifo = path("in.BIL");
        QFile::remove(fifo);
        QVERIFY(makeFifo(fifo));
        Background writer(QStringLiteral("cat \"$1\" > \"$2\""), {source, fifo});
        r = convertWith({"--format", format, fifo}, {});
    } else {
        r = convertWith({"--format", format, input}, readBytes(source));
    }
    QCOMPARE(r.exitCode, 0); // -1: it hung, waiting for a second read of the input
    QCOMPARE(r.err, QByteArray());
    if (format == QLatin1String("csv"))
        QCOMPARE(lapColumns(r.out), lapColumns(expected.out));
    else
        QCOMPARE(r.out, expected.out);
#endif
}

void TestConvertHardening::outputOntoNodeDoesNotReplaceIt_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("link"); // -o names a link to the node
    QTest::newRow("fifo") << "fifo" << false;
    QTest::newRow("link to a fifo") << "fifo" << true;
    QTest::newRow("char device") << "null" << false;
    QTest::newRow("link to a full device") << "full" << true;
}

void TestConvertHardening::outputOntoNodeDoesNotReplaceIt()
{
#ifndef Q_OS_UNIX
    QSKIP("needs FIFOs and device nodes");
#else
    QFETCH(QString, kind);
    QFETCH(bool, link);
    const QString node = path("node");
    const QString target = link ? path("link") : node;
    QFile::remove(node);
    QFile::remove(path("link"));
    if (kind == "fifo")
        QVERIFY(makeFifo(node));
    else if (!makeCharDevice(node, kind == "full"))
        QSKIP("making a device node needs root");
    if (link)
        QVERIFY(QFile::link(node, target));

    if (kind == "fifo") {
        Background reader(QStringLiteral("cat \"$1\" > \"$2\""), {node, path("got")});
        const Run r = convertWith({"--decimal-point", ".", "-o", target, kmh_}, {});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(reader.finished(10000));
        QCOMPARE(readBytes(path("got")), table_);
    } else {
        const Run r = convertWith({"-o", target, kmh_}, {});
        QCOMPARE(r.exitCode, kind == "full" ? 1 : 0);
        if (kind == "full")
            QVERIFY2(r.err.contains("cannot write: No space left on device"), r.err.constData());
    }
    QCOMPARE(nodeKind(node),
             kind == "fifo" ? QStringLiteral("fifo") : QStringLiteral("char device"));
    QCOMPARE(nodeKind(target), link ? QStringLiteral("link") : nodeKind(node));
#endif
}

void TestConvertHardening::outputToStandardOutput_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("appended"); // standard output is a file opened with >>
    QTest::newRow("-o - into a pipe") << "-" << false;
    QTest::newRow("/dev/stdout into a pipe") << "/dev/stdout" << false;
    QTest::newRow("/dev/stdout appended to a file") << "/dev/stdout" << true;
}

void TestConvertHardening::outputToStandardOutput()
{
#ifndef Q_OS_UNIX
    QSKIP("needs /dev/stdout");
#else
    QFETCH(QString, output);
    QFETCH(bool, appended);
    QProcess sh;
    sh.setWorkingDirectory(dir_.path());
    const QString log = path("app.log");
    QVERIFY(writeBytes(log, "earlier\n"));
    sh.start("sh", {"-c", appended ? "\"$1\" -o \"$2\" \"$3\" >> \"$4\"" : "\"$1\" -o \"$2\" \"$3\"",
                    "sh", MIREN_CONVERT_PATH, output, kmh_, log});
    const Run r = finish(sh, 20000);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(appended ? readBytes(log) : r.out, appended ? "earlier\n" + table_ : table_);
    QVERIFY(!QFile::exists(path("-")));
#endif
}

void TestConvertHardening::settingsFileNeverStopsAStart_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("link to a FIFO") << "fifo link";
    QTest::newRow("huge file") << "huge";
}

void TestConvertHardening::settingsFileNeverStopsAStart()
{
#ifndef Q_OS_UNIX
    QSKIP("needs FIFOs");
#else
    QFETCH(QString, kind);
    QTemporaryDir config;
    QVERIFY(config.isValid() && QDir(config.path()).mkdir("miren-loader"));
    const QString settings = config.filePath("miren-loader/miren-loader.ini");
    if (kind == "fifo link")
        QVERIFY(makeFifo(config.filePath("node")) && QFile::link(config.filePath("node"), settings));
    if (kind == "fifo")
        QVERIFY(makeFifo(settings));
    if (kind == "huge") {
        QFile huge(settings);
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(4) << 30));
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", config.path());
    p.setProcessEnvironment(env);
#ifndef __SANITIZE_ADDRESS__
    // Reading the huge file whole would need more memory than this.
    p.setChildProcessModifier([] {
        const rlimit limit{1u << 30, 1u << 30};
        setrlimit(RLIMIT_AS, &limit);
    });
#endif
    p.start(QStringLiteral(MIREN_CONVERT_PATH), {"--version"});
    const Run r = finish(p, 20000);
    QCOMPARE(r.exitCode, 0); // -1: it waited on the FIFO
    QVERIFY2(r.out.startsWith("miren-convert"), r.out.constData());
#endif
}

void TestConvertHardening::outputNamingAnInputIsRefused_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("output"); // the name -o gets for the input LAPS.BIL
    QTest::newRow("same name") << "table"
                               << "LAPS.BIL";
    QTest::newRow("through a link") << "summary"
                                    << "link.BIL";
    QTest::newRow("another path") << "csv"
                                  << "sub/../LAPS.BIL";
}

void TestConvertHardening::outputNamingAnInputIsRefused()
{
    QFETCH(QString, format);
    QFETCH(QString, output);
#ifdef Q_OS_WIN
    if (output == "link.BIL")
        QSKIP("QFile::link makes a shortcut on Windows");
#endif
    const QByteArray laps = readBytes(kmh_);
    QVERIFY(writeBytes(path("LAPS.BIL"), laps));
    QVERIFY(QDir(dir_.path()).mkpath("sub"));
    QFile::link(path("LAPS.BIL"), path("link.BIL"));
    const Run r = convert({"--format", format, "-o", path(output), path("LAPS.BIL")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("-o names one of the input files"), r.err.constData());
    QCOMPARE(readBytes(path("LAPS.BIL")), laps);
}

void TestConvertHardening::fileSizeLimitIsReportedNotFatal()
{
#ifndef Q_OS_UNIX
    QSKIP("needs a file-size limit");
#else
    // The limit's signal kills a process that has not set it aside (exit 153 from a shell).
    QVERIFY(writeBytes(path("limited.csv"), "old"));
    const Run r = convertWith({"--format", "csv", "-o", path("limited.csv"), kmh_}, {}, [] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 1000;
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("limited.csv: cannot write: File too large"), r.err.constData());
    QCOMPARE(readBytes(path("limited.csv")), QByteArray("old"));
#endif
}

void TestConvertHardening::closedStandardOutputIsNamed()
{
#ifndef Q_OS_UNIX
    QSKIP("needs POSIX descriptors");
#else
    const Run r = convertWith({"--format", "summary", kmh_}, {}, [] { ::close(1); });
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("standard output is closed"), r.err.constData());
#endif
}

void TestConvertHardening::inputKindByNameFirst_data()
{
    // Variants of the saved table that an editor or another tool may leave.
    QByteArray withNul = table_;
    withNul.insert(withNul.indexOf("\r\n", withNul.indexOf("\r\n") + 2) - 5, '\0'); // in lap 1
    QByteArray crOnly = table_;
    crOnly.replace("\r\n", "\r");
    QVERIFY(writeBytes(path("edited.txt"), withNul));
    QVERIFY(writeBytes(path("bom.txt"), "\xEF\xBB\xBF" + table_));
    QVERIFY(writeBytes(path("cr.TXT"), crOnly));
    QVERIFY(writeBytes(path("empty.BIL"), {}));
    QVERIFY(writeBytes(path("empty.dat"), {}));

    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<int>("laps");
    QTest::newRow("NUL in an edited line") << QStringList{path("edited.txt")} << 19;
    QTest::newRow("byte-order mark") << QStringList{path("bom.txt")} << 20;
    QTest::newRow("CR-only line ends") << QStringList{path("cr.TXT")} << 20;
    QTest::newRow("empty files beside a table")
        << QStringList{path("empty.dat"), path("kmh.txt"), path("empty.BIL")} << 20;
}

void TestConvertHardening::inputKindByNameFirst()
{
    QFETCH(QStringList, inputs);
    QFETCH(int, laps);
    const Run r = convert(QStringList{"--format", "csv"} + inputs);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out.count("\r\n"), 1 + laps);
    const Run fromBil = convert({"--format", "csv", kmh_});
    if (laps == 20)
        QCOMPARE(lapColumns(r.out), lapColumns(fromBil.out));
    else
        QVERIFY2(r.err.contains("1 line(s) skipped, not lap lines: 2"), r.err.constData());
}

void TestConvertHardening::namesNotValidUtf8KeepTheirBytes()
{
#ifndef Q_OS_UNIX
    QSKIP("names are UTF-16 on Windows");
#else
    // The names are made by the shell: a QProcess argument is always UTF-8.
    QVERIFY(writeBytes(path("source.BIL"), readBytes(kmh_)));
    QProcess sh;
    sh.setWorkingDirectory(dir_.path());
    sh.start("sh", {"-c",
                    "in=$(printf 'caf\\351.BIL'); out=$(printf 'out\\351.csv'); "
                    "gone=$(printf 'gone\\351.BIL'); cp source.BIL \"$in\" && "
                    "\"$1\" --format csv -o \"$out\" \"$in\" && \"$1\" \"$gone\"",
                    "sh", MIREN_CONVERT_PATH});
    const Run r = finish(sh, 20000);
    QCOMPARE(r.exitCode, 1); // from the missing file only
    QVERIFY2(r.err.contains("gone\xE9.BIL: cannot open: No such file or directory"),
             r.err.constData());
    const QByteArray folder = QFile::encodeName(dir_.path() + "/");
    std::FILE* out = std::fopen(folder + "out\xE9.csv", "rb");
    QVERIFY(out);
    QByteArray csv(1 << 16, '\0');
    csv.resize(qsizetype(std::fread(csv.data(), 1, std::size_t(csv.size()), out)));
    std::fclose(out);
    // QTemporaryDir cannot remove names Qt cannot spell.
    QCOMPARE(::unlink(folder + "out\xE9.csv") + ::unlink(folder + "caf\xE9.BIL"), 0);
    QCOMPARE(lapColumns(csv), lapColumns(convert({"--format", "csv", kmh_}).out));
    QVERIFY(csv.contains("\r\n1,caf\xE9.BIL,1,"));
#endif
}

// csv reads a file twice: a file replaced after its first look is not read as the other version.
// The second input, a FIFO, holds the run until the first file has been replaced.
void TestConvertHardening::fileReplacedBetweenPassesIsRefused()
{
#ifndef Q_OS_UNIX
    QSKIP("needs FIFOs");
#else
    const QString first = path("first.BIL");
    const QString fifo = path("second.BIL");
    QFile::remove(first);
    QFile::remove(fifo);
    QVERIFY(QFile::copy(kmh_, first));
    QVERIFY(QFile::copy(sample("SESSION_MPH.BIL"), path("other.BIL")));
    QVERIFY(makeFifo(fifo));
    // Once the FIFO is open, the run has looked at the first file; it is then replaced.
    Background writer(QStringLiteral("exec 3>\"$1\"; mv \"$2\" \"$3\"; cat \"$4\" >&3"),
                      {fifo, path("other.BIL"), first, kmh_});
    const Run r = convertWith({"--format", "csv", first, fifo}, {});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("first.BIL: cannot open: changed while it was being read"),
             r.err.constData());
    QCOMPARE(r.out, QByteArray()); // nothing of either version
#endif
}

MIREN_REGISTER_TEST(TestConvertHardening)
#include "TestConvertHardening.moc"
