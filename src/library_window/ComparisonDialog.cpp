#include "library_window/ComparisonDialog.h"

#include "analysis_view/DisplayText.h"
#include "library_view/ComparisonChart.h"
#include "library_view/ComparisonText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

// The bar chart of the gaps, drawn by the library's own painter.
class ComparisonChartView : public QWidget {
public:
    const LapComparison* comparison = nullptr;
    std::vector<std::size_t> order;
    QStringList labels;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        if (comparison)
            ComparisonChart::paint(painter, rect(), *comparison, order, labels);
    }
};

ComparisonDialog::ComparisonDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("comparisonDialog"));
    resize(1000, 700);
    lapsLabel_ = new QLabel;
    lapsText_ = new QLineEdit;
    lapsText_->setObjectName(QStringLiteral("comparedLaps"));
    lapsLabel_->setBuddy(lapsText_);
    fixedLaps_ = new QLabel;
    fixedLaps_->setObjectName(QStringLiteral("fixedLaps"));
    fixedLaps_->setWordWrap(true);
    referenceLabelText_ = new QLabel;
    reference_ = new QComboBox;
    reference_->setObjectName(QStringLiteral("reference"));
    referenceLabelText_->setBuddy(reference_);
    target_ = new QLineEdit;
    target_->setObjectName(QStringLiteral("targetTime"));
    target_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0:00.000")) + 16);
    byTimeLost_ = new QCheckBox;
    byTimeLost_->setObjectName(QStringLiteral("byTimeLost"));
    referenceShown_ = new QLabel;
    referenceShown_->setObjectName(QStringLiteral("referenceShown"));
    legend_ = new QLabel;
    legend_->setTextFormat(Qt::RichText);

    auto* top = new QHBoxLayout;
    top->addWidget(lapsLabel_);
    top->addWidget(lapsText_, 1);
    top->addWidget(fixedLaps_, 1);
    top->addSpacing(12);
    top->addWidget(referenceLabelText_);
    top->addWidget(reference_);
    top->addWidget(target_);
    top->addSpacing(12);
    top->addWidget(byTimeLost_);

    refusal_ = new QLabel;
    refusal_->setObjectName(QStringLiteral("refusal"));
    refusal_->setWordWrap(true);
    refusal_->setAlignment(Qt::AlignCenter);
    table_ = new QTableWidget;
    table_->setObjectName(QStringLiteral("comparisonTable"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    chart_ = new ComparisonChartView;
    chart_->setMinimumHeight(180);
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(table_);
    split->addWidget(chart_);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    // Room for six sectors and the lap in the table; the chart takes the rest.
    split->setSizes({300, 280});
    pages_ = new QStackedWidget;
    pages_->addWidget(refusal_);
    pages_->addWidget(split);

    auto* close = new QPushButton;
    close->setObjectName(QStringLiteral("closeComparison"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(legend_, 1);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(referenceShown_);
    layout->addWidget(pages_, 1);
    layout->addLayout(bottom);

    connect(lapsText_, &QLineEdit::editingFinished, this, &ComparisonDialog::compare);
    connect(reference_, &QComboBox::activated, this, &ComparisonDialog::compare);
    connect(target_, &QLineEdit::editingFinished, this, [this] {
        reference_->setCurrentIndex(int(ReferenceKind::Target));
        compare();
    });
    connect(byTimeLost_, &QCheckBox::toggled, this, &ComparisonDialog::showTable);
    setCaptions();
    close->setText(tr("Close"));
}

void ComparisonDialog::setCaptions()
{
    setWindowTitle(tr("Compare laps"));
    lapsLabel_->setText(tr("&Laps"));
    lapsText_->setToolTip(tr("2 to 8 laps as SESSION:LAP, e.g. 12:9 14:7"));
    referenceLabelText_->setText(tr("&Against"));
    const int chosen = std::max(0, reference_->currentIndex());
    reference_->clear();
    for (ReferenceKind kind : {ReferenceKind::SessionBest, ReferenceKind::DayBest,
                               ReferenceKind::PersonalBest, ReferenceKind::Ideal,
                               ReferenceKind::Target})
        reference_->addItem(ComparisonText::kindName(kind), int(kind));
    reference_->setCurrentIndex(chosen);
    target_->setPlaceholderText(tr("m:ss.hh"));
    byTimeLost_->setText(tr("Sectors by &time lost"));
    QStringList legend;
    for (ComparisonMark mark :
         {ComparisonMark::BestShown, ComparisonMark::Better, ComparisonMark::Worse})
        legend << QStringLiteral("<span style=\"background-color:%1\">&nbsp;&nbsp;&nbsp;&nbsp;</span> %2")
                      .arg(comparisonMarkColour(mark).name(), ComparisonText::markMeaning(mark).toHtmlEscaped());
    legend_->setText(legend.join(QStringLiteral("&nbsp;&nbsp;&nbsp;")));
}

void ComparisonDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        setCaptions();
        showTable();
    }
    QDialog::changeEvent(event);
}

void ComparisonDialog::setInput(ComparisonInput input)
{
    input_ = std::move(input);
    const bool editable = bool(input_.lapsOf);
    lapsLabel_->setVisible(editable);
    lapsText_->setVisible(editable);
    fixedLaps_->setVisible(!editable);
    lapsText_->setText(input_.lapsText);
    QStringList labels;
    for (const ComparedLap& lap : input_.laps)
        labels << lap.label;
    fixedLaps_->setText(labels.join(QStringLiteral(", ")));
}

void ComparisonDialog::setReference(const ReferenceChoice& choice)
{
    reference_->setCurrentIndex(int(choice.kind));
    if (choice.kind == ReferenceKind::Target)
        target_->setText(timeText(choice.target));
}

void ComparisonDialog::compare()
{
    comparison_ = {};
    referenceLabel_.clear();
    laps_ = input_.laps;
    if (input_.lapsOf) {
        auto laps = input_.lapsOf(lapsText_->text());
        if (!laps.ok()) {
            comparison_.refused = laps.error.message;
            showTable();
            return;
        }
        laps_ = std::move(*laps.value);
    }
    ReferenceChoice choice{ReferenceKind(reference_->currentData().toInt())};
    if (choice.kind == ReferenceKind::Target) {
        const auto target = parseLapTime(target_->text());
        if (!target) {
            comparison_.refused = tr("Type the target lap time as m:ss.hh, e.g. 1:03.50.");
            showTable();
            return;
        }
        choice.target = *target;
    }
    if (laps_.size() < std::size_t(kMinComparedLaps) || laps_.size() > std::size_t(kMaxComparedLaps)) {
        comparison_ = compareLaps(laps_, {});
        showTable();
        return;
    }
    auto reference = input_.reference(choice, laps_);
    if (!reference.ok()) {
        comparison_.refused = reference.error.message;
    } else {
        referenceLabel_ = reference.value->label;
        comparison_ = compareLaps(laps_, *reference.value);
    }
    showTable();
}

void ComparisonDialog::showTable()
{
    referenceShown_->setText(referenceLabel_.isEmpty()
                                 ? QString()
                                 : tr("Reference: %1").arg(referenceLabel_));
    if (!comparison_.ok()) {
        refusal_->setText(comparison_.refused);
        pages_->setCurrentIndex(0);
        chart_->comparison = nullptr;
        return;
    }
    std::vector<std::size_t> order;
    if (byTimeLost_->isChecked())
        order = sectorsByTimeLost(comparison_);
    else
        for (std::size_t k = 0; k < comparison_.sectors.size(); ++k)
            order.push_back(k);
    std::vector<const ComparisonRow*> rows;
    for (std::size_t k : order)
        rows.push_back(&comparison_.sectors[k]);
    rows.push_back(&comparison_.whole);

    constexpr int perLap = ComparisonText::ColumnsPerLap;
    const int laps = int(laps_.size());
    table_->clear();
    table_->setRowCount(int(rows.size()));
    table_->setColumnCount(3 + laps * perLap);
    QStringList headers{tr("Sector"), tr("Reference"), tr("Lost")};
    QStringList labels;
    for (const ComparedLap& lap : laps_) {
        labels << lap.label;
        for (int c = 0; c < perLap; ++c)
            headers << (c == 0 ? lap.label + QLatin1Char('\n') : QStringLiteral("\n")) +
                           ComparisonText::columnTitle(c);
    }
    table_->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < int(rows.size()); ++r) {
        const ComparisonRow& row = *rows[std::size_t(r)];
        const auto put = [&](int column, const QString& text, const QColor& ground = {}) {
            auto* item = new QTableWidgetItem(text);
            item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                               : Qt::AlignRight | Qt::AlignVCenter);
            if (ground.isValid())
                item->setBackground(ground);
            if (row.sector == 0) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            table_->setItem(r, column, item);
        };
        put(0, ComparisonText::rowTitle(row));
        put(1, timeText(row.reference));
        put(2, row.sector == 0 ? QString() : gapText(row.lost));
        for (int i = 0; i < laps; ++i) {
            const ComparisonCell& cell = row.laps[std::size_t(i)];
            for (int c = 0; c < perLap; ++c) {
                // The lap's time and gap carry its mark; a summed gap means nothing for the lap.
                const bool marked = c == ComparisonText::Time || c == ComparisonText::Gap;
                const QString text = row.sector == 0 && c == ComparisonText::Cumulative
                                         ? QString()
                                         : ComparisonText::cellText(cell, c);
                put(3 + i * perLap + c, text, marked ? comparisonMarkColour(cell.mark) : QColor());
            }
        }
    }
    table_->resizeColumnsToContents();
    chart_->comparison = &comparison_;
    chart_->order = order;
    chart_->labels = labels;
    chart_->update();
    pages_->setCurrentIndex(1);
}
