#pragma once

#include "lap_conversion/LapRecord.h"

#include <array>
#include <cstdint>

// The laps as the analysis sees them: the lap number and the twelve shown values of each present
// block, filled exactly from a decoded record or read back from the lap table's text.

enum class SpeedUnit { Kmh, Mph }; // header "km/h" (unit flag 0) or "m/h" (unit flag 1)

inline constexpr std::int32_t kUnknownTime = -1; // the table shows "-:--.--"
inline constexpr int kMaxSectors = 6;
// The highest time the table shows as "m:ss.hh"; anything above reads "-:--.--".
inline constexpr std::int32_t kMaxShownTime = 59999;

// One block: the whole lap (index 0) or sector 1 to 6.
struct BlockValues {
    std::int32_t time = kUnknownTime; // hundredths of a second
    std::int32_t rpmMin = 0, rpmMax = 0, speedMin = 0, speedMax = 0;
    std::int32_t gxMax = 0, gyMax = 0; // tenths of a G
    std::int32_t tmp1Min = 0, tmp1Max = 0, tmp2Min = 0, tmp2Max = 0, length = 0;
    // The table showed only the last digits of the value (three of speed max, four of a TMP
    // max); only set by the table reader, and only where the text proves it.
    bool speedMaxCut = false;
    bool tmp1MaxCut = false;
    bool tmp2MaxCut = false;
};

struct LapData {
    std::int64_t lapNumber = 0;
    bool lapNumberCut = false; // the table showed only the last four digits
    int blockCount = 0;        // 1 (whole lap) + number of sectors, 0 to 7
    std::array<BlockValues, kBlockCount> blocks{};
    std::int64_t line = 0; // 1-based line of the table text it came from; 0 from a record

    int sectorCount() const { return blockCount > 1 ? blockCount - 1 : 0; }
    std::int32_t lapTime() const { return blockCount > 0 ? blocks[0].time : kUnknownTime; }
    bool timed() const { return lapTime() != kUnknownTime; }
};

// The lap of a decoded record, value for value; a time above kMaxShownTime is kept as it is.
LapData lapFromRecord(const LapRecord& record);

// The speed unit a record word selects (bit 0).
inline SpeedUnit unitFromRecordWord(std::uint16_t recordWord)
{
    return (recordWord & 1) != 0 ? SpeedUnit::Mph : SpeedUnit::Kmh;
}
