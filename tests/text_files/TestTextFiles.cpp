#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "text_files/LineSplitter.h"
#include "text_files/TextCommands.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
// Runs fn with folder permissions in force: in a child process as the unprivileged user
// "nobody" when this process is root (root passes every permission check, and CI runs as root).
// Returns what fn returned.
bool withPermissions(const std::function<bool()>& fn)
{
    if (geteuid() != 0)
        return fn();
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        _exit(fn() ? 0 : 1);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}
#endif

} // namespace

class TestTextFiles : public QObject {
    Q_OBJECT
private slots:
    void init();

    void splitsLines_data();
    void splitsLines();
    void decodesAcrossChunks_data();
    void decodesAcrossChunks();
    void invalidBytesBecomeReplacement();
    void bigFileArrivesInBatches();
    void loadReplacesViewAndPutsCaretAtEnd();
    void loadFailureKeepsView();
    void readErrorAfterOpenWarns();
    void emptyNameDoesNothing();

    void emptyViewIsRefused();
    void saveWritesTextAndOneLineEnd_data();
    void saveWritesTextAndOneLineEnd();
    void saveFailureKeepsOldFilesAndWarns_data();
    void saveFailureKeepsOldFilesAndWarns();
    void saveThenLoadAddsOneLineEnd();
    void saveInFolderWithoutCreateRightWritesInPlace();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    SharedState state_;
    QStringList warnings_;
    WarningFn warn_ = [this](const QString& m) { warnings_ << m; };
    QString file(const QString& name) const { return dir_->filePath(name); }
};

void TestTextFiles::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    state_ = SharedState{};
    state_.PASS_NAME1 = dir_->path();
    warnings_.clear();
}

void TestTextFiles::splitsLines_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("view");
    QTest::newRow("CR LF") << QByteArray("A\r\nB\r\n") << QByteArray("A\r\nB\r\n");
    QTest::newRow("last line without end") << QByteArray("A\r\nB") << QByteArray("A\r\nB\r\n");
    QTest::newRow("CR only") << QByteArray("A\rB\r") << QByteArray("A\r\nB\r\n");
    QTest::newRow("LF only is one line") << QByteArray("A\nB\n") << QByteArray("A\nB\n\r\n");
    QTest::newRow("LF before CR stays") << QByteArray("A\n\r\nB") << QByteArray("A\n\r\nB\r\n");
    QTest::newRow("empty file") << QByteArray() << QByteArray();
    QTest::newRow("one empty line") << QByteArray("\r\n") << QByteArray("\r\n");
    QTest::newRow("CR CR LF is two lines") << QByteArray("A\r\r\n") << QByteArray("A\r\n\r\n");
    QTest::newRow("second LF is a character")
        << QByteArray("A\r\n\nB") << QByteArray("A\r\n\nB\r\n");
    QTest::newRow("NUL kept") << QByteArray("A\0B\r", 4) << QByteArray("A\0B\r\n", 5);
}

// Every chunk size gives the same lines, including a CR LF pair split between two chunks.
void TestTextFiles::splitsLines()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, view);
    QCOMPARE(LineSplitter::split(file), view);
    QVERIFY(writeBytes(this->file("in.txt"), file));
    for (qint64 chunk : {1, 2, 3, 5, 4096}) {
        MemoryTextView v;
        v.setText(QStringLiteral("old"), 1);
        QVERIFY(loadTextFromFile(this->file("in.txt"), v, chunk).ok());
        QCOMPARE(v.text().toLatin1(), view);
    }
}

void TestTextFiles::decodesAcrossChunks_data()
{
    QTest::addColumn<qint64>("chunk");
    for (qint64 c : {1, 2, 3, 4, 5, 7})
        QTest::addRow("chunk %lld", static_cast<long long>(c)) << c;
}

void TestTextFiles::decodesAcrossChunks()
{
    if (!systemIsUtf8())
        QSKIP("the system encoding is not UTF-8");
    QFETCH(qint64, chunk);
    // A leading BOM stays a character, so that saving gives the same bytes back.
    const QString text =
        QStringLiteral("\ufeffZeit \u00e9t\u00e9\r\n\u20ac 12,5 \U0001F3C1\r\n\u30e9\u30c3\u30d7");
    QVERIFY(writeBytes(file("u.txt"), text.toUtf8()));
    MemoryTextView v;
    QVERIFY(loadTextFromFile(file("u.txt"), v, chunk).ok());
    QCOMPARE(v.text(), text + QStringLiteral("\r\n"));
}

void TestTextFiles::invalidBytesBecomeReplacement()
{
    if (!systemIsUtf8())
        QSKIP("the system encoding is not UTF-8");
    // A cut multi-byte character before a line end, a stray continuation byte, a lone lead byte
    // at the end of the file.
    writeBytes(file("bad.txt"), QByteArray("A\xE2\x82\r\n\x80"
                                           "B\r\nC\xF0"));
    for (qint64 chunk : {1, 3, 4096}) {
        MemoryTextView v;
        QVERIFY(loadTextFromFile(file("bad.txt"), v, chunk).ok());
        const QStringList lines = v.text().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[0].startsWith(u'A') && lines[0].contains(QChar::ReplacementCharacter));
        QVERIFY(lines[1].endsWith(u'B') && lines[1].contains(QChar::ReplacementCharacter));
        QVERIFY(lines[2].startsWith(u'C') && lines[2].contains(QChar::ReplacementCharacter));
        QCOMPARE(lines[3], QString());
    }
}

void TestTextFiles::bigFileArrivesInBatches()
{
    QByteArray bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += "lap " + QByteArray::number(i) + (i % 3 ? "\r\n" : "\r");
    QVERIFY(writeBytes(file("big.txt"), bytes));
    CountingView v;
    QVERIFY(loadTextFromFile(file("big.txt"), v).ok());
    QCOMPARE(v.text().toLatin1(), LineSplitter::split(bytes));
    QVERIFY2(v.appends <= bytes.size() / kTextLoadChunkBytes + 2,
             qPrintable(QString::number(v.appends)));
}

void TestTextFiles::loadReplacesViewAndPutsCaretAtEnd()
{
    QVERIFY(writeBytes(file("t.txt"), "A\r\nB"));
    MemoryTextView v;
    v.setText(QStringLiteral("old text"), 3);
    state_.GET_NAME = QStringLiteral("t.txt");
    loadTextFile(state_, v, warn_);
    QCOMPARE(v.text(), QStringLiteral("A\r\nB\r\n"));
    QCOMPARE(v.caret(), v.text().size());
    QVERIFY(warnings_.isEmpty());

    QVERIFY(writeBytes(file("empty"), QByteArray()));
    state_.GET_NAME = QStringLiteral("empty");
    loadTextFile(state_, v, warn_);
    QCOMPARE(v.text(), QString());
    QVERIFY(warnings_.isEmpty());
}

void TestTextFiles::loadFailureKeepsView()
{
    QDir(dir_->path()).mkdir(QStringLiteral("folder"));
    for (const QString& name : {QStringLiteral("deleted.txt"), QStringLiteral("folder")}) {
        warnings_.clear();
        MemoryTextView v;
        v.setText(QStringLiteral("keep me\r\n"), 2);
        state_.GET_NAME = name;
        loadTextFile(state_, v, warn_);
        QCOMPARE(v.text(), QStringLiteral("keep me\r\n"));
        QCOMPARE(warnings_, QStringList{QString::fromLatin1(kWarnNonFile)});
    }
}

// /proc/self/mem opens, but reading its first page fails: the error comes after the view was
// cleared, and must still be reported.
void TestTextFiles::readErrorAfterOpenWarns()
{
    if (!QFile::exists(QStringLiteral("/proc/self/mem")))
        QSKIP("no /proc/self/mem here");
    state_.PASS_NAME1 = QStringLiteral("/proc/self");
    state_.GET_NAME = QStringLiteral("mem");
    MemoryTextView v;
    v.setText(QStringLiteral("old"), 0);
    loadTextFile(state_, v, warn_);
    QCOMPARE(warnings_, QStringList{QString::fromLatin1(kWarnNonFile)});
    QCOMPARE(v.text(), QString());
}

// With no name from the chooser neither command touches the view or the folder.
void TestTextFiles::emptyNameDoesNothing()
{
    MemoryTextView v;
    v.setText(QStringLiteral("old"), 1);
    loadTextFile(state_, v, warn_);
    saveTextFile(state_, v, warn_);
    QCOMPARE(v.text(), QStringLiteral("old"));
    QVERIFY(warnings_.isEmpty());
    QVERIFY(QDir(dir_->path()).isEmpty());
}

void TestTextFiles::emptyViewIsRefused()
{
    MemoryTextView v;
    QVERIFY(!textSaveHasData(v, warn_));
    QCOMPARE(warnings_, QStringList{QString::fromLatin1(kWarnNonData)});
    warnings_.clear();
    v.append(u"\r\n");
    QVERIFY(textSaveHasData(v, warn_));
    QVERIFY(warnings_.isEmpty());
}

void TestTextFiles::saveWritesTextAndOneLineEnd_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("old"); // null: no file there before
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("proposed name")
        << "LAP_TXT_DATA"
        << "A\r\nB"
        << "LAP_TXT_DATA.txt" << QByteArray() << QByteArray("A\r\nB\r\n");
    QTest::newRow("typed .txt gets another")
        << "run1.txt"
        << "x"
        << "run1.txt.txt" << QByteArray() << QByteArray("x\r\n");
    QTest::newRow("longer file replaced without question")
        << "run"
        << "new"
        << "run.txt" << QByteArray(5000, 'z') << QByteArray("new\r\n");
    QTest::newRow("line ends kept as they are")
        << "raw"
        << "a\nb\r  \r\n"
        << "raw.txt" << QByteArray() << QByteArray("a\nb\r  \r\n\r\n");
    QTest::newRow("system encoding") << "enc" << QStringLiteral("\u00e9\u20ac") << "enc.txt"
                                     << QByteArray() << QByteArray("\xC3\xA9\xE2\x82\xAC\r\n");
}

void TestTextFiles::saveWritesTextAndOneLineEnd()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, written);
    QFETCH(QByteArray, old);
    QFETCH(QByteArray, bytes);
    if (qstrcmp(QTest::currentDataTag(), "system encoding") == 0 && !systemIsUtf8())
        QSKIP("the system encoding is not UTF-8");
    if (!old.isNull())
        QVERIFY(writeBytes(file(written), old));
    MemoryTextView v;
    v.append(text);
    state_.GET_NAME = name;
    saveTextFile(state_, v, warn_);
    QVERIFY(warnings_.isEmpty());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{written});
    QCOMPARE(readBytes(file(written)), bytes);
    QCOMPARE(v.text(), text);
}

void TestTextFiles::saveFailureKeepsOldFilesAndWarns_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("textSize");
    QTest::addColumn<int>("sizeLimit"); // bytes a file may grow to; 0: no limit
    QTest::newRow("folder gone") << "gone" << 10 << 0;
    QTest::newRow("folder is a file") << "plain" << 10 << 0;
    QTest::newRow("disk full") << "." << 100000 << 4096;
    // Small enough to sit in a write buffer: its short write came only at the final flush.
    QTest::newRow("disk full at last flush") << "." << 300 << 100;
}

void TestTextFiles::saveFailureKeepsOldFilesAndWarns()
{
    QFETCH(QString, folder);
    QFETCH(int, textSize);
    QFETCH(int, sizeLimit);
    QVERIFY(writeBytes(file("plain"), "old"));
    QVERIFY(writeBytes(file("LAP_TXT_DATA.txt"), "old table\r\n"));
    state_.PASS_NAME1 = file(folder);
    state_.GET_NAME = QStringLiteral("LAP_TXT_DATA");
    MemoryTextView v;
    v.append(QString(textSize, u'x'));
    if (sizeLimit == 0) {
        saveTextFile(state_, v, warn_);
    } else {
#ifdef Q_OS_UNIX
        FileSizeLimit limit{rlim_t(sizeLimit)};
        saveTextFile(state_, v, warn_);
#else
        QSKIP("needs a file-size limit");
#endif
    }
    QCOMPARE(warnings_, QStringList{QString::fromLatin1(kWarnNonFile)});
    QCOMPARE(readBytes(file("plain")), QByteArray("old"));
    QCOMPARE(readBytes(file("LAP_TXT_DATA.txt")), QByteArray("old table\r\n"));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{"LAP_TXT_DATA.txt", "plain"}));
    QCOMPARE(v.text(), QString(textSize, u'x'));
}

void TestTextFiles::saveThenLoadAddsOneLineEnd()
{
    MemoryTextView v;
    v.append(QStringLiteral("A\r\nB\r\n"));
    state_.GET_NAME = QStringLiteral("round");
    saveTextFile(state_, v, warn_);
    state_.GET_NAME = QStringLiteral("round.txt");
    loadTextFile(state_, v, warn_);
    QCOMPARE(v.text(), QStringLiteral("A\r\nB\r\n\r\n"));
    state_.GET_NAME = QStringLiteral("round");
    saveTextFile(state_, v, warn_);
    state_.GET_NAME = QStringLiteral("round.txt");
    loadTextFile(state_, v, warn_);
    QCOMPARE(v.text(), QStringLiteral("A\r\nB\r\n\r\n\r\n"));
    QVERIFY(warnings_.isEmpty());
}

// A folder where no new file can be made: an existing, writable file is written in place; a new
// one still cannot be made, and nothing is left behind.
void TestTextFiles::saveInFolderWithoutCreateRightWritesInPlace()
{
#ifdef Q_OS_UNIX
    const QString folder = file("locked");
    QVERIFY(QDir().mkdir(folder));
    const QString existing = folder + QStringLiteral("/old.txt");
    QVERIFY(writeBytes(existing, "a much longer old table\r\n"));
    QVERIFY(chmod(QFile::encodeName(dir_->path()).constData(), 0755) == 0);
    QVERIFY(chmod(QFile::encodeName(existing).constData(), 0666) == 0);
    QVERIFY(chmod(QFile::encodeName(folder).constData(), 0555) == 0);
    MemoryTextView v;
    v.append(QStringLiteral("new"));
    QVERIFY(withPermissions([&] { return saveTextToFile(existing, v).ok(); }));
    QVERIFY(!withPermissions([&] { return saveTextToFile(folder + "/new.txt", v).ok(); }));
    QVERIFY(chmod(QFile::encodeName(folder).constData(), 0755) == 0);
    QCOMPARE(readBytes(existing), QByteArray("new\r\n"));
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"old.txt"});
#else
    QSKIP("needs POSIX permissions");
#endif
}

MIREN_REGISTER_TEST(TestTextFiles)
#include "TestTextFiles.moc"
