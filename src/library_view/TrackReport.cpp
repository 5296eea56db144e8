#include "library_view/TrackReport.h"

#include "analysis_view/DisplayText.h"
#include "library_view/ProgressChart.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>
#include <memory>

namespace {

class TrackReportText {
    Q_DECLARE_TR_FUNCTIONS(TrackReport)
public:
    static ReportPage layoutPage(const QString& track, const QString& layout,
                                 const std::vector<const TrackBests*>& bests,
                                 const std::vector<ProgressDay>& days);
    static ReportPage overview(const QString& track, const std::vector<TrackBests>& bests);
    static QString where(const QString& track, const QString& layout);
    static QString at(const BestAt& best);
};

QString TrackReportText::where(const QString& track, const QString& layout)
{
    return layout.isEmpty() ? track : tr("%1 / %2").arg(track, layout);
}

QString TrackReportText::at(const BestAt& best)
{
    return tr("%1  %2, %3:%4")
        .arg(timeText(best.time), reportDateText(best.date.date()), QString::number(best.session),
             QString::number(best.lap));
}

ReportPage TrackReportText::layoutPage(const QString& track, const QString& layout,
                                       const std::vector<const TrackBests*>& bests,
                                       const std::vector<ProgressDay>& days)
{
    ReportPage page;
    page.title = where(track, layout);
    if (!days.empty())
        page.dateText = tr("%1 to %2").arg(reportDateText(days.front().day),
                                           reportDateText(days.back().day));
    for (const TrackBests* g : bests) {
        const QString vehicle = g->vehicle.isEmpty() ? tr("no vehicle noted") : g->vehicle;
        if (g->bestLap)
            page.figures.push_back({tr("Best lap, %1").arg(vehicle), at(*g->bestLap)});
        for (const TrackBests::Ideal& ideal : g->ideals) {
            if (ideal.rolling)
                page.figures.push_back(
                    {tr("Rolling best, %1").arg(vehicle),
                     tr("%1  %2, %3:%4 S%5 to %3:%6 S%7")
                         .arg(timeText(ideal.rolling->at.time),
                              reportDateText(ideal.rolling->date.date()),
                              QString::number(ideal.rolling->session),
                              QString::number(ideal.rolling->at.startLap),
                              QString::number(ideal.rolling->at.startSector),
                              QString::number(ideal.rolling->at.endLap),
                              QString::number(ideal.rolling->at.endSector))});
            page.figures.push_back({tr("Ideal lap, %1").arg(vehicle),
                                    tr("%1  never driven whole").arg(timeText(ideal.time))});
            for (std::size_t k = 0; k < ideal.sectors.size(); ++k)
                page.figures.push_back(
                    {tr("S%1, %2").arg(QString::number(k + 1), vehicle), at(ideal.sectors[k])});
        }
    }
    page.columns = {{tr("Date"), true},    {tr("Sessions"), false}, {tr("Best lap"), false},
                    {tr("Theoretical"), false}, {tr("Median"), false}, {tr("Counted"), false},
                    {tr("Personal best"), true}};
    const auto time = [](const std::optional<std::int32_t>& t) {
        return t ? timeText(*t) : QString();
    };
    for (const ProgressDay& d : days) {
        ReportRow row;
        row.bestLap = d.improved && d.figures.bestLap.has_value();
        QString pb;
        if (d.figures.bestLap) {
            if (d.improved)
                pb = d.gapToPrevious ? tr("improved %1").arg(gapText(*d.gapToPrevious))
                                     : tr("first");
            else if (d.gapToPrevious)
                pb = gapText(*d.gapToPrevious);
        }
        row.cells = {{reportDateText(d.day), false},
                     {QString::number(d.sessions), false},
                     {time(d.figures.bestLap), row.bestLap},
                     {time(d.figures.theoretical), false},
                     {time(d.figures.median), false},
                     {QString::number(d.figures.countedCount), false},
                     {pb, false}};
        page.rows.push_back(std::move(row));
    }
    auto chart = std::make_shared<ProgressChart>();
    chart->setDays(progressPoints(days));
    page.chart = [chart](QPainter& painter, const QRectF& area) { chart->paint(painter, area); };
    return page;
}

ReportPage TrackReportText::overview(const QString& track, const std::vector<TrackBests>& bests)
{
    ReportPage page;
    page.title = track;
    page.columns = {{tr("Layout"), true},   {tr("Vehicle"), true}, {tr("Sessions"), false},
                    {tr("Best lap"), false}, {tr("Date"), true},    {tr("Ideal lap"), false}};
    for (const TrackBests& g : bests) {
        ReportRow row;
        row.cells = {{g.layout, false},
                     {g.vehicle, false},
                     {QString::number(g.sessions), false},
                     {g.bestLap ? timeText(g.bestLap->time) : QString(), false},
                     {g.bestLap ? reportDateText(g.bestLap->date) : QString(), false},
                     {g.ideals.empty() ? QString() : timeText(g.ideals.front().time), false}};
        page.rows.push_back(std::move(row));
    }
    return page;
}

} // namespace

SessionReport buildTrackReport(const QString& track, const std::vector<TrackBests>& bests,
                               const std::vector<ProgressDay>& days)
{
    SessionReport report;
    report.documentTitle = track;
    // The layouts in the order the library gives them (by name), each with its vehicles.
    std::vector<QString> layouts;
    for (const TrackBests& g : bests)
        if (std::find(layouts.begin(), layouts.end(), g.layout) == layouts.end())
            layouts.push_back(g.layout);
    for (const ProgressDay& d : days)
        if (std::find(layouts.begin(), layouts.end(), d.layout) == layouts.end())
            layouts.push_back(d.layout);
    for (const QString& layout : layouts) {
        std::vector<const TrackBests*> groups;
        for (const TrackBests& g : bests)
            if (g.layout == layout)
                groups.push_back(&g);
        std::vector<ProgressDay> layoutDays;
        for (const ProgressDay& d : days)
            if (d.layout == layout)
                layoutDays.push_back(d);
        report.sessions.push_back(TrackReportText::layoutPage(track, layout, groups, layoutDays));
    }
    if (report.sessions.size() > 1)
        report.day = TrackReportText::overview(track, bests);
    return report;
}
