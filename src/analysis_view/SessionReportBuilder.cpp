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
    static void dayFigures(const SessionAnalysis& analysis, std::vector<ReportFigure>& figures);
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

// A session's own page names it alone; the day's chart names each session with its tag.
ChartSession chartOfSession(const SessionAnalysis& analysis, std::size_t s, bool day)
{
    return chartSession(day ? chartName(analysis, s) : QString(), analysis.lapsOf(s),
                        analysis.stats(s), analysis.session(s).firstLap,
                        day ? QString::fromStdString(SessionAnalysis::sessionTag(s)) : QString());
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
        page.figures.push_back(
            {tr("Best lap"),
             tr("%1 (%2)").arg(timeText(stats.bestLap->value), lapText(laps[stats.bestLap->lap]))});
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
        case LapStatus::ExcludedFast:
            status = tr("too fast, not counted");
            break;
        case LapStatus::ExcludedByUser:
            status = tr("left out");
            break;
        }
        row.cells.push_back({status, false});
        page.rows.push_back(std::move(row));
    }
    page.chart = chartOf({chartOfSession(analysis, s, false)});
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

    dayFigures(analysis, page.figures);

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
            {sessionTitle(analysis, c.session), false},
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
        charts.push_back(chartOfSession(analysis, c.session, true));
    }
    page.chart = chartOf(std::move(charts));
    return page;
}

// The day's figures as the window's summary shows them: bests with the session and lap they
// came from, each sector's best, consistency and the peaks, the top speed once per speed unit.
void SessionReportBuilder::dayFigures(const SessionAnalysis& analysis,
                                      std::vector<ReportFigure>& figures)
{
    const DayStats& day = analysis.day();
    const auto at = [&](std::int32_t time, std::size_t lap) {
        return tr("%1 (%2)").arg(timeText(time), lapReference(analysis, lap));
    };
    const auto peak = [&](const QString& value, std::size_t lap) {
        return tr("%1 (%2)").arg(value, lapReference(analysis, lap));
    };
    if (day.bestLap)
        figures.push_back({tr("Best lap"), at(day.bestLap->value, day.bestLap->lap)});
    if (day.theoreticalBest)
        figures.push_back({tr("Theoretical best"), timeText(day.theoreticalBest->time)});
    for (std::size_t k = 0; k < day.sectorBest.size(); ++k) {
        if (day.sectorBest[k])
            figures.push_back({tr("Sector %1").arg(k + 1),
                               at(day.sectorBest[k]->value, day.sectorBest[k]->lap)});
    }
    if (day.rollingBest) {
        const SessionStats::RollingBest& r = day.rollingBest->at;
        figures.push_back({tr("Best rolling lap"), tr("%1 (%2 sector %3 to %4 sector %5)")
                                                      .arg(timeText(r.time),
                                                           lapReference(analysis, r.startLap))
                                                      .arg(r.startSector)
                                                      .arg(lapReference(analysis, r.endLap))
                                                      .arg(r.endSector)});
    }
    const SessionStats::Consistency& c = day.consistency;
    if (c.count > 0)
        figures.push_back({tr("Consistency"),
                           tr("%n counted lap(s): mean %1, median %2", nullptr, c.count)
                               .arg(timeText(std::llround(c.mean)),
                                    timeText(std::llround(c.median)))});
    if (c.count > 1) {
        const QString stddev = QString::fromStdString(formatSeconds(std::llround(c.stddev)));
        figures.push_back(
            {tr("Standard deviation"),
             c.stddevPercent ? tr("%1 s (%2 of the median)")
                                   .arg(stddev, percentText(*c.stddevPercent, 2))
                             : tr("%1 s").arg(stddev)});
    }
    if (day.rpmMax)
        figures.push_back({tr("rpm max"), peak(numberText(day.rpmMax->value), day.rpmMax->lap)});
    // Speeds of two units are never compared: one top speed per unit, each with its unit.
    QStringList speeds;
    for (const DayStats::SpeedPeak& p : day.speedMax)
        speeds << peak(numberText(p.at.value) + u' ' + speedUnitText(p.unit), p.at.lap);
    if (!speeds.isEmpty())
        figures.push_back({tr("Speed max"), speeds.join(QStringLiteral("; "))});
    if (day.gxMax)
        figures.push_back({tr("GX max"), peak(gText(day.gxMax->value), day.gxMax->lap)});
    if (day.gyMax)
        figures.push_back({tr("GY max"), peak(gText(day.gyMax->value), day.gyMax->lap)});
    const auto range = [&](const char* label, const std::optional<SessionLapAt>& low,
                           const std::optional<SessionLapAt>& high) {
        if (low && high)
            figures.push_back({tr(label), tr("%1 (%2) / %3 (%4)")
                                              .arg(numberText(low->value),
                                                   lapReference(analysis, low->lap),
                                                   numberText(high->value),
                                                   lapReference(analysis, high->lap))});
    };
    range(QT_TR_NOOP("TMP1 min / max"), day.tmp1Min, day.tmp1Max);
    range(QT_TR_NOOP("TMP2 min / max"), day.tmp2Min, day.tmp2Max);
}

// What the report does not cover, a paragraph each; of a long list of files or lines the first
// are named and the rest counted.
QStringList SessionReportBuilder::coverage(const SummaryNotes& notes)
{
    QStringList lines;
    if (notes.incomplete) {
        const QString fault = QString::fromStdString(notes.fault);
        lines << tr("Covers only the laps before the fault: %1")
                     .arg(notes.faultFile.empty()
                              ? fault
                              : faultText(QString::fromStdString(notes.faultFile),
                                          notes.faultRecord, fault));
    }
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
