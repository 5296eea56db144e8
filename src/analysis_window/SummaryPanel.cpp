#include "analysis_window/SummaryPanel.h"

#include "analysis_window/DisplayText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <cmath>

namespace {

QString linesText(const std::vector<std::int64_t>& lines)
{
    const ListedLines listed = listLines(lines);
    QString text = QString::fromStdString(listed.names);
    if (listed.more > 0)
        text += QStringLiteral(", …");
    return text;
}

// "1 lap", "2 laps".
QString count(int n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromLatin1(n == 1 ? one : many));
}

QString hundredthsText(double hundredths)
{
    return timeText(std::llround(hundredths));
}

} // namespace

SummaryPanel::SummaryPanel(QWidget* parent) : QWidget(parent)
{
    auto* times = new QGridLayout;
    addRow(times, tr("Best lap"), "bestLap");
    addRow(times, tr("Theoretical best"), "theoreticalBest");
    addRow(times, tr("Best rolling lap"), "rollingBest");
    addRow(times, tr("Consistency"), "consistency");
    addRow(times, tr("Spread"), "spread");
    times->setRowStretch(times->rowCount(), 1);

    auto* peaks = new QGridLayout;
    addRow(peaks, tr("rpm max"), "rpmMax");
    addRow(peaks, tr("Speed max"), "speedMax");
    addRow(peaks, tr("GX max"), "gxMax");
    addRow(peaks, tr("GY max"), "gyMax");
    addRow(peaks, tr("TMP1 min / max"), "tmp1");
    addRow(peaks, tr("TMP2 min / max"), "tmp2");
    peaks->setRowStretch(peaks->rowCount(), 1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(times, 3);
    columns->addSpacing(16);
    columns->addLayout(peaks, 2);

    auto* counts = new QLabel;
    counts->setObjectName(QStringLiteral("counts"));
    counts->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(columns);
    layout->addWidget(counts);
}

QLabel* SummaryPanel::addRow(QGridLayout* grid, const QString& caption, const char* name)
{
    const int row = grid->rowCount();
    auto* value = new QLabel;
    value->setObjectName(QString::fromLatin1(name));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* label = new QLabel(caption);
    label->setBuddy(value);
    grid->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(value, row, 1, Qt::AlignLeft | Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    return value;
}

void SummaryPanel::set(const char* name, const QString& text)
{
    findChild<QLabel*>(QString::fromLatin1(name))->setText(text);
}

void SummaryPanel::showSession(std::span<const LapData> laps, SpeedUnit unit,
                               const SessionStats& stats,
                               const std::vector<std::int64_t>& skippedLines)
{
    const auto lap = [&](std::size_t pos) { return lapNumberText(laps[pos]); };
    const QString none = tr("–");

    set("bestLap",
        stats.bestLap
            ? tr("%1   lap %2").arg(timeText(stats.bestLap->value), lap(stats.bestLap->lap))
            : tr("no counted lap"));
    if (stats.theoreticalBest) {
        QStringList from;
        for (const std::size_t pos : stats.theoreticalBest->sectorLaps)
            from << lap(pos);
        set("theoreticalBest",
            tr("%1   sectors from laps %2")
                .arg(timeText(stats.theoreticalBest->time), from.join(QStringLiteral(", "))));
    } else {
        set("theoreticalBest", stats.bestLap ? tr("– (the counted laps differ in sectors)") : none);
    }
    if (stats.rollingBest) {
        const auto& r = *stats.rollingBest;
        set("rollingBest", tr("%1   lap %2 sector %3 to lap %4 sector %5")
                               .arg(timeText(r.time), lap(r.startLap))
                               .arg(r.startSector)
                               .arg(lap(r.endLap))
                               .arg(r.endSector));
    } else {
        set("rollingBest", none);
    }
    const auto& c = stats.consistency;
    set("consistency", c.count > 0 ? tr("%1: mean %2, median %3")
                                         .arg(count(c.count, "counted lap", "counted laps"),
                                              hundredthsText(c.mean), hundredthsText(c.median))
                                   : none);
    QString spread = none;
    if (c.count >= 2) {
        spread = tr("standard deviation %1 s")
                     .arg(QString::fromStdString(formatSeconds(std::llround(c.stddev))));
        if (c.stddevPercent)
            spread += tr(" (%1 % of the median)").arg(QLocale().toString(*c.stddevPercent, 'f', 2));
    }
    set("spread", spread);

    const auto peak = [&](const std::optional<LapAt>& at, const QString& value) {
        return at ? tr("%1   lap %2").arg(value, lap(at->lap)) : none;
    };
    const QString speedUnit = unit == SpeedUnit::Mph ? tr("m/h") : tr("km/h");
    set("rpmMax", peak(stats.rpmMax, stats.rpmMax ? numberText(stats.rpmMax->value) : QString()));
    set("speedMax",
        peak(stats.speedMax,
             stats.speedMax ? numberText(stats.speedMax->value) + u' ' + speedUnit : QString()));
    set("gxMax",
        peak(stats.gxMax, stats.gxMax ? tenthsText(stats.gxMax->value) + tr(" G") : QString()));
    set("gyMax",
        peak(stats.gyMax, stats.gyMax ? tenthsText(stats.gyMax->value) + tr(" G") : QString()));
    const auto range = [&](const std::optional<LapAt>& low, const std::optional<LapAt>& high) {
        if (!low || !high)
            return none;
        return tr("%1 (lap %2) / %3 (lap %4)")
            .arg(numberText(low->value), lap(low->lap), numberText(high->value), lap(high->lap));
    };
    set("tmp1", range(stats.tmp1Min, stats.tmp1Max));
    set("tmp2", range(stats.tmp2Min, stats.tmp2Max));

    const int untimed = int(laps.size()) - stats.timedCount;
    const int excluded = stats.timedCount - stats.countedCount;
    QString counts = tr("%1: %2 counted, %3 excluded")
                         .arg(count(int(laps.size()), "lap", "laps"))
                         .arg(stats.countedCount)
                         .arg(excluded);
    if (stats.excludeLimit)
        counts += tr(" (slower than %1 or by hand)").arg(timeText(*stats.excludeLimit));
    if (untimed > 0)
        counts += tr(", %1 without a lap time").arg(untimed);
    counts += tr(". ");
    counts += skippedLines.empty() ? tr("Every line after the header is a lap line.")
              : skippedLines.size() == 1
                  ? tr("Line %1 of the view is not a lap line.").arg(skippedLines.front())
                  : tr("%1 lines of the view are not lap lines: %2.")
                        .arg(skippedLines.size())
                        .arg(linesText(skippedLines));
    set("counts", counts);
}
