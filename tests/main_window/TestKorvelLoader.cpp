#include "BilBuilder.h"
#include "FontChecks.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "tool_window/ToolWindow.h"
#include "lap_conversion/ConvertCommand.h"
#include "lap_conversion/DecimalPoint.h"
#include "analysis_window/AnalysisWindow.h"
#include "lap_library/LapLibrary.h"
#include "library_window/ImportRunner.h"
#include "library_window/LibraryLink.h"
#include "library_window/LibraryWindow.h"
#include "main_window/KorvelLoader.h"
#include "ui_language/UiLanguage.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

class TestKorvelLoader : public QObject {
    Q_OBJECT

private:
    // A window on a temp settings file, with recording stand-ins for the chooser and the box.
    struct Fixture {
        QTemporaryDir dir;
        std::unique_ptr<KorvelLoader> window;
        QStringList chooserModes;
        QStringList warnings;
        QStringList textAtWarning;
        // What the stand-in chooser does; cancels when empty.
        std::function<void(SharedState&)> pick;
        std::optional<WarningBoxHook> hook;

        Fixture()
        {
            // The lap library of the run lives in the test's folder.
            qputenv("MIREN_LIBRARY", QFile::encodeName(dir.filePath(QStringLiteral("lib.sqlite"))));
            window = std::make_unique<KorvelLoader>(dir.filePath(QStringLiteral("FILE_PASS.DAT")));
            window->setChooser([this](SharedState& state) {
                chooserModes << state.FILE_TYPE;
                state.GET_NAME.clear();
                if (pick)
                    pick(state);
            });
            hook.emplace([this](const QString& message) {
                warnings << message;
                textAtWarning << window->text();
            });
        }
        QString path(const QString& name) const { return dir.filePath(name); }
        template <typename T> T* child(const char* name) const
        {
            return window->findChild<T*>(QString::fromLatin1(name));
        }
        QPlainTextEdit* view() const { return child<QPlainTextEdit>("Text1"); }
        void click(const char* button) const { child<QPushButton>(button)->click(); }
        // The stand-in chooser confirms lap files in the fixture's folder.
        void pickLapFiles(const QStringList& names)
        {
            pick = [this, names](SharedState& state) {
                state.PASS_NAME2 = dir.path();
                state.PORT_OPEN_FLG = kTrue;
                for (const QString& name : names)
                    state.GET_NAME += name + u'\r';
            };
        }
    };

private slots:
    void cleanup()
    {
        // No box or chooser may be left open by a test.
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void windowAtStart()
    {
        Fixture f;
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Miren Loader  ver 2.0"));
        QCOMPARE(f.window->size(), QSize(537, 647));
        QVERIFY(f.window->minimumWidth() >= 529);
        QVERIFY(f.window->minimumHeight() >= 48 + 60);
        QCOMPARE(f.view()->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(f.view()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(f.view()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(!f.view()->isReadOnly());
        QCOMPARE(f.window->text(), QString());
        QCOMPARE(f.window->state().PORT_OPEN_FLG, kFalse);
        QCOMPARE(f.window->state().FILE_TYPE, QString());
        QCOMPARE(f.window->state().GET_NAME, QString());
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("Text1") << "Text1"
                               << "" << QRect(8, 48, 521, 593);
        QTest::newRow("BIL_load") << "BIL_load"
                                  << "bil load" << QRect(8, 8, 89, 33);
        QTest::newRow("FILE_LOAD") << "FILE_LOAD"
                                   << "Text load" << QRect(344, 8, 81, 25);
        QTest::newRow("FILE_SAVE") << "FILE_SAVE"
                                   << "Text save" << QRect(440, 8, 81, 25);
        QTest::newRow("ANALYSIS") << "ANALYSIS"
                                  << "Analysis" << QRect(112, 8, 81, 25);
        QTest::newRow("LIBRARY") << "LIBRARY"
                                 << "Library" << QRect(204, 8, 81, 25);
    }
    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, geometry);
        Fixture f;
        auto* widget = f.window->findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), geometry);
        if (auto* button = qobject_cast<QPushButton*>(widget))
            QCOMPARE(button->text(), caption);
        // One fixed-pitch font at 9 points for the view and the buttons.
        QCOMPARE(widget->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(widget->font().pointSize(), 9);
        if (canCheckFont(widget->font().family()))
            QVERIFY(QFontInfo(widget->font()).fixedPitch());

        // Enlarging the window stretches the view to the right and bottom edges only.
        f.window->show();
        f.window->resize(900, 1000);
        const QRect stretched = name == u"Text1" ? QRect(8, 48, 900 - 16, 1000 - 54) : geometry;
        QTRY_COMPARE(widget->geometry(), stretched);
    }

    void tabOrder()
    {
        Fixture f;
        f.window->show();
        QApplication::setActiveWindow(f.window.get());
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QCOMPARE(QApplication::focusWidget(), f.view());
        QStringList order;
        // "Analysis" comes after the three command buttons, "Library" after "Analysis".
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, QStringList({"BIL_load", "FILE_LOAD", "FILE_SAVE", "ANALYSIS", "LIBRARY", "Text1"}));
    }

    // Enter presses the focused button, as Space does.
    void enterPressesFocusedButton()
    {
        Fixture f;
        f.window->show();
        QApplication::setActiveWindow(f.window.get());
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.window->append(QStringLiteral("x"));
        for (const char* name : {"BIL_load", "FILE_LOAD", "FILE_SAVE"}) {
            f.child<QPushButton>(name)->setFocus();
            QTest::keyClick(f.child<QPushButton>(name), Qt::Key_Return);
        }
        QTest::keyClick(f.child<QPushButton>("BIL_load"), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(f.chooserModes,
                 QStringList({kModeBilLoad, kModeTextLoad, kModeTextSave, kModeBilLoad}));
        // In the view Enter still breaks the line.
        f.view()->setFocus();
        QTest::keyClick(f.view(), Qt::Key_Return);
        QCOMPARE(f.view()->blockCount(), 2);
    }

    // Text save takes the view piece by piece; the file holds the same bytes as the whole text
    // encoded at once, stand-ins and piece boundaries included.
    void streamedSaveWritesWholeText()
    {
        Fixture f;
        QString text;
        for (int i = 0; i < 4000; ++i) {
            text +=
                QStringLiteral("%1 lap line with some width to it, about eighty characters long")
                    .arg(i, 6);
            text += i % 97 == 0 ? QStringLiteral("\r\uFDD0\n\u00e9\U0001F3C1") : QString();
            text += QStringLiteral("\r\n");
        }
        f.window->append(text);
        f.pick = [&f](SharedState& state) {
            state.PASS_NAME1 = f.dir.path();
            state.GET_NAME = QStringLiteral("big");
        };
        f.click("FILE_SAVE");
        QVERIFY(f.warnings.isEmpty());
        QStringEncoder encoder(QStringConverter::System);
        QCOMPARE(readBytes(f.path(QStringLiteral("big.txt"))),
                 QByteArray(encoder.encode(text + QStringLiteral("\r\n"))));
    }

    // Each button sets the mode, shows the chooser once and leaves the view alone on cancel.
    void cancelledChooserKeepsView_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("mode");
        QTest::newRow("bil load") << "BIL_load" << kModeBilLoad;
        QTest::newRow("Text load") << "FILE_LOAD" << kModeTextLoad;
        QTest::newRow("Text save") << "FILE_SAVE" << kModeTextSave;
    }
    void cancelledChooserKeepsView()
    {
        QFETCH(QString, button);
        QFETCH(QString, mode);
        Fixture f;
        const QString before = QStringLiteral("kept\r\ntext");
        f.window->append(before);
        f.click(button.toLatin1().constData());
        QCOMPARE(f.chooserModes, QStringList{mode});
        QCOMPARE(f.window->state().FILE_TYPE, mode);
        QCOMPARE(f.window->text(), before);
        QCOMPARE(f.warnings, QStringList());
        QCOMPARE(f.window->state().PORT_OPEN_FLG, kFalse);
    }

    void textSaveOfEmptyViewShowsNoChooser()
    {
        Fixture f;
        f.click("FILE_SAVE");
        QCOMPARE(f.chooserModes, QStringList());
        QCOMPARE(f.warnings, QStringList{kWarnNonData});
        QCOMPARE(f.window->state().FILE_TYPE, QString());
    }

    // Text save asks isEmpty() instead of building the whole text; both must agree.
    void emptinessAgreesWithText()
    {
        Fixture f;
        for (const QString& text : {QString(), QStringLiteral("\r\n"), QStringLiteral("\n"),
                                    QStringLiteral("\r"), QStringLiteral("x")}) {
            f.window->clear();
            f.window->append(text);
            QCOMPARE(f.window->isEmpty(), f.window->text().isEmpty());
        }
    }

    // What the window shows after "bil load" is exactly what the converter makes of the same
    // choice, also when a failure stops it halfway; the warning comes after the text so far.
    void bilLoadShowsConverterOutput_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("warnings");
        QTest::newRow("one file") << QStringList{"A.BIL"} << 0;
        QTest::newRow("two files, one table") << QStringList{"A.BIL", "B.BIL"} << 0;
        QTest::newRow("second of three missing")
            << QStringList{"A.BIL", "MISSING.BIL", "B.BIL"} << 1;
        QTest::newRow("overflow in third record") << QStringList{"BROKEN.BIL", "A.BIL"} << 1;
    }
    void bilLoadShowsConverterOutput()
    {
        QFETCH(QStringList, names);
        QFETCH(int, warnings);
        Fixture f;
        QVERIFY(writeBytes(f.path("A.BIL"), fullLaps(3, 3)));
        QVERIFY(writeBytes(f.path("B.BIL"), fullLaps(2)));
        QByteArray broken = fullLaps(4);
        broken[2 * BilBuilder::kRecordSize + 4 + 32 + 6] = char(0x80);
        QVERIFY(writeBytes(f.path("BROKEN.BIL"), broken));

        f.pickLapFiles(names);
        f.window->append(QStringLiteral("old text, selected"));
        f.view()->selectAll();
        f.click("BIL_load");

        SharedState expectedState;
        expectedState.PASS_NAME2 = f.dir.path();
        for (const QString& name : names)
            expectedState.GET_NAME += name + u'\r';
        MemoryTextView expected;
        QStringList expectedWarnings;
        convertLapFiles(
            expectedState, expected, [&](const QString& m) { expectedWarnings << m; },
            userDecimalPoint());

        QCOMPARE(f.chooserModes, QStringList{kModeBilLoad});
        QVERIFY(f.window->text().startsWith(QStringLiteral(" LAP")));
        QVERIFY(f.window->text().endsWith(kCrLf));
        QCOMPARE(f.window->text(), expected.text());
        QCOMPARE(f.warnings, expectedWarnings);
        QCOMPARE(f.warnings.size(), warnings);
        QCOMPARE(f.textAtWarning, QStringList(warnings, expected.text()));
        QCOMPARE(f.window->state().GET_NAME, expectedState.GET_NAME);
        // One line of the view per line of the table, and the caret behind the last one.
        QCOMPARE(f.view()->blockCount(), int(expected.text().count(kCrLf)) + 1);
        QVERIFY(f.view()->textCursor().atEnd());
        // The table is not undone line by line into the old text.
        QVERIFY(!f.view()->document()->isUndoAvailable());
    }

    void libraryLoadEqualsBilLoad_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("one file") << QStringList{"A.BIL"};
        QTest::newRow("two units") << QStringList{"A.BIL", "B.BIL"};
        QTest::newRow("faulty file first") << QStringList{"BROKEN.BIL", "A.BIL"};
        QTest::newRow("faulty file between") << QStringList{"B.BIL", "BROKEN.BIL", "A.BIL"};
    }
    // "Load into the table" of the library's sessions gives the view, the warning and the
    // files' names, units, faults and first lines that "bil load" of the lap files gives.
    void libraryLoadEqualsBilLoad()
    {
        QFETCH(QStringList, names);
        Fixture f;
        std::map<QString, QByteArray> bytes{{"A.BIL", fullLaps(3, 3)}, {"B.BIL", fullLaps(2)}};
        QByteArray broken = fullLaps(4);
        broken[2 * BilBuilder::kRecordSize + 4 + 32 + 6] = char(0x80);
        bytes["BROKEN.BIL"] = broken;
        for (const auto& [name, b] : bytes)
            QVERIFY(writeBytes(f.path(name), b));
        f.pickLapFiles(names);
        f.click("BIL_load");
        const QString bilText = f.window->text();
        const QStringList bilWarnings = f.warnings;
        const LoadedFiles bilFiles = f.window->lapFiles();

        LapLibrary* library = f.window->libraryLink().access().library();
        QVERIFY(library);
        std::vector<std::int64_t> ids;
        for (int i = 0; i < names.size(); ++i) {
            SessionSheet sheet;
            sheet.track = QStringLiteral("Ridge");
            const auto added = library->importSession(
                {bytes[names[i]], names[i], QDateTime(QDate(2024, 5, 1 + i), QTime(10, 0)), sheet});
            QVERIFY2(added.ok(), qPrintable(added.error.message));
            ids.push_back(added.value->session);
        }
        f.view()->setPlainText(QStringLiteral("something else"));
        f.warnings.clear();
        LibraryWindow& lw = f.window->libraryLink().libraryWindow();
        lw.reload();
        lw.selectSessions(ids);
        QCOMPARE(lw.selectedSessions(), ids);
        lw.loadIntoTable();

        QCOMPARE(f.window->text(), bilText);
        QCOMPARE(f.warnings, bilWarnings);
        const LoadedFiles files = f.window->lapFiles();
        QCOMPARE(files.unread, bilFiles.unread);
        QCOMPARE(files.files.size(), bilFiles.files.size());
        for (std::size_t i = 0; i < files.files.size(); ++i) {
            const LoadedFile& a = files.files[i];
            const LoadedFile& b = bilFiles.files[i];
            QCOMPARE(a.name, b.name);
            QCOMPARE(a.firstLine, b.firstLine);
            QCOMPARE(a.unit, b.unit);
            QCOMPARE(a.fault, b.fault);
            // The analysis names the session by its track, date and file.
            QVERIFY(QString::fromStdString(a.title).startsWith(QStringLiteral("Ridge ")));
            QVERIFY(QString::fromStdString(a.title).endsWith(QString::fromStdString(a.name)));
        }
        QVERIFY(f.window->analysisWindow() && f.window->analysisWindow()->isVisible());
        // A later "bil load" drops the titles.
        f.click("BIL_load");
        QCOMPARE(f.window->lapFiles().files.front().title, std::string());
        f.window->libraryLink().closeWindows();
    }

    // After "bil load" the analysis window offers the sessions the library lacks; adding them
    // imports them in the library window, and the offer goes.
    void addToLibraryFromAnalysis()
    {
        Fixture f;
        QVERIFY(writeBytes(f.path("A.BIL"), fullLaps(3, 3)));
        QVERIFY(writeBytes(f.path("B.BIL"), fullLaps(2)));
        f.pickLapFiles({"A.BIL", "B.BIL"});
        f.click("BIL_load");
        f.click("ANALYSIS");
        auto* add = f.window->analysisWindow()->findChild<QPushButton*>("addToLibrary");
        QVERIFY(add && add->isVisibleTo(f.window->analysisWindow()));
        QVERIFY2(add->text().contains(u'2'), qPrintable(add->text()));
        add->click();
        LibraryWindow& lw = f.window->libraryLink().libraryWindow();
        QTRY_VERIFY(!lw.importRunner().running());
        QCOMPARE(lw.selectedSessions().size(), std::size_t(2));
        QVERIFY(!add->isVisibleTo(f.window->analysisWindow()));
        QVERIFY(f.window->libraryLink().librarySessionOf(1).has_value());
        f.window->libraryLink().closeWindows();
    }

    // Loading a table, editing it by hand and saving it: the file holds the edit.
    void editedTableIsSaved()
    {
        Fixture f;
        QVERIFY(writeBytes(f.path("A.BIL"), fullLaps(2)));
        f.pickLapFiles({"A.BIL"});
        f.click("BIL_load");
        QVERIFY(!f.window->text().isEmpty());

        f.view()->moveCursor(QTextCursor::Start);
        QTest::keyClicks(f.view(), QStringLiteral("EDIT"));
        QTest::keyClick(f.view(), Qt::Key_Return, Qt::ShiftModifier);
        QVERIFY(f.window->text().startsWith(QStringLiteral("EDIT\r\n LAP")));

        f.pick = [&f](SharedState& state) {
            state.PASS_NAME1 = f.dir.path();
            state.GET_NAME = QStringLiteral("LAP_TXT_DATA");
            state.PORT_OPEN_FLG = kTrue;
        };
        f.click("FILE_SAVE");
        QCOMPARE(f.chooserModes.last(), kModeTextSave);
        QCOMPARE(readBytes(f.path("LAP_TXT_DATA.txt")), (f.window->text() + kCrLf).toUtf8());
    }

    // The settings file is written at close only after an OK in the chooser, in any mode.
    void closeWritesSettingsAfterOk_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("no command") << "" << false;
        QTest::newRow("bil load cancelled") << "BIL_load" << false;
        QTest::newRow("Text load cancelled") << "FILE_LOAD" << false;
        QTest::newRow("bil load OK, nothing chosen") << "BIL_load" << true;
        QTest::newRow("Text load OK, nothing chosen") << "FILE_LOAD" << true;
    }
    void closeWritesSettingsAfterOk()
    {
        QFETCH(QString, button);
        QFETCH(bool, confirm);
        QTemporaryDir dir;
        const QString settings = dir.filePath(QStringLiteral("FILE_PASS.DAT"));
        // Hand-written, so any rewrite shows in the bytes.
        const QByteArray original = "\"/text\"\r\n\"/laps\"\r\nextra line\r\n";
        QVERIFY(writeBytes(settings, original));
        {
            KorvelLoader window(settings);
            QCOMPARE(window.state().PASS_NAME1, QStringLiteral("/text"));
            QCOMPARE(window.state().PASS_NAME2, QStringLiteral("/laps"));
            window.setChooser([confirm](SharedState& state) {
                state.GET_NAME.clear();
                if (confirm)
                    state.PORT_OPEN_FLG = kTrue;
            });
            if (!button.isEmpty())
                window.findChild<QPushButton*>(button)->click();
            window.show();
            QVERIFY(window.close());
        }
        QCOMPARE(readBytes(settings),
                 confirm ? QByteArray("\"/text\"\r\n\"/laps\"\r\n") : original);
    }

    void closeWritesFoldersChosenDuringRun()
    {
        Fixture f;
        f.pickLapFiles({});
        f.click("BIL_load");
        f.window->show();
        QVERIFY(f.window->close());
        QCOMPARE(readBytes(f.window->settingsPath()),
                 QStringLiteral("\"%1\"\r\n\"%2\"\r\n")
                     .arg(f.window->state().PASS_NAME1, f.dir.path())
                     .toUtf8());
    }

    // A settings file that cannot be written does not keep the tool from ending.
    void closeEndsWhenSettingsCannotBeWritten()
    {
        QTemporaryDir dir;
        const QString settings = dir.filePath(QStringLiteral("gone/FILE_PASS.DAT"));
        KorvelLoader window(settings);
        window.state().PORT_OPEN_FLG = kTrue;
        window.show();
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("could not write the settings")));
        QVERIFY(window.close());
        QVERIFY(!QFile::exists(settings));
    }

    // Any text comes back from the view exactly as it was appended.
    void textRoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        QTest::newRow("empty") << "" << 1;
        QTest::newRow("CR LF lines") << "A\r\nB" << 2;
        QTest::newRow("trailing CR LF") << "A\r\nB\r\n" << 3;
        QTest::newRow("empty lines") << "\r\n\r\n\r\n" << 4;
        QTest::newRow("lone LF stays in its line") << "a\nb\nc\r\n" << 2;
        QTest::newRow("lone CR stays in its line") << "a\rb\r\n" << 2;
        QTest::newRow("CR before CR LF") << "a\r\r\nb" << 2;
        QTest::newRow("LF CR is two lone ends") << "a\n\rb" << 1;
        QTest::newRow("text ending in lone CR") << "a\r" << 1;
        QTest::newRow("control pictures as text") << "\u240A\u240D\n\u240A" << 1;
        QTest::newRow("frame marks stay in their line") << "a\uFDD0b\uFDD1\uFDD1c\r\nd" << 2;
        QTest::newRow("replacement character as text") << "\uFFFD\uFDD0\uFFFD" << 1;
        QTest::newRow("no-break space, tab, non-ASCII")
            << "a\u00A0b\tc\r\n\u30e9\u30c3\u30d7 \u00e9" << 2;
        QTest::newRow("table line")
            << "   3  1:05.23    3500~ 9800   45~162  1.2  0.9   80~ 95   70~ 88  2450  \r\n"
            << 2;
    }
    void textRoundTrip()
    {
        QFETCH(QString, text);
        QFETCH(int, lines);
        Fixture f;
        f.window->append(text);
        QCOMPARE(f.window->text(), text);
        QCOMPARE(f.view()->blockCount(), lines);
        // The same through a command's fill.
        f.pick = [&f, text](SharedState& state) {
            state.PASS_NAME1 = f.dir.path();
            state.GET_NAME = QStringLiteral("missing.txt");
            f.window->clear();
            f.window->append(text);
            f.window->append(text);
        };
        f.click("FILE_LOAD"); // the stand-in does the filling; the command finds no file
        QVERIFY(f.window->text().startsWith(text + text));
    }

    void appendReplacesSelectionAndFollowsCaret()
    {
        Fixture f;
        f.window->append(QStringLiteral("hello world\r\nend"));
        QTextCursor cursor = f.view()->textCursor();
        cursor.setPosition(6);
        cursor.setPosition(11, QTextCursor::KeepAnchor);
        f.view()->setTextCursor(cursor);
        f.window->append(QStringLiteral("there\r\n"));
        f.window->append(QStringLiteral("\n"));
        QCOMPARE(f.window->text(), QStringLiteral("hello there\r\n\n\r\nend"));
        f.window->clear();
        QCOMPARE(f.window->text(), QString());
        QCOMPARE(f.view()->textCursor().position(), 0);
    }

    // A control picture the user types or pastes right behind a lone CR or LF is a character
    // of its own, not another line end, although it would take over the stand-in's format.
    void typedPictureAfterStandInStaysCharacter()
    {
        Fixture f;
        f.window->append(QStringLiteral("a\rb"));
        QTextCursor cursor = f.view()->textCursor();
        cursor.setPosition(2);
        f.view()->setTextCursor(cursor);
        f.view()->setFocus();
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                        QStringLiteral("\u240D"));
        QApplication::sendEvent(f.view(), &typed);
        QTest::keyClicks(f.view(), QStringLiteral("x"));
        QCOMPARE(f.window->text(), QStringLiteral("a\r\u240Dxb"));

        QApplication::clipboard()->setText(QStringLiteral("\u240A"));
        cursor = f.view()->textCursor();
        cursor.setPosition(2);
        f.view()->setTextCursor(cursor);
        f.view()->paste();
        QCOMPARE(f.window->text(), QStringLiteral("a\r\u240A\u240Dxb"));
    }

    // The real warning box: warning icon, one OK button, the tool's title as caption.
    void warningBox()
    {
        QTemporaryDir dir;
        KorvelLoader window(dir.filePath(QStringLiteral("FILE_PASS.DAT")));
        window.setChooser([&dir](SharedState& state) {
            state.PASS_NAME2 = dir.path();
            state.GET_NAME = QStringLiteral("MISSING.BIL\r");
        });
        window.show();
        QStringList seen;
        QTimer::singleShot(0, [&seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen << box->windowTitle() << box->text()
                 << QString::number(box->icon() == QMessageBox::Warning)
                 << QString::number(box->buttons().size())
                 << QString::number(box->standardButtons() == QMessageBox::Ok)
                 // Wide enough for its whole title beside the title bar's buttons.
                 << QString::number(box->width() >=
                                    box->fontMetrics().horizontalAdvance(box->windowTitle()) + 150);
            box->button(QMessageBox::Ok)->click();
        });
        window.findChild<QPushButton*>(QStringLiteral("BIL_load"))->click();
        QCOMPARE(seen, QStringList({"Miren Loader", kWarnNonFile, "1", "1", "1", "1"}));
    }

    // The tool's own button follows the language; the three commands keep their captions.
    void analysisButtonFollowsLanguage()
    {
        Fixture f;
        const auto captions = [&f] {
            return QStringList{f.child<QPushButton>("BIL_load")->text(),
                               f.child<QPushButton>("FILE_LOAD")->text(),
                               f.child<QPushButton>("FILE_SAVE")->text(),
                               f.child<QPushButton>("ANALYSIS")->text()};
        };
        QVERIFY(installTranslators(*QCoreApplication::instance(), QStringLiteral("ja")));
        QCoreApplication::processEvents();
        QCOMPARE(captions(), QStringList({"bil load", "Text load", "Text save", "解析"}));
        QVERIFY(installTranslators(*QCoreApplication::instance(), QStringLiteral("en")));
        QCoreApplication::processEvents();
        QCOMPARE(captions(), QStringList({"bil load", "Text load", "Text save", "Analysis"}));
    }
};

MIREN_REGISTER_TEST(TestKorvelLoader)
#include "TestKorvelLoader.moc"
