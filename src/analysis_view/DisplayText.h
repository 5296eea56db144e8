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
        return DisplayText::tr("lap %1").arg(number);
    return DisplayText::tr("%1 lap %2")
        .arg(QString::fromStdString(SessionAnalysis::sessionTag(analysis.sessionOf(lap))), number);
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

// "S2 QUALI.BIL", or "Session 2" without a file name.
inline QString sessionTitle(const SessionAnalysis& analysis, std::size_t session)
{
    const SessionSpan& span = analysis.session(session);
    if (span.name.empty() && span.title.empty())
        return sessionName(analysis, session);
    return QString::fromStdString(SessionAnalysis::sessionTag(session) + ' ') +
           sessionName(analysis, session);
}
