#include "lap_analysis/LapData.h"

LapData lapFromRecord(const LapRecord& record)
{
    LapData lap;
    lap.lapNumber = record.lapNumber;
    lap.blockCount = record.blockCount < kBlockCount ? record.blockCount : kBlockCount;
    for (int k = 0; k < lap.blockCount; ++k) {
        const LapBlock& b = record.blocks[static_cast<std::size_t>(k)];
        BlockValues& v = lap.blocks[static_cast<std::size_t>(k)];
        v.time = b.time;
        v.rpmMin = b.rpmMin;
        v.rpmMax = b.rpmMax;
        v.speedMin = b.speedMin;
        v.speedMax = b.speedMax;
        v.gxMax = b.gxMax;
        v.gyMax = b.gyMax;
        v.tmp1Min = b.tmp1Min;
        v.tmp1Max = b.tmp1Max;
        v.tmp2Min = b.tmp2Min;
        v.tmp2Max = b.tmp2Max;
        v.length = b.length;
    }
    return lap;
}
