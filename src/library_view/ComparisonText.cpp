#include "library_view/ComparisonText.h"

#include "analysis_view/DisplayText.h"

QString ComparisonText::columnTitle(int column)
{
    switch (Column(column)) {
    case Time:
        return tr("Time");
    case Gap:
        return tr("Gap");
    case Cumulative:
        return tr("Summed gap");
    case SpeedMin:
        return tr("Min speed ±");
    case SpeedMax:
        return tr("Max speed ±");
    case ColumnsPerLap:
        break;
    }
    return {};
}

QString ComparisonText::rowTitle(const ComparisonRow& row)
{
    return row.sector == 0 ? tr("Lap") : tr("S%1").arg(row.sector);
}

QString ComparisonText::cellText(const ComparisonCell& cell, int column)
{
    const auto speed = [](const std::optional<std::int32_t>& diff) {
        return diff ? (*diff > 0 ? QStringLiteral("+%1").arg(*diff) : QString::number(*diff))
                    : QString();
    };
    switch (Column(column)) {
    case Time:
        return timeText(cell.time);
    case Gap:
        return gapText(cell.gap);
    case Cumulative:
        return gapText(cell.cumulative);
    case SpeedMin:
        return speed(cell.speedMinDiff);
    case SpeedMax:
        return speed(cell.speedMaxDiff);
    case ColumnsPerLap:
        break;
    }
    return {};
}

QString ComparisonText::kindName(ReferenceKind kind)
{
    switch (kind) {
    case ReferenceKind::SessionBest:
        return tr("Session best");
    case ReferenceKind::DayBest:
        return tr("Day's best");
    case ReferenceKind::PersonalBest:
        return tr("Personal best");
    case ReferenceKind::Ideal:
        return tr("Ideal lap");
    case ReferenceKind::Target:
        break;
    }
    return tr("Target time");
}

QString ComparisonText::markMeaning(ComparisonMark mark)
{
    switch (mark) {
    case ComparisonMark::BestShown:
        return tr("best of the laps shown");
    case ComparisonMark::Better:
        return tr("faster than the reference");
    case ComparisonMark::Worse:
        return tr("slower than the reference");
    case ComparisonMark::None:
        break;
    }
    return tr("as fast as the reference");
}

QColor comparisonMarkColour(ComparisonMark mark)
{
    switch (mark) {
    case ComparisonMark::BestShown:
        return QColor(0xD9, 0xB8, 0xF0);
    case ComparisonMark::Better:
        return QColor(0xB9, 0xE6, 0xB5);
    case ComparisonMark::Worse:
        return QColor(0xFF, 0xE8, 0x80);
    case ComparisonMark::None:
        break;
    }
    return {};
}
