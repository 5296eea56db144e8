// Behaviour that exists only on Windows, checked against the system's own calls: the drive list
// against GetLogicalDrives, the default folder against the per-drive current folder the system
// keeps, text files against WideCharToMultiByte with the ANSI code page.
#include "file_chooser/DriveSystem.h"
#include "file_chooser/FileList.h"
#include "file_chooser/File_Form.h"
#include "settings/FolderSettings.h"
#include "text_files/TextCommands.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <windows.h>

namespace {

// The drive letters the system reports, spelled as the drive list shows them ("c:").
QStringList logicalDrives()
{
    QStringList letters;
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (mask & (DWORD(1) << i))
            letters << QString(QChar(u'a' + i)) + u':';
    }
    return letters;
}

// Bytes of text in the ANSI code page, or nothing when a character has no exact form there.
std::optional<QByteArray> ansiBytes(const QString& text)
{
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    BOOL usedDefault = FALSE;
    const UINT acp = GetACP();
    // The "used default" report is not available for UTF-8.
    BOOL* report = acp == CP_UTF8 ? nullptr : &usedDefault;
    const DWORD flags = acp == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = WideCharToMultiByte(acp, flags, wide, int(text.size()), nullptr, 0, nullptr, report);
    QByteArray bytes(size, '\0');
    WideCharToMultiByte(acp, flags, wide, int(text.size()), bytes.data(), size, nullptr, report);
    if (usedDefault)
        return std::nullopt;
    return bytes;
}

// A drive other than C: whose root can be read (under Wine: z:, the Linux file system).
QString otherReadyDrive()
{
    for (const QString& drive : logicalDrives()) {
        if (drive != QLatin1String("c:") &&
            GetFileAttributesW(reinterpret_cast<const wchar_t*>((drive + u'\\').utf16())) !=
                INVALID_FILE_ATTRIBUTES)
            return drive;
    }
    return QString();
}

bool sameFolder(const QString& a, const QString& b)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(a))
               .compare(QDir::cleanPath(QDir::fromNativeSeparators(b)), Qt::CaseInsensitive) == 0;
}

} // namespace

class TestWindowsPlatform : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void drivesAreTheDriveLetters();
    void drivesAndFoldersByLetter();
    void chooserOpensOnDriveLetter();
    void defaultFolderIsCurrentFolderOfDriveC();
    void textFilesUseAnsiCodePage();
    void convertWritesCrLfUnchangedToStdout();

private:
    QString oldWorking_;
    std::unique_ptr<QTemporaryDir> dir_; // on drive C (the temp folder of the user)
};

void TestWindowsPlatform::init()
{
    oldWorking_ = QDir::currentPath();
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    if (!dir_->path().startsWith(QLatin1String("C:"), Qt::CaseInsensitive))
        QSKIP("the temp folder is not on drive C");
}

void TestWindowsPlatform::cleanup()
{
    QDir::setCurrent(oldWorking_);
    SetEnvironmentVariableW(L"=C:", nullptr);
    dir_.reset();
}

// The list holds every drive letter the system has, in letter order, and always "c:".
void TestWindowsPlatform::drivesAreTheDriveLetters()
{
    const SystemDrives drives;
    QCOMPARE(drives.drives(), logicalDrives());
    QVERIFY(drives.drives().contains(QStringLiteral("c:")));
    QCOMPARE(drives.fallbackDrive(), QStringLiteral("c:"));
}

void TestWindowsPlatform::drivesAndFoldersByLetter()
{
    const SystemDrives drives;
    QCOMPARE(drives.driveOf(QStringLiteral("C:\\Windows")), QStringLiteral("c:"));
    QCOMPARE(drives.driveOf(QStringLiteral("c:/windows/system32")), QStringLiteral("c:"));
    QCOMPARE(drives.driveOf(normalFolder(dir_->path())), QStringLiteral("c:"));
    QCOMPARE(drives.driveOf(QStringLiteral("\\\\server\\share\\laps")), QString());
    QCOMPARE(drives.driveRoot(QStringLiteral("c:")), QStringLiteral("c:\\"));
    // Folder values use backslashes and keep the drive letter.
    QCOMPARE(normalFolder(QStringLiteral("c:/laps/../text")), QStringLiteral("C:\\text"));

    const FileResult<QString> c = drives.currentFolder(QStringLiteral("c:"));
    QVERIFY2(c, qPrintable(c.reason()));
    QVERIFY2(c.value().startsWith(QLatin1String("C:\\"), Qt::CaseInsensitive),
             qPrintable(c.value()));

    // A letter no drive has is reported with the system's message.
    QString unused;
    for (char letter = 'y'; letter > 'c' && unused.isEmpty(); --letter) {
        const QString drive = QString(QChar::fromLatin1(letter)) + u':';
        if (!logicalDrives().contains(drive))
            unused = drive;
    }
    if (!unused.isEmpty()) {
        const FileResult<QString> missing = drives.currentFolder(unused);
        QVERIFY(!missing);
        QVERIFY(!missing.reason().isEmpty());
    }
}

// "BIL LOAD" on a folder of drive C: the drive list holds the letters with "c:" chosen, and the
// file list shows the folder. Choosing another letter moves the lists to that drive (one that
// could not be read would stop the test in a warning box).
void TestWindowsPlatform::chooserOpensOnDriveLetter()
{
    QVERIFY(writeBytes(dir_->filePath("RUN1.BIL"), QByteArray(228, '\0')));
    SharedState state;
    state.FILE_TYPE = QString::fromLatin1(kModeBilLoad);
    state.PASS_NAME2 = normalFolder(dir_->path());
    const SystemDrives drives;
    File_Form form(state, drives);

    auto* driveList = form.findChild<QComboBox*>(QStringLiteral("Drive1"));
    auto* files = form.findChild<FileList*>(QStringLiteral("File1"));
    QVERIFY(driveList && files);
    QStringList shown;
    for (int i = 0; i < driveList->count(); ++i)
        shown << driveList->itemText(i);
    QCOMPARE(shown, logicalDrives());
    QCOMPARE(driveList->currentText(), QStringLiteral("c:"));
    QVERIFY2(sameFolder(files->folder(), dir_->path()), qPrintable(files->folder()));
    QCOMPARE(files->findItems(QStringLiteral("RUN1.BIL"), Qt::MatchExactly).size(), 1);

    const QString other = otherReadyDrive();
    if (other.isEmpty())
        QSKIP("no second drive to choose");
    const int index = driveList->findText(other);
    QVERIFY(index >= 0);
    driveList->setCurrentIndex(index);
    emit driveList->activated(index);
    QVERIFY2(files->folder().startsWith(other, Qt::CaseInsensitive), qPrintable(files->folder()));
}

// Windows keeps a current folder for each drive (the "=C:" variable); the default folder is the
// one of drive C, wherever the process's own current folder is.
void TestWindowsPlatform::defaultFolderIsCurrentFolderOfDriveC()
{
    const QString cFolder = QDir::toNativeSeparators(dir_->path());
    QVERIFY(QDir::setCurrent(cFolder));
    QVERIFY2(sameFolder(defaultFolder(), cFolder), qPrintable(defaultFolder()));

    // At the first start the settings file gets that folder twice.
    const QString settings = dir_->filePath(QString::fromLatin1(kSettingsFileName));
    SharedState state;
    PASS_READ(state, settings);
    QVERIFY(sameFolder(state.PASS_NAME1, cFolder));
    QCOMPARE(state.PASS_NAME2, state.PASS_NAME1);
    const QByteArray line = '"' + *ansiBytes(state.PASS_NAME1) + "\"\r\n";
    QCOMPARE(readBytes(settings), line + line);

    const QString other = otherReadyDrive();
    if (other.isEmpty())
        QSKIP("no second drive to change to");
    QVERIFY(QDir::setCurrent(other + u'\\'));
    // Nothing remembered for drive C: its root.
    SetEnvironmentVariableW(L"=C:", nullptr);
    QCOMPARE(defaultFolder().toUpper(), QStringLiteral("C:\\"));
    // Remembered, as a command shell leaves it: that folder, not the process's current folder.
    QVERIFY(SetEnvironmentVariableW(L"=C:", reinterpret_cast<const wchar_t*>(cFolder.utf16())));
    QVERIFY2(sameFolder(defaultFolder(), cFolder), qPrintable(defaultFolder()));
    QVERIFY(!sameFolder(QDir::currentPath(), cFolder));
}

// Text files and the settings file are in the ANSI code page (e.g. 1252), not UTF-8.
void TestWindowsPlatform::textFilesUseAnsiCodePage()
{
    const QString text = QStringLiteral("Runde \u00e9t\u00e9 \u00fc\u00df 1:05.23");
    const std::optional<QByteArray> bytes = ansiBytes(text);
    if (!bytes)
        QSKIP("the ANSI code page cannot hold the test characters");
    if (GetACP() != CP_UTF8)
        QVERIFY(*bytes != text.toUtf8());

    const QString path = dir_->filePath(QStringLiteral("ansi.txt"));
    MemoryTextView saved;
    saved.append(text);
    QVERIFY(saveTextToFile(path, saved));
    QCOMPARE(readBytes(path), *bytes + "\r\n");

    MemoryTextView view;
    QVERIFY(writeBytes(path, *bytes + "\r\n" + *bytes));
    QVERIFY(loadTextFromFile(path, view));
    QCOMPARE(view.text(), text + QStringLiteral("\r\n") + text + QStringLiteral("\r\n"));

    const QString folder = QStringLiteral("C:\\L\u00e4ufe");
    const QByteArray line = '"' + *ansiBytes(folder) + "\"\r\n";
    QCOMPARE(folderSettingsBytes(folder, folder), line + line);
    const auto back = readFolderSettings(line + line);
    QVERIFY(back);
    QCOMPARE(back->first, folder);
}

// Standard output is binary: each line end is CR LF exactly once, as in the -o file.
void TestWindowsPlatform::convertWritesCrLfUnchangedToStdout()
{
    const QString sample = QDir(QStringLiteral(MIREN_SAMPLES_DIR)).filePath("SESSION_KMH.BIL");
    QProcess toStdout;
    toStdout.start(QStringLiteral(MIREN_CONVERT_PATH), {sample});
    QVERIFY(toStdout.waitForFinished(60000));
    QCOMPARE(toStdout.exitCode(), 0);
    const QByteArray out = toStdout.readAllStandardOutput();

    const QString file = dir_->filePath(QStringLiteral("out.txt"));
    QProcess toFile;
    toFile.start(QStringLiteral(MIREN_CONVERT_PATH), {QStringLiteral("-o"), file, sample});
    QVERIFY(toFile.waitForFinished(60000));
    QCOMPARE(toFile.exitCode(), 0);

    QVERIFY(!out.isEmpty());
    QCOMPARE(out, readBytes(file));
    QCOMPARE(out.count("\r\n"), out.count('\n'));
    QCOMPARE(out.count("\r\n"), out.count('\r'));
    QVERIFY(out.endsWith("\r\n\r\n"));
}

MIREN_REGISTER_TEST(TestWindowsPlatform)
#include "TestWindowsPlatform.moc"
