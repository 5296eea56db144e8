#include "analysis_window/AnalysisWindow.h"

#include "analysis_view/DisplayText.h"
#include "analysis_window/LapChart.h"
#include "analysis_window/LapDocument.h"
#include "analysis_window/LapListModel.h"
#include "analysis_window/SessionTableModel.h"
#include "analysis_window/SummaryPanel.h"
#include "analysis_view/SessionReportBuilder.h"
#include "tool_window/ToolWindow.h"
#include "lap_analysis/SessionTexts.h"
#include "file_io/SafeFile.h"
#include "shared_state/SharedState.h"
#include "ui_language/UiLanguage.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Long enough to let a burst of typing end, short enough to feel immediate.
constexpr int kPauseMs = 300;
constexpr char kNoLapFileName[] = "LAP_TXT_DATA";
// The exclusion limit the converter takes: off (0), or 100 to 1000 % of the median. Below 100 the
// rule would drop laps faster than the median.
constexpr int kLowestLimit = 100;
constexpr int kHighestLimit = 1000;

// The exclusion limit's box: "off", then 100 % and up; stepping down from 100 % turns it off,
// and 1 to 99 cannot be entered.
class LimitSpinBox : public QSpinBox {
public:
    LimitSpinBox()
    {
        setRange(0, kHighestLimit);
        setSuffix(QStringLiteral(" %"));
    }

    void stepBy(int steps) override
    {
        if (value() == 0 && steps > 0)
            setValue(kLowestLimit + steps - 1);
        else if (value() + steps < kLowestLimit && steps < 0)
            setValue(0);
        else
            QSpinBox::stepBy(steps);
    }

protected:
    QValidator::State validate(QString& input, int& pos) const override
    {
        const QValidator::State state = QSpinBox::validate(input, pos);
        if (state != QValidator::Acceptable || input == specialValueText())
            return state;
        const int v = valueFromText(input);
        return v > 0 && v < kLowestLimit ? QValidator::Intermediate : state;
    }
};

} // namespace

namespace {

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

CsvDialect csvDialectForLocale(const QLocale& locale)
{
    return csvDialectFor(locale.decimalPoint() == QStringLiteral(",") ? ';' : ',');
}

AnalysisWindow::AnalysisWindow(AnalysisSource& source, QWidget* parent)
    : QWidget(parent, Qt::Window), source_(source)
{
    resize(960, 760);

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
    excludeLimit_->setValue(int(analysis_.excludeSlowerPercent()));
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
    language_ = new QComboBox;
    language_->setObjectName(QStringLiteral("language"));
    language_->addItem(QString(), QString());
    for (const QString& code : availableLanguages())
        language_->addItem(nativeLanguageName(code), code);
    language_->setCurrentIndex(std::max(0, language_->findData(chosenLanguage())));
    auto* languageLabel = new QLabel;
    languageLabel->setBuddy(language_);

    controls->addSpacing(12);
    controls->addWidget(exportButton_);
    controls->addWidget(printButton_);
    controls->addWidget(pdfButton_);
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

    model_ = new LapListModel(this);
    lapList_ = new QTableView;
    lapList_->setObjectName(QStringLiteral("lapList"));
    lapList_->setModel(model_);
    lapList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lapList_->setSelectionMode(QAbstractItemView::SingleSelection);
    lapList_->setWordWrap(false);
    lapList_->verticalHeader()->hide();
    // Fixed row heights and column widths: nothing is measured over 100,000 rows.
    lapList_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lapList_->verticalHeader()->setDefaultSectionSize(lapList_->fontMetrics().height() + 6);
    QHeaderView* header = lapList_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    const QFontMetrics metrics = lapList_->fontMetrics();
    for (int column = 0; column < LapListModel::ColumnCount; ++column) {
        const QString sample = column == LapListModel::SessionColumn
                                   ? QStringLiteral("SESSION_00.BIL")
                               : column == LapListModel::LapColumn   ? QStringLiteral("000000")
                               : column < LapListModel::RpmMaxColumn ? QStringLiteral("0:00.00")
                                                                     : QString();
        const int width = std::max(
            metrics.horizontalAdvance(sample) + 16,
            metrics.horizontalAdvance(model_->headerData(column, Qt::Horizontal).toString()) + 24);
        header->resizeSection(column, column == LapListModel::LapColumn ? width + 24 : width);
    }
    // The table's own order until a column is clicked; a third click returns to it.
    header->setSortIndicatorClearable(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    lapList_->setSortingEnabled(true);
    lapList_->installEventFilter(this);

    comparisonModel_ = new SessionTableModel(this);
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
    comparison_->horizontalHeader()->resizeSection(
        SessionTableModel::SessionColumn,
        metrics.horizontalAdvance(QStringLiteral("S00 SESSION_000.BIL")) + 16);

    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->addTab(lapList_, QString());
    tabs_->addTab(comparison_, QString());

    chart_ = new LapChart;
    chart_->setObjectName(QStringLiteral("chart"));
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
    splitter->setSizes({190, 270, 280});

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
    connect(&pause_, &QTimer::timeout, this, &AnalysisWindow::refresh);
    connect(source_.lapDocument(), &QTextDocument::contentsChanged, this,
            &AnalysisWindow::viewChanged);
    connect(model_, &LapListModel::countedChanged, this, &AnalysisWindow::toggleLap);
    connect(excludeLimit_, &QSpinBox::valueChanged, this, &AnalysisWindow::setExcludeLimit);
    connect(resetButton_, &QPushButton::clicked, this, &AnalysisWindow::resetChoices);
    connect(selector_, &QComboBox::currentIndexChanged, this, &AnalysisWindow::selectSession);
    connect(comparison_, &QTableView::activated, this,
            [this](const QModelIndex& index) { showSession(std::size_t(index.row())); });
    connect(lapList_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &AnalysisWindow::showLapInView);
    connect(exportButton_, &QPushButton::clicked, this, &AnalysisWindow::exportCsv);
    connect(printButton_, &QPushButton::clicked, this, &AnalysisWindow::print);
    connect(pdfButton_, &QPushButton::clicked, this, &AnalysisWindow::saveAsPdf);
    connect(language_, &QComboBox::currentIndexChanged, this, &AnalysisWindow::chooseLanguage);
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
        language_->setItemText(0, followSystemLanguageText());
        language_->setToolTip(tr("The language of the analysis window; the main window's "
                                 "captions stay as they are"));
        languageLabel->setText(tr("Lan&guage"));
        comparison_->setToolTip(tr("Double-click a session to show it"));
        tabs_->setTabText(0, tr("&Laps"));
        tabs_->setTabText(1, tr("Sessions side by &side"));
        views->button(0)->setText(tr("&Lap times"));
        views->button(1)->setText(tr("&Sector times"));
        views->button(2)->setText(tr("&TMP1/TMP2 ranges"));
    };
    setCaptions_();

    saveName_ = [](QWidget* parent, const QString& proposed) {
        return QFileDialog::getSaveFileName(parent, tr("Export CSV"), proposed,
                                            tr("CSV files (*.csv);;All files (*)"));
    };
}

AnalysisWindow::~AnalysisWindow() = default;

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

bool AnalysisWindow::holdsTable() const
{
    return headerFound_ && !analysis_.laps().empty();
}

const SessionStats& AnalysisWindow::stats() const
{
    return shown_ ? analysis_.stats(*shown_) : analysis_.allStats();
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
    if (isVisible())
        pause_.start();
    else
        stale_ = true;
}

void AnalysisWindow::refresh()
{
    pause_.stop();
    stale_ = false;
    DocumentTable table = readLapDocument(*source_.lapDocument());
    headerFound_ = table.headerFound;
    skippedLines_ = std::move(table.skippedLines);
    files_ = source_.lapFiles();

    // The files of the "bil load" say where the sessions begin while their lines still stand
    // where they were; otherwise the lap numbers and header lines do.
    std::optional<std::vector<SessionSpan>> sessions;
    if (!files_.files.empty())
        sessions = ::sessionsFromFiles(table.laps, files_.files, table.unit);
    sessionsFromFiles_ = sessions.has_value();
    if (!sessions)
        sessions = sessionsFromTable(table.laps, table.unit, table.laterHeaders);
    const std::size_t sessionsBefore = analysis_.sessionCount();
    analysis_.load(std::move(table.laps), std::move(*sessions));
    if (shown_ && *shown_ >= analysis_.sessionCount())
        shown_.reset();
    updateSelector();
    comparisonModel_->setAnalysis(&analysis_);
    tabs_->setTabVisible(1, analysis_.sessionCount() > 1);
    showLaps();

    if (!headerFound_) {
        noTable_->setText(tr("The view holds no lap table.\n\nLoad lap files with \"bil load\" "
                             "or a saved table with \"Text load\", and the analysis follows."));
    } else if (analysis_.laps().empty()) {
        noTable_->setText(tr("The lap table in the view holds no laps."));
    }
    pages_->setCurrentIndex(holdsTable() ? 1 : 0);
    showAnalysis();
    // A day of more or fewer sessions brings other lines to the summary: an open window makes
    // room for them, while a window the user narrowed stays so as long as the sessions do.
    if (isVisible() && widthFitted_ && analysis_.sessionCount() != sessionsBefore)
        fitWidth();
}

// The selector's entries follow the sessions; they are made anew only when those change.
void AnalysisWindow::updateSelector()
{
    QStringList titles;
    titles.reserve(qsizetype(analysis_.sessionCount()));
    for (std::size_t s = 0; s < analysis_.sessionCount(); ++s)
        titles << tr("%1 (%n lap(s), %2)", nullptr, int(analysis_.session(s).lapCount))
                      .arg(sessionTitle(analysis_, s), speedUnitText(analysis_.session(s).unit));
    sessionRow_->setVisible(analysis_.sessionCount() > 1);
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
    if (session && *session >= analysis_.sessionCount())
        return;
    shown_ = session;
    {
        const QSignalBlocker block(selector_);
        selector_->setCurrentIndex(shown_ ? int(*shown_) + 1 : 0);
    }
    showLaps();
    showAnalysis();
}

// Puts the shown laps in the list.
void AnalysisWindow::showLaps()
{
    const std::size_t first = shown_ ? analysis_.session(*shown_).firstLap : 0;
    const std::size_t count =
        shown_ ? analysis_.session(*shown_).lapCount : analysis_.laps().size();
    model_->setLaps(&analysis_, first, count);
    int sectors = 0;
    for (std::size_t pos = first; pos < first + count; ++pos)
        sectors = std::max(sectors, analysis_.laps()[pos].sectorCount());
    for (int sector = 0; sector < kMaxSectors; ++sector)
        lapList_->setColumnHidden(LapListModel::FirstSectorColumn + sector, sector >= sectors);
    lapList_->setColumnHidden(LapListModel::SessionColumn,
                              analysis_.sessionCount() <= 1 || shown_.has_value());
}

QString AnalysisWindow::faultNote() const
{
    const auto failed = std::find_if(files_.files.rbegin(), files_.files.rend(),
                                     [](const LoadedFile& f) { return !f.fault.empty(); });
    if (failed == files_.files.rend())
        return {};
    const QString name = QString::fromStdString(failed->name);
    const QString fault = QString::fromStdString(failed->fault);
    if (files_.unreadFiles > 0)
        return tr("\"bil load\" stopped at %1: %2. The view holds the laps read before it; %n "
                  "later file(s) not read.",
                  nullptr, files_.unreadFiles)
            .arg(name, fault);
    return tr("\"bil load\" stopped at %1: %2. The view holds the laps read before it.")
        .arg(name, fault);
}

// Shows the figures of what is selected in the summary, the list and the chart.
void AnalysisWindow::showAnalysis()
{
    resetButton_->setEnabled(analysis_.hasChoices());
    if (!holdsTable())
        return;
    const SummaryPanel::Notes notes{skippedLines_, faultNote()};
    if (shown_ || analysis_.sessionCount() == 1)
        summary_->showSession(analysis_, shown_.value_or(0), notes);
    else
        summary_->showDay(analysis_, notes);
    model_->statsChanged();
    feedChart();
}

// The chart's sessions: the one shown, or every session side by side, each named after its lap
// file and drawn in its own colour.
void AnalysisWindow::feedChart()
{
    std::vector<ChartSession> sessions;
    const auto add = [&](std::size_t s) {
        // One session is named after its lap file alone; several carry their tag ("S2 ...").
        QString name = sessionTitle(analysis_, s);
        if (analysis_.sessionCount() == 1) {
            name = QString::fromStdString(analysis_.session(s).name);
            if (name.endsWith(QStringLiteral(".BIL"), Qt::CaseInsensitive))
                name.chop(4);
        }
        sessions.push_back(chartSession(name, analysis_.lapsOf(s), analysis_.stats(s),
                                        analysis_.session(s).firstLap));
    };
    if (shown_) {
        add(*shown_);
    } else {
        sessions.reserve(analysis_.sessionCount());
        for (std::size_t s = 0; s < analysis_.sessionCount(); ++s)
            add(s);
    }
    chart_->setSessions(std::move(sessions));
    chart_->setMarkedLap(selectedLap());
}

// The lap of the list's current row while that row is selected: the list's cursor alone, as it
// stands on the first row when the window opens, marks nothing.
std::optional<std::size_t> AnalysisWindow::selectedLap() const
{
    const QModelIndex current = lapList_->currentIndex();
    if (!current.isValid() || !lapList_->selectionModel()->isRowSelected(current.row()))
        return std::nullopt;
    return model_->lapAt(current.row());
}

void AnalysisWindow::toggleLap(std::size_t lap, bool counted)
{
    if ((analysis_.status(lap) == LapStatus::Counted) != counted)
        analysis_.toggleLap(lap);
    comparisonModel_->setAnalysis(&analysis_);
    showAnalysis();
}

void AnalysisWindow::setExcludeLimit(int percent)
{
    if (percent > 0 && percent < kLowestLimit) {
        excludeLimit_->setValue(kLowestLimit);
        return;
    }
    analysis_.setExcludeSlowerPercent(percent);
    comparisonModel_->setAnalysis(&analysis_);
    showAnalysis();
}

void AnalysisWindow::resetChoices()
{
    analysis_.resetChoices();
    comparisonModel_->setAnalysis(&analysis_);
    showAnalysis();
}

void AnalysisWindow::showLapInView(const QModelIndex& current)
{
    // The chart marks the lap too, panned to it when zoomed elsewhere.
    chart_->setMarkedLap(selectedLap(), true);
    if (!current.isValid())
        return;
    const std::int64_t line = analysis_.laps()[model_->lapAt(current.row())].line;
    if (line > 0)
        source_.showLapLine(int(line - 1));
}

// "<text folder>/<lap file name without .BIL><suffix>", the name an export proposes.
QString AnalysisWindow::proposedExportPath(const QString& suffix) const
{
    QString name = source_.lapFileName();
    if (name.endsWith(QStringLiteral(".BIL"), Qt::CaseInsensitive))
        name.chop(4);
    if (name.isEmpty())
        name = QString::fromLatin1(kNoLapFileName);
    return joinFolder(source_.textFolder(), name + suffix);
}

QString AnalysisWindow::proposedCsvPath() const
{
    return proposedExportPath(QStringLiteral(".csv"));
}

void AnalysisWindow::exportCsv()
{
    const QString path = saveName_(this, proposedCsvPath());
    if (path.isEmpty())
        return;
    const std::string csv = sessionLapCsv(analysis_, csvDialectForLocale(QLocale()));
    // Never written in place, whatever the folder: a failure changes nothing.
    const FileResult<> saved = saveWholeFile(path, QByteArrayView(csv.data(), qsizetype(csv.size())),
                                             SafeFileWriter::InPlace::Never);
    if (!saved) {
        showWarningBox(this, tr("The CSV file %1 could not be written: %2")
                                 .arg(QDir::toNativeSeparators(path), saved.reason()));
    }
}

SessionReport AnalysisWindow::report() const
{
    // The date of each session's lap file, where the file is found in the lap folder.
    std::vector<QDateTime> dates;
    const QString folder = source_.lapFolder();
    for (std::size_t s = 0; s < analysis_.sessionCount(); ++s) {
        const std::string& name = analysis_.session(s).name;
        QDateTime date;
        if (!folder.isEmpty() && !name.empty()) {
            const QFileInfo file(joinFolder(folder, QString::fromStdString(name)));
            if (file.isFile())
                date = file.lastModified();
        }
        dates.push_back(date);
    }
    return buildSessionReport(analysis_, dates);
}

QString AnalysisWindow::proposedPdfName() const
{
    return proposedExportPath(QStringLiteral(".pdf"));
}

void AnalysisWindow::saveAsPdf()
{
    if (!holdsTable())
        return;
    const FileResult<QString> saved =
        saveReportAsPdf(this, report(), proposedPdfName(), reportSaveName_);
    if (!saved)
        showWarningBox(this, tr("The report could not be saved: %1").arg(saved.reason()));
}

void AnalysisWindow::print()
{
    if (!holdsTable())
        return;
    const FileResult<bool> printed = printReport(this, report(), printDialog_);
    if (!printed)
        showWarningBox(this, tr("The report could not be printed: %1").arg(printed.reason()));
}

void AnalysisWindow::chooseLanguage(int index)
{
    // The language the box shows is used, remembered or not; a choice that cannot be kept is
    // said to be so.
    const QString language = language_->itemData(index).toString();
    const FileResult<> kept = setChosenLanguage(language);
    installTranslators(*QCoreApplication::instance(), languageForChoice(language));
    if (!kept)
        showWarningBox(this, tr("The language is used until the tool is closed, but it cannot be "
                                "remembered in %1: %2")
                                 .arg(QDir::toNativeSeparators(languageSettingsPath()),
                                      kept.reason()));
}
