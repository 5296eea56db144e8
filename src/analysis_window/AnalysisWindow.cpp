#include "analysis_window/AnalysisWindow.h"

#include "analysis_window/LapChart.h"
#include "analysis_window/LapDocument.h"
#include "analysis_window/LapListModel.h"
#include "analysis_window/SummaryPanel.h"
#include "file_chooser/ToolWindow.h"
#include "shared_state/SafeFile.h"
#include "shared_state/SharedState.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Long enough to let a burst of typing end, short enough to feel immediate.
constexpr int kPauseMs = 300;
constexpr char kNoLapFileName[] = "LAP_TXT_DATA";

} // namespace

CsvDialect csvDialectForLocale(const QLocale& locale)
{
    return csvDialectFor(locale.decimalPoint() == QStringLiteral(",") ? ';' : ',');
}

AnalysisWindow::AnalysisWindow(AnalysisSource& source, QWidget* parent)
    : QWidget(parent, Qt::Window), source_(source)
{
    setWindowTitle(tr("Lap analysis"));
    resize(960, 720);

    noTable_ = new QLabel;
    noTable_->setObjectName(QStringLiteral("noTable"));
    noTable_->setAlignment(Qt::AlignCenter);
    noTable_->setWordWrap(true);

    summary_ = new SummaryPanel;
    summary_->setObjectName(QStringLiteral("summary"));

    excludeLimit_ = new QSpinBox;
    excludeLimit_->setObjectName(QStringLiteral("excludeLimit"));
    excludeLimit_->setRange(0, 999);
    excludeLimit_->setSuffix(QStringLiteral(" %"));
    excludeLimit_->setSpecialValueText(tr("off"));
    excludeLimit_->setValue(int(options_.excludeSlowerPercent));
    excludeLimit_->setToolTip(tr("Laps slower than this share of the median lap time are not "
                                 "counted; \"off\" counts every timed lap"));
    auto* limitLabel = new QLabel(tr("&Exclude laps slower than"));
    limitLabel->setBuddy(excludeLimit_);
    exportButton_ = new QPushButton(tr("Export &CSV…"));
    exportButton_->setObjectName(QStringLiteral("exportCsv"));
    exportButton_->setAutoDefault(false);

    auto* controls = new QVBoxLayout;
    controls->addWidget(limitLabel);
    auto* limitRow = new QHBoxLayout;
    limitRow->addWidget(excludeLimit_);
    limitRow->addWidget(new QLabel(tr("of the median")));
    controls->addLayout(limitRow);
    controls->addSpacing(12);
    controls->addWidget(exportButton_);
    controls->addStretch();
    auto* summaryPane = new QWidget;
    auto* top = new QHBoxLayout(summaryPane);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(summary_, 1);
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
        const QString sample = column == LapListModel::LapColumn     ? QStringLiteral("000000")
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

    chart_ = new LapChart;
    chart_->setObjectName(QStringLiteral("chart"));
    chart_->setMinimumHeight(160);
    // The switch above the chart: one chart, three views of the same laps.
    auto* chartPane = new QWidget;
    auto* chartLayout = new QVBoxLayout(chartPane);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    auto* viewRow = new QHBoxLayout;
    auto* views = new QButtonGroup(chartPane);
    const std::pair<const char*, QString> viewButtons[] = {
        {"lapTimesView", tr("&Lap times")},
        {"sectorTimesView", tr("&Sector times")},
        {"temperatureView", tr("&TMP1/TMP2 ranges")}};
    for (const auto& [name, label] : viewButtons) {
        auto* button = new QRadioButton(label);
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
    splitter->addWidget(lapList_);
    splitter->addWidget(chartPane);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setStretchFactor(2, 1);
    splitter->setSizes({170, 270, 280});

    pages_ = new QStackedWidget;
    pages_->addWidget(noTable_);
    pages_->addWidget(splitter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);

    // The list takes the keys first: arrows walk the laps and the view's caret follows.
    lapList_->setFocus();
    setTabOrder(lapList_, excludeLimit_);
    setTabOrder(excludeLimit_, exportButton_);

    pause_.setSingleShot(true);
    pause_.setInterval(kPauseMs);
    connect(&pause_, &QTimer::timeout, this, &AnalysisWindow::refresh);
    connect(source_.lapDocument(), &QTextDocument::contentsChanged, this,
            &AnalysisWindow::viewChanged);
    connect(model_, &LapListModel::countedChanged, this, &AnalysisWindow::toggleLap);
    connect(excludeLimit_, &QSpinBox::valueChanged, this, &AnalysisWindow::setExcludeLimit);
    connect(lapList_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &AnalysisWindow::showLapInView);
    connect(exportButton_, &QPushButton::clicked, this, &AnalysisWindow::exportCsv);
    // A click on a chart point selects its lap in the list, and so the view's caret follows.
    connect(chart_, &LapChart::lapClicked, this, [this](std::size_t lap) {
        const int row = model_->rowOf(lap);
        if (row < 0)
            return;
        const QModelIndex index = model_->index(row, LapListModel::LapColumn);
        lapList_->setCurrentIndex(index);
        lapList_->scrollTo(index);
    });

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

bool AnalysisWindow::holdsTable() const
{
    return headerFound_ && !laps_.empty();
}

void AnalysisWindow::showEvent(QShowEvent* event)
{
    // Opening shows the analysis at once, drawn with its first frame.
    if (stale_)
        refresh();
    QWidget::showEvent(event);
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
    unit_ = table.unit;
    laps_ = std::move(table.laps);
    skippedLines_ = std::move(table.skippedLines);

    options_.overrides.clear();
    if (!userChoices_.empty()) {
        std::map<std::pair<std::int64_t, std::int32_t>, int> seen;
        for (std::size_t pos = 0; pos < laps_.size(); ++pos) {
            const LapData& lap = laps_[pos];
            const int before = seen[{lap.lapNumber, lap.lapTime()}]++;
            const auto choice = userChoices_.find({lap.lapNumber, lap.lapTime(), before});
            if (choice != userChoices_.end())
                options_.overrides[pos] = choice->second;
        }
    }
    analyse();
    model_->setSession(&laps_, &stats_, unit_);

    int sectors = 0;
    for (const LapData& lap : laps_)
        sectors = std::max(sectors, lap.sectorCount());
    for (int sector = 0; sector < kMaxSectors; ++sector)
        lapList_->setColumnHidden(LapListModel::FirstSectorColumn + sector, sector >= sectors);

    if (!headerFound_) {
        noTable_->setText(tr("The view holds no lap table.\n\nLoad lap files with \"bil load\" "
                             "or a saved table with \"Text load\", and the analysis follows."));
    } else if (laps_.empty()) {
        noTable_->setText(tr("The lap table in the view holds no laps."));
    }
    pages_->setCurrentIndex(holdsTable() ? 1 : 0);
    showAnalysis();
}

AnalysisWindow::LapKey AnalysisWindow::keyOf(std::size_t lap) const
{
    const LapData& target = laps_[lap];
    const auto before = std::count_if(
        laps_.begin(), laps_.begin() + std::ptrdiff_t(lap), [&](const LapData& other) {
            return other.lapNumber == target.lapNumber && other.lapTime() == target.lapTime();
        });
    return {target.lapNumber, target.lapTime(), int(before)};
}

void AnalysisWindow::analyse()
{
    stats_ = analyseSession(laps_, options_);
}

// Shows the figures of stats_ in the summary, the list and the chart.
void AnalysisWindow::showAnalysis()
{
    if (!holdsTable())
        return;
    summary_->showSession(laps_, unit_, stats_, skippedLines_);
    model_->statsChanged();
    feedChart();
}

// The chart's one session: the laps of the view, named after their lap file.
void AnalysisWindow::feedChart()
{
    QString name = source_.lapFileName();
    if (name.endsWith(QStringLiteral(".BIL"), Qt::CaseInsensitive))
        name.chop(4);
    chart_->setSessions({chartSession(name, laps_, stats_)});
}

void AnalysisWindow::toggleLap(std::size_t lap, bool counted)
{
    userChoices_[keyOf(lap)] = counted;
    options_.overrides[lap] = counted;
    analyse();
    showAnalysis();
}

void AnalysisWindow::setExcludeLimit(int percent)
{
    options_.excludeSlowerPercent = percent;
    analyse();
    showAnalysis();
}

void AnalysisWindow::showLapInView(const QModelIndex& current)
{
    if (!current.isValid())
        return;
    const std::int64_t line = laps_[model_->lapAt(current.row())].line;
    if (line > 0)
        source_.showLapLine(int(line - 1));
}

QString AnalysisWindow::proposedCsvPath() const
{
    QString name = source_.lapFileName();
    if (name.endsWith(QStringLiteral(".BIL"), Qt::CaseInsensitive))
        name.chop(4);
    if (name.isEmpty())
        name = QString::fromLatin1(kNoLapFileName);
    return joinFolder(source_.textFolder(), name + QStringLiteral(".csv"));
}

void AnalysisWindow::exportCsv()
{
    const QString path = saveName_(this, proposedCsvPath());
    if (path.isEmpty())
        return;
    const std::string csv = lapCsv(laps_, unit_, stats_, csvDialectForLocale(QLocale()));
    const FileResult<> saved =
        saveWholeFile(path, QByteArrayView(csv.data(), qsizetype(csv.size())));
    if (!saved) {
        showWarningBox(this, tr("The CSV file %1 could not be written: %2")
                                 .arg(QDir::toNativeSeparators(path), saved.reason()));
    }
}
