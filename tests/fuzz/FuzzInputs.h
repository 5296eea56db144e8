#pragma once

#include "lap_analysis/LapData.h"

#include <QIODevice>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

// Helpers the fuzz targets share: a device that hands its bytes over in pieces of the fuzzer's
// choosing, as a pipe does, and the comparison of two laps.

// A read-only device over bytes that gives at most one piece per read: piece sizes come from
// the seed (1 to 64 bytes, now and then up to 64 KiB), so that lines, records and byte-order
// marks fall across reads at every place.
class PieceDevice : public QIODevice {
public:
    PieceDevice(std::string_view bytes, std::uint32_t seed) : bytes_(bytes), state_(seed | 1)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return qint64(bytes_.size() - at_); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        const std::size_t piece = state_ % 16 == 0 ? 1 + state_ % 65536 : 1 + state_ % 64;
        const std::size_t n = std::min({piece, std::size_t(maxSize), bytes_.size() - at_});
        std::memcpy(data, bytes_.data() + at_, n);
        at_ += n;
        return qint64(n);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    std::uint32_t state_;
};

inline bool sameBlock(const BlockValues& a, const BlockValues& b)
{
    return a.time == b.time && a.rpmMin == b.rpmMin && a.rpmMax == b.rpmMax &&
           a.speedMin == b.speedMin && a.speedMax == b.speedMax && a.gxMax == b.gxMax &&
           a.gyMax == b.gyMax && a.tmp1Min == b.tmp1Min && a.tmp1Max == b.tmp1Max &&
           a.tmp2Min == b.tmp2Min && a.tmp2Max == b.tmp2Max && a.length == b.length &&
           a.speedMaxCut == b.speedMaxCut && a.tmp1MaxCut == b.tmp1MaxCut &&
           a.tmp2MaxCut == b.tmp2MaxCut;
}

inline bool sameLap(const LapData& a, const LapData& b)
{
    if (a.lapNumber != b.lapNumber || a.lapNumberCut != b.lapNumberCut ||
        a.blockCount != b.blockCount || a.line != b.line)
        return false;
    for (int k = 0; k < a.blockCount; ++k) {
        if (!sameBlock(a.blocks[std::size_t(k)], b.blocks[std::size_t(k)]))
            return false;
    }
    return true;
}
