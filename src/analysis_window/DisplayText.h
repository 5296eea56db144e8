#pragma once

#include "lap_analysis/LapData.h"
#include "lap_analysis/LapFormat.h"

#include <QLocale>
#include <QString>

// Figures of the analysis as the window shows them; times come formatted from the core.

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

// GX and GY are held in tenths of a G.
inline QString tenthsText(std::int32_t tenths)
{
    return QLocale().toString(tenths / 10.0, 'f', 1);
}

inline QString lapNumberText(const LapData& lap)
{
    return numberText(lap.lapNumber, lap.lapNumberCut);
}
