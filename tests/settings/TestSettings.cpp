#include "FileSizeLimit.h"
#include "SpecialFiles.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "settings/DelimitedValues.h"
#include "settings/FolderSettings.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The example pair and its exact file.
const QByteArray kExample =
    QByteArray::fromHex("22433A5C446174615C54657874220D0A22433A5C446174615C4C6F67676572220D0A");

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void init();

    void readsValues_data();
    void readsValues();
    void exampleBothWays();

    void readsTwoFoldersAndLeavesFileAlone();
    void unreadableFileFallsBackAndIsRewritten_data();
    void unreadableFileFallsBackAndIsRewritten();
    void unwritableFileKeepsDefaults();
    void fullDiskAtExitKeepsOldFile();
    void foldersWithSpecialCharactersRoundTrip();
    void linkToDeviceOrFifoIsNotReplaced_data();
    void linkToDeviceOrFifoIsNotReplaced();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString settings_;
};

void TestSettings::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    settings_ = dir_->filePath(QString::fromLatin1(kSettingsFileName));
}

void TestSettings::readsValues_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<QByteArray>>("values");
    using L = QList<QByteArray>;
    QTest::newRow("two quoted lines") << QByteArray("\"a b\"\r\n\"c\"\r\n") << L{"a b", "c"};
    QTest::newRow("pair on one line") << QByteArray("\"a\",\"b\"\r\n") << L{"a", "b"};
    QTest::newRow("quoted keeps commas") << QByteArray("\"a,1\",\"b,2\"") << L{"a,1", "b,2"};
    QTest::newRow("unquoted to comma") << QByteArray("  a , b c\r\n") << L{"a", "b c"};
    QTest::newRow("unquoted trailing blanks") << QByteArray("a \t\r\nb  ") << L{"a", "b"};
    QTest::newRow("empty line is empty value") << QByteArray("\r\n\"b\"\r\n") << L{"", "b"};
    QTest::newRow("empty quoted") << QByteArray("\"\"\r\n\"\"\r\n") << L{"", ""};
    QTest::newRow("lines after ignored") << QByteArray("a\r\nb\r\nc\r\n") << L{"a", "b"};
    QTest::newRow("lone LF") << QByteArray("\"a\"\n\"b\"\n") << L{"a", "b"};
    QTest::newRow("lone CR") << QByteArray("\"a\"\r\"b\"") << L{"a", "b"};
    QTest::newRow("no end on second line") << QByteArray("\"a\"\r\n\"b\"") << L{"a", "b"};
    QTest::newRow("quote inside quoted")
        << QByteArray("\"C:\\my\"dir\"\r\nb") << L{"C:\\my\"dir", "b"};
    QTest::newRow("text after closing quote") << QByteArray("\"a\" x\r\n\"b\"z,c") << L{"a", "b"};
    QTest::newRow("blanks after closing quote") << QByteArray("\"a\"  ,  \"b\" ") << L{"a", "b"};
    QTest::newRow("unclosed quote ends at line") << QByteArray("\"a\r\n\"b\"") << L{"a", "b"};
    QTest::newRow("quote inside unquoted") << QByteArray("a\"b,c\"") << L{"a\"b", "c\""};
    QTest::newRow("comma then line end") << QByteArray("a,\r\nb") << L{"a", ""};
    QTest::newRow("BOM skipped") << QByteArray("\xEF\xBB\xBF\"a\"\r\n\"b\"\r\n") << L{"a", "b"};
    QTest::newRow("one line") << QByteArray("\"a\"\r\n") << L{"a"};
    QTest::newRow("one value then comma") << QByteArray("\"a\",") << L{"a"};
    QTest::newRow("blanks only after first") << QByteArray("\"a\"\r\n  ") << L{"a"};
    QTest::newRow("empty file") << QByteArray() << L{};
}

void TestSettings::readsValues()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<QByteArray>, values);
    QCOMPARE(readDelimitedValues(file, 2), values);
}

void TestSettings::exampleBothWays()
{
    QCOMPARE(kExample.size(), 34);
    QCOMPARE(folderSettingsBytes("C:\\Data\\Text", "C:\\Data\\Logger"), kExample);
    const auto folders = readFolderSettings(kExample);
    QVERIFY(folders);
    QCOMPARE(folders->first, QStringLiteral("C:\\Data\\Text"));
    QCOMPARE(folders->second, QStringLiteral("C:\\Data\\Logger"));
}

void TestSettings::readsTwoFoldersAndLeavesFileAlone()
{
    const QByteArray file("\"C:\\Data\\Text\",\"C:\\Data\\Logger\"\r\nmore\r\n");
    QVERIFY(writeBytes(settings_, file));
    SharedState s;
    PASS_READ(s, settings_);
    QCOMPARE(s.PASS_NAME1, QStringLiteral("C:\\Data\\Text"));
    QCOMPARE(s.PASS_NAME2, QStringLiteral("C:\\Data\\Logger"));
    QCOMPARE(readBytes(settings_), file);
    // The next write puts the pair on two lines and drops the rest.
    QVERIFY(PASS_WRITE(s, settings_));
    QCOMPARE(readBytes(settings_), kExample);
}

void TestSettings::unreadableFileFallsBackAndIsRewritten_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no file at all
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("one line") << QByteArray("\"C:\\Data\\Text\"\r\n") << true;
    QTest::newRow("one value, no end") << QByteArray("C:\\Data") << true;
}

void TestSettings::unreadableFileFallsBackAndIsRewritten()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, exists);
    if (exists)
        QVERIFY(writeBytes(settings_, file));
    SharedState s;
    s.PASS_NAME1 = s.PASS_NAME2 = QStringLiteral("stale");
    PASS_READ(s, settings_);
    const QString def = defaultFolder();
    QVERIFY(!def.isEmpty());
    QCOMPARE(s.PASS_NAME1, def);
    QCOMPARE(s.PASS_NAME2, def);
    QCOMPARE(readBytes(settings_), folderSettingsBytes(def, def));
}

// A settings path that cannot be written (a folder in its place, a parent that is a file or is
// missing): the start goes on with the defaults, the write at exit fails, nothing is damaged.
void TestSettings::unwritableFileKeepsDefaults()
{
    QVERIFY(QDir(dir_->path()).mkdir(QString::fromLatin1(kSettingsFileName)));
    QVERIFY(writeBytes(dir_->filePath("plain"), "x"));
    for (const char* path : {kSettingsFileName, "plain/FILE_PASS.DAT", "gone/FILE_PASS.DAT"}) {
        SharedState s;
        PASS_READ(s, dir_->filePath(path));
        QCOMPARE(s.PASS_NAME1, defaultFolder());
        QCOMPARE(s.PASS_NAME2, defaultFolder());
        QVERIFY(!PASS_WRITE(s, dir_->filePath(path)));
    }
    QVERIFY(QFileInfo(settings_).isDir());
    QCOMPARE(readBytes(dir_->filePath("plain")), QByteArray("x"));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
}

void TestSettings::fullDiskAtExitKeepsOldFile()
{
#ifndef Q_OS_UNIX
    QSKIP("needs a file-size limit");
#else
    QVERIFY(writeBytes(settings_, kExample));
    SharedState s;
    s.PASS_NAME1 = QString(300, u'a');
    s.PASS_NAME2 = QStringLiteral("/b");
    bool written = false;
    {
        FileSizeLimit limit{100};
        written = PASS_WRITE(s, settings_).ok();
    }
    QVERIFY(!written);
    QCOMPARE(readBytes(settings_), kExample);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{kSettingsFileName});
#endif
}

void TestSettings::foldersWithSpecialCharactersRoundTrip()
{
    if (!systemIsUtf8())
        QSKIP("the system encoding is not UTF-8");
    SharedState s;
    s.PASS_NAME1 = QStringLiteral("/home/u/Runden, 2024/\u00e9t\u00e9 \u30e9\u30c3\u30d7");
    s.PASS_NAME2 = QStringLiteral("/home/u/my\"logger ");
    QVERIFY(PASS_WRITE(s, settings_));
    SharedState back;
    PASS_READ(back, settings_);
    QCOMPARE(back.PASS_NAME1, s.PASS_NAME1);
    QCOMPARE(back.PASS_NAME2, s.PASS_NAME2);
}

// A settings file that is a link to a device or a FIFO: the start goes on with the defaults, and
// neither the link nor the node it leads to is replaced by a file.
void TestSettings::linkToDeviceOrFifoIsNotReplaced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("fifo") << "fifo";
    QTest::newRow("char device") << "char device";
}

void TestSettings::linkToDeviceOrFifoIsNotReplaced()
{
#ifndef Q_OS_UNIX
    QSKIP("needs FIFOs and device nodes");
#else
    QFETCH(QString, kind);
    const QString node = dir_->filePath("node");
    if (kind == "fifo")
        QVERIFY(makeFifo(node));
    else if (!makeCharDevice(node))
        QSKIP("making a device node needs root");
    QVERIFY(QFile::link(node, settings_));
    SharedState s;
    PASS_READ(s, settings_);
    QCOMPARE(s.PASS_NAME1, defaultFolder());
    QVERIFY(!PASS_WRITE(s, settings_));
    QCOMPARE(nodeKind(settings_), QStringLiteral("link"));
    QCOMPARE(nodeKind(node), kind);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
             (QStringList{"FILE_PASS.DAT", "node"}));
#endif
}

MIREN_REGISTER_TEST(TestSettings)
#include "TestSettings.moc"
