#include "library_window/BestsPane.h"

#include "analysis_view/DisplayText.h"

#include <QEvent>
#include <QHeaderView>

namespace {

enum Column { What, Time, When, Where, ColumnCount };
constexpr int kSessionRole = Qt::UserRole + 1;

} // namespace

BestsPane::BestsPane(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("bests"));
    setColumnCount(ColumnCount);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const qint64 session = item->data(0, kSessionRole).toLongLong();
        if (session > 0)
            emit sessionActivated(session);
    });
    setCaptions();
}

void BestsPane::setCaptions()
{
    setHeaderLabels({tr("Best"), tr("Time"), tr("Date"), tr("Session and lap")});
}

void BestsPane::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        setCaptions();
        showBests(std::vector<TrackBests>(shown_));
    }
    QTreeWidget::changeEvent(event);
}

void BestsPane::showBests(const std::vector<TrackBests>& bests)
{
    shown_ = bests;
    clear();
    const auto line = [](QTreeWidgetItem* parent, const QString& what, std::int32_t time,
                         const QDateTime& date, std::int64_t session, const QString& where) {
        auto* item = new QTreeWidgetItem(parent, {what, timeText(time), sessionDateText(date), where});
        item->setTextAlignment(Time, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(0, kSessionRole, qint64(session));
        return item;
    };
    for (const TrackBests& g : bests) {
        QString title = g.layout.isEmpty() ? g.track : tr("%1 / %2").arg(g.track, g.layout);
        if (title.isEmpty())
            title = tr("no track noted");
        title = tr("%1, %2 (%n session(s))", nullptr, g.sessions)
                    .arg(title, g.vehicle.isEmpty() ? tr("no vehicle noted") : g.vehicle);
        auto* group = new QTreeWidgetItem(this, {title});
        group->setFirstColumnSpanned(true);
        QFont bold = group->font(0);
        bold.setBold(true);
        group->setFont(0, bold);
        if (g.bestLap)
            line(group, tr("Best lap"), g.bestLap->time, g.bestLap->date, g.bestLap->session,
                 tr("session %1, lap %2").arg(g.bestLap->session).arg(g.bestLap->lap));
        for (const TrackBests::Ideal& ideal : g.ideals) {
            if (const auto& r = ideal.rolling)
                line(group, tr("Rolling best (%n sector(s))", nullptr, ideal.sectorCount),
                     r->at.time, r->date, r->session,
                     tr("session %1, lap %2 sector %3 to lap %4 sector %5")
                         .arg(r->session)
                         .arg(r->at.startLap)
                         .arg(r->at.startSector)
                         .arg(r->at.endLap)
                         .arg(r->at.endSector));
            auto* item = new QTreeWidgetItem(
                group, {tr("Ideal lap (%n sector(s))", nullptr, ideal.sectorCount),
                        timeText(ideal.time), QString(), tr("never driven whole")});
            item->setTextAlignment(Time, Qt::AlignRight | Qt::AlignVCenter);
            for (std::size_t k = 0; k < ideal.sectors.size(); ++k) {
                const BestAt& s = ideal.sectors[k];
                line(item, tr("Sector %1").arg(k + 1), s.time, s.date, s.session,
                     tr("session %1, lap %2").arg(s.session).arg(s.lap));
            }
        }
    }
    expandAll();
    for (int c = 0; c < ColumnCount - 1; ++c)
        resizeColumnToContents(c);
}
