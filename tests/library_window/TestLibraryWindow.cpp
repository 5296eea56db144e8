// The "Lap library" window through its seams: a library that cannot be opened, an edit of a
// sheet and its undo, an edit made elsewhere meanwhile, delete with its question and its undo
// until the window closes, and lap files imported in the background.
#include "BilBuilder.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "lap_library/LapLibrary.h"
#include "library_view/ProgressChart.h"
#include "library_window/ComparisonDialog.h"
#include "library_window/FilterPane.h"
#include "library_window/ImportRunner.h"
#include "library_window/LibraryAccess.h"
#include "library_window/LibraryWindow.h"
#include "library_window/SessionListModel.h"
#include "library_window/SheetEditor.h"
#include "tool_window/ToolWindow.h"

#include <QFont>
#include <QLabel>
#include <QTableWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <deque>

class TestLibraryWindow : public QObject {
    Q_OBJECT

private:
    // A window on a library in a temp folder; questions are answered from `answers` (-1, the
    // cancel, when none is left) and recorded with the warnings.
    struct Fixture {
        QTemporaryDir dir;
        std::unique_ptr<LibraryAccess> access;
        std::unique_ptr<LibraryWindow> window;
        QStringList warnings, questions;
        std::deque<int> answers;
        QString newLibraryPath;
        std::optional<WarningBoxHook> hook;

        Fixture()
        {
            access = std::make_unique<LibraryAccess>(path());
            window = std::make_unique<LibraryWindow>(*access);
            LibraryDialogs d;
            d.ask = [this](QWidget*, const QString& text, const QStringList&) {
                questions << text;
                if (answers.empty())
                    return -1;
                const int a = answers.front();
                answers.pop_front();
                return a;
            };
            d.newLibrary = [this](QWidget*, const QString&) { return newLibraryPath; };
            window->setDialogs(d);
            hook.emplace([this](const QString& m) { warnings << m; });
        }
        QString path() const { return dir.filePath(QStringLiteral("library.sqlite")); }
        LapLibrary& library() { return *access->library(); }
        std::int64_t add(const QString& name, int laps, int day, const QString& track = {})
        {
            SessionSheet sheet;
            sheet.track = track;
            const auto added = library().importSession(
                {fullLaps(laps), name, QDateTime(QDate(2024, 5, day), QTime(10, 0)), sheet});
            return added.ok() ? added.value->session : 0;
        }
        SessionSheet stored(std::int64_t id)
        {
            const auto info = library().session(id);
            return info.ok() ? info.value->sheet : SessionSheet{};
        }
        // Shows the window with one session chosen and its sheet in the form.
        void choose(std::int64_t id)
        {
            window->show();
            window->reload();
            window->selectSessions({id});
            QCOMPARE(window->sheetEditor()->session(), id);
        }
    };

private slots:
    // What the form's text fields read: setup rows (written back as the form shows them),
    // tags (each once) and temperatures (a comma decimal; nothing for what is no temperature).
    void formTexts()
    {
        const std::pair<QString, QString> setups[] = {
            {"rear = 1.5\nsprocket=10/82", "rear = 1.5\nsprocket = 10/82"},
            {"\n toe = a=b \n\nballast\n", "toe = a=b\nballast"},
            {" = 3", " = 3"}};
        for (const auto& [text, back] : setups) {
            QCOMPARE(setupText(setupRows(text)), back);
            QCOMPARE(setupText(setupRows(back)), back);
        }
        QCOMPARE(tagsOf(" wet, new tyres,,wet , "), (QStringList{"wet", "new tyres"}));
        QCOMPARE(tagsOf(tagsText({"a b", "c"})), (QStringList{"a b", "c"}));
        const std::pair<QString, double> temperatures[] = {
            {"14,5", 14.5}, {" -3 ", -3}, {"900", -999}, {"warm", -999}, {"", -999}, {"nan", -999}};
        for (const auto& [text, value] : temperatures)
            QCOMPARE(temperatureOf(text).value_or(-999), value);
    }

    // A long note without a space (here 300,000 characters; a megabyte in the benchmark of the
    // window): the list keeps only its start, the form shows it at once, an edit saves it.
    void longNoteWithoutSpaces()
    {
        Fixture f;
        const std::int64_t id = f.add(QStringLiteral("A.BIL"), 3, 1);
        SessionSheet sheet;
        const qsizetype length = 3 * SheetEditor::kLongestWrappedText;
        sheet.notesAfter = QString(length, u'n');
        QVERIFY(f.library().setSheet(id, sheet, {}, f.library().session(id).value->revision).ok());
        f.choose(id);
        const QString note =
            f.window->sessionModel()->data(f.window->sessionModel()->index(0, SessionListModel::Note),
                                           Qt::DisplayRole).toString();
        QCOMPARE(note.size(), SessionListModel::kNoteChars + 1);
        QVERIFY(f.window->sessionModel()->session(0).sheet.notesAfter.isEmpty());
        DatedSheet form = f.window->sheetEditor()->formSheet();
        QCOMPARE(form.sheet.notesAfter.size(), length);
        form.sheet.notesAfter += u'!';
        f.window->sheetEditor()->fill(form);
        QVERIFY(f.stored(id).notesAfter.endsWith(u'!'));
    }

    // "Copy from this vehicle's last session" fills the empty fields, not the notes or tags.
    void copyFromLastSession()
    {
        Fixture f;
        const std::int64_t first = f.add(QStringLiteral("A.BIL"), 3, 1);
        const std::int64_t second = f.add(QStringLiteral("B.BIL"), 4, 2);
        SessionSheet sheet;
        sheet.vehicle = QStringLiteral("K1");
        sheet.track = QStringLiteral("Ridge");
        sheet.tyreCompound = QStringLiteral("MG red");
        sheet.setup = {{QStringLiteral("rear"), QStringLiteral("1.5")}};
        sheet.notesAfter = QStringLiteral("first day");
        sheet.tags = {QStringLiteral("test")};
        QVERIFY(f.library().setSheet(first, sheet, {}, f.library().session(first).value->revision).ok());
        f.choose(second);
        auto* copy = f.window->sheetEditor()->findChild<QPushButton*>(QStringLiteral("copyLastSheet"));
        copy->click(); // no vehicle chosen yet
        QCOMPARE(f.warnings.size(), 1);
        DatedSheet form = f.window->sheetEditor()->formSheet();
        form.sheet.vehicle = QStringLiteral("K1");
        form.sheet.tyreCompound = QStringLiteral("MG yellow");
        f.window->sheetEditor()->fill(form);
        copy->click();
        const SessionSheet stored = f.stored(second);
        QCOMPARE(stored.track, QStringLiteral("Ridge"));
        QCOMPARE(stored.tyreCompound, QStringLiteral("MG yellow"));
        QCOMPARE(stored.setup.size(), std::size_t(1));
        QVERIFY(stored.notesAfter.isEmpty() && stored.tags.isEmpty());
        f.window->undoStack()->undo();
        QCOMPARE(f.stored(second).track, QString());
    }

    // A file that is no library: a plain message, the file left as it is, and a new library
    // started elsewhere.
    void unopenableLibraryOffersNewOne()
    {
        Fixture f;
        const QByteArray notLibrary("lap notes, not a library\n");
        QVERIFY(writeBytes(f.path(), notLibrary));
        f.window->show();
        auto* problem = f.window->findChild<QLabel*>(QStringLiteral("libraryProblem"));
        QVERIFY(problem && problem->isVisible());
        QVERIFY2(problem->text().contains(QStringLiteral("cannot be opened")),
                 qPrintable(problem->text()));
        QVERIFY(problem->text().contains(QStringLiteral("left as it is")));

        auto* newLibrary = f.window->findChild<QPushButton*>(QStringLiteral("newLibrary"));
        newLibrary->click(); // the dialog is cancelled
        QVERIFY(problem->isVisible());
        f.newLibraryPath = f.dir.filePath(QStringLiteral("new.sqlite"));
        newLibrary->click();
        QVERIFY(!problem->isVisible());
        QCOMPARE(f.access->path(), f.newLibraryPath);
        QVERIFY(f.add(QStringLiteral("A.BIL"), 3, 1) > 0);
        f.window->reload();
        QCOMPARE(f.window->sessionModel()->rowCount(), 1);
        QCOMPARE(readBytes(f.path()), notLibrary);
        QVERIFY(f.warnings.isEmpty());
    }

    // The filters choose among the rows read once; a sort keeps the chosen sessions chosen.
    void filterAndSort()
    {
        Fixture f;
        const std::int64_t a = f.add(QStringLiteral("A.BIL"), 3, 1, QStringLiteral("Ridge"));
        const std::int64_t b = f.add(QStringLiteral("B.BIL"), 5, 2, QStringLiteral("Lake"));
        const std::int64_t c = f.add(QStringLiteral("C.BIL"), 4, 3, QStringLiteral("Ridge"));
        f.window->show();
        f.window->reload();
        QVERIFY(f.window->filters()->chooseTrack(QStringLiteral("Ridge")));
        QCOMPARE(f.window->sessionModel()->rowCount(), 2);
        QCOMPARE(f.window->sessionModel()->rowOf(b), -1);
        f.window->selectSessions({a});
        f.window->sessionModel()->sort(SessionListModel::Laps, Qt::DescendingOrder);
        QCOMPARE(f.window->sessionModel()->session(0).id, c);
        QCOMPARE(f.window->selectedSessions(), std::vector<std::int64_t>{a});
        f.window->filters()->clear();
        QCOMPARE(f.window->sessionModel()->rowCount(), 3);
        QCOMPARE(f.window->sessionModel()->session(0).id, b);
        QCOMPARE(f.window->selectedSessions(), std::vector<std::int64_t>{a});
    }

    // An edit is saved at once; undo and redo save the sheets back and show them.
    void sheetEditUndoRedo()
    {
        Fixture f;
        const std::int64_t id = f.add(QStringLiteral("A.BIL"), 3, 1);
        f.choose(id);
        DatedSheet form = f.window->sheetEditor()->formSheet();
        form.sheet.track = QStringLiteral("Ridge");
        form.sheet.notesAfter = QStringLiteral("loose rear");
        f.window->sheetEditor()->fill(form);
        QCOMPARE(f.stored(id).notesAfter, QStringLiteral("loose rear"));
        QCOMPARE(f.window->undoStack()->count(), 1);

        f.window->undoStack()->undo();
        QCOMPARE(f.stored(id).notesAfter, QString());
        QCOMPARE(f.stored(id).track, QString());
        QCOMPARE(f.window->sheetEditor()->formSheet().sheet.notesAfter, QString());
        f.window->undoStack()->redo();
        QCOMPARE(f.stored(id).track, QStringLiteral("Ridge"));
        QCOMPARE(f.window->sheetEditor()->formSheet().sheet.notesAfter,
                 QStringLiteral("loose rear"));
        QVERIFY(f.warnings.isEmpty());
    }

    void editMadeElsewhere_data()
    {
        QTest::addColumn<int>("answer"); // 0 keep mine, 1 take theirs, -1 cancel
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("notes");
        QTest::newRow("keep mine") << 0 << "Ann" << "understeer";
        QTest::newRow("take theirs") << 1 << "Bea" << "understeer";
        QTest::newRow("cancel") << -1 << "Bea" << "";
    }

    // Another process changed the driver and the tyre set while the form was open; the form
    // changes the driver and the notes. Both edits are kept; for the driver the user chooses.
    void editMadeElsewhere()
    {
        QFETCH(int, answer);
        QFETCH(QString, driver);
        QFETCH(QString, notes);
        Fixture f;
        const std::int64_t id = f.add(QStringLiteral("A.BIL"), 3, 1);
        f.choose(id);
        {
            auto other = LapLibrary::open(f.path(), LapLibrary::Mode::ReadWrite);
            QVERIFY(other.ok());
            const auto info = (*other.value)->session(id);
            SessionSheet theirs = info.value->sheet;
            theirs.driver = QStringLiteral("Bea");
            theirs.tyreSet = QStringLiteral("B");
            QVERIFY((*other.value)->setSheet(id, theirs, {}, info.value->revision).ok());
        }
        if (answer >= 0)
            f.answers.push_back(answer);
        DatedSheet form = f.window->sheetEditor()->formSheet();
        form.sheet.driver = QStringLiteral("Ann");
        form.sheet.notesAfter = QStringLiteral("understeer");
        f.window->sheetEditor()->fill(form);

        QCOMPARE(f.questions.size(), 1);
        QVERIFY(f.questions[0].contains(QStringLiteral("yours \"Ann\", theirs \"Bea\"")));
        QCOMPARE(f.stored(id).driver, driver);
        QCOMPARE(f.stored(id).notesAfter, notes);
        QCOMPARE(f.stored(id).tyreSet, QStringLiteral("B"));
        if (answer < 0) {
            // Nothing lost: the edit stays in the form and is saved at the next change.
            QCOMPARE(f.window->sheetEditor()->formSheet().sheet.driver, QStringLiteral("Ann"));
            QVERIFY(f.window->statusText().contains(QStringLiteral("Nothing saved")));
            f.answers.push_back(0);
            form.sheet.tyreCompound = QStringLiteral("soft");
            f.window->sheetEditor()->fill(form);
            QCOMPARE(f.stored(id).driver, QStringLiteral("Ann"));
            QCOMPARE(f.stored(id).notesAfter, QStringLiteral("understeer"));
            QCOMPARE(f.stored(id).tyreSet, QStringLiteral("B"));
        } else {
            QCOMPARE(f.window->sheetEditor()->formSheet().sheet.tyreSet, QStringLiteral("B"));
        }
        QVERIFY(f.warnings.isEmpty());
    }

    // Delete asks first; undo brings the sessions back until the window closes, which ends them.
    void deleteAndUndo()
    {
        Fixture f;
        const std::int64_t a = f.add(QStringLiteral("A.BIL"), 3, 1);
        const std::int64_t b = f.add(QStringLiteral("B.BIL"), 4, 2);
        const std::int64_t c = f.add(QStringLiteral("C.BIL"), 5, 3);
        f.window->show();
        f.window->reload();
        f.window->selectSessions({a, c});
        f.window->deleteSelected(); // cancelled
        QCOMPARE(f.window->sessionModel()->rowCount(), 3);
        QVERIFY(f.questions.value(0).startsWith(QStringLiteral("Delete 2 session")));

        f.answers.push_back(0);
        f.window->deleteSelected();
        QCOMPARE(f.window->sessionModel()->rowCount(), 1);
        QCOMPARE(f.library().sessions().size(), std::size_t(1));
        f.window->undoStack()->undo();
        QCOMPARE(f.window->sessionModel()->rowCount(), 3);
        QCOMPARE(f.window->selectedSessions(), (std::vector<std::int64_t>{a, c}));
        f.window->undoStack()->redo();
        QCOMPARE(f.window->sessionModel()->rowCount(), 1);

        f.window->close();
        QCOMPARE(f.window->undoStack()->count(), 0);
        static_cast<void>(f.library().restore({a, c})); // nothing is left to bring back
        QCOMPARE(f.library().sessions().size(), std::size_t(1));
        QVERIFY(!f.library().session(a).ok());
        QVERIFY(f.library().session(b).ok());
        QVERIFY(f.warnings.isEmpty());
    }

    // Compare… on two chosen sessions: their best laps side by side, against a target typed;
    // a session of another sector layout is refused with the reason.
    void compareChosenSessions()
    {
        Fixture f;
        const std::vector<SampleFile> samples = sampleFiles(); // one sector; six; six
        std::vector<std::int64_t> ids;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const auto added = f.library().importSession(
                {samples[i].bytes, samples[i].name, QDateTime(QDate(2024, 5, 1 + int(i)), QTime(10, 0)), {}});
            QVERIFY(added.ok());
            ids.push_back(added.value->session);
        }
        f.window->show();
        f.window->reload();
        f.window->selectSessions({ids[1], ids[2]});
        f.window->compareSelected();
        ComparisonDialog* dialog = f.window->comparisonDialog();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY2(dialog->comparison().ok(), qPrintable(dialog->comparison().refused));
        QCOMPARE(dialog->comparison().sectors.size(), std::size_t(6));
        QCOMPARE(dialog->comparison().whole.laps[0].gap, 0); // the first session's best itself
        QCOMPARE(dialog->table()->rowCount(), 7);
        dialog->setReference({ReferenceKind::Target, 6000});
        dialog->compare();
        QCOMPARE(dialog->comparison().whole.reference, 6000);
        QCOMPARE(dialog->comparison().whole.laps[0].gap, 6401 - 6000);

        f.window->selectSessions({ids[0], ids[1]});
        f.window->compareSelected();
        QVERIFY(!dialog->comparison().ok());
        QVERIFY(dialog->refusal()->isVisible());
        QVERIFY2(dialog->refusal()->text().contains(QStringLiteral("has 1 sectors and")),
                 qPrintable(dialog->refusal()->text()));
        dialog->close();
    }

    // The progress chart: days placed by their dates, the best lap lower the faster, and the
    // hover text of the best lap telling how the personal best stood.
    void progressChart()
    {
        std::vector<ProgressDay> days(3);
        days[0].day = QDate(2024, 5, 1);
        days[0].figures = {6450, 0, 6400, 6600, 10};
        days[0].improved = true;
        days[1].day = QDate(2024, 6, 1);
        days[1].figures = {6400, 0, 6380, 6550, 9};
        days[1].improved = true;
        days[1].gapToPrevious = -50;
        days[2].day = QDate(2024, 7, 1);
        days[2].figures = {6500, 0, 6420, std::nullopt, 8};
        days[2].gapToPrevious = 100;
        ProgressChart chart;
        chart.setDays(progressPoints(days));
        const ProgressLayout l = chart.layout(QRectF(0, 0, 800, 500), QFontMetricsF(QFont()));
        std::vector<QPointF> best;
        for (std::size_t d = 0; d < 3; ++d) {
            const auto p = chart.pointOf(l, d, ProgressSeries::Best);
            QVERIFY(p && l.frame.contains(*p));
            best.push_back(*p);
        }
        QVERIFY(!chart.pointOf(l, 2, ProgressSeries::Median));
        QVERIFY(qAbs((best[1].x() - best[0].x()) / (best[2].x() - best[1].x()) - 31.0 / 30) < 0.01);
        QVERIFY(best[1].y() > best[0].y() && best[0].y() > best[2].y());
        const QString texts[] = {QStringLiteral("The first personal best"),
                                 QStringLiteral("Personal best improved by 0.50 s"),
                                 QStringLiteral("+1.00 to the personal best before it")};
        for (std::size_t d = 0; d < 3; ++d) {
            const auto hit = chart.hitTest(l, best[d]);
            QVERIFY(hit && hit->day == d && hit->series == ProgressSeries::Best);
            QVERIFY2(chart.hitText(*hit).contains(texts[d]), qPrintable(chart.hitText(*hit)));
        }
    }

    // Files import in the background; the list then shows them chosen, a bad file is named.
    void importInBackground()
    {
        Fixture f;
        QVERIFY(writeBytes(f.dir.filePath(QStringLiteral("A.BIL")), fullLaps(3)));
        QVERIFY(writeBytes(f.dir.filePath(QStringLiteral("B.BIL")), fullLaps(4, 3)));
        const QStringList files{f.dir.filePath(QStringLiteral("A.BIL")),
                                f.dir.filePath(QStringLiteral("MISSING.BIL")),
                                f.dir.filePath(QStringLiteral("B.BIL"))};
        f.window->show();
        f.window->importFiles(files);
        QTRY_VERIFY(!f.window->importRunner().running());
        QCOMPARE(f.window->sessionModel()->rowCount(), 2);
        QCOMPARE(f.window->selectedSessions().size(), std::size_t(2));
        QVERIFY2(f.window->statusText().startsWith(QStringLiteral("2 added, 0 already")),
                 qPrintable(f.window->statusText()));
        QCOMPARE(f.warnings.size(), 1);
        QVERIFY(f.warnings[0].contains(QStringLiteral("MISSING.BIL")));

        f.window->importFiles(files.mid(0, 1));
        QTRY_VERIFY(!f.window->importRunner().running());
        QVERIFY(f.window->statusText().startsWith(QStringLiteral("0 added, 1 already")));
        QCOMPARE(f.window->sessionModel()->rowCount(), 2);
    }
};

MIREN_REGISTER_TEST(TestLibraryWindow)
#include "TestLibraryWindow.moc"
