#pragma once

#include "lap_library/LapComparison.h"

#include <QColor>
#include <QCoreApplication>
#include <QString>

// A comparison as the window shows it: the titles of its columns and rows and the text of each
// cell, in the current language, and the timing screens' colours of the marks.
class ComparisonText {
    Q_DECLARE_TR_FUNCTIONS(ComparisonText)
public:
    // The columns each lap has.
    enum Column { Time, Gap, Cumulative, SpeedMin, SpeedMax, ColumnsPerLap };
    static QString columnTitle(int column);
    // "S3", or "Lap" for the whole lap.
    static QString rowTitle(const ComparisonRow& row);
    static QString cellText(const ComparisonCell& cell, int column);
    // "Session best", "Day's best", "Personal best", "Ideal lap", "Target time".
    static QString kindName(ReferenceKind kind);
    // What a mark means, for a legend.
    static QString markMeaning(ComparisonMark mark);
};

// Purple for the best of the laps shown, green for better than the reference, yellow for worse;
// no colour for a time equal to it. Pale enough to read black text on.
QColor comparisonMarkColour(ComparisonMark mark);
