#include "analysis_view/SessionReportBuilder.h"

#include "analysis_view/ChartModel.h"
#include "analysis_view/ChartPainter.h"
#include "analysis_view/DisplayText.h"
#include "lap_analysis/LapFormat.h"
#include "lap_analysis/LapRules.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>
#include <memory>

// The report's own words, in its context.
class SessionReportBuilder {
    Q_DECLARE_TR_FUNCTIONS(SessionReportBuilder)

public:
    static ReportPage sessionPage(const SessionAnalysis& analysis, std::size_t s,
                                  const std::vector<QDateTime>& dates);
    static ReportPage dayPage(const SessionAnalysis& analysis, const std::vector<QDateTime>& dates);
    static QStringList coverage(const SummaryNotes& notes);
};

namespace {

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
    return chartSession(sessionName(analysis, s), analysis.lapsOf(s), analysis.stats(s),
                        analysis.session(s).firstLap);
}

} // namespace

ReportPage SessionReportBuilder::sessionPage(const SessionAnalysis& analysis, std::size_t s,
                                             const std::vector<QDateTime>& dates)
{
    const SessionSpan& span = analysis.session(s);
    const SessionStats& stats = analysis.stats(s);
    const std::span<const LapData> laps = analysis.lapsOf(s);
    ReportPage page;
    page.title = sessionName(analysis, s);
    page.dateText = dateOf(dates, s);

    const auto counted = std::count(stats.status.begin(), stats.status.end(), LapStatus::Counted);
    page.figures.push_back(
        {tr("Laps"), tr("%1 counted of %2").arg(counted).arg(qsizetype(laps.size()))});
    page.figures.push_back({tr("Speed unit"), speedUnitText(span.unit)});
    if (stats.bestLap)
        page.figures.push_back({tr("Best lap"), tr("%1 (lap %2)")
                                                    .arg(timeText(stats.bestLap->value),
                                                         lapNumberText(laps[stats.bestLap->lap]))});
    if (stats.theoreticalBest)
        page.figures.push_back({tr("Theoretical best"), timeText(stats.theoreticalBest->time)});
    if (stats.consistency.count > 0) {
        page.figures.push_back({tr("Median"), timeText(std::llround(stats.consistency.median))});
        if (stats.consistency.count > 1)
            page.figures.push_back(
                {tr("Standard deviation"),
                 QString::fromStdString(formatSeconds(std::llround(stats.consistency.stddev)))});
    }

    int sectors = 0;
    for (const LapData& lap : laps)
        sectors = std::max(sectors, lap.sectorCount());
    page.columns.push_back({tr("Lap"), false});
    page.columns.push_back({tr("Time"), false});
    page.columns.push_back({tr("Gap"), false});
    for (int k = 0; k < sectors; ++k)
        page.columns.push_back({tr("S%1").arg(k + 1), false});
    page.columns.push_back({tr("Status"), true});

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
            status = tr("no time");
            break;
        case LapStatus::ExcludedSlow:
            status = tr("slow, not counted");
            break;
        case LapStatus::ExcludedByUser:
            status = tr("left out");
            break;
        }
        row.cells.push_back({status, false});
        page.rows.push_back(std::move(row));
    }
    page.chart = chartOf({chartOfSession(analysis, s)});
    return page;
}

ReportPage SessionReportBuilder::dayPage(const SessionAnalysis& analysis,
                                         const std::vector<QDateTime>& dates)
{
    ReportPage page;
    const auto count = int(analysis.sessionCount());
    page.title = tr("%n session(s)", nullptr, count);
    if (!dates.empty() && dates.front().isValid())
        page.dateText = reportDateText(dates.front().date());

    // Figures of different units are never put together: each day is its own.
    for (const DayStats& day : analysis.days()) {
        const QString unit = speedUnitText(day.unit);
        if (day.bestLap) {
            page.figures.push_back(
                {tr("Best lap (%1)").arg(unit),
                 tr("%1 (%2 lap %3)")
                     .arg(timeText(day.bestLap->value),
                          QString::fromStdString(SessionAnalysis::sessionTag(day.bestLap->session)),
                          lapNumberText(analysis.laps()[day.bestLap->lap]))});
        }
        if (day.theoreticalBest)
            page.figures.push_back(
                {tr("Theoretical best (%1)").arg(unit), timeText(day.theoreticalBest->time)});
    }

    page.columns = {{tr("Session"), true},   {tr("Laps"), false},    {tr("Counted"), false},
                    {tr("Best lap"), false}, {tr("Gap"), false},     {tr("Theoretical"), false},
                    {tr("Median"), false},   {tr("Std dev"), false}, {tr("Speed unit"), true}};
    const auto optionalTime = [](const std::optional<std::int32_t>& t) {
        return t ? timeText(*t) : QString();
    };
    std::vector<ChartSession> charts;
    for (const SessionComparison& c : analysis.comparison()) {
        ReportRow row;
        row.bestLap = c.bestGap && *c.bestGap == 0;
        row.cells = {
            {QString::fromStdString(SessionAnalysis::sessionTag(c.session)) + u' ' +
                 sessionName(analysis, c.session),
             false},
            {QString::number(c.lapCount), false},
            {QString::number(c.countedCount), false},
            {optionalTime(c.best), row.bestLap},
            {c.bestGap ? gapText(*c.bestGap) : QString(), false},
            {optionalTime(c.theoretical), c.theoreticalGap && *c.theoreticalGap == 0},
            {optionalTime(c.median), c.medianGap && *c.medianGap == 0},
            {c.stddev ? QString::fromStdString(formatSeconds(*c.stddev)) : QString(),
             c.stddevGap && *c.stddevGap == 0},
            {speedUnitText(analysis.session(c.session).unit), false},
        };
        page.rows.push_back(std::move(row));
        charts.push_back(chartOfSession(analysis, c.session));
    }
    page.chart = chartOf(std::move(charts));
    return page;
}

// What the report does not cover, a paragraph each; of a long list of files or lines the first
// are named and the rest counted.
QStringList SessionReportBuilder::coverage(const SummaryNotes& notes)
{
    QStringList lines;
    if (notes.incomplete)
        lines << tr("Covers only the laps before the fault: %1")
                     .arg(QString::fromStdString(notes.fault));
    if (!notes.unread.empty()) {
        QStringList names;
        for (std::size_t i = 0; i < notes.unread.size() && i < kListedLines; ++i)
            names << QString::fromStdString(notes.unread[i]);
        const int more = int(notes.unread.size() - std::size_t(names.size()));
        lines << (more > 0 ? tr("Not read: %1 and %n more", nullptr, more) : tr("Not read: %1"))
                     .arg(names.join(QStringLiteral(", ")));
    }
    for (const SummaryNotes::Skipped& skipped : notes.skipped) {
        const auto count = int(std::max(skipped.count, std::int64_t(skipped.lines.size())));
        if (count == 0)
            continue;
        QString listed = QString::fromStdString(listLines(skipped.lines).names);
        if (count > int(std::min(skipped.lines.size(), kListedLines)))
            listed += QStringLiteral(", …");
        lines << (skipped.file.empty()
                      ? tr("%n line(s) of the table skipped, not lap lines: %1", nullptr, count)
                            .arg(listed)
                      : tr("%1: %n line(s) skipped, not lap lines: %2", nullptr, count)
                            .arg(QString::fromStdString(skipped.file), listed));
    }
    return lines;
}

SessionReport buildSessionReport(const SessionAnalysis& analysis,
                                 const std::vector<QDateTime>& fileDates, const SummaryNotes& notes)
{
    SessionReport report;
    for (std::size_t s = 0; s < analysis.sessionCount(); ++s)
        report.sessions.push_back(SessionReportBuilder::sessionPage(analysis, s, fileDates));
    if (analysis.sessionCount() == 1) {
        report.documentTitle = report.sessions.front().title;
        report.sessions.front().coverage = SessionReportBuilder::coverage(notes);
    } else if (analysis.sessionCount() > 1) {
        report.day = SessionReportBuilder::dayPage(analysis, fileDates);
        report.day.coverage = SessionReportBuilder::coverage(notes);
        report.documentTitle = report.day.title;
    }
    return report;
}
