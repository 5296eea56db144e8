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

// Lines that are not lap lines lose whatever lap they held from every figure, so the note says
// so in a line of its own, marked, where it cannot be missed.
QString linesNote(const std::vector<std::int64_t>& skippedLines)
{
    if (skippedLines.empty())
        return SummaryPanel::tr("Every line after the header is a lap line.");
    const QString lines =
        skippedLines.size() == 1
            ? SummaryPanel::tr("Line %1 of the view is not a lap line.").arg(skippedLines.front())
            : SummaryPanel::tr("%n lines of the view are not lap lines: %1.", nullptr,
                               int(skippedLines.size()))
                  .arg(linesText(skippedLines));
    const QString why = SummaryPanel::tr("A lap on such a line counts in no figure; the lap list "
                                         "shows the line after the laps.");
    const QString go = SummaryPanel::tr("Go to line %1").arg(skippedLines.front());
    return QStringLiteral("<br><span style=\"color:#b71c1c; font-weight:bold\">\u26a0 %1 %2</span>"
                          " <a href=\"line:%3\">%4</a>")
        .arg(lines.toHtmlEscaped(), why.toHtmlEscaped(), QString::number(skippedLines.front()),
             go.toHtmlEscaped());
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
    counts->setTextFormat(Qt::RichText);
    counts->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(counts, &QLabel::linkActivated, this, [this](const QString& link) {
        if (link.startsWith(QStringLiteral("line:")))
            emit lineClicked(link.mid(5).toLongLong());
    });
    auto* unitNote = new QLabel;
    unitNote->setObjectName(QStringLiteral("unitNote"));
    unitNote->setWordWrap(true);
    unitNote->hide();
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
    layout->addWidget(unitNote);
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
    const Notes notes{document_->skippedLines(), faultNote(),
                      !document_->sessionsFromFiles() && analysis.sessionCount() > 1};
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
    const QString fault = faultText(name, failed->faultRecord,
                                    name + QStringLiteral(": ") +
                                        QString::fromStdString(failed->fault));
    if (!files.unread.empty())
        return tr("\"bil load\" stopped: %1 %n later file(s) not read.", nullptr,
                  int(files.unread.size()))
            .arg(fault);
    return tr("\"bil load\" stopped: %1").arg(fault);
}

void SummaryPanel::set(const char* name, const QString& text)
{
    findChild<QLabel*>(QString::fromLatin1(name))->setText(text);
}

void SummaryPanel::showNotes(const Notes& notes, const QString& counts)
{
    const QString lines = linesNote(notes.skippedLines);
    set("counts", counts.toHtmlEscaped() + u' ' +
                      (notes.skippedLines.empty() ? lines.toHtmlEscaped() : lines));
    findChild<QLabel*>(QStringLiteral("counts"))
        ->setToolTip(tr("A session's median lap leaves out its first and its last lap, so an "
                        "out-lap or an in-lap never sets it. A lap faster than %1 of it is taken "
                        "for a mis-triggered lap (a beacon read twice).")
                         .arg(percentText(double(kFastLimitPercent), 0)));
    auto* units = findChild<QLabel*>(QStringLiteral("unitNote"));
    units->setText(tr("These sessions were found in the table text: each takes the speed unit of "
                      "the header above it, since a saved table keeps no unit per lap file."));
    units->setVisible(notes.unitsFromHeaders);
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
        stats.excludeLimit && stats.fastLimit && stats.medianTimed
            ? tr("%n lap(s): %1 counted, %2 excluded (slower than %3 or faster than %4: %5 and "
                 "%6 of the median lap %7, or by hand).",
                 nullptr, int(span.lapCount))
                  .arg(stats.countedCount)
                  .arg(excluded)
                  .arg(timeText(*stats.excludeLimit), timeText(*stats.fastLimit),
                       percentText(double(analysis.excludeSlowerPercent()), 0),
                       percentText(double(kFastLimitPercent), 0), timeText(*stats.medianTimed))
            : tr("%n lap(s): %1 counted, %2 excluded.", nullptr, int(span.lapCount))
                  .arg(stats.countedCount)
                  .arg(excluded);
    if (untimed > 0)
        counts += u' ' + tr("%n lap(s) without a lap time.", nullptr, untimed);
    showNotes(notes, counts);
}

void SummaryPanel::showDay(const SessionAnalysis& analysis, const Notes& notes)
{
    const DayStats& d = analysis.day();
    const QString none = tr("–");
    const auto lap = [&](std::size_t pos) { return lapReference(analysis, pos); };

    QStringList units;
    for (const DayStats::SpeedPeak& peak : d.speedMax)
        units << speedUnitText(peak.unit);
    auto* title = findChild<QLabel*>(QStringLiteral("title"));
    title->show();
    title->setText(
        analysis.unitsDiffer()
            ? tr("The day over %n session(s): the times of all of them together; speeds in %1, "
                 "each unit on its own.",
                 nullptr, int(analysis.sessionCount()))
                  .arg(units.join(QStringLiteral(", ")))
            : tr("The day over %n session(s), speed in %1", nullptr, int(analysis.sessionCount()))
                  .arg(d.sessions.empty() ? none
                                          : speedUnitText(analysis.session(d.sessions.front()).unit)));

    set("bestLap", d.bestLap ? tr("%1   %2").arg(timeText(d.bestLap->value), lap(d.bestLap->lap))
                             : tr("no counted lap"));
    if (d.theoreticalBest) {
        QStringList from;
        for (const SessionLapAt& sector : d.theoreticalBest->sectors)
            from << lap(sector.lap);
        set("theoreticalBest", tr("%1   sectors from %2")
                                   .arg(timeText(d.theoreticalBest->time),
                                        from.join(QStringLiteral(", "))));
    } else {
        set("theoreticalBest",
            d.bestLap ? tr("– (the sessions' counted laps differ in sectors)") : none);
    }
    if (d.rollingBest) {
        const SessionStats::RollingBest& r = d.rollingBest->at;
        set("rollingBest", tr("%1   %2 sector %3 to %4 sector %5")
                               .arg(timeText(r.time), lap(r.startLap))
                               .arg(r.startSector)
                               .arg(lap(r.endLap))
                               .arg(r.endSector));
    } else {
        set("rollingBest", none);
    }
    set("consistency", consistencyText(d.consistency));
    set("spread", spreadText(d.consistency));

    const auto peak = [&](const std::optional<SessionLapAt>& at, const QString& value) {
        return at ? tr("%1   %2").arg(value, lap(at->lap)) : none;
    };
    set("rpmMax", peak(d.rpmMax, d.rpmMax ? numberText(d.rpmMax->value) : QString()));
    // Speeds of two units are never compared: one top speed per unit, each with its unit.
    QStringList speeds;
    for (const DayStats::SpeedPeak& p : d.speedMax)
        speeds << peak(p.at, numberText(p.at.value) + u' ' + speedUnitText(p.unit));
    set("speedMax", speeds.isEmpty() ? none : speeds.join(u'\n'));
    set("gxMax", peak(d.gxMax, d.gxMax ? gText(d.gxMax->value) : QString()));
    set("gyMax", peak(d.gyMax, d.gyMax ? gText(d.gyMax->value) : QString()));
    const auto range = [&](const std::optional<SessionLapAt>& low,
                           const std::optional<SessionLapAt>& high) {
        if (!low || !high)
            return none;
        return tr("%1 (%2) / %3 (%4)")
            .arg(numberText(low->value), lap(low->lap), numberText(high->value), lap(high->lap));
    };
    set("tmp1", range(d.tmp1Min, d.tmp1Max));
    set("tmp2", range(d.tmp2Min, d.tmp2Max));

    const SessionStats& all = analysis.allStats();
    const int laps = int(analysis.laps().size());
    const int excluded = all.timedCount - all.countedCount;
    QString counts =
        analysis.excludeSlowerPercent() > 0
            ? tr("%n lap(s) in %1 sessions: %2 counted, %3 excluded (slower than %4 or faster "
                 "than %5 of their session's median lap, or by hand).",
                 nullptr, laps)
                  .arg(analysis.sessionCount())
                  .arg(all.countedCount)
                  .arg(excluded)
                  .arg(percentText(double(analysis.excludeSlowerPercent()), 0),
                       percentText(double(kFastLimitPercent), 0))
            : tr("%n lap(s) in %1 sessions: %2 counted, %3 excluded.", nullptr, laps)
                  .arg(analysis.sessionCount())
                  .arg(all.countedCount)
                  .arg(excluded);
    if (laps > all.timedCount)
        counts += u' ' + tr("%n lap(s) without a lap time.", nullptr, laps - all.timedCount);
    showNotes(notes, counts);
}
