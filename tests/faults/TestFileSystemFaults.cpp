// The window over a file system that fails underneath it: files and folders that disappear
// while the chooser is open, a full disk, a settings file that cannot be written, folder values
// that lead nowhere and a drive that stops being ready. In every case the tool goes on, warns
// where a command failed, and loses nothing the user had: the view's text, existing files and
// the settings file stay as they were.
//
// The failures are made in ways that hold for root too (CI runs as root): things removed or
// replaced by a folder, a path through a regular file, and a file-size limit for a full disk.
#include "BilBuilder.h"
#include "FakeDrives.h"
#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "file_chooser/FileList.h"
#include "file_chooser/File_Form.h"
#include "tool_window/ToolWindow.h"
#include "lap_conversion/LapTable.h"
#include "main_window/KorvelLoader.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

const QString kOldView = QStringLiteral("my table, edited\r\nsecond line\r\n");

} // namespace

class TestFileSystemFaults : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void chosenFileVanishesBeforeOk_data();
    void chosenFileVanishesBeforeOk();
    void readFailsAfterOpen_data();
    void readFailsAfterOpen();
    void saveFolderRemovedBeforeOk();
    void diskFullOnSave();
    void settingsUnwritableAtStart_data();
    void settingsUnwritableAtStart();
    void settingsUnwritableAtExit();
    void settingsPipeOrHugeFile_data();
    void settingsPipeOrHugeFile();
    void folderValuesNoLongerExist();
    void driveStopsBeingReady();

private:
    // A window on the fixture's settings file whose chooser is the real File_Form over drives_.
    // On each showing it runs act_ on the open form, then presses "OK" or "CANCEL".
    std::unique_ptr<KorvelLoader> makeWindow();
    QString path(const QString& relative) const { return normalFolder(root_->filePath(relative)); }
    static void select(File_Form& form, const QStringList& names);
    void click(KorvelLoader& window, const char* button);

    std::unique_ptr<QTemporaryDir> root_;
    QString oldWorking_;
    QString settings_;
    FakeDrives drives_;
    std::function<void(File_Form&)> act_;
    bool confirm_ = true;
    QStringList warnings_;
    QString textAtWarning_;
    std::optional<WarningBoxHook> hook_;
};

void TestFileSystemFaults::init()
{
    root_ = std::make_unique<QTemporaryDir>();
    QVERIFY(root_->isValid());
    QDir dir(root_->path());
    for (const char* folder : {"c/laps", "c/text", "d"})
        QVERIFY(dir.mkpath(QString::fromLatin1(folder)));
    drives_.list = {{"c:", path("c"), {}}, {"d:", path("d"), {}}};
    drives_.fallback = QStringLiteral("c:");
    // The chooser starts from the working folder; keep it inside the fixture.
    oldWorking_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(path("c")));

    settings_ = root_->filePath(QStringLiteral("FILE_PASS.DAT"));
    QVERIFY(writeBytes(settings_, folderSettingsBytes(path("c/text"), path("c/laps"))));
    act_ = nullptr;
    confirm_ = true;
    warnings_.clear();
    textAtWarning_.clear();
}

void TestFileSystemFaults::cleanup()
{
    hook_.reset();
    QDir::setCurrent(oldWorking_);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

std::unique_ptr<KorvelLoader> TestFileSystemFaults::makeWindow()
{
    auto window = std::make_unique<KorvelLoader>(settings_);
    KorvelLoader* w = window.get();
    window->setChooser([this](SharedState& state) {
        File_Form form(state, drives_);
        if (act_)
            act_(form);
        form.findChild<QPushButton*>(confirm_ ? "OK_BOT_0" : "OK_BOT_1")->click();
    });
    // Warnings of the window and of the chooser alike.
    hook_.emplace([this, w](const QString& message) {
        warnings_ << message;
        textAtWarning_ = w->text();
    });
    window->append(kOldView);
    return window;
}

void TestFileSystemFaults::select(File_Form& form, const QStringList& names)
{
    auto* list = form.findChild<FileList*>(QStringLiteral("File1"));
    QVERIFY(list);
    for (const QString& name : names) {
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        found.first()->setSelected(true);
    }
}

void TestFileSystemFaults::click(KorvelLoader& window, const char* button)
{
    window.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

// A file the chooser listed is deleted before "OK". The command warns; the view keeps the text
// it had, unless an earlier file of the same choice was converted.
void TestFileSystemFaults::chosenFileVanishesBeforeOk_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QString>("vanishing");
    QTest::addColumn<bool>("keepsView");

    QTest::newRow("only lap file")
        << QByteArray("BIL_load") << "c/laps" << QStringList{"A.BIL"} << "A.BIL" << true;
    QTest::newRow("first of two lap files")
        << QByteArray("BIL_load") << "c/laps" << QStringList{"A.BIL", "B.BIL"} << "A.BIL" << true;
    QTest::newRow("second of two lap files")
        << QByteArray("BIL_load") << "c/laps" << QStringList{"A.BIL", "B.BIL"} << "B.BIL" << false;
    QTest::newRow("text file") << QByteArray("FILE_LOAD") << "c/text" << QStringList{"notes.txt"}
                               << "notes.txt" << true;
    QTest::newRow("lap file replaced by a folder")
        << QByteArray("BIL_load") << "c/laps" << QStringList{"A.BIL"} << "A.BIL/" << true;
    QTest::newRow("text file replaced by a folder")
        << QByteArray("FILE_LOAD") << "c/text" << QStringList{"notes.txt"} << "notes.txt/" << true;
}

void TestFileSystemFaults::chosenFileVanishesBeforeOk()
{
    QFETCH(QByteArray, button);
    QFETCH(QString, folder);
    QFETCH(QStringList, chosen);
    QFETCH(QString, vanishing);
    QFETCH(bool, keepsView);

    for (const char* name : {"A.BIL", "B.BIL"})
        QVERIFY(writeBytes(path("c/laps/" + QLatin1String(name)), fullLaps(2)));
    QVERIFY(writeBytes(path("c/text/notes.txt"), "loaded\r\n"));
    const bool asFolder = vanishing.endsWith(u'/');
    vanishing.remove(u'/');

    auto window = makeWindow();
    act_ = [&](File_Form& form) {
        select(form, chosen);
        const QString file = path(folder + u'/' + vanishing);
        QVERIFY(QFile::remove(file));
        if (asFolder)
            QVERIFY(QDir().mkdir(file));
    };
    click(*window, button.constData());

    QCOMPARE(warnings_, QStringList{kWarnNonFile});
    if (keepsView)
        QCOMPARE(window->text(), kOldView);
    else
        QVERIFY(window->text().startsWith(QLatin1String(headerLine(0).data(), kHeaderLength)));
    QCOMPARE(textAtWarning_, window->text());
    // The window is still usable: the next command works.
    QVERIFY(writeBytes(path("c/text/again.txt"), "again"));
    act_ = [](File_Form& form) { select(form, {"again.txt"}); };
    click(*window, "FILE_LOAD");
    QCOMPARE(window->text(), QStringLiteral("again\r\n"));
}

// A file that opens but cannot be read, as on a medium that fails under the reader: on Linux,
// the process's own memory file gives an I/O error at offset 0, for root too. The command warns
// and ends; the view holds what was read before the failure (nothing here), and the window goes
// on working.
void TestFileSystemFaults::readFailsAfterOpen_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("link");
    QTest::newRow("lap file") << QByteArray("BIL_load") << "c/laps/FAILS.BIL";
    QTest::newRow("text file") << QByteArray("FILE_LOAD") << "c/text/fails.txt";
    QTest::newRow("settings file") << QByteArray() << "FILE_PASS.DAT";
}

void TestFileSystemFaults::readFailsAfterOpen()
{
#ifndef Q_OS_LINUX
    QSKIP("needs /proc/self/mem");
#else
    QFETCH(QByteArray, button);
    QFETCH(QString, link);
    const QString linkPath = root_->filePath(link);
    QFile::remove(linkPath);
    QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), linkPath));

    auto window = makeWindow();
    if (button.isEmpty()) {
        // The start goes on with the default folders; nothing can be written through the link.
        QCOMPARE(window->state().PASS_NAME1, defaultFolder());
        QVERIFY(QFileInfo(linkPath).isSymLink());
        return;
    }
    act_ = [&](File_Form& form) { select(form, {QFileInfo(linkPath).fileName()}); };
    click(*window, button.constData());
    QCOMPARE(warnings_, QStringList{kWarnNonFile});
    QCOMPARE(window->text(), QString());

    QVERIFY(writeBytes(path("c/text/again.txt"), "again"));
    act_ = [](File_Form& form) { select(form, {"again.txt"}); };
    click(*window, "FILE_LOAD");
    QCOMPARE(window->text(), QStringLiteral("again\r\n"));
#endif
}

// The text folder is removed while the chooser shows it: no file appears anywhere, the view is
// unchanged, and the folder is not made again.
void TestFileSystemFaults::saveFolderRemovedBeforeOk()
{
    auto window = makeWindow();
    act_ = [&](File_Form&) { QVERIFY(QDir(path("c/text")).removeRecursively()); };
    click(*window, "FILE_SAVE");
    QCOMPARE(warnings_, QStringList{kWarnNonFile});
    QCOMPARE(window->text(), kOldView);
    QVERIFY(!QFileInfo::exists(path("c/text")));
}

// A write that stops at a file-size limit, as on a full disk: the old file keeps its bytes, no
// piece of the new one is left beside it, the view is unchanged.
void TestFileSystemFaults::diskFullOnSave()
{
#ifndef Q_OS_UNIX
    QSKIP("needs a file-size limit");
#else
    const QString target = path("c/text/LAP_TXT_DATA.txt");
    const QByteArray old = "the table saved last time\r\n";
    QVERIFY(writeBytes(target, old));

    auto window = makeWindow();
    window->clear();
    const QString big = QString(200, u'x').append(QStringLiteral("\r\n")).repeated(1000);
    window->append(big);
    {
        FileSizeLimit limit(64 * 1024);
        click(*window, "FILE_SAVE");
    }
    QCOMPARE(warnings_, QStringList{kWarnNonFile});
    QCOMPARE(readBytes(target), old);
    QCOMPARE(QDir(path("c/text")).entryList(QDir::Files | QDir::Hidden), {"LAP_TXT_DATA.txt"});
    QCOMPARE(window->text(), big);

    // With room again, the same save goes through.
    warnings_.clear();
    click(*window, "FILE_SAVE");
    QCOMPARE(warnings_, QStringList());
    QCOMPARE(readBytes(target), big.toLatin1() + "\r\n");
#endif
}

// A settings file that cannot be read or written at start: the window starts on the default
// folders, and what stands at the settings path is left alone.
void TestFileSystemFaults::settingsUnwritableAtStart_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("path is a folder") << "folder";
    QTest::newRow("path runs through a file") << "through file";
    QTest::newRow("disk full") << "full";
}

void TestFileSystemFaults::settingsUnwritableAtStart()
{
    QFETCH(QString, kind);
#ifndef Q_OS_UNIX
    if (kind == "full")
        QSKIP("needs a file-size limit");
#endif
    QVERIFY(QFile::remove(settings_));
    if (kind == "folder") {
        QVERIFY(QDir().mkdir(settings_));
        QVERIFY(writeBytes(settings_ + "/inside", "kept"));
    } else if (kind == "through file") {
        QVERIFY(writeBytes(root_->filePath("plain"), "kept"));
        settings_ = root_->filePath("plain/FILE_PASS.DAT");
    }

    std::unique_ptr<KorvelLoader> window;
    {
#ifdef Q_OS_UNIX
        std::unique_ptr<FileSizeLimit> limit;
        if (kind == "full")
            limit = std::make_unique<FileSizeLimit>(0);
#endif
        window = makeWindow();
    }
    QCOMPARE(window->state().PASS_NAME1, defaultFolder());
    QCOMPARE(window->state().PASS_NAME2, defaultFolder());
    QCOMPARE(window->state().PORT_OPEN_FLG, kFalse);
    if (kind == "folder")
        QCOMPARE(readBytes(settings_ + "/inside"), QByteArray("kept"));
    else if (kind == "through file")
        QCOMPARE(readBytes(root_->filePath("plain")), QByteArray("kept"));
    else
        QVERIFY(!QFileInfo::exists(settings_));

    // The tool works and ends normally, even though the folders cannot be remembered.
    act_ = [](File_Form&) {};
    click(*window, "FILE_LOAD");
    QCOMPARE(window->state().PORT_OPEN_FLG, kTrue);
    QVERIFY(window->close());
}

// The settings file cannot be written at exit: the window still closes, and the file keeps the
// folders it had.
void TestFileSystemFaults::settingsUnwritableAtExit()
{
#ifndef Q_OS_UNIX
    QSKIP("needs a file-size limit");
#else
    const QByteArray old = readBytes(settings_);
    auto window = makeWindow();
    act_ = [](File_Form&) {}; // "OK" with nothing chosen still asks for the write at exit
    click(*window, "BIL_load");
    QCOMPARE(window->state().PORT_OPEN_FLG, kTrue);
    {
        FileSizeLimit limit(1);
        QVERIFY(window->close());
    }
    QCOMPARE(readBytes(settings_), old);
    QCOMPARE(QDir(root_->path()).entryList(QDir::Files | QDir::Hidden), {"FILE_PASS.DAT"});
#endif
}

// A settings name that is a pipe would block the start in open(), and an endless or huge file
// would be read into memory whole; the start reads only a regular file, and only its beginning.
void TestFileSystemFaults::settingsPipeOrHugeFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("pipe") << "pipe";
    QTest::newRow("8 GB after the values") << "huge";
}

void TestFileSystemFaults::settingsPipeOrHugeFile()
{
#ifndef Q_OS_UNIX
    QSKIP("needs pipes and sparse files");
#else
    QFETCH(QString, kind);
    constexpr qint64 kHuge = qint64(8) << 30;
    if (kind == "pipe") {
        QVERIFY(QFile::remove(settings_));
        QCOMPARE(::mkfifo(QFile::encodeName(settings_).constData(), 0600), 0);
    } else {
        // Sparse: no disk space is used for the zeros.
        QFile file(settings_);
        QVERIFY(file.resize(kHuge));
    }
    auto window = makeWindow();
    if (kind == "pipe") {
        QCOMPARE(window->state().PASS_NAME1, defaultFolder());
        QCOMPARE(readBytes(settings_), folderSettingsBytes(defaultFolder(), defaultFolder()));
    } else {
        QCOMPARE(window->state().PASS_NAME1, path("c/text"));
        QCOMPARE(window->state().PASS_NAME2, path("c/laps"));
        QCOMPARE(QFileInfo(settings_).size(), kHuge);
    }
#endif
}

// Settings naming folders that were removed since: the values are kept as they are, the chooser
// opens on the working folder, and cancelling leaves the settings file untouched.
void TestFileSystemFaults::folderValuesNoLongerExist()
{
    const QByteArray old = folderSettingsBytes(path("c/gone1"), path("c/gone2"));
    QVERIFY(writeBytes(settings_, old));
    auto window = makeWindow();
    QCOMPARE(window->state().PASS_NAME1, path("c/gone1"));
    QCOMPARE(window->state().PASS_NAME2, path("c/gone2"));

    QString shown;
    confirm_ = false;
    act_ = [&](File_Form& form) { shown = form.findChild<FileList*>("File1")->folder(); };
    click(*window, "BIL_load");
    QCOMPARE(shown, path("c"));
    click(*window, "FILE_LOAD");
    QCOMPARE(shown, path("c"));
    QCOMPARE(warnings_, QStringList());
    QCOMPARE(window->text(), kOldView);
    QVERIFY(window->close());
    QCOMPARE(readBytes(settings_), old);
}

// A drive that was fine at the first showing is not ready at the next: the chooser warns with
// the system's message while it opens and shows the fallback drive; the view and the folders
// stay as they were when the user cancels.
void TestFileSystemFaults::driveStopsBeingReady()
{
    QVERIFY(writeBytes(path("d/D.BIL"), fullLaps(2)));
    auto window = makeWindow();
    act_ = [&](File_Form& form) {
        auto* list = form.findChild<FileList*>("File1");
        QVERIFY(list->setFolder(path("d")));
        select(form, {"D.BIL"});
    };
    click(*window, "BIL_load");
    QCOMPARE(window->state().PASS_NAME2, path("d"));
    QCOMPARE(warnings_, QStringList());
    const QString table = window->text();
    QVERIFY(table.startsWith(QLatin1String(headerLine(0).data(), kHeaderLength)));

    // A drive that is not ready can no longer be listed either.
    drives_.list[1].error = QStringLiteral("No medium found");
    QVERIFY(QDir(root_->path()).rename("d", "d-away"));
    QString shown;
    confirm_ = false;
    act_ = [&](File_Form& form) { shown = form.findChild<FileList*>("File1")->folder(); };
    click(*window, "BIL_load");
    QCOMPARE(warnings_, QStringList{"No medium found"});
    QCOMPARE(shown, path("c"));
    QCOMPARE(window->state().PASS_NAME2, path("d"));
    QCOMPARE(window->text(), table);
}

MIREN_REGISTER_TEST(TestFileSystemFaults)
#include "TestFileSystemFaults.moc"
