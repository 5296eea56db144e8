#include "library_window/LibraryWindow.h"

#include "lap_library/LapFileScan.h"
#include "lap_library/LibraryComparison.h"
#include "library_view/SheetLines.h"
#include "library_window/BestsPane.h"
#include "library_window/ComparisonDialog.h"
#include "library_window/FilterPane.h"
#include "library_window/LibraryAccess.h"
#include "library_window/ProgressPane.h"
#include "library_window/SessionListModel.h"
#include "library_window/SheetEditor.h"
#include "session_report/SessionReport.h"
#include "tool_window/ToolWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>

namespace {

enum Tab { SessionsTab, BestsTab, ProgressTab };

// Short texts of a sheet's field for the question about two edits at once.
QString fieldName(SheetField field)
{
    switch (field) {
    case SheetField::Track: return LibraryWindow::tr("Track");
    case SheetField::Layout: return LibraryWindow::tr("Layout");
    case SheetField::Vehicle: return LibraryWindow::tr("Vehicle");
    case SheetField::Driver: return LibraryWindow::tr("Driver");
    case SheetField::Conditions: return LibraryWindow::tr("Conditions");
    case SheetField::AirTemperature: return LibraryWindow::tr("Air °C");
    case SheetField::TrackTemperature: return LibraryWindow::tr("Track °C");
    case SheetField::TyreCompound: return LibraryWindow::tr("Tyre compound");
    case SheetField::TyreSet: return LibraryWindow::tr("Tyre set");
    case SheetField::ColdPressures: return LibraryWindow::tr("Cold pressures");
    case SheetField::HotPressures: return LibraryWindow::tr("Hot pressures");
    case SheetField::Setup: return LibraryWindow::tr("Setup");
    case SheetField::NotesBefore: return LibraryWindow::tr("Notes before");
    case SheetField::NotesAfter: return LibraryWindow::tr("Notes after");
    case SheetField::Tags: return LibraryWindow::tr("Tags");
    case SheetField::Date: return LibraryWindow::tr("Date");
    }
    return {};
}

QString fieldValue(const DatedSheet& d, SheetField field)
{
    const SessionSheet& s = d.sheet;
    const auto temperature = [](const std::optional<double>& t) {
        return t ? QString::number(*t) : QString();
    };
    QString text;
    switch (field) {
    case SheetField::Track: text = s.track; break;
    case SheetField::Layout: text = s.layout; break;
    case SheetField::Vehicle: text = s.vehicle; break;
    case SheetField::Driver: text = s.driver; break;
    case SheetField::Conditions: text = SheetLines::conditionsWord(s.conditions); break;
    case SheetField::AirTemperature: text = temperature(s.airTemperature); break;
    case SheetField::TrackTemperature: text = temperature(s.trackTemperature); break;
    case SheetField::TyreCompound: text = s.tyreCompound; break;
    case SheetField::TyreSet: text = s.tyreSet; break;
    case SheetField::ColdPressures: text = s.coldPressures; break;
    case SheetField::HotPressures: text = s.hotPressures; break;
    case SheetField::Setup: text = setupText(s.setup); break;
    case SheetField::NotesBefore: text = s.notesBefore; break;
    case SheetField::NotesAfter: text = s.notesAfter; break;
    case SheetField::Tags: text = tagsText(s.tags); break;
    case SheetField::Date: text = sessionDateText(d.date); break;
    }
    text = text.left(61).simplified();
    if (text.size() > 60)
        text = text.left(60) + QChar(0x2026);
    return text;
}

// An edit of sheets, saved when made; undo saves the sheets they replaced.
class SheetEditCommand : public QUndoCommand {
public:
    struct Change {
        std::int64_t session;
        DatedSheet before, after;
    };
    SheetEditCommand(LibraryWindow& window, std::vector<Change> changes, const QString& text)
        : QUndoCommand(text), window_(window), changes_(std::move(changes))
    {
    }
    void undo() override { apply(false); }
    void redo() override
    {
        // The edit was saved when it was made.
        if (done_)
            apply(true);
        done_ = true;
    }

private:
    void apply(bool forward)
    {
        for (Change& c : changes_) {
            const DatedSheet& from = forward ? c.before : c.after;
            const DatedSheet& to = forward ? c.after : c.before;
            const auto saved = window_.saveSheet(c.session, from, to);
            if (!saved) {
                // What cannot be saved cannot be undone or redone either.
                setObsolete(true);
                return;
            }
            (forward ? c.after : c.before) = saved->sheet;
        }
    }

    LibraryWindow& window_;
    std::vector<Change> changes_;
    bool done_ = false;
};

// Sessions removed (softly, until the window closes), and brought back by undo.
class RemovalCommand : public QUndoCommand {
public:
    RemovalCommand(LibraryWindow& window, std::vector<std::int64_t> ids, const QString& text)
        : QUndoCommand(text), window_(window), ids_(std::move(ids))
    {
    }
    void undo() override
    {
        if (!window_.removeSessions(ids_, false))
            setObsolete(true);
    }
    void redo() override
    {
        if (done_ && !window_.removeSessions(ids_, true))
            setObsolete(true);
        done_ = true;
    }

private:
    LibraryWindow& window_;
    std::vector<std::int64_t> ids_;
    bool done_ = false;
};

} // namespace

LibraryWindow::LibraryWindow(LibraryAccess& access, QWidget* parent)
    : QWidget(parent, Qt::Window), access_(access)
{
    setObjectName(QStringLiteral("libraryWindow"));
    resize(1180, 720);
    undo_ = new QUndoStack(this);
    lastFolder_ = QDir::homePath();

    const auto button = [this](const char* name) {
        auto* b = new QPushButton;
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    importFiles_ = button("importLapFiles");
    importFolder_ = button("importFolder");
    loadButton_ = button("loadIntoTable");
    compareButton_ = button("compareSessions");
    deleteButton_ = button("deleteSessions");
    QAction* undoAction = undo_->createUndoAction(this);
    undoAction->setShortcut(QKeySequence::Undo);
    undoAction->setObjectName(QStringLiteral("undoAction"));
    QAction* redoAction = undo_->createRedoAction(this);
    redoAction->setShortcut(QKeySequence::Redo);
    addAction(undoAction);
    addAction(redoAction);
    undoButton_ = new QToolButton;
    undoButton_->setDefaultAction(undoAction);
    redoButton_ = new QToolButton;
    redoButton_->setDefaultAction(redoAction);
    connect(importFiles_, &QPushButton::clicked, this, &LibraryWindow::importLapFiles);
    connect(importFolder_, &QPushButton::clicked, this, &LibraryWindow::importFolder);
    connect(loadButton_, &QPushButton::clicked, this, &LibraryWindow::loadIntoTable);
    connect(compareButton_, &QPushButton::clicked, this, &LibraryWindow::compareSelected);
    connect(deleteButton_, &QPushButton::clicked, this, &LibraryWindow::deleteSelected);

    auto* actions = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{importFiles_, importFolder_, loadButton_,
                                                      compareButton_, deleteButton_})
        actions->addWidget(w);
    actions->addSpacing(12);
    actions->addWidget(undoButton_);
    actions->addWidget(redoButton_);
    actions->addStretch();

    filters_ = new FilterPane;
    filters_->setObjectName(QStringLiteral("filters"));
    model_ = new SessionListModel(this);
    list_ = new QTableView;
    list_->setObjectName(QStringLiteral("sessionList"));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setWordWrap(false);
    list_->verticalHeader()->hide();
    // Fixed row heights: nothing is measured over thousands of rows.
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    list_->horizontalHeader()->setStretchLastSection(true);
    const QFontMetrics metrics = list_->fontMetrics();
    const int widths[] = {metrics.horizontalAdvance(QStringLiteral("0000-00-00 00:00")),
                          metrics.horizontalAdvance(QStringLiteral("Suzuka / East Course")),
                          metrics.horizontalAdvance(QStringLiteral("Kart 125 shifter")),
                          metrics.horizontalAdvance(QStringLiteral("Driver name")),
                          metrics.horizontalAdvance(QStringLiteral("00000")),
                          metrics.horizontalAdvance(QStringLiteral("00:00.00")),
                          metrics.horizontalAdvance(QStringLiteral("00:00.00")),
                          metrics.horizontalAdvance(QStringLiteral("00:00.00")),
                          metrics.horizontalAdvance(QStringLiteral("A note of some length, cut")),
                          metrics.horizontalAdvance(QStringLiteral("SESSION_00.BIL"))};
    for (int c = 0; c < SessionListModel::ColumnCount; ++c)
        list_->horizontalHeader()->resizeSection(c, widths[c] + 18);
    list_->setSortingEnabled(true);
    list_->horizontalHeader()->setSortIndicator(SessionListModel::Date, Qt::AscendingOrder);
    bests_ = new BestsPane;
    progress_ = new ProgressPane;
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("libraryTabs"));
    tabs_->addTab(list_, QString());
    tabs_->addTab(bests_, QString());
    tabs_->addTab(progress_, QString());
    editor_ = new SheetEditor;
    editor_->setObjectName(QStringLiteral("sheetEditor"));

    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(filters_);
    split->addWidget(tabs_);
    split->addWidget(editor_);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setStretchFactor(2, 0);
    split->setSizes({200, 640, 340});

    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("libraryStatus"));
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    progressBar_ = new QProgressBar;
    progressBar_->setObjectName(QStringLiteral("importProgress"));
    cancelImport_ = button("cancelImport");
    progressBar_->hide();
    cancelImport_->hide();
    connect(cancelImport_, &QPushButton::clicked, &import_, &ImportRunner::cancel);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(progressBar_);
    bottom->addWidget(cancelImport_);

    auto* libraryPage = new QWidget;
    auto* libraryLayout = new QVBoxLayout(libraryPage);
    libraryLayout->setContentsMargins(0, 0, 0, 0);
    libraryLayout->addLayout(actions);
    libraryLayout->addWidget(split, 1);
    libraryLayout->addLayout(bottom);

    problem_ = new QLabel;
    problem_->setObjectName(QStringLiteral("libraryProblem"));
    problem_->setWordWrap(true);
    problem_->setAlignment(Qt::AlignCenter);
    problem_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    newLibrary_ = button("newLibrary");
    connect(newLibrary_, &QPushButton::clicked, this, &LibraryWindow::startNewLibrary);
    auto* problemPage = new QWidget;
    auto* problemLayout = new QVBoxLayout(problemPage);
    problemLayout->addStretch();
    problemLayout->addWidget(problem_);
    problemLayout->addWidget(newLibrary_, 0, Qt::AlignCenter);
    problemLayout->addStretch();

    pages_ = new QStackedWidget;
    pages_->addWidget(libraryPage);
    pages_->addWidget(problemPage);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);

    connect(filters_, &FilterPane::filterChanged, this, &LibraryWindow::filterChanged);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        showCurrentSession();
        updateButtons();
    });
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &LibraryWindow::showCurrentSession);
    connect(list_, &QTableView::doubleClicked, this, &LibraryWindow::loadIntoTable);
    connect(tabs_, &QTabWidget::currentChanged, this, &LibraryWindow::updateSide);
    connect(progress_, &ProgressPane::choiceChanged, this, &LibraryWindow::updateSide);
    connect(bests_, &BestsPane::sessionActivated, this, [this](std::int64_t session) {
        tabs_->setCurrentIndex(SessionsTab);
        selectSessions({session});
    });
    connect(editor_, &SheetEditor::edited, this, &LibraryWindow::sheetEdited);
    connect(editor_, &SheetEditor::copyLastRequested, this, &LibraryWindow::copyLastSheet);
    connect(&import_, &ImportRunner::progress, this, [this](int done, int total) {
        progressBar_->setRange(0, total);
        progressBar_->setValue(done);
    });
    connect(&import_, &ImportRunner::finished, this, &LibraryWindow::importFinished);
    connect(&access_, &LibraryAccess::switched, this, [this] {
        undo_->clear();
        revisions_.clear();
    });
    setCaptions();
    updateButtons();
}

LibraryWindow::~LibraryWindow()
{
    finishEdits();
}

void LibraryWindow::setCaptions()
{
    setWindowTitle(tr("Lap library"));
    importFiles_->setText(tr("&Import lap files…"));
    importFolder_->setText(tr("Import f&older…"));
    loadButton_->setText(tr("&Load into the table"));
    loadButton_->setToolTip(tr("Puts the chosen sessions into the main window's table, as \"bil "
                               "load\" of their lap files would"));
    compareButton_->setText(tr("Co&mpare…"));
    compareButton_->setToolTip(tr("Compares the best laps of the chosen sessions (2 to 8) sector "
                                  "by sector"));
    deleteButton_->setText(tr("&Delete"));
    tabs_->setTabText(SessionsTab, tr("&Sessions"));
    tabs_->setTabText(BestsTab, tr("Personal &bests"));
    tabs_->setTabText(ProgressTab, tr("&Progress"));
    cancelImport_->setText(tr("Cancel"));
    newLibrary_->setText(tr("Start a &new library elsewhere…"));
}

void LibraryWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        setCaptions();
        if (access_.existing())
            updateSide();
    }
    QWidget::changeEvent(event);
}

void LibraryWindow::setDialogs(LibraryDialogs dialogs)
{
    dialogs_ = std::move(dialogs);
}

void LibraryWindow::setLoad(LoadFn load)
{
    load_ = std::move(load);
}

ComparisonDialog* LibraryWindow::comparisonDialog() const
{
    return comparison_;
}

QString LibraryWindow::statusText() const
{
    return status_->text();
}

void LibraryWindow::setStatus(const QString& text)
{
    status_->setText(text);
}

void LibraryWindow::showEvent(QShowEvent* event)
{
    if (openLibrary() && model_->rowCount() == 0)
        reload();
    QWidget::showEvent(event);
}

// Shows the library, or why it cannot be opened. The file is never touched then.
bool LibraryWindow::openLibrary()
{
    LapLibrary* library = access_.library();
    if (!library) {
        problem_->setText(tr("The lap library cannot be opened.\n\n%1\n\nYou can start a new "
                             "library elsewhere; this file is left as it is.")
                              .arg(access_.error().message));
        pages_->setCurrentIndex(1);
        return false;
    }
    pages_->setCurrentIndex(0);
    return true;
}

void LibraryWindow::startNewLibrary()
{
    const QFileInfo old(access_.path());
    const QString proposed = old.absoluteDir().filePath(QStringLiteral("library-new.sqlite"));
    const QString path = dialogs_.newLibrary ? dialogs_.newLibrary(this, proposed) : QString();
    if (path.isEmpty())
        return;
    if (!access_.switchTo(path)) {
        problem_->setText(tr("The lap library cannot be opened.\n\n%1\n\nYou can start a new "
                             "library elsewhere; this file is left as it is.")
                              .arg(access_.error().message));
        return;
    }
    pages_->setCurrentIndex(0);
    reload();
}

void LibraryWindow::reload()
{
    LapLibrary* library = access_.library();
    if (!library)
        return;
    filters_->reload(*library);
    editor_->setChoices(library->values(LapLibrary::Field::Track),
                        library->values(LapLibrary::Field::Layout),
                        library->values(LapLibrary::Field::Vehicle),
                        library->values(LapLibrary::Field::Driver));
    readSessions();
    filterChanged();
    QString text = QDir::toNativeSeparators(library->path());
    if (library->readOnly())
        text = tr("%1 (read only: %2)").arg(text, library->readOnlyReason());
    setStatus(text);
}

// Every session of the library into the list's rows, once; the filters then only choose.
void LibraryWindow::readSessions()
{
    LapLibrary* library = access_.library();
    if (!library)
        return;
    const std::vector<std::int64_t> selected = selectedSessions();
    std::vector<SessionInfo> sessions = library->sessions();
    // A revision already known is that of a sheet being edited or saved here: a newer one
    // read now would let the next save overwrite what changed elsewhere instead of merging.
    for (const SessionInfo& s : sessions)
        revisions_.try_emplace(s.id, s.revision);
    if (!library->queryError().isEmpty())
        setStatus(library->queryError());
    model_->setSessions(std::move(sessions));
    selectSessions(selected);
}

void LibraryWindow::filterChanged()
{
    LapLibrary* library = access_.library();
    if (!library)
        return;
    const std::vector<std::int64_t> selected = selectedSessions();
    model_->showOnly(library->sessionIds(filters_->filter()));
    if (!library->queryError().isEmpty())
        setStatus(library->queryError());
    selectSessions(selected);
    showCurrentSession();
    updateSide();
    updateButtons();
}

// The bests and the progress only while they are shown.
void LibraryWindow::updateSide()
{
    LapLibrary* library = access_.existing();
    if (!library)
        return;
    if (tabs_->currentIndex() == BestsTab) {
        bests_->showBests(library->bests(filters_->filter()));
    } else if (tabs_->currentIndex() == ProgressTab) {
        const QModelIndex current = list_->currentIndex();
        const SessionSheet* suggestion =
            current.isValid() ? &model_->session(current.row()).sheet : nullptr;
        progress_->reload(*library, suggestion);
        progress_->showProgress(*library, filters_->filter());
    }
    // An empty pane is no answer when the library could not be read.
    if (!library->queryError().isEmpty())
        setStatus(library->queryError());
}

std::vector<std::int64_t> LibraryWindow::selectedSessions() const
{
    std::vector<std::int64_t> ids;
    for (const QModelIndex& row : list_->selectionModel()->selectedRows())
        ids.push_back(model_->session(row.row()).id);
    std::sort(ids.begin(), ids.end(), [this](std::int64_t a, std::int64_t b) {
        const SessionInfo& x = model_->session(model_->rowOf(a));
        const SessionInfo& y = model_->session(model_->rowOf(b));
        return x.date < y.date || (x.date == y.date && x.id < y.id);
    });
    return ids;
}

void LibraryWindow::selectSessions(const std::vector<std::int64_t>& ids)
{
    QItemSelection selection;
    int first = -1;
    for (std::int64_t id : ids) {
        const int row = model_->rowOf(id);
        if (row < 0)
            continue;
        if (first < 0)
            first = row;
        selection.select(model_->index(row, 0), model_->index(row, SessionListModel::ColumnCount - 1));
    }
    QItemSelectionModel* model = list_->selectionModel();
    if (first >= 0)
        model->setCurrentIndex(model_->index(first, 0), QItemSelectionModel::NoUpdate);
    model->select(selection, QItemSelectionModel::ClearAndSelect);
    if (first >= 0)
        list_->scrollTo(model_->index(first, 0));
}

QString LibraryWindow::sessionTitle(const SessionInfo& info) const
{
    return tr("Session %1: %2, %3").arg(QString::number(info.id), info.fileName,
                                        sessionDateText(info.date));
}

void LibraryWindow::showCurrentSession()
{
    const QModelIndex current = list_->currentIndex();
    LapLibrary* library = access_.existing();
    if (!current.isValid() || !library ||
        !list_->selectionModel()->isRowSelected(current.row())) {
        if (editor_->session() != 0)
            editor_->clearSheet();
        return;
    }
    const std::int64_t id = model_->session(current.row()).id;
    if (editor_->session() == id)
        return;
    // The whole sheet, notes and lists included, as stored now.
    const auto info = library->session(id);
    if (!info.ok()) {
        editor_->clearSheet();
        return;
    }
    revisions_[id] = info.value->revision;
    editor_->showSheet(id, {info.value->sheet, info.value->date}, sessionTitle(*info.value));
}

void LibraryWindow::updateButtons()
{
    const std::size_t selected = list_->selectionModel()->selectedRows().size();
    const bool idle = !import_.running();
    importFiles_->setEnabled(idle);
    importFolder_->setEnabled(idle);
    loadButton_->setEnabled(selected > 0);
    compareButton_->setEnabled(selected >= 1 && selected <= std::size_t(kMaxComparedLaps));
    deleteButton_->setEnabled(selected > 0 && idle);
}

std::optional<LibraryWindow::Saved> LibraryWindow::saveSheet(std::int64_t session, DatedSheet base,
                                                             const DatedSheet& target)
{
    LapLibrary* library = access_.library();
    if (!library)
        return std::nullopt;
    if (!revisions_.contains(session)) {
        const auto info = library->session(session);
        if (!info.ok()) {
            showWarningBox(this, info.error.message);
            return std::nullopt;
        }
        revisions_[session] = info.value->revision;
    }
    Saved saved{target, base};
    // Another change may come in between each look and save: a few rounds settle it.
    for (int round = 0; round < 3; ++round) {
        const auto result =
            library->setSheet(session, saved.sheet.sheet, saved.sheet.date, revisions_[session]);
        if (result.ok()) {
            revisions_[session] = *result.value;
            const auto info = library->session(session);
            if (info.ok())
                model_->updateSession(*info.value);
            if (editor_->session() == session)
                editor_->setSaved(saved.sheet);
            access_.notifyChanged();
            return saved;
        }
        if (result.error.kind != LibraryError::Kind::Conflict) {
            showWarningBox(this, result.error.message);
            return std::nullopt;
        }
        // Changed elsewhere since it was read: theirs and ours merged, field by field.
        const auto now = library->session(session);
        if (!now.ok()) {
            showWarningBox(this, now.error.message);
            return std::nullopt;
        }
        const DatedSheet theirs{now.value->sheet, now.value->date};
        SheetMerge merge = mergeSheets(base, target, theirs);
        if (!merge.conflicts.empty()) {
            QStringList fields;
            for (SheetField field : merge.conflicts)
                fields << tr("%1: yours \"%2\", theirs \"%3\"")
                              .arg(fieldName(field), fieldValue(target, field),
                                   fieldValue(theirs, field));
            const int answer = dialogs_.ask(
                this,
                tr("Session %1 was changed elsewhere (in another window or by miren-library) "
                   "while you edited it here. Both changed:\n\n%2\n\nKeep yours in these "
                   "fields, or take theirs? Every other change, yours and theirs, is kept.")
                    .arg(QString::number(session), fields.join(QLatin1Char('\n'))),
                {tr("Keep mine"), tr("Take theirs")});
            if (answer < 0) {
                // The revision stays as it was read: the next save merges with theirs again.
                setStatus(tr("Nothing saved: your edit of session %1 stays in the form.")
                              .arg(session));
                return std::nullopt;
            }
            if (answer == 0)
                takeFields(merge.merged, target, merge.conflicts);
        } else {
            setStatus(tr("Session %1 was changed elsewhere too; both changes are kept.")
                          .arg(session));
        }
        revisions_[session] = now.value->revision;
        saved.sheet = merge.merged;
        saved.replaced = theirs;
        base = theirs;
    }
    showWarningBox(this, tr("Session %1 keeps being changed elsewhere; nothing was saved.")
                             .arg(session));
    return std::nullopt;
}

void LibraryWindow::sheetEdited(std::int64_t session, const DatedSheet& before,
                                const DatedSheet& after)
{
    const auto saved = saveSheet(session, before, after);
    if (!saved) {
        // Nothing stored: the form keeps the edit, and the next change tries again.
        editor_->setSavedOnly(before);
        return;
    }
    undo_->push(new SheetEditCommand(*this, {{session, saved->replaced, saved->sheet}},
                                     tr("edit of session %1").arg(session)));
    // A new track or vehicle joins the filters' lists.
    if (before.sheet.track != after.sheet.track || before.sheet.layout != after.sheet.layout ||
        before.sheet.vehicle != after.sheet.vehicle || before.sheet.driver != after.sheet.driver ||
        before.sheet.tags != after.sheet.tags)
        if (LapLibrary* library = access_.existing())
            filters_->reload(*library);
}

void LibraryWindow::copyLastSheet()
{
    LapLibrary* library = access_.library();
    if (!library || editor_->session() == 0)
        return;
    DatedSheet form = editor_->formSheet();
    if (form.sheet.vehicle.isEmpty()) {
        showWarningBox(this, tr("Choose the vehicle first: its last session's sheet is copied."));
        return;
    }
    const auto last = library->lastSheetOfVehicle(form.sheet.vehicle, form.date);
    if (!last) {
        showWarningBox(this, tr("%1 has no session before this one.").arg(form.sheet.vehicle));
        return;
    }
    // The fields the sheet has stay; the empty ones take the last session's.
    SessionSheet& s = form.sheet;
    const auto fill = [](auto& field, const auto& from) {
        if (field == std::remove_cvref_t<decltype(field)>{})
            field = from;
    };
    fill(s.track, last->track);
    fill(s.layout, last->layout);
    fill(s.driver, last->driver);
    fill(s.conditions, last->conditions);
    fill(s.airTemperature, last->airTemperature);
    fill(s.trackTemperature, last->trackTemperature);
    fill(s.tyreCompound, last->tyreCompound);
    fill(s.tyreSet, last->tyreSet);
    fill(s.coldPressures, last->coldPressures);
    fill(s.hotPressures, last->hotPressures);
    fill(s.setup, last->setup);
    editor_->fill(form);
}

bool LibraryWindow::removeSessions(const std::vector<std::int64_t>& ids, bool remove)
{
    LapLibrary* library = access_.library();
    if (!library)
        return false;
    const LibraryResult<> done =
        remove ? library->remove(ids, LapLibrary::Removal::Soft) : library->restore(ids);
    if (!done.ok()) {
        showWarningBox(this, done.error.message);
        return false;
    }
    removedAny_ = true;
    filters_->reload(*library);
    readSessions();
    filterChanged();
    if (!remove)
        selectSessions(ids);
    access_.notifyChanged();
    return true;
}

void LibraryWindow::deleteSelected()
{
    const std::vector<std::int64_t> ids = selectedSessions();
    if (ids.empty())
        return;
    editor_->flush();
    const int count = int(ids.size());
    const int answer =
        dialogs_.ask(this,
                     tr("Delete %n session(s) from the library, with their lap files and sheets? "
                        "Undo brings them back until this window is closed.",
                        nullptr, count),
                     {tr("Delete")});
    if (answer != 0)
        return;
    if (!removeSessions(ids, true))
        return;
    undo_->push(new RemovalCommand(*this, ids, tr("deletion of %n session(s)", nullptr, count)));
    setStatus(tr("%n session(s) deleted; Undo brings them back until the window is closed.",
                 nullptr, count));
}

void LibraryWindow::finishEdits()
{
    editor_->flush();
    // Deleted sessions go for good now: their undo ends with the window.
    if (LapLibrary* library = access_.existing(); library && removedAny_) {
        const LibraryResult<> purged = library->purgeRemoved();
        if (!purged.ok())
            qWarning("miren-loader: %s", qPrintable(purged.error.message));
        removedAny_ = false;
    }
    undo_->clear();
}

void LibraryWindow::closeEvent(QCloseEvent* event)
{
    finishEdits();
    if (import_.running())
        import_.cancel();
    QWidget::closeEvent(event);
}

void LibraryWindow::importLapFiles()
{
    const QStringList files = dialogs_.openLapFiles ? dialogs_.openLapFiles(this, lastFolder_)
                                                    : QStringList();
    if (files.isEmpty())
        return;
    lastFolder_ = QFileInfo(files.front()).absolutePath();
    importFiles(files);
}

void LibraryWindow::importFolder()
{
    const QString folder = dialogs_.openFolder ? dialogs_.openFolder(this, lastFolder_) : QString();
    if (folder.isEmpty())
        return;
    lastFolder_ = folder;
    const QStringList files = LapFileScan::lapFilesIn(folder);
    if (files.isEmpty()) {
        showWarningBox(this, tr("%1 holds no lap files (*.BIL).").arg(QDir::toNativeSeparators(folder)));
        return;
    }
    importFiles(files);
}

void LibraryWindow::importFiles(const QStringList& files)
{
    if (import_.running() || files.isEmpty())
        return;
    if (!access_.library()) {
        openLibrary();
        return;
    }
    editor_->flush();
    progressBar_->setRange(0, int(files.size()));
    progressBar_->setValue(0);
    progressBar_->show();
    cancelImport_->show();
    setStatus(tr("Importing %n lap file(s)…", nullptr, int(files.size())));
    import_.start(access_.path(), files);
    updateButtons();
}

void LibraryWindow::importFinished(const ImportRunner::Result& result)
{
    progressBar_->hide();
    cancelImport_->hide();
    int added = 0, known = 0;
    QStringList failed;
    std::vector<std::int64_t> sessions;
    std::vector<ImportOutcome> suggested;
    for (const ImportRunner::FileOutcome& f : result.files) {
        if (!f.outcome) {
            failed << tr("%1: %2").arg(QDir::toNativeSeparators(f.path), f.error);
            continue;
        }
        (f.outcome->added ? added : known)++;
        sessions.push_back(f.outcome->session);
        if (f.outcome->added && f.outcome->suggestion && !f.outcome->suggestionTaken)
            suggested.push_back(*f.outcome);
    }
    QString text = tr("%1 added, %2 already in the library, %3 failed")
                       .arg(added)
                       .arg(known)
                       .arg(failed.size());
    if (result.cancelled)
        text = tr("Import cancelled: %1").arg(text);
    reload();
    setStatus(text);
    selectSessions(sessions);
    updateButtons();
    access_.notifyChanged();
    if (!result.stopped.isEmpty())
        failed.prepend(tr("The import stopped: %1").arg(result.stopped));
    if (!failed.isEmpty()) {
        const int more = int(failed.size()) - 10;
        QStringList shown = failed.mid(0, 10);
        if (more > 0)
            shown << tr("… and %n more", nullptr, more);
        showWarningBox(this, shown.join(QLatin1Char('\n')));
    }
    offerSuggestions(suggested);
}

// A session imported without a track takes a suggested one only when the user says so.
void LibraryWindow::offerSuggestions(const std::vector<ImportOutcome>& outcomes)
{
    if (outcomes.empty())
        return;
    LapLibrary* library = access_.library();
    if (!library)
        return;
    QStringList lines;
    for (std::size_t i = 0; i < outcomes.size() && i < 10; ++i) {
        const ImportOutcome& o = outcomes[i];
        const auto info = library->session(o.session);
        lines << tr("Session %1 (%2): %3, like session %4")
                     .arg(QString::number(o.session), info.ok() ? info.value->fileName : QString(),
                          o.suggestion->layout.isEmpty()
                              ? o.suggestion->track
                              : tr("%1 / %2").arg(o.suggestion->track, o.suggestion->layout),
                          QString::number(o.suggestion->fromSession));
    }
    if (outcomes.size() > 10)
        lines << tr("… and %n more", nullptr, int(outcomes.size() - 10));
    const int answer = dialogs_.ask(
        this,
        tr("The lap lengths of %n new session(s) match a track layout you have driven:\n\n%1\n\n"
           "Take the suggested track and layout?",
           nullptr, int(outcomes.size()))
            .arg(lines.join(QLatin1Char('\n'))),
        {tr("Take them"), tr("Leave them")});
    if (answer != 0)
        return;
    std::vector<SheetEditCommand::Change> changes;
    for (const ImportOutcome& o : outcomes) {
        const auto info = library->session(o.session);
        if (!info.ok())
            continue;
        revisions_[o.session] = info.value->revision;
        const DatedSheet before{info.value->sheet, info.value->date};
        DatedSheet after = before;
        after.sheet.track = o.suggestion->track;
        if (after.sheet.layout.isEmpty())
            after.sheet.layout = o.suggestion->layout;
        if (const auto saved = saveSheet(o.session, before, after))
            changes.push_back({o.session, saved->replaced, saved->sheet});
    }
    if (!changes.empty())
        undo_->push(new SheetEditCommand(*this, std::move(changes),
                                         tr("suggested tracks")));
    reload();
    if (editor_->session() != 0) {
        const std::int64_t shown = editor_->session();
        editor_->clearSheet();
        selectSessions({shown});
        showCurrentSession();
    }
}

void LibraryWindow::loadIntoTable()
{
    LapLibrary* library = access_.library();
    if (!library || !load_)
        return;
    editor_->flush();
    std::vector<LoadedSession> sessions;
    for (std::int64_t id : selectedSessions()) {
        const auto info = library->session(id);
        const auto bytes = library->bytesOf(id);
        if (!info.ok() || !bytes.ok()) {
            showWarningBox(this, info.ok() ? bytes.error.message : info.error.message);
            return;
        }
        QStringList title;
        const QString track = SheetLines::trackText(info.value->sheet);
        if (!track.isEmpty())
            title << track;
        title << reportDateText(info.value->date.toLocalTime().date()) << info.value->fileName;
        sessions.push_back(
            {LapBytes{info.value->fileName, *bytes.value}, title.join(QLatin1Char(' ')), id});
    }
    if (!sessions.empty())
        load_(sessions);
}

void LibraryWindow::compareSelected()
{
    LapLibrary* library = access_.library();
    if (!library)
        return;
    editor_->flush();
    // Each session's best lap; one session alone: its best lap and the lap after it.
    QStringList laps;
    const std::vector<std::int64_t> ids = selectedSessions();
    for (std::int64_t id : ids) {
        const SessionInfo& s = model_->session(model_->rowOf(id));
        if (!s.figures.bestLap)
            continue;
        laps << QStringLiteral("%1:%2").arg(id).arg(s.figures.bestLap->number);
        if (ids.size() == 1) {
            const auto stored = library->lapsOf(id);
            if (stored.ok()) {
                const auto& all = stored.value->laps;
                const std::size_t at = std::size_t(s.figures.bestLap->index);
                const std::size_t other = at + 1 < all.size() ? at + 1 : at > 0 ? at - 1 : at;
                if (other != at)
                    laps << QStringLiteral("%1:%2").arg(id).arg(all[other].lapNumber);
            }
        }
    }
    if (!comparison_) {
        comparison_ = new ComparisonDialog(this);
        comparison_->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    ComparisonInput input;
    input.lapsText = laps.join(QLatin1Char(' '));
    input.lapsOf = [this](const QString& text) -> LibraryResult<std::vector<ComparedLap>> {
        LapLibrary* library = access_.library();
        if (!library)
            return access_.error();
        LibraryComparison comparison(*library);
        std::vector<ComparedLap> laps;
        for (const QString& name : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const auto ref = comparison.parseLap(name);
            if (!ref.ok())
                return ref.error;
            auto lap = comparison.lap(*ref.value);
            if (!lap.ok())
                return lap.error;
            laps.push_back(std::move(*lap.value));
        }
        return laps;
    };
    input.reference = [this](const ReferenceChoice& choice, const std::vector<ComparedLap>& laps)
        -> LibraryResult<ComparisonReference> {
        LapLibrary* library = access_.library();
        if (!library)
            return access_.error();
        return LibraryComparison(*library).reference(laps.front().session,
                                                     laps.front().lap.sectorCount(), choice);
    };
    comparison_->setInput(std::move(input));
    comparison_->compare();
    comparison_->show();
    comparison_->raise();
    comparison_->activateWindow();
}
