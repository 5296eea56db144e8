#include "analysis_view/SessionReportBuilder.h"

#include "analysis_view/ChartModel.h"
#include "analysis_view/ChartPainter.h"
#include "lap_analysis/LapFormat.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>
#include <memory>

namespace {

QString timeText(std::int64_t hundredths)
{
    return QString::fromStdString(formatLapTime(hundredths));
}

QString gapText(std::int64_t hundredths)
{
    return QString::fromStdString(formatGap(hundredths));
}

QString lapNumberText(const LapData& lap)
{
    return lap.lapNumberCut ? QStringLiteral("…%1").arg(lap.lapNumber)
                            : QString::number(lap.lapNumber);
}

QString unitText(SpeedUnit unit)
{
    return unit == SpeedUnit::Mph ? QStringLiteral("m/h") : QStringLiteral("km/h");
}

QString sessionTitle(const SessionAnalysis& analysis, std::size_t s)
{
    const SessionSpan& span = analysis.session(s);
    if (span.name.empty())
        return QCoreApplication::translate("SessionReportBuilder", "Session %1").arg(s + 1);
    return QString::fromStdString(span.name);
}

QString dateOf(const std::vector<QDateTime>& dates, std::size_t s)
{
    return s < dates.size() && dates[s].isValid() ? reportDateText(dates[s]) : QString();
}

DrawChartFn chartOf(std::vector<ChartSession> sessions)
{
    auto model = std::make_shared<ChartModel>();
    model->setSessions(std::move(sessions));
    return [model](QPainter& painter, const QRectF& area) {
        paintChart(painter, area, *model, ChartView::LapTimes);
    };
}

ChartSession chartOfSession(const SessionAnalysis& analysis, std::size_t s)
{
    return chartSession(sessionTitle(analysis, s), analysis.lapsOf(s), analysis.stats(s),
                        analysis.session(s).firstLap);
}

ReportPage sessionPage(const SessionAnalysis& analysis, std::size_t s,
                       const std::vector<QDateTime>& dates)
{
    const SessionSpan& span = analysis.session(s);
    const SessionStats& stats = analysis.stats(s);
    const std::span<const LapData> laps = analysis.lapsOf(s);
    ReportPage page;
    page.title = sessionTitle(analysis, s);
    page.dateText = dateOf(dates, s);

    const auto counted = std::count(stats.status.begin(), stats.status.end(), LapStatus::Counted);
    page.figures.push_back({QCoreApplication::translate("SessionReportBuilder", "Laps"),
                            QCoreApplication::translate("SessionReportBuilder", "%1 counted of %2")
                                .arg(counted)
                                .arg(qsizetype(laps.size()))});
    page.figures.push_back(
        {QCoreApplication::translate("SessionReportBuilder", "Speed unit"), unitText(span.unit)});
    if (stats.bestLap)
        page.figures.push_back(
            {QCoreApplication::translate("SessionReportBuilder", "Best lap"),
             QCoreApplication::translate("SessionReportBuilder", "%1 (lap %2)")
                 .arg(timeText(stats.bestLap->value), lapNumberText(laps[stats.bestLap->lap]))});
    if (stats.theoreticalBest)
        page.figures.push_back(
            {QCoreApplication::translate("SessionReportBuilder", "Theoretical best"),
             timeText(stats.theoreticalBest->time)});
    if (stats.consistency.count > 0) {
        page.figures.push_back({QCoreApplication::translate("SessionReportBuilder", "Median"),
                                timeText(std::llround(stats.consistency.median))});
        if (stats.consistency.count > 1)
            page.figures.push_back(
                {QCoreApplication::translate("SessionReportBuilder", "Standard deviation"),
                 QString::fromStdString(formatSeconds(std::llround(stats.consistency.stddev)))});
    }

    int sectors = 0;
    for (const LapData& lap : laps)
        sectors = std::max(sectors, lap.sectorCount());
    page.columns.push_back({QCoreApplication::translate("SessionReportBuilder", "Lap"), false});
    page.columns.push_back({QCoreApplication::translate("SessionReportBuilder", "Time"), false});
    page.columns.push_back({QCoreApplication::translate("SessionReportBuilder", "Gap"), false});
    for (int k = 0; k < sectors; ++k)
        page.columns.push_back(
            {QCoreApplication::translate("SessionReportBuilder", "S%1").arg(k + 1), false});
    page.columns.push_back({QCoreApplication::translate("SessionReportBuilder", "Status"), true});

    for (std::size_t i = 0; i < laps.size(); ++i) {
        const LapData& lap = laps[i];
        ReportRow row;
        row.bestLap = stats.bestLap && stats.bestLap->lap == i;
        row.excluded = stats.status[i] != LapStatus::Counted;
        row.cells.push_back({lapNumberText(lap), false});
        row.cells.push_back({lap.timed() ? timeText(lap.lapTime()) : QString(), row.bestLap});
        row.cells.push_back(
            {stats.gapToBest[i] != kUnknownTime ? gapText(stats.gapToBest[i]) : QString(), false});
        for (int k = 0; k < sectors; ++k) {
            const bool has = k < lap.sectorCount() && lap.blocks[k + 1].time != kUnknownTime;
            const bool best =
                stats.sectorBest[std::size_t(k)] && stats.sectorBest[std::size_t(k)]->lap == i;
            row.cells.push_back({has ? timeText(lap.blocks[k + 1].time) : QString(), best});
        }
        QString status;
        switch (stats.status[i]) {
        case LapStatus::Counted:
            break;
        case LapStatus::Untimed:
            status = QCoreApplication::translate("SessionReportBuilder", "no time");
            break;
        case LapStatus::ExcludedSlow:
            status = QCoreApplication::translate("SessionReportBuilder", "slow, not counted");
            break;
        case LapStatus::ExcludedByUser:
            status = QCoreApplication::translate("SessionReportBuilder", "left out");
            break;
        }
        row.cells.push_back({status, false});
        page.rows.push_back(std::move(row));
    }
    page.chart = chartOf({chartOfSession(analysis, s)});
    return page;
}

ReportPage dayPage(const SessionAnalysis& analysis, const std::vector<QDateTime>& dates)
{
    ReportPage page;
    const auto count = int(analysis.sessionCount());
    page.title =
        QCoreApplication::translate("SessionReportBuilder", "%n session(s)", nullptr, count);
    if (!dates.empty() && dates.front().isValid())
        page.dateText = reportDateText(dates.front().date());

    // Figures of different units are never put together: each day is its own.
    for (const DayStats& day : analysis.days()) {
        const QString unit = unitText(day.unit);
        if (day.bestLap) {
            page.figures.push_back(
                {QCoreApplication::translate("SessionReportBuilder", "Best lap (%1)").arg(unit),
                 QCoreApplication::translate("SessionReportBuilder", "%1 (%2 lap %3)")
                     .arg(timeText(day.bestLap->value),
                          QString::fromStdString(SessionAnalysis::sessionTag(day.bestLap->session)),
                          lapNumberText(analysis.laps()[day.bestLap->lap]))});
        }
        if (day.theoreticalBest)
            page.figures.push_back(
                {QCoreApplication::translate("SessionReportBuilder", "Theoretical best (%1)")
                     .arg(unit),
                 timeText(day.theoreticalBest->time)});
    }

    page.columns = {{QCoreApplication::translate("SessionReportBuilder", "Session"), true},
                    {QCoreApplication::translate("SessionReportBuilder", "Laps"), false},
                    {QCoreApplication::translate("SessionReportBuilder", "Counted"), false},
                    {QCoreApplication::translate("SessionReportBuilder", "Best lap"), false},
                    {QCoreApplication::translate("SessionReportBuilder", "Gap"), false},
                    {QCoreApplication::translate("SessionReportBuilder", "Theoretical"), false},
                    {QCoreApplication::translate("SessionReportBuilder", "Median"), false},
                    {QCoreApplication::translate("SessionReportBuilder", "Std dev"), false},
                    {QCoreApplication::translate("SessionReportBuilder", "Speed unit"), true}};
    const auto optionalTime = [](const std::optional<std::int32_t>& t) {
        return t ? timeText(*t) : QString();
    };
    std::vector<ChartSession> charts;
    for (const SessionComparison& c : analysis.comparison()) {
        ReportRow row;
        row.bestLap = c.bestGap && *c.bestGap == 0;
        row.cells = {
            {QString::fromStdString(SessionAnalysis::sessionTag(c.session)) + u' ' +
                 sessionTitle(analysis, c.session),
             false},
            {QString::number(c.lapCount), false},
            {QString::number(c.countedCount), false},
            {optionalTime(c.best), row.bestLap},
            {c.bestGap ? gapText(*c.bestGap) : QString(), false},
            {optionalTime(c.theoretical), c.theoreticalGap && *c.theoreticalGap == 0},
            {optionalTime(c.median), c.medianGap && *c.medianGap == 0},
            {c.stddev ? QString::fromStdString(formatSeconds(*c.stddev)) : QString(),
             c.stddevGap && *c.stddevGap == 0},
            {unitText(analysis.session(c.session).unit), false},
        };
        page.rows.push_back(std::move(row));
        charts.push_back(chartOfSession(analysis, c.session));
    }
    page.chart = chartOf(std::move(charts));
    return page;
}

} // namespace

SessionReport buildSessionReport(const SessionAnalysis& analysis,
                                 const std::vector<QDateTime>& fileDates)
{
    SessionReport report;
    for (std::size_t s = 0; s < analysis.sessionCount(); ++s)
        report.sessions.push_back(sessionPage(analysis, s, fileDates));
    if (analysis.sessionCount() == 1) {
        report.documentTitle = report.sessions.front().title;
    } else if (analysis.sessionCount() > 1) {
        report.day = dayPage(analysis, fileDates);
        report.documentTitle = report.day.title;
    }
    return report;
}
