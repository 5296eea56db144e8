#include "FakeDrives.h"
#include "FontChecks.h"
#include "TestMain.h"
#include "file_chooser/FileList.h"
#include "file_chooser/File_Form.h"
#include "file_chooser/FolderList.h"
#include "tool_window/ToolWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

// The chooser shown for real, modally, over drives made of test folders:
//   c:  the working folder: A.BIL b.BIL c.bil .hidden.BIL notes.txt Z.TXT x.dat, sub1/, sub2/
//   d:  d1.BIL
//   e:  not ready
class TestFileForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void opening_data();
    void opening();
    void okResult_data();
    void okResult();
    void cancelChangesOnlyGetName();
    void closeButtonActsAsCancel();
    void keys_data();
    void keys();
    void missingFolder_data();
    void missingFolder();
    void driveNotReadyAtOpening();
    void driveNotReadyPickedByUser();
    void fallbackDriveNotReadyStopsAfterOneRetry();
    void warningBoxWithoutSeam();
    void folderListShowsPathAndSubfolders();
    void openingFolderMovesFileList();
    void openingTwiceStartsAfresh();
    void underscoresStayVisible();
    void realDrivesEntryPoint();

private:
    // Shows a File_Form for state_ and runs act on it once it is the active modal window. If act
    // leaves it open, it is closed afterwards and leftOpen_ is set.
    int run(const std::function<void(File_Form*)>& act);
    QString path(const QString& relative) const { return normalFolder(dir_.filePath(relative)); }

    template <typename T> static T* child(File_Form* form, const char* name)
    {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    static void clickEntry(FileList* list, const QString& name, Qt::KeyboardModifiers mods);

    QTemporaryDir dir_;
    QString oldWorking_;
    FakeDrives drives_;
    SharedState state_;
    QStringList warnings_;
    bool leftOpen_ = false;
};

void TestFileForm::initTestCase()
{
    QVERIFY(dir_.isValid());
    QDir root(dir_.path());
    for (const char* folder : {"c/sub1/deep", "c/sub2", "d"})
        QVERIFY(root.mkpath(QString::fromLatin1(folder)));
    for (const char* file : {"c/A.BIL", "c/b.BIL", "c/c.bil", "c/.hidden.BIL", "c/notes.txt",
                             "c/Z.TXT", "c/x.dat", "c/sub1/inner.BIL", "d/d1.BIL"}) {
        QFile f(root.filePath(QString::fromLatin1(file)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    drives_.list = {
        {"c:", path("c"), {}}, {"e:", path("e"), "No medium found"}, {"d:", path("d"), {}}};
    oldWorking_ = QDir::currentPath();
    QDir::setCurrent(path("c"));
}

void TestFileForm::init()
{
    state_ = SharedState{};
    state_.PASS_NAME1 = path("c");
    state_.PASS_NAME2 = path("c");
    state_.GET_NAME = QStringLiteral("earlier");
    warnings_.clear();
    leftOpen_ = false;
    drives_.fallback = QStringLiteral("c:");
    drives_.list[0].error.clear();
}

// The working folder goes back before the test folders are removed, for the tests that follow.
void TestFileForm::cleanupTestCase()
{
    QDir::setCurrent(oldWorking_);
}

void TestFileForm::cleanup()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->metaObject()->className()));
    if (QTest::currentTestFunction() == QLatin1String("realDrivesEntryPoint"))
        QDir::setCurrent(path("c"));
}

int TestFileForm::run(const std::function<void(File_Form*)>& act)
{
    const WarningBoxHook hook([this](const QString& m) { warnings_ << m; });
    File_Form form(state_, drives_);
    QTimer::singleShot(0, &form, [&] {
        auto* shown = qobject_cast<File_Form*>(QApplication::activeModalWidget());
        QCOMPARE(shown, &form);
        act(shown);
    });
    QTimer::singleShot(0, &form, [&] {
        if (form.isVisible()) {
            leftOpen_ = true;
            form.reject();
        }
    });
    return form.exec();
}

void TestFileForm::clickEntry(FileList* list, const QString& name, Qt::KeyboardModifiers mods)
{
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, mods,
                      list->visualItemRect(found.first()).center());
}

static QStringList entries(QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void TestFileForm::opening_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("nameEntry");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QStringList>("files");

    const QString hint = QString::fromUtf8(kTextHint);
    const QStringList bil{"A.BIL", "b.BIL", "c.bil"};
    const QStringList txt{"notes.txt", "Z.TXT"};
    QTest::newRow("bil load") << "BIL LOAD" << false << QString() << "OK_BOT_0" << bil;
    QTest::newRow("text load") << "TEXT LOAD" << false << hint << "OK_BOT_0" << txt;
    QTest::newRow("text save") << "TEXT SAVE" << true << hint << "Text1" << txt;
    // Modes are compared exactly; anything else behaves as "TEXT LOAD".
    QTest::newRow("lower case") << "bil load" << false << hint << "OK_BOT_0" << txt;
}

void TestFileForm::opening()
{
    QFETCH(QString, mode);
    QFETCH(bool, nameEntry);
    QFETCH(QString, hint);
    QFETCH(QString, focus);
    QFETCH(QStringList, files);

    state_.FILE_TYPE = mode;
    run([&](File_Form* form) {
        QCOMPARE(form->windowTitle(), mode);
        QCOMPARE(form->size(), QSize(423, 254));
        auto* text = child<QLineEdit>(form, "Text1");
        QCOMPARE(text->isVisible(), nameEntry);
        QCOMPARE(child<QLabel>(form, "Label1")->isVisible(), nameEntry);
        if (nameEntry) {
            QCOMPARE(text->text(), QStringLiteral("LAP_TXT_DATA"));
            QCOMPARE(text->selectedText(), QStringLiteral("LAP_TXT_DATA"));
        }
        QCOMPARE(child<FileList>(form, "File1")->toolTip(), hint);
        QCOMPARE(form->focusWidget()->objectName(), focus);
        QCOMPARE(entries(child<FileList>(form, "File1")), files);
        QCOMPARE(child<QComboBox>(form, "Drive1")->currentText(), QStringLiteral("c:"));
        // Tab order: name entry, OK, files, drives, folders, CANCEL.
        const QStringList stops{"Text1", "OK_BOT_0", "File1", "Drive1", "Dir1", "OK_BOT_1"};
        QStringList chain{text->objectName()};
        for (QWidget* w = text->nextInFocusChain(); w != text; w = w->nextInFocusChain()) {
            if (stops.contains(w->objectName()) && (w->focusPolicy() & Qt::TabFocus))
                chain << w->objectName();
        }
        QCOMPARE(chain, stops);
        // The lists and the name entry need a fixed-pitch face with Japanese glyphs.
        for (const char* name : {"File1", "Dir1", "Text1"}) {
            const QFont font = child<QWidget>(form, name)->font();
            if (!canCheckFont(font.family()))
                continue;
            // Dual-width Japanese faces do not call themselves fixed pitch: compare advances.
            const QFontMetrics metrics(font);
            QVERIFY2(metrics.horizontalAdvance(QLatin1Char('i')) ==
                         metrics.horizontalAdvance(QLatin1Char('W')),
                     name);
            QVERIFY2(metrics.inFont(QChar(0x30C6)), name); // テ
        }
        QVERIFY(!child<QPushButton>(form, "OK_BOT_0")->isDefault());
        QVERIFY(!child<QPushButton>(form, "OK_BOT_1")->isDefault());
        child<QPushButton>(form, "OK_BOT_1")->click();
    });
    QVERIFY(!leftOpen_);
}

void TestFileForm::okResult_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("ctrlClicks");
    QTest::addColumn<QString>("typed"); // replaces the proposed name when not null
    QTest::addColumn<QString>("result");

    QTest::newRow("bil, none selected") << "BIL LOAD" << QStringList() << QString() << "";
    QTest::newRow("bil, list order not click order")
        << "BIL LOAD" << QStringList{"c.bil", "A.BIL"} << QString() << "A.BIL\rc.bil\r";
    QTest::newRow("bil, all three") << "BIL LOAD" << QStringList{"b.BIL", "c.bil", "A.BIL"}
                                    << QString() << "A.BIL\rb.BIL\rc.bil\r";
    QTest::newRow("text load, upper one")
        << "TEXT LOAD" << QStringList{"Z.TXT", "notes.txt"} << QString() << "notes.txt";
    QTest::newRow("text load, none") << "TEXT LOAD" << QStringList() << QString() << "";
    QTest::newRow("text save, proposed")
        << "TEXT SAVE" << QStringList() << QString() << "LAP_TXT_DATA";
    QTest::newRow("text save, emptied") << "TEXT SAVE" << QStringList() << ""
                                        << "";
    QTest::newRow("text save ignores selection") << "TEXT SAVE" << QStringList{"Z.TXT"} << "laps 2"
                                                 << "laps 2";
}

void TestFileForm::okResult()
{
    QFETCH(QString, mode);
    QFETCH(QStringList, ctrlClicks);
    QFETCH(QString, typed);
    QFETCH(QString, result);

    state_.FILE_TYPE = mode;
    state_.PASS_NAME1 = state_.PASS_NAME2 = path("c");
    const int code = run([&](File_Form* form) {
        auto* files = child<FileList>(form, "File1");
        for (const QString& name : ctrlClicks)
            clickEntry(files, name, Qt::ControlModifier);
        if (!typed.isNull()) {
            auto* text = child<QLineEdit>(form, "Text1");
            text->selectAll();
            QTest::keyClick(text, Qt::Key_Backspace);
            QTest::keyClicks(text, typed);
        }
        QTest::mouseClick(child<QPushButton>(form, "OK_BOT_0"), Qt::LeftButton);
    });
    QCOMPARE(code, int(QDialog::Accepted));
    QVERIFY(!leftOpen_);
    QCOMPARE(state_.GET_NAME, result);
    QCOMPARE(state_.PORT_OPEN_FLG, kTrue);
    QCOMPARE(mode == "BIL LOAD" ? state_.PASS_NAME2 : state_.PASS_NAME1, path("c"));
}

void TestFileForm::cancelChangesOnlyGetName()
{
    state_.FILE_TYPE = kModeTextSave;
    state_.PASS_NAME2 = QStringLiteral("untouched");
    const int code = run([&](File_Form* form) {
        clickEntry(child<FileList>(form, "File1"), "Z.TXT", Qt::NoModifier);
        QVERIFY(child<FolderList>(form, "Dir1")->setPath(path("c/sub1")));
        QTest::keyClicks(child<QLineEdit>(form, "Text1"), "typed");
        QTest::mouseClick(child<QPushButton>(form, "OK_BOT_1"), Qt::LeftButton);
    });
    QCOMPARE(code, int(QDialog::Rejected));
    QCOMPARE(state_.GET_NAME, QString());
    QCOMPARE(state_.PASS_NAME1, path("c"));
    QCOMPARE(state_.PASS_NAME2, QStringLiteral("untouched"));
    QCOMPARE(state_.PORT_OPEN_FLG, kFalse);
}

// Closing by the window's own button must not leave the earlier GET_NAME for the caller to take
// as a choice.
void TestFileForm::closeButtonActsAsCancel()
{
    state_.FILE_TYPE = kModeBilLoad;
    const int code = run([&](File_Form* form) {
        clickEntry(child<FileList>(form, "File1"), "A.BIL", Qt::NoModifier);
        QVERIFY(form->close());
    });
    QVERIFY(!leftOpen_);
    QCOMPARE(code, int(QDialog::Rejected));
    QCOMPARE(state_.GET_NAME, QString());
    QCOMPARE(state_.PASS_NAME2, path("c"));
    QCOMPARE(state_.PORT_OPEN_FLG, kFalse);
}

void TestFileForm::keys_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("result");

    QTest::newRow("escape on OK") << "BIL LOAD"
                                  << "OK_BOT_0" << int(Qt::Key_Escape) << false << "";
    QTest::newRow("escape in name") << "TEXT SAVE"
                                    << "Text1" << int(Qt::Key_Escape) << false << "";
    QTest::newRow("enter in name") << "TEXT SAVE"
                                   << "Text1" << int(Qt::Key_Return) << false << "";
    QTest::newRow("enter in file list") << "BIL LOAD"
                                        << "File1" << int(Qt::Key_Enter) << false << "";
    QTest::newRow("enter on OK") << "TEXT SAVE"
                                 << "OK_BOT_0" << int(Qt::Key_Return) << true << "LAP_TXT_DATA";
    QTest::newRow("enter on CANCEL") << "TEXT SAVE"
                                     << "OK_BOT_1" << int(Qt::Key_Enter) << true << "";
}

void TestFileForm::keys()
{
    QFETCH(QString, mode);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, closes);
    QFETCH(QString, result);

    state_.FILE_TYPE = mode;
    bool stillOpen = false;
    run([&](File_Form* form) {
        auto* target = form->findChild<QWidget*>(focus);
        QVERIFY(target);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        stillOpen = form->isVisible();
    });
    QCOMPARE(stillOpen, !closes);
    QCOMPARE(leftOpen_, !closes);
    // Left open, the dialog was closed by the test harness, which acts as CANCEL.
    QCOMPARE(state_.GET_NAME, result);
    QCOMPARE(state_.PORT_OPEN_FLG, closes && focus == "OK_BOT_0" ? kTrue : kFalse);
}

void TestFileForm::missingFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("drive");
    QTest::addColumn<QString>("shown");

    // Same drive as the working folder: the lists stay on the working folder.
    QTest::newRow("same drive") << "c/gone"
                                << "c:"
                                << "c";
    // Another drive: the lists move to that drive's current folder and stay there.
    QTest::newRow("other drive") << "d/gone"
                                 << "d:"
                                 << "d";
    QTest::newRow("empty value") << ""
                                 << "c:"
                                 << "c";
}

void TestFileForm::missingFolder()
{
    QFETCH(QString, folder);
    QFETCH(QString, drive);
    QFETCH(QString, shown);

    state_.FILE_TYPE = kModeBilLoad;
    state_.PASS_NAME2 = folder.isEmpty() ? QString() : path(folder);
    run([&](File_Form* form) {
        QCOMPARE(child<QComboBox>(form, "Drive1")->currentText(), drive);
        QCOMPARE(child<FolderList>(form, "Dir1")->path(), path(shown));
        QCOMPARE(child<FileList>(form, "File1")->folder(), path(shown));
        child<QPushButton>(form, "OK_BOT_0")->click();
    });
    QVERIFY(warnings_.isEmpty());
    QCOMPARE(state_.PASS_NAME2, path(shown));
}

void TestFileForm::driveNotReadyAtOpening()
{
    state_.FILE_TYPE = kModeTextLoad;
    state_.PASS_NAME1 = path("e/logs");
    run([&](File_Form* form) {
        QCOMPARE(child<QComboBox>(form, "Drive1")->currentText(), QStringLiteral("c:"));
        QCOMPARE(child<FolderList>(form, "Dir1")->path(), path("c"));
        child<QPushButton>(form, "OK_BOT_0")->click();
    });
    QCOMPARE(warnings_, QStringList{"No medium found"});
    QCOMPARE(state_.PASS_NAME1, path("c"));
}

void TestFileForm::driveNotReadyPickedByUser()
{
    state_.FILE_TYPE = kModeBilLoad;
    state_.PASS_NAME2 = path("c/sub1");
    run([&](File_Form* form) {
        auto* drive = child<QComboBox>(form, "Drive1");
        drive->setFocus();
        QTest::keyClick(drive, Qt::Key_Down); // c: -> e:
        QCOMPARE(warnings_, QStringList{"No medium found"});
        // Back on c:, at its current folder; the folder shown before is not restored.
        QCOMPARE(drive->currentText(), QStringLiteral("c:"));
        QCOMPARE(child<FolderList>(form, "Dir1")->path(), path("c"));
        QCOMPARE(entries(child<FileList>(form, "File1")), (QStringList{"A.BIL", "b.BIL", "c.bil"}));
        child<QPushButton>(form, "OK_BOT_1")->click();
    });
    QVERIFY(!leftOpen_);
}

// The fallback drive failing as well must end after its one warning, not retry forever.
void TestFileForm::fallbackDriveNotReadyStopsAfterOneRetry()
{
    drives_.list[0].error = QStringLiteral("Device not ready");
    state_.FILE_TYPE = kModeBilLoad;
    state_.PASS_NAME2 = path("e");
    run([&](File_Form* form) {
        QCOMPARE(child<QComboBox>(form, "Drive1")->currentText(), QStringLiteral("c:"));
        child<QPushButton>(form, "OK_BOT_1")->click();
    });
    QCOMPARE(warnings_, (QStringList{"No medium found", "Device not ready"}));
}

// Without a warning function the chooser shows the tool's own warning box.
void TestFileForm::warningBoxWithoutSeam()
{
    state_.FILE_TYPE = kModeBilLoad;
    state_.PASS_NAME2 = path("e");
    bool boxSeen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        boxSeen = true;
        QCOMPARE(box->windowTitle(), QStringLiteral("Miren Loader"));
        QCOMPARE(box->text(), QStringLiteral("No medium found"));
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QCOMPARE(box->buttons().size(), 1);
        box->button(QMessageBox::Ok)->click();
    });
    File_Form form(state_, drives_);
    QVERIFY(boxSeen);
    QCOMPARE(form.findChild<QComboBox*>("Drive1")->currentText(), QStringLiteral("c:"));
}

void TestFileForm::folderListShowsPathAndSubfolders()
{
    state_.FILE_TYPE = kModeBilLoad;
    state_.PASS_NAME2 = path("c/sub1");
    run([&](File_Form* form) {
        auto* folders = child<FolderList>(form, "Dir1");
        QCOMPARE(entries(folders), (QStringList{path("c"), "  sub1", "    deep"}));
        QCOMPARE(folders->currentItem()->text(), QStringLiteral("  sub1"));
        QVERIFY(folders->setPath(path("c")));
        QCOMPARE(entries(folders), (QStringList{path("c"), "  sub1", "  sub2"}));
        child<QPushButton>(form, "OK_BOT_1")->click();
    });
}

// The list font draws "_" on the last pixel row of its cell; with the hinting of some displays
// it falls one row lower, where the next row covers it and "A_B.BIL" reads "A B.BIL". Rows must
// leave a free pixel row below the underscore.
void TestFileForm::underscoresStayVisible()
{
    state_.FILE_TYPE = kModeBilLoad;
    run([&](File_Form* form) {
        for (const char* name : {"File1", "Dir1"}) {
            auto* list = child<QListWidget>(form, name);
            list->clear();
            list->addItems({QStringLiteral("________"), QStringLiteral("________")});
            list->doItemsLayout();
            const QImage image = list->viewport()->grab().toImage();
            const QRect row = list->visualItemRect(list->item(0));
            int lowestInk = -1;
            for (int y = row.top(); y <= row.bottom(); ++y)
                for (int x = row.left(); x <= row.right(); ++x)
                    if (qGray(image.pixel(x, y)) < 224)
                        lowestInk = y;
            QVERIFY2(lowestInk >= 0, name);
            QVERIFY2(lowestInk < row.bottom(), name);
        }
        child<QPushButton>(form, "OK_BOT_1")->click();
    });
}

void TestFileForm::openingFolderMovesFileList()
{
    state_.FILE_TYPE = kModeBilLoad;
    run([&](File_Form* form) {
        auto* folders = child<FolderList>(form, "Dir1");
        const QList<QListWidgetItem*> sub = folders->findItems("  sub1", Qt::MatchExactly);
        QCOMPARE(sub.size(), 1);
        const QPoint at = folders->visualItemRect(sub.first()).center();
        // An item view takes a double-click only after a click on the same entry.
        QTest::mouseClick(folders->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(folders->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(folders->path(), path("c/sub1"));
        QCOMPARE(entries(child<FileList>(form, "File1")), QStringList{"inner.BIL"});
        // Enter on the root entry goes back up.
        folders->setCurrentRow(0);
        QTest::keyClick(folders, Qt::Key_Return);
        QCOMPARE(folders->path(), path("c"));
        folders->setCurrentRow(1);
        QTest::keyClick(folders, Qt::Key_Return);
        clickEntry(child<FileList>(form, "File1"), "inner.BIL", Qt::NoModifier);
        child<QPushButton>(form, "OK_BOT_0")->click();
    });
    QCOMPARE(state_.PASS_NAME2, path("c/sub1"));
    QCOMPARE(state_.GET_NAME, QStringLiteral("inner.BIL\r"));
}

void TestFileForm::openingTwiceStartsAfresh()
{
    state_.FILE_TYPE = kModeTextSave;
    run([&](File_Form* form) {
        QTest::keyClicks(child<QLineEdit>(form, "Text1"), "other");
        clickEntry(child<FileList>(form, "File1"), "Z.TXT", Qt::NoModifier);
        QVERIFY(child<FolderList>(form, "Dir1")->setPath(path("c/sub2")));
        child<QPushButton>(form, "OK_BOT_1")->click();
    });
    run([&](File_Form* form) {
        QCOMPARE(child<FolderList>(form, "Dir1")->path(), path("c"));
        QCOMPARE(child<QLineEdit>(form, "Text1")->text(), QStringLiteral("LAP_TXT_DATA"));
        QVERIFY(child<FileList>(form, "File1")->selectedItems().isEmpty());
        child<QPushButton>(form, "OK_BOT_0")->click();
    });
    QCOMPARE(state_.GET_NAME, QStringLiteral("LAP_TXT_DATA"));
    QCOMPARE(state_.PASS_NAME1, path("c"));
}

// The entry point the main window calls, over the machine's own drives.
void TestFileForm::realDrivesEntryPoint()
{
    QDir::setCurrent(oldWorking_);
    state_.FILE_TYPE = kModeTextLoad;
    state_.PASS_NAME1 = path("c");
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* form = qobject_cast<File_Form*>(QApplication::activeModalWidget());
        QVERIFY(form);
        seen = true;
        QCOMPARE(child<FileList>(form, "File1")->folder(), path("c"));
        clickEntry(child<FileList>(form, "File1"), "Z.TXT", Qt::NoModifier);
        child<QPushButton>(form, "OK_BOT_0")->click();
    });
    showFileForm(state_, nullptr);
    QVERIFY(seen);
    QCOMPARE(state_.GET_NAME, QStringLiteral("Z.TXT"));
    QCOMPARE(state_.PASS_NAME1, path("c"));
}

MIREN_REGISTER_TEST(TestFileForm)
#include "TestFileForm.moc"
