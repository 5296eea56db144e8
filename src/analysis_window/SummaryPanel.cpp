#include "analysis_window/SummaryPanel.h"

#include "analysis_view/DisplayText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
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

QString hundredthsText(double hundredths)
{
    return timeText(std::llround(hundredths));
}

QString consistencyText(const SessionStats::Consistency& c)
{
    if (c.count == 0)
        return SummaryPanel::tr("–");
    return SummaryPanel::tr("%n counted lap(s): mean %1, median of the counted laps %2", nullptr,
                            c.count)
        .arg(hundredthsText(c.mean), hundredthsText(c.median));
}

QString spreadText(const SessionStats::Consistency& c)
{
    if (c.count < 2)
        return SummaryPanel::tr("–");
    const QString seconds = QString::fromStdString(formatSeconds(std::llround(c.stddev)));
    if (!c.stddevPercent)
        return SummaryPanel::tr("standard deviation %1 s").arg(seconds);
    return SummaryPanel::tr("standard deviation %1 s (%2 of the median)")
        .arg(seconds, percentText(*c.stddevPercent, 2));
}

QString linesNote(const std::vector<std::int64_t>& skippedLines)
{
    return skippedLines.empty() ? SummaryPanel::tr("Every line after the header is a lap line.")
           : skippedLines.size() == 1
               ? SummaryPanel::tr("Line %1 of the view is not a lap line.")
                     .arg(skippedLines.front())
               : SummaryPanel::tr("%n lines of the view are not lap lines: %1.", nullptr,
                                  int(skippedLines.size()))
                     .arg(linesText(skippedLines));
}

} // namespace

SummaryPanel::SummaryPanel(QWidget* parent) : QWidget(parent)
{
    auto* title = new QLabel;
    title->setObjectName(QStringLiteral("title"));
    title->setWordWrap(true);
    title->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* times = new QGridLayout;
    addRow(times, QT_TR_NOOP("Best lap"), "bestLap");
    addRow(times, QT_TR_NOOP("Theoretical best"), "theoreticalBest");
    addRow(times, QT_TR_NOOP("Best rolling lap"), "rollingBest");
    addRow(times, QT_TR_NOOP("Consistency"), "consistency");
    addRow(times, QT_TR_NOOP("Spread"), "spread");
    times->setRowStretch(times->rowCount(), 1);

    auto* peaks = new QGridLayout;
    addRow(peaks, QT_TR_NOOP("rpm max"), "rpmMax");
    addRow(peaks, QT_TR_NOOP("Speed max"), "speedMax");
    addRow(peaks, QT_TR_NOOP("GX max"), "gxMax");
    addRow(peaks, QT_TR_NOOP("GY max"), "gyMax");
    addRow(peaks, QT_TR_NOOP("TMP1 min / max"), "tmp1");
    addRow(peaks, QT_TR_NOOP("TMP2 min / max"), "tmp2");
    peaks->setRowStretch(peaks->rowCount(), 1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(times, 3);
    columns->addSpacing(16);
    columns->addLayout(peaks, 2);

    auto* counts = new QLabel;
    counts->setObjectName(QStringLiteral("counts"));
    counts->setWordWrap(true);
    auto* fault = new QLabel;
    fault->setObjectName(QStringLiteral("fault"));
    fault->setWordWrap(true);
    fault->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fault->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title);
    layout->addLayout(columns);
    layout->addWidget(counts);
    layout->addWidget(fault);
}

QLabel* SummaryPanel::addRow(QGridLayout* grid, const char* caption, const char* name)
{
    const int row = grid->rowCount();
    auto* value = new QLabel;
    value->setObjectName(QString::fromLatin1(name));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* label = new QLabel(tr(caption));
    captions_.push_back({label, caption});
    label->setBuddy(value);
    grid->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(value, row, 1, Qt::AlignLeft | Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    return value;
}

void SummaryPanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        for (const auto& [label, caption] : captions_)
            label->setText(tr(caption));
    }
    QWidget::changeEvent(event);
}

void SummaryPanel::setDocument(const AnalysisDocument* document)
{
    if (document_)
        disconnect(document_, nullptr, this, nullptr);
    document_ = document;
    if (document_)
        connect(document_, &AnalysisDocument::changed, this, &SummaryPanel::showDocument);
    showDocument();
}

void SummaryPanel::showSession(std::optional<std::size_t> session)
{
    session_ = session;
    showDocument();
}

void SummaryPanel::showDocument()
{
    if (!document_ || !document_->holdsTable())
        return;
    const SessionAnalysis& analysis = document_->analysis();
    if (session_ && *session_ >= analysis.sessionCount())
        session_.reset();
    const Notes notes{document_->skippedLines(), faultNote()};
    if (session_ || analysis.sessionCount() == 1)
        showSession(analysis, session_.value_or(0), notes);
    else
        showDay(analysis, notes);
}

// Where "bil load" stopped, and how many chosen files it did not read.
QString SummaryPanel::faultNote() const
{
    const auto& files = document_->files();
    const auto failed = std::find_if(files.files.rbegin(), files.files.rend(),
                                     [](const LoadedFile& f) { return !f.fault.empty(); });
    if (failed == files.files.rend())
        return {};
    const QString name = QString::fromStdString(failed->name);
    const QString fault = QString::fromStdString(failed->fault);
    if (!files.unread.empty())
        return tr("\"bil load\" stopped at %1: %2. The view holds the laps read before it; %n "
                  "later file(s) not read.",
                  nullptr, int(files.unread.size()))
            .arg(name, fault);
    return tr("\"bil load\" stopped at %1: %2. The view holds the laps read before it.")
        .arg(name, fault);
}

void SummaryPanel::set(const char* name, const QString& text)
{
    findChild<QLabel*>(QString::fromLatin1(name))->setText(text);
}

void SummaryPanel::showNotes(const Notes& notes, const QString& counts)
{
    set("counts", counts + u' ' + linesNote(notes.skippedLines));
    auto* fault = findChild<QLabel*>(QStringLiteral("fault"));
    fault->setText(notes.fault);
    fault->setVisible(!notes.fault.isEmpty());
}

void SummaryPanel::showSession(const SessionAnalysis& analysis, std::size_t session,
                               const Notes& notes)
{
    const SessionStats& stats = analysis.stats(session);
    const SessionSpan& span = analysis.session(session);
    const std::size_t first = span.firstLap;
    const auto lap = [&](std::size_t pos) { return lapReference(analysis, first + pos); };
    const QString none = tr("–");

    auto* title = findChild<QLabel*>(QStringLiteral("title"));
    title->setVisible(analysis.sessionCount() > 1);
    title->setText(tr("%1: %n lap(s), speed in %2", nullptr, int(span.lapCount))
                       .arg(sessionTitle(analysis, session), speedUnitText(span.unit)));

    set("bestLap", stats.bestLap
                       ? tr("%1   %2").arg(timeText(stats.bestLap->value), lap(stats.bestLap->lap))
                       : tr("no counted lap"));
    if (stats.theoreticalBest) {
        QStringList from;
        for (const std::size_t pos : stats.theoreticalBest->sectorLaps)
            from << lapNumberText(analysis.laps()[first + pos]);
        const QString time = timeText(stats.theoreticalBest->time);
        const QString laps = from.join(QStringLiteral(", "));
        set("theoreticalBest",
            analysis.sessionCount() > 1
                ? tr("%1   sectors from %2 laps %3")
                      .arg(time, QString::fromStdString(SessionAnalysis::sessionTag(session)), laps)
                : tr("%1   sectors from laps %2").arg(time, laps));
    } else {
        set("theoreticalBest", stats.bestLap ? tr("– (the counted laps differ in sectors)") : none);
    }
    if (stats.rollingBest) {
        const auto& r = *stats.rollingBest;
        set("rollingBest", tr("%1   %2 sector %3 to %4 sector %5")
                               .arg(timeText(r.time), lap(r.startLap))
                               .arg(r.startSector)
                               .arg(lap(r.endLap))
                               .arg(r.endSector));
    } else {
        set("rollingBest", none);
    }
    set("consistency", consistencyText(stats.consistency));
    set("spread", spreadText(stats.consistency));

    const auto peak = [&](const std::optional<LapAt>& at, const QString& value) {
        return at ? tr("%1   %2").arg(value, lap(at->lap)) : none;
    };
    set("rpmMax", peak(stats.rpmMax, stats.rpmMax ? numberText(stats.rpmMax->value) : QString()));
    set("speedMax", peak(stats.speedMax, stats.speedMax ? numberText(stats.speedMax->value) + u' ' +
                                                              speedUnitText(span.unit)
                                                        : QString()));
    set("gxMax", peak(stats.gxMax, stats.gxMax ? gText(stats.gxMax->value) : QString()));
    set("gyMax", peak(stats.gyMax, stats.gyMax ? gText(stats.gyMax->value) : QString()));
    const auto range = [&](const std::optional<LapAt>& low, const std::optional<LapAt>& high) {
        if (!low || !high)
            return none;
        return tr("%1 (%2) / %3 (%4)")
            .arg(numberText(low->value), lap(low->lap), numberText(high->value), lap(high->lap));
    };
    set("tmp1", range(stats.tmp1Min, stats.tmp1Max));
    set("tmp2", range(stats.tmp2Min, stats.tmp2Max));

    const int untimed = int(span.lapCount) - stats.timedCount;
    const int excluded = stats.timedCount - stats.countedCount;
    QString counts =
        stats.excludeLimit && stats.medianTimed
            ? tr("%n lap(s): %1 counted, %2 excluded (slower than %3, %4 of the median of the "
                 "timed laps %5, or by hand).",
                 nullptr, int(span.lapCount))
                  .arg(stats.countedCount)
                  .arg(excluded)
                  .arg(timeText(*stats.excludeLimit),
                       percentText(double(analysis.excludeSlowerPercent()), 0),
                       timeText(*stats.medianTimed))
            : tr("%n lap(s): %1 counted, %2 excluded.", nullptr, int(span.lapCount))
                  .arg(stats.countedCount)
                  .arg(excluded);
    if (untimed > 0)
        counts += u' ' + tr("%n lap(s) without a lap time.", nullptr, untimed);
    showNotes(notes, counts);
}

void SummaryPanel::showDay(const SessionAnalysis& analysis, const Notes& notes)
{
    const auto& days = analysis.days();
    const QString none = tr("–");
    const auto lap = [&](std::size_t pos) { return lapReference(analysis, pos); };
    // One line per day; each names its unit when there are several.
    const auto perDay = [&](auto&& text) {
        QStringList lines;
        for (const DayStats& day : days) {
            QString line = text(day);
            if (days.size() > 1)
                line = tr("%1  (%2 sessions)").arg(line, speedUnitText(day.unit));
            lines << line;
        }
        return lines.isEmpty() ? none : lines.join(u'\n');
    };

    QStringList units;
    for (const DayStats& day : days)
        units << tr("%n session(s) in %1", nullptr, int(day.sessions.size()))
                     .arg(speedUnitText(day.unit));
    auto* title = findChild<QLabel*>(QStringLiteral("title"));
    title->show();
    title->setText(
        days.size() > 1
            ? tr("The day over %n session(s): %1. Speeds of different units are not "
                 "compared, so each unit has a day of its own.",
                 nullptr, int(analysis.sessionCount()))
                  .arg(units.join(QStringLiteral(", ")))
            : tr("The day over %n session(s), speed in %1", nullptr, int(analysis.sessionCount()))
                  .arg(days.empty() ? tr("–") : speedUnitText(days.front().unit)));

    set("bestLap", perDay([&](const DayStats& d) {
            return d.bestLap ? tr("%1   %2").arg(timeText(d.bestLap->value), lap(d.bestLap->lap))
                             : tr("no counted lap");
        }));
    set("theoreticalBest", perDay([&](const DayStats& d) {
            if (!d.theoreticalBest)
                return d.bestLap ? tr("– (the sessions' counted laps differ in sectors)") : none;
            QStringList from;
            for (const SessionLapAt& sector : d.theoreticalBest->sectors)
                from << lap(sector.lap);
            return tr("%1   sectors from %2")
                .arg(timeText(d.theoreticalBest->time), from.join(QStringLiteral(", ")));
        }));
    set("rollingBest", perDay([&](const DayStats& d) {
            if (!d.rollingBest)
                return none;
            const SessionStats::RollingBest& r = d.rollingBest->at;
            return tr("%1   %2 sector %3 to %4 sector %5")
                .arg(timeText(r.time), lap(r.startLap))
                .arg(r.startSector)
                .arg(lap(r.endLap))
                .arg(r.endSector);
        }));
    set("consistency", perDay([&](const DayStats& d) { return consistencyText(d.consistency); }));
    set("spread", perDay([&](const DayStats& d) { return spreadText(d.consistency); }));

    const auto peak = [&](const std::optional<SessionLapAt>& at, const QString& value) {
        return at ? tr("%1   %2").arg(value, lap(at->lap)) : none;
    };
    set("rpmMax", perDay([&](const DayStats& d) {
            return peak(d.rpmMax, d.rpmMax ? numberText(d.rpmMax->value) : QString());
        }));
    set("speedMax", perDay([&](const DayStats& d) {
            return peak(d.speedMax,
                        d.speedMax ? numberText(d.speedMax->value) + u' ' + speedUnitText(d.unit)
                                   : QString());
        }));
    set("gxMax", perDay([&](const DayStats& d) {
            return peak(d.gxMax, d.gxMax ? gText(d.gxMax->value) : QString());
        }));
    set("gyMax", perDay([&](const DayStats& d) {
            return peak(d.gyMax, d.gyMax ? gText(d.gyMax->value) : QString());
        }));
    const auto range = [&](const std::optional<SessionLapAt>& low,
                           const std::optional<SessionLapAt>& high) {
        if (!low || !high)
            return none;
        return tr("%1 (%2) / %3 (%4)")
            .arg(numberText(low->value), lap(low->lap), numberText(high->value), lap(high->lap));
    };
    set("tmp1", perDay([&](const DayStats& d) { return range(d.tmp1Min, d.tmp1Max); }));
    set("tmp2", perDay([&](const DayStats& d) { return range(d.tmp2Min, d.tmp2Max); }));

    const SessionStats& all = analysis.allStats();
    const int laps = int(analysis.laps().size());
    const int excluded = all.timedCount - all.countedCount;
    QString counts =
        analysis.excludeSlowerPercent() > 0
            ? tr("%n lap(s) in %1 sessions: %2 counted, %3 excluded (slower than %4 of their "
                 "session's median of timed laps, or by hand).",
                 nullptr, laps)
                  .arg(analysis.sessionCount())
                  .arg(all.countedCount)
                  .arg(excluded)
                  .arg(percentText(double(analysis.excludeSlowerPercent()), 0))
            : tr("%n lap(s) in %1 sessions: %2 counted, %3 excluded.", nullptr, laps)
                  .arg(analysis.sessionCount())
                  .arg(all.countedCount)
                  .arg(excluded);
    if (laps > all.timedCount)
        counts += u' ' + tr("%n lap(s) without a lap time.", nullptr, laps - all.timedCount);
    showNotes(notes, counts);
}
