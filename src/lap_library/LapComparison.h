#pragma once

#include "lap_analysis/LapData.h"

#include <QCoreApplication>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Laps compared sector by sector against a reference: each lap's sector times, their gaps to the
// reference's sectors and the gap summed up to each sector, and the differences of minimum speed
// (the corner) and maximum speed. Only laps of one sector layout can be compared: the same
// sector count, every sector's length within 3 % (the rule that tells track layouts apart).

inline constexpr int kMinComparedLaps = 2;
inline constexpr int kMaxComparedLaps = 8;

// A lap to compare, as the analysis reads it, with the unit of its speeds.
struct ComparedLap {
    QString label; // how lists name it, e.g. "S2 lap 9" or "12:9"
    LapData lap;
    SpeedUnit unit = SpeedUnit::Kmh;
    std::int64_t session = 0; // the lap library's session it is of; 0 when not known
};

enum class ReferenceKind { SessionBest, DayBest, PersonalBest, Ideal, Target };

// What the laps are compared against: a sector time per sector, with the length and the speeds
// where the reference is made of laps driven.
struct ComparisonReference {
    ReferenceKind kind = ReferenceKind::SessionBest;
    QString label; // what it is, e.g. "session best 1:04.01 (S1 lap 11)"
    struct Sector {
        std::int32_t time = 0;   // hundredths
        std::int32_t length = 0; // 0: not known
        std::optional<std::int32_t> speedMin, speedMax;
    };
    Sector whole; // the whole lap
    int sectorCount = 0;
    std::array<Sector, kMaxSectors> sectors{};
    SpeedUnit unit = SpeedUnit::Kmh;
};

// A lap as the reference (session, day or personal best).
ComparisonReference referenceOfLap(ReferenceKind kind, const QString& label, const LapData& lap,
                                   SpeedUnit unit);
// Each sector from its own lap (the ideal lap); sectorLaps[k] gives sector k + 1.
ComparisonReference referenceOfSectors(const QString& label,
                                       std::span<const LapData> sectorLaps, SpeedUnit unit);
// A target lap time spread over the sectors in the proportions of base (a lap driven), the
// sector times adding up to the target exactly; no speeds.
ComparisonReference targetReference(const QString& label, std::int32_t target,
                                    const ComparisonReference& base);

// "1:03.50", "63.5" or "63": a lap time in hundredths; nothing for anything else or above
// 9:59.99.
std::optional<std::int32_t> parseLapTime(const QString& text);

// How a cell is coloured, as timing screens do.
enum class ComparisonMark {
    None,     // as fast as the reference
    BestShown, // purple: the best of the laps shown
    Better,   // green: faster than the reference
    Worse,    // yellow: slower than the reference
};

struct ComparisonCell {
    std::int32_t time = 0;
    std::int32_t gap = 0;        // time minus the reference's
    std::int32_t cumulative = 0; // the gaps summed up to this sector
    std::optional<std::int32_t> speedMinDiff, speedMaxDiff; // lap minus reference, same unit only
    ComparisonMark mark = ComparisonMark::None;
};

// One sector (or the whole lap): the reference's time and each lap's cell, in the laps' order.
struct ComparisonRow {
    int sector = 0; // 1-based; 0 for the whole lap
    std::int32_t reference = 0;
    std::vector<ComparisonCell> laps;
    std::int32_t lost = 0; // the laps' gaps added up: what the laps lose (or gain) here
};

struct LapComparison {
    QString refused; // why the laps cannot be compared; "" when they were
    std::vector<ComparisonRow> sectors; // sector 1 first
    ComparisonRow whole;                // the lap times
    bool ok() const { return refused.isEmpty(); }
};

class LapComparer {
    Q_DECLARE_TR_FUNCTIONS(LapComparer)
public:
    // Compares 2 to 8 timed laps of one sector layout with the reference, which must have their
    // sector count and lengths (where it knows them).
    static LapComparison compare(std::span<const ComparedLap> laps,
                                 const ComparisonReference& reference);
};

inline LapComparison compareLaps(std::span<const ComparedLap> laps,
                                 const ComparisonReference& reference)
{
    return LapComparer::compare(laps, reference);
}

// The rows of the sectors, those that lose the most time first (a tie keeps the track's order).
std::vector<std::size_t> sectorsByTimeLost(const LapComparison& comparison);
