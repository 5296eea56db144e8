#include "analysis_window/WindowReport.h"

#include "analysis_window/ChartModel.h"
#include "analysis_window/ChartPainter.h"
#include "analysis_window/DisplayText.h"

#include <QCoreApplication>
#include <QPainter>
#include <memory>

namespace {

// The report's own texts.
struct WindowReport {
    Q_DECLARE_TR_FUNCTIONS(WindowReport)
};

// The list of one session's laps: number, time, gap, sectors; best lap and sector bests marked.
void fillLapList(ReportPage& page, const SessionAnalysis& analysis, std::size_t session)
{
    const SessionSpan& span = analysis.session(session);
    const SessionStats& stats = analysis.stats(session);
    int sectors = 0;
    for (std::size_t pos = span.firstLap; pos < span.firstLap + span.lapCount; ++pos)
        sectors = std::max(sectors, analysis.laps()[pos].sectorCount());

    page.columns = {
        {WindowReport::tr("Lap")}, {WindowReport::tr("Time")}, {WindowReport::tr("Gap")}};
    for (int sector = 1; sector <= sectors; ++sector)
        page.columns.push_back({WindowReport::tr("S%1").arg(sector)});
    page.columns.push_back({WindowReport::tr("Status"), true});

    for (std::size_t pos = 0; pos < span.lapCount; ++pos) {
        const std::size_t at = span.firstLap + pos;
        const LapData& lap = analysis.laps()[at];
        const LapStatus status = analysis.status(at);
        const bool best = stats.bestLap && stats.bestLap->lap == pos;
        ReportRow row;
        row.bestLap = best;
        row.excluded = status != LapStatus::Counted;
        row.cells.push_back({lapNumberText(lap)});
        row.cells.push_back({lap.timed() ? timeText(lap.lapTime()) : QString(), best});
        const std::int32_t gap = analysis.gapToBest(at);
        row.cells.push_back({gap == kUnknownTime ? QString() : gapText(gap)});
        for (int sector = 1; sector <= sectors; ++sector) {
            const auto& sectorBestAt = stats.sectorBest[std::size_t(sector - 1)];
            const bool sectorBest = sectorBestAt && sectorBestAt->lap == pos;
            row.cells.push_back(
                {sector <= lap.sectorCount() ? timeText(lap.blocks[sector].time) : QString(),
                 sectorBest});
        }
        row.cells.push_back({status == LapStatus::Counted   ? WindowReport::tr("counted")
                             : status == LapStatus::Untimed ? WindowReport::tr("no lap time")
                                                            : WindowReport::tr("excluded")});
        page.rows.push_back(std::move(row));
    }
}

void addFigures(ReportPage& page, const SessionStats& stats,
                const std::function<QString(std::size_t)>& lap)
{
    page.figures.push_back({WindowReport::tr("Best lap"),
                            stats.bestLap
                                ? QStringLiteral("%1   %2").arg(timeText(stats.bestLap->value),
                                                                lap(stats.bestLap->lap))
                                : WindowReport::tr("no counted lap")});
    page.figures.push_back(
        {WindowReport::tr("Theoretical best"),
         stats.theoreticalBest ? timeText(stats.theoreticalBest->time) : QStringLiteral("–")});
    page.figures.push_back(
        {WindowReport::tr("Best rolling lap"),
         stats.rollingBest ? timeText(stats.rollingBest->time) : QStringLiteral("–")});
    page.figures.push_back(
        {WindowReport::tr("Counted laps"),
         WindowReport::tr("%n of %1", nullptr, stats.countedCount).arg(stats.timedCount)});
    if (stats.consistency.count > 0)
        page.figures.push_back({WindowReport::tr("Median of the counted laps"),
                                timeText(std::int64_t(std::llround(stats.consistency.median)))});
}

ChartPainter sessionChart(const QString& name, const SessionAnalysis& analysis, std::size_t s)
{
    auto model = std::make_shared<ChartModel>();
    std::vector<ChartSession> sessions;
    sessions.push_back(
        chartSession(name, analysis.lapsOf(s), analysis.stats(s), analysis.session(s).firstLap));
    model->setSessions(std::move(sessions));
    return [model](QPainter& painter, const QRectF& area) {
        paintChart(painter, area, *model, ChartView::LapTimes);
    };
}

} // namespace

SessionReport windowReport(const SessionAnalysis& analysis, const QString& documentTitle,
                           const std::vector<QDateTime>& sessionDates)
{
    SessionReport report;
    report.documentTitle = documentTitle;
    const std::size_t count = analysis.sessionCount();
    for (std::size_t s = 0; s < count; ++s) {
        ReportPage page;
        const SessionSpan& span = analysis.session(s);
        page.title =
            span.name.empty() ? sessionTitle(analysis, s) : QString::fromStdString(span.name);
        if (s < sessionDates.size() && sessionDates[s].isValid())
            page.dateText = reportDateText(sessionDates[s]);
        addFigures(page, analysis.stats(s),
                   [&](std::size_t pos) { return lapReference(analysis, span.firstLap + pos); });
        fillLapList(page, analysis, s);
        QString chartName = QString::fromStdString(span.name);
        if (chartName.endsWith(QStringLiteral(".BIL"), Qt::CaseInsensitive))
            chartName.chop(4);
        page.chart = sessionChart(chartName, analysis, s);
        report.sessions.push_back(std::move(page));
    }
    if (count > 1) {
        ReportPage& day = report.day;
        day.title = WindowReport::tr("The day: %n session(s)", nullptr, int(count));
        QDate first;
        for (const QDateTime& d : sessionDates)
            if (d.isValid() && (!first.isValid() || d.date() < first))
                first = d.date();
        if (first.isValid())
            day.dateText = reportDateText(first);
        addFigures(day, analysis.allStats(),
                   [&](std::size_t pos) { return lapReference(analysis, pos); });
        day.columns = {{WindowReport::tr("Session"), true},
                       {WindowReport::tr("Laps")},
                       {WindowReport::tr("Counted")},
                       {WindowReport::tr("Best lap")},
                       {WindowReport::tr("Theoretical best")}};
        for (std::size_t s = 0; s < count; ++s) {
            const SessionStats& st = analysis.stats(s);
            ReportRow row;
            row.cells = {{sessionTitle(analysis, s)},
                         {figureText(std::int64_t(analysis.session(s).lapCount))},
                         {figureText(std::int64_t(st.countedCount))},
                         {st.bestLap ? timeText(st.bestLap->value) : QString()},
                         {st.theoreticalBest ? timeText(st.theoreticalBest->time) : QString()}};
            day.rows.push_back(std::move(row));
        }
    }
    return report;
}
