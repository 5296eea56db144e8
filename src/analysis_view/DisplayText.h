#pragma once

#include "lap_analysis/LapData.h"
#include "lap_analysis/LapFormat.h"
#include "lap_analysis/SessionAnalysis.h"
#include "ui_language/FigureText.h"

#include <QCoreApplication>
#include <QString>

// Figures of the analysis as the window and the report show them; times come formatted from the
// core. The words are translated in this context.
class DisplayText {
    Q_DECLARE_TR_FUNCTIONS(DisplayText)
};

inline QString timeText(std::int64_t hundredths)
{
    return QString::fromStdString(formatLapTime(hundredths));
}

inline QString gapText(std::int64_t hundredths)
{
    return QString::fromStdString(formatGap(hundredths));
}

// A value the table showed only the last digits of is marked as such.
inline QString numberText(std::int64_t value, bool cut = false)
{
    return cut ? QStringLiteral("…%1").arg(value) : QString::number(value);
}

// GX and GY are held in tenths of a G: "1.5 G", with "." as the decimal point in every locale
// (ui_language/FigureText.h).
inline QString gText(std::int64_t tenths)
{
    return DisplayText::tr("%1 G").arg(tenthsText(tenths));
}

inline QString lapNumberText(const LapData& lap)
{
    return numberText(lap.lapNumber, lap.lapNumberCut);
}

// "lap 9" on a page or in a view of one session.
inline QString lapText(const LapData& lap)
{
    return DisplayText::tr("lap %1").arg(lapNumberText(lap));
}

inline QString speedUnitText(SpeedUnit unit)
{
    return unit == SpeedUnit::Mph ? QStringLiteral("m/h") : QStringLiteral("km/h");
}

// "lap 9" for the lap at a position in the list of all laps, "S2 lap 9" when the laps come from
// more than one session.
inline QString lapReference(const SessionAnalysis& analysis, std::size_t lap)
{
    const QString number = lapNumberText(analysis.laps()[lap]);
    if (analysis.sessionCount() <= 1)
        return lapText(analysis.laps()[lap]);
    return DisplayText::tr("%1 lap %2")
        .arg(QString::fromStdString(SessionAnalysis::sessionTag(analysis.sessionOf(lap))), number);
}

// Why a file could not be read to its end, in a driver's words first and the detail after:
// "RUN2.BIL is damaged at its lap record 3: …" for a faulty record, "… could not be read" for
// a file that could not be opened or read. record counts from 1, 0 when no record is at fault;
// detail is the whole line ("RUN2.BIL: record 3, byte 690: word 0xEC54 is above 32767").
inline QString faultText(const QString& file, std::uint64_t record, const QString& detail)
{
    if (record > 0)
        return DisplayText::tr("%1 is damaged at its lap record %2: the laps before it are here, "
                               "the rest of the file could not be read. (%3)")
            .arg(file, QString::number(record), detail);
    return DisplayText::tr("%1 could not be read. (%2)").arg(file, detail);
}

// "QUALI.BIL", or "Session 2" in the window's language without a file name; the session's title
// where it has one.
inline QString sessionName(const SessionAnalysis& analysis, std::size_t session)
{
    const SessionSpan& span = analysis.session(session);
    if (!span.title.empty())
        return QString::fromStdString(span.title);
    if (span.name.empty())
        return DisplayText::tr("Session %1").arg(session + 1);
    return QString::fromStdString(span.name);
}

// "R2 QUALI.BIL", or "Session 2" without a file name.
inline QString sessionTitle(const SessionAnalysis& analysis, std::size_t session)
{
    const SessionSpan& span = analysis.session(session);
    if (span.name.empty() && span.title.empty())
        return sessionName(analysis, session);
    return QString::fromStdString(SessionAnalysis::sessionTag(session) + ' ') +
           sessionName(analysis, session);
}

// How a chart of several sessions names one over its laps: "R2 QUALI" (the file name without
// ".BIL", or the session's title), or "Session 2" without either.
inline QString chartName(const SessionAnalysis& analysis, std::size_t session)
{
    const SessionSpan& span = analysis.session(session);
    QString name = QString::fromStdString(span.title.empty() ? span.name : span.title);
    if (span.title.empty() && name.endsWith(QStringLiteral(".BIL"), Qt::CaseInsensitive))
        name.chop(4);
    if (name.isEmpty())
        return sessionName(analysis, session);
    return QString::fromStdString(SessionAnalysis::sessionTag(session)) + u' ' + name;
}
