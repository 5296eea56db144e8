#include "analysis_window/AnalysisWindow.h"

#include "analysis_view/DisplayText.h"
#include "analysis_window/LanguageBox.h"
#include "analysis_window/LapChart.h"
#include "analysis_window/LapDocument.h"
#include "analysis_window/LapListModel.h"
#include "analysis_window/LimitSpinBox.h"
#include "analysis_window/SessionTableModel.h"
#include "analysis_window/SummaryPanel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace {

// Long enough to let a burst of typing end, short enough to feel immediate.
constexpr int kPauseMs = 300;

// The summary's frame: as high as the figures need, but only as wide as the window gives it, so
// a day of many sessions scrolls sideways instead of making the window wider than the screen.
class SummaryScroll : public QScrollArea {
public:
    SummaryScroll()
    {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
    }

    QSize sizeHint() const override { return widget()->sizeHint() + QSize(0, barHeight()); }
    QSize minimumSizeHint() const override
    {
        return {fontMetrics().averageCharWidth() * 40,
                widget()->minimumSizeHint().height() + barHeight()};
    }

protected:
    // The figures' lines change with every analysis: the splitter learns the new height at once.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == widget() && event->type() == QEvent::LayoutRequest)
            updateGeometry();
        return QScrollArea::eventFilter(watched, event);
    }

private:
    int barHeight() const { return horizontalScrollBar()->sizeHint().height(); }
};

} // namespace

AnalysisWindow::AnalysisWindow(AnalysisSource& source, QWidget* parent)
    : QWidget(parent, Qt::Window), source_(source)
{
    // Room for a dozen lap rows and a chart well over 200 px high under the summary of a day;
    // the main window makes it smaller on a small screen.
    resize(1000, 940);

    noTable_ = new QLabel;
    noTable_->setObjectName(QStringLiteral("noTable"));
    noTable_->setAlignment(Qt::AlignCenter);
    noTable_->setWordWrap(true);

    selector_ = new QComboBox;
    selector_->setObjectName(QStringLiteral("sessionSelector"));
    selector_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    selector_->setMinimumContentsLength(32);
    auto* selectorLabel = new QLabel;
    selectorLabel->setBuddy(selector_);
    sessionRow_ = new QWidget;
    auto* sessionLayout = new QHBoxLayout(sessionRow_);
    sessionLayout->setContentsMargins(0, 0, 0, 0);
    sessionLayout->addWidget(selectorLabel);
    sessionLayout->addWidget(selector_);
    sessionLayout->addStretch();

    summary_ = new SummaryPanel;
    summary_->setObjectName(QStringLiteral("summary"));

    excludeLimit_ = new LimitSpinBox;
    excludeLimit_->setObjectName(QStringLiteral("excludeLimit"));
    excludeLimit_->setValue(int(document_.analysis().excludeSlowerPercent()));
    auto* limitLabel = new QLabel;
    limitLabel->setBuddy(excludeLimit_);
    resetButton_ = new QPushButton;
    resetButton_->setObjectName(QStringLiteral("resetChoices"));
    resetButton_->setAutoDefault(false);
    exportButton_ = new QPushButton;
    exportButton_->setObjectName(QStringLiteral("exportCsv"));
    exportButton_->setAutoDefault(false);

    auto* controls = new QVBoxLayout;
    controls->addWidget(limitLabel);
    auto* limitRow = new QHBoxLayout;
    limitRow->addWidget(excludeLimit_);
    auto* limitSuffix = new QLabel;
    limitRow->addWidget(limitSuffix);
    controls->addLayout(limitRow);
    controls->addWidget(resetButton_);
    printButton_ = new QPushButton;
    printButton_->setObjectName(QStringLiteral("print"));
    printButton_->setAutoDefault(false);
    pdfButton_ = new QPushButton;
    pdfButton_->setObjectName(QStringLiteral("saveAsPdf"));
    pdfButton_->setAutoDefault(false);
    language_ = new LanguageBox;
    language_->setObjectName(QStringLiteral("language"));
    auto* languageLabel = new QLabel;
    languageLabel->setBuddy(language_);

    controls->addSpacing(12);
    controls->addWidget(exportButton_);
    controls->addWidget(printButton_);
    controls->addWidget(pdfButton_);
    // The lap library's: hidden until there is something to add; Compare… takes 2 to 8 laps.
    addToLibrary_ = new QPushButton;
    addToLibrary_->setObjectName(QStringLiteral("addToLibrary"));
    addToLibrary_->setAutoDefault(false);
    addToLibrary_->hide();
    compareButton_ = new QPushButton;
    compareButton_->setObjectName(QStringLiteral("compareLaps"));
    compareButton_->setAutoDefault(false);
    compareButton_->setEnabled(false);
    controls->addSpacing(12);
    controls->addWidget(addToLibrary_);
    controls->addWidget(compareButton_);
    controls->addSpacing(12);
    controls->addWidget(languageLabel);
    controls->addWidget(language_);
    controls->addStretch();
    auto* summaryPane = new QWidget;
    auto* top = new QHBoxLayout(summaryPane);
    top->setContentsMargins(0, 0, 0, 0);
    summaryScroll_ = new SummaryScroll;
    summaryScroll_->setObjectName(QStringLiteral("summaryScroll"));
    summaryScroll_->setWidget(summary_);
    top->addWidget(summaryScroll_, 1);
    top->addSpacing(16);
    top->addLayout(controls);

    summary_->setDocument(&document_);
    model_ = new LapListModel(this);
    model_->setDocument(&document_);
    lapList_ = new QTableView;
    lapList_->setObjectName(QStringLiteral("lapList"));
    lapList_->setModel(model_);
    lapList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lapList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lapList_->setWordWrap(false);
    lapList_->verticalHeader()->hide();
    // Fixed row heights and column widths: nothing is measured over 100,000 rows.
    lapList_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lapList_->verticalHeader()->setDefaultSectionSize(lapList_->fontMetrics().height() + 6);
    QHeaderView* header = lapList_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    // The table's own order until a column is clicked; a third click returns to it.
    // The rows of lines that are not lap lines say so across the row.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        lapList_->clearSpans();
        for (int row = model_->lapRowCount(); row < model_->rowCount(); ++row)
            lapList_->setSpan(row, LapListModel::TimeColumn, 1,
                              LapListModel::ColumnCount - LapListModel::TimeColumn);
    });
    header->setSortIndicatorClearable(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    lapList_->setSortingEnabled(true);
    lapList_->installEventFilter(this);

    comparisonModel_ = new SessionTableModel(this);
    comparisonModel_->setDocument(&document_);
    comparison_ = new QTableView;
    comparison_->setObjectName(QStringLiteral("comparison"));
    comparison_->setModel(comparisonModel_);
    comparison_->setSelectionBehavior(QAbstractItemView::SelectRows);
    comparison_->setSelectionMode(QAbstractItemView::SingleSelection);
    comparison_->setWordWrap(false);
    comparison_->verticalHeader()->hide();
    comparison_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    comparison_->verticalHeader()->setDefaultSectionSize(comparison_->fontMetrics().height() + 6);
    comparison_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Each column as wide as its header in the language shown and its widest likely cell (a
    // red-flag lap's gap of minutes), so no header or figure is cut; set again with the language.
    const auto fitColumns = [](QTableView* table, const auto& sampleOf) {
        const QFontMetrics metrics = table->fontMetrics();
        table->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
        QAbstractItemModel* columns = table->model();
        for (int column = 0; column < columns->columnCount(); ++column) {
            const int width = std::max(
                metrics.horizontalAdvance(sampleOf(column)) + 16,
                metrics.horizontalAdvance(columns->headerData(column, Qt::Horizontal).toString()) +
                    24);
            table->horizontalHeader()->resizeSection(column, width);
        }
    };
    const auto fitAllColumns = [=, this] {
        fitColumns(lapList_, [](int column) {
            return column == LapListModel::SessionColumn ? QStringLiteral("R00 SESSION_00.BIL")
                   : column == LapListModel::LapColumn   ? QStringLiteral("000000000")
                   : column == LapListModel::GapColumn   ? QStringLiteral("+00:00.00")
                   : column < LapListModel::RpmMaxColumn ? QStringLiteral("00:00.00")
                                                         : QString();
        });
        fitColumns(comparison_, [](int column) {
            return column == SessionTableModel::SessionColumn ? QStringLiteral("R00 SESSION_000.BIL")
                   : column == SessionTableModel::UnitColumn  ? QStringLiteral("km/h")
                   : column == SessionTableModel::BestLapColumn ? QStringLiteral("R00 lap 0000")
                                                                 : QStringLiteral("+00:00.00");
        });
    };

    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->addTab(lapList_, QString());
    tabs_->addTab(comparison_, QString());

    chart_ = new LapChart;
    chart_->setObjectName(QStringLiteral("chart"));
    chart_->setDocument(&document_);
    chart_->setMinimumHeight(160);
    // The switch above the chart: one chart, three views of the same laps.
    auto* chartPane = new QWidget;
    auto* chartLayout = new QVBoxLayout(chartPane);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    auto* viewRow = new QHBoxLayout;
    auto* views = new QButtonGroup(chartPane);
    for (const char* name : {"lapTimesView", "sectorTimesView", "temperatureView"}) {
        auto* button = new QRadioButton;
        button->setObjectName(QString::fromLatin1(name));
        views->addButton(button, views->buttons().size());
        viewRow->addWidget(button);
    }
    views->button(0)->setChecked(true);
    viewRow->addStretch();
    chartLayout->addLayout(viewRow);
    chartLayout->addWidget(chart_, 1);
    connect(views, &QButtonGroup::idClicked, chart_,
            [this](int id) { chart_->setView(ChartView(id)); });

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(summaryPane);
    splitter->addWidget(tabs_);
    splitter->addWidget(chartPane);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setStretchFactor(2, 1);
    splitter->setSizes({200, 330, 370});

    auto* analysisPage = new QWidget;
    auto* analysisLayout = new QVBoxLayout(analysisPage);
    analysisLayout->setContentsMargins(0, 0, 0, 0);
    analysisLayout->addWidget(sessionRow_);
    analysisLayout->addWidget(splitter, 1);

    pages_ = new QStackedWidget;
    pages_->addWidget(noTable_);
    pages_->addWidget(analysisPage);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);

    // The list takes the keys first: arrows walk the laps and the view's caret follows.
    lapList_->setFocus();
    setTabOrder(selector_, lapList_);
    setTabOrder(lapList_, excludeLimit_);
    setTabOrder(excludeLimit_, resetButton_);
    setTabOrder(resetButton_, exportButton_);

    pause_.setSingleShot(true);
    pause_.setInterval(kPauseMs);
    connect(&pause_, &QTimer::timeout, this, &AnalysisWindow::analyseInBackground);
    lines_ = std::make_unique<LapTextMirror>(*source_.lapDocument());
    connect(source_.lapDocument(), &QTextDocument::contentsChange, this,
            [this](int position, int removed, int added) {
                lines_->change(position, removed, added);
            });
    connect(source_.lapDocument(), &QTextDocument::contentsChanged, this,
            &AnalysisWindow::viewChanged);
    connect(&document_, &AnalysisDocument::changed, this, &AnalysisWindow::documentChanged);
    connect(excludeLimit_, &LimitSpinBox::limitChanged, &document_,
            &AnalysisDocument::setExcludeSlowerPercent);
    connect(resetButton_, &QPushButton::clicked, &document_, &AnalysisDocument::resetChoices);
    connect(selector_, &QComboBox::currentIndexChanged, this, &AnalysisWindow::selectSession);
    connect(comparison_, &QTableView::activated, this,
            [this](const QModelIndex& index) { showSession(std::size_t(index.row())); });
    connect(lapList_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &AnalysisWindow::showLapInView);
    connect(summary_, &SummaryPanel::lineClicked, this,
            [this](qint64 line) { source_.showLapLine(int(line - 1)); });
    connect(exportButton_, &QPushButton::clicked, this, &AnalysisWindow::exportCsv);
    connect(printButton_, &QPushButton::clicked, this, &AnalysisWindow::print);
    connect(pdfButton_, &QPushButton::clicked, this, &AnalysisWindow::saveAsPdf);
    connect(addToLibrary_, &QPushButton::clicked, this, &AnalysisWindow::addToLibraryRequested);
    connect(compareButton_, &QPushButton::clicked, this,
            [this] { emit compareRequested(selectedLaps()); });
    connect(lapList_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const std::size_t laps = lapList_->selectionModel()->selectedRows().size();
        compareButton_->setEnabled(laps >= 2 && laps <= 8);
    });
    // A click on a chart point selects its lap in the list, and so the view's caret follows.
    connect(chart_, &LapChart::lapClicked, this, [this](std::size_t lap) {
        const int row = model_->rowOf(lap);
        if (row < 0)
            return;
        const QModelIndex index = model_->index(row, LapListModel::LapColumn);
        lapList_->setCurrentIndex(index);
        lapList_->scrollTo(index);
    });

    // The fixed texts, set again when the language changes.
    setCaptions_ = [=, this] {
        setWindowTitle(tr("Lap analysis"));
        // A Japanese sentence in one face: left to font fallback, its digits and Latin letters
        // come from the system's Latin face and look smaller than the kana around them. The
        // translation names the faces, first one with the script and Latin digits of its own.
        const QString faces =
            tr("[system font]", "Font families for this language, comma separated: first a face "
                                "with the language's script and Latin digits of its own");
        QFont font = QApplication::font();
        if (!faces.startsWith(u'[')) {
            QStringList families = faces.split(u',', Qt::SkipEmptyParts);
            for (QString& family : families)
                family = family.trimmed();
            font.setFamilies(families << font.family());
        }
        setFont(font);
        selectorLabel->setText(tr("&Session"));
        excludeLimit_->setSpecialValueText(tr("off"));
        excludeLimit_->setToolTip(tr("Laps slower than this share of their session's median of "
                                     "timed laps are not counted (100 to 1000 %); \"off\" counts "
                                     "every timed lap"));
        limitLabel->setText(tr("&Exclude laps slower than"));
        limitSuffix->setText(tr("of the median"));
        resetButton_->setText(tr("&Reset choices"));
        resetButton_->setToolTip(tr("Forget the laps you counted or excluded by hand"));
        exportButton_->setText(tr("Export &CSV…"));
        printButton_->setText(tr("&Print…"));
        pdfButton_->setText(tr("Save as P&DF…"));
        addToLibrary_->setText(tr("Add %n session(s) to the li&brary", nullptr, addToLibraryCount_));
        compareButton_->setText(tr("Co&mpare…"));
        compareButton_->setToolTip(tr("Compares 2 to 8 laps chosen in the list (Ctrl or Shift "
                                      "for several) sector by sector"));
        languageLabel->setText(tr("Lan&guage"));
        comparison_->setToolTip(tr("Double-click a session to show it"));
        tabs_->setTabText(0, tr("&Laps"));
        tabs_->setTabText(1, tr("Sessions side by &side"));
        views->button(0)->setText(tr("&Lap times"));
        views->button(1)->setText(tr("&Sector times"));
        views->button(2)->setText(tr("&TMP1/TMP2 ranges"));
        fitAllColumns();
    };
    setCaptions_();

    saveName_ = [](QWidget* parent, const QString& proposed) {
        return QFileDialog::getSaveFileName(parent, tr("Export CSV"), proposed,
                                            tr("CSV files (*.csv);;All files (*)"));
    };
}

// The views go before the document they observe.
AnalysisWindow::~AnalysisWindow()
{
    // Its result, posted to this window, goes with the window.
    if (worker_.joinable())
        worker_.join();
    delete pages_;
}

void AnalysisWindow::setSaveName(SaveNameFn saveName)
{
    saveName_ = std::move(saveName);
}

void AnalysisWindow::setReportSaveName(ReportSaveNameFn saveName)
{
    reportSaveName_ = std::move(saveName);
}

void AnalysisWindow::setPrintDialog(PrintDialogFn printDialog)
{
    printDialog_ = std::move(printDialog);
}

const SessionStats& AnalysisWindow::stats() const
{
    return shown_ ? analysis().stats(*shown_) : analysis().allStats();
}

void AnalysisWindow::showEvent(QShowEvent* event)
{
    // Opening shows the analysis at once, drawn with its first frame.
    if (stale_)
        refresh();
    if (!widthFitted_ && !event->spontaneous()) {
        widthFitted_ = true;
        fitWidth();
    }
    QWidget::showEvent(event);
}

// The window takes the width its figures want, as far as the screen allows, and never shrinks
// for them; narrower than that, the summary scrolls sideways. Widened past the screen's right
// edge, it moves left.
void AnalysisWindow::fitWidth()
{
    // The window's size hint learns of the summary's new lines only through a chain of posted
    // layout requests, so a laid-out summary also says itself how much room it lacks.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    int wanted = sizeHint().width();
    if (summaryScroll_->isVisible()) {
        const int lacking =
            summaryScroll_->widget()->sizeHint().width() - summaryScroll_->viewport()->width();
        wanted = std::max(wanted, width() + lacking);
    }
    const QRect room = screen()->availableGeometry().adjusted(16, 0, -16, 0);
    wanted = std::min(wanted, room.width());
    if (wanted <= width())
        return;
    resize(wanted, height());
    const int overflow = frameGeometry().right() - room.right();
    if (overflow > 0)
        move(std::max(room.left(), x() - overflow), y());
}

bool AnalysisWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Space ticks or clears the box of the current lap from whichever column the cursor is in.
    if (watched == lapList_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        const QModelIndex current = lapList_->currentIndex();
        if (current.isValid()) {
            const QModelIndex box = model_->index(current.row(), LapListModel::LapColumn);
            const bool counted =
                box.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
            model_->setData(box, counted ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void AnalysisWindow::changeEvent(QEvent* event)
{
    // The fixed texts, the figures, the lists' headers and the chart are made anew in the new
    // language.
    if (event->type() == QEvent::LanguageChange && setCaptions_) {
        setCaptions_();
        if (!stale_)
            refresh();
    }
    QWidget::changeEvent(event);
}

void AnalysisWindow::viewChanged()
{
    // A re-analysis running reads a text that is no longer the view's: its result is dropped.
    again_ = worker_.joinable();
    if (isVisible())
        pause_.start();
    else
        stale_ = true;
}

void AnalysisWindow::refresh()
{
    pause_.stop();
    stale_ = false;
    ++textGeneration_; // a re-analysis running reads an older text
    const std::size_t sessionsBefore = analysis().sessionCount();
    document_.load(readLapLines(lines_->lines()), source_.lapFiles());
    fitWidthToSessions(sessionsBefore);
}

// The view's lines are copied here (kept in step with the view, they cost no walk over its
// blocks); reading the table and analysing it, the long part, run on another thread, and the
// result comes back as an event. A result of an older text, or of choices changed meanwhile, is dropped and the view read
// again.
void AnalysisWindow::analyseInBackground()
{
    if (worker_.joinable()) {
        again_ = true;
        return;
    }
    pause_.stop();
    stale_ = false;
    again_ = false;
    const quint64 generation = ++textGeneration_;
    auto load = std::make_shared<AnalysisDocument::Load>(document_.prepareLoad());
    worker_ = std::thread([this, load, generation, lines = lines_->share(),
                           files = source_.lapFiles()]() mutable {
        load->run(readLapLines(*lines), std::move(files));
        lines.reset();
        QMetaObject::invokeMethod(
            this, [this, load, generation] { analysed(std::move(*load), generation); },
            Qt::QueuedConnection);
    });
}

void AnalysisWindow::analysed(AnalysisDocument::Load&& load, quint64 textGeneration)
{
    worker_.join();
    lines_->release();
    if (again_) {
        // The view changed while it ran: read it again after the pause.
        again_ = false;
        if (isVisible() && !pause_.isActive())
            pause_.start();
        else if (!isVisible())
            stale_ = true;
        return;
    }
    if (textGeneration != textGeneration_)
        return;
    const std::size_t sessionsBefore = analysis().sessionCount();
    if (!document_.finishLoad(std::move(load))) {
        analyseInBackground();
        return;
    }
    fitWidthToSessions(sessionsBefore);
}

// A day of more or fewer sessions brings other lines to the summary: an open window makes room
// for them, while a window the user narrowed stays so as long as the sessions do.
void AnalysisWindow::fitWidthToSessions(std::size_t sessionsBefore)
{
    if (isVisible() && widthFitted_ && analysis().sessionCount() != sessionsBefore)
        fitWidth();
}

// What the window itself shows of the document; the summary, the lists and the chart follow it
// on their own.
void AnalysisWindow::documentChanged(AnalysisDocument::Change change)
{
    resetButton_->setEnabled(analysis().hasChoices());
    if (change != AnalysisDocument::Change::Laps)
        return;
    if (shown_ && *shown_ >= analysis().sessionCount())
        shown_.reset();
    updateSelector();
    tabs_->setTabVisible(1, analysis().sessionCount() > 1);
    showColumns();
    if (!document_.headerFound()) {
        noTable_->setText(tr("The view holds no lap table.\n\nLoad lap files with \"bil load\" "
                             "or a saved table with \"Text load\", and the analysis follows."));
    } else if (analysis().laps().empty()) {
        noTable_->setText(tr("The lap table in the view holds no laps."));
    }
    pages_->setCurrentIndex(holdsTable() ? 1 : 0);
}

// The selector's entries follow the sessions; they are made anew only when those change.
void AnalysisWindow::updateSelector()
{
    const SessionAnalysis& a = analysis();
    QStringList titles;
    titles.reserve(qsizetype(a.sessionCount()));
    for (std::size_t s = 0; s < a.sessionCount(); ++s)
        titles << tr("%1 (%n lap(s), %2)", nullptr, int(a.session(s).lapCount))
                      .arg(sessionTitle(a, s), speedUnitText(a.session(s).unit));
    sessionRow_->setVisible(a.sessionCount() > 1);
    if (titles != sessionTitles_) {
        sessionTitles_ = titles;
        const QSignalBlocker block(selector_);
        selector_->clear();
        selector_->addItem(tr("All sessions: the day"));
        selector_->addItems(titles);
    }
    const QSignalBlocker block(selector_);
    selector_->setCurrentIndex(shown_ ? int(*shown_) + 1 : 0);
}

void AnalysisWindow::selectSession(int index)
{
    showSession(index > 0 ? std::optional<std::size_t>(std::size_t(index - 1)) : std::nullopt);
}

void AnalysisWindow::showSession(std::optional<std::size_t> session)
{
    if (session && *session >= analysis().sessionCount())
        return;
    shown_ = session;
    {
        const QSignalBlocker block(selector_);
        selector_->setCurrentIndex(shown_ ? int(*shown_) + 1 : 0);
    }
    model_->showSession(shown_);
    summary_->showSession(shown_);
    chart_->showSession(shown_);
    showColumns();
}

// The list's columns for the laps shown: as many sectors as they have, and the session column
// while laps of several sessions are listed.
void AnalysisWindow::showColumns()
{
    const SessionAnalysis& a = analysis();
    const std::size_t first = shown_ ? a.session(*shown_).firstLap : 0;
    const std::size_t count = shown_ ? a.session(*shown_).lapCount : a.laps().size();
    int sectors = 0;
    for (std::size_t pos = first; pos < first + count; ++pos)
        sectors = std::max(sectors, a.laps()[pos].sectorCount());
    for (int sector = 0; sector < kMaxSectors; ++sector)
        lapList_->setColumnHidden(LapListModel::FirstSectorColumn + sector, sector >= sectors);
    lapList_->setColumnHidden(LapListModel::SessionColumn,
                              a.sessionCount() <= 1 || shown_.has_value());
}

// The lap of the list's current row while that row is selected: the list's cursor alone, as it
// stands on the first row when the window opens, marks nothing.
std::optional<std::size_t> AnalysisWindow::selectedLap() const
{
    const QModelIndex current = lapList_->currentIndex();
    if (!current.isValid() || !lapList_->selectionModel()->isRowSelected(current.row()) ||
        model_->skippedLineAt(current.row()))
        return std::nullopt;
    return model_->lapAt(current.row());
}

void AnalysisWindow::showLapInView(const QModelIndex& current)
{
    // The chart marks the lap too, panned to it when zoomed elsewhere.
    chart_->setMarkedLap(selectedLap(), true);
    if (!current.isValid())
        return;
    const std::int64_t skipped = model_->skippedLineAt(current.row());
    const std::int64_t line = skipped ? skipped : laps()[model_->lapAt(current.row())].line;
    if (line > 0)
        source_.showLapLine(int(line - 1));
}

void AnalysisWindow::setAddToLibrary(int count)
{
    addToLibraryCount_ = count;
    addToLibrary_->setText(tr("Add %n session(s) to the li&brary", nullptr, count));
    addToLibrary_->setVisible(count > 0);
}

void AnalysisWindow::setReportFinish(ReportFinishFn finish)
{
    reportFinish_ = std::move(finish);
}

std::vector<std::size_t> AnalysisWindow::selectedLaps() const
{
    QModelIndexList rows = lapList_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<std::size_t> laps;
    for (const QModelIndex& row : rows)
        laps.push_back(model_->lapAt(row.row()));
    return laps;
}
