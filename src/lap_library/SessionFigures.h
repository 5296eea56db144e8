#pragma once

#include "lap_analysis/LapData.h"
#include "lap_analysis/SessionAnalysis.h"

#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The one way from a session's stored bytes to its figures, the same as the window's: the bytes
// become the lap table text, the table reader reads it back, the file is one session, and
// SessionAnalysis finds every figure. The library stores what this gives and recomputes it when
// kFiguresVersion changes, so a change of an analysis rule never leaves stale figures.

// Raise when a rule of the analysis changes what a session's figures are.
inline constexpr int kFiguresVersion = 2;

// A lap as the figures across sessions need it: times in hundredths.
struct StoredLap {
    std::int64_t number = 0;
    std::int32_t time = kUnknownTime;
    int sectorCount = 0;
    std::array<std::int32_t, kMaxSectors> sectors{};
    bool counted = false;
};

// A time and the lap it came from (its position in the session, from 0, and its number).
struct LapRef {
    std::int32_t time = 0;
    std::int32_t index = 0;
    std::int64_t number = 0;
};

struct RollingRef {
    std::int32_t time = 0;
    std::int64_t startLap = 0, endLap = 0; // lap numbers
    int startSector = 1, endSector = 1;    // 1-based
};

// What identifies a track layout: the median lap length, the sector count and the median length
// of each sector (the logger's length units). Zero where the laps do not say.
struct Fingerprint {
    std::int32_t lapLength = 0;
    int sectorCount = 0;
    std::array<std::int32_t, kMaxSectors> sectorLengths{};
};
// Two fingerprints of one layout: the same sector count, and every length within 3 %.
bool sameLayout(const Fingerprint& a, const Fingerprint& b);
// Two lengths of one layout: apart by at most 3 % of the longer.
bool sameLength(std::int32_t a, std::int32_t b);

struct SessionFigures {
    bool hasLapRecord = false; // the bytes hold a lap record, and so a speed unit
    SpeedUnit unit = SpeedUnit::Kmh;
    std::string fault; // why the reading stopped, "" when it did not
    int lapCount = 0, timedCount = 0, countedCount = 0;
    std::optional<LapRef> bestLap;
    std::optional<std::int32_t> theoretical;
    int sectorCount = 0; // of the theoretical best; 0 without one
    std::array<std::optional<LapRef>, kMaxSectors> sectorBest;
    std::optional<RollingRef> rolling;
    std::optional<std::int32_t> median; // of the counted laps, rounded half up
    Fingerprint fingerprint;
    std::vector<StoredLap> laps;
};

// The figures of one lap file's bytes.
SessionFigures sessionFigures(QByteArrayView bytes);

// The laps of a lap file's bytes as the analysis reads them from the table, with the file's unit
// and fault: for reports and comparisons of single laps.
struct SessionLaps {
    std::vector<LapData> laps;
    bool hasLapRecord = false;
    SpeedUnit unit = SpeedUnit::Kmh;
    std::string fault;
};
SessionLaps sessionLaps(QByteArrayView bytes);

// Fills analysis with one session: the file's bytes under its name, as "bil load" of that file
// alone would give the analysis window.
void loadSessionAnalysis(QByteArrayView bytes, const QString& name, SessionAnalysis& analysis);

// A day at a track: the figures of its sessions together, as the analysis window gives the day of
// those sessions. Every figure here is a time, so the sessions' speed units do not part them.
struct DayFigures {
    std::optional<std::int32_t> bestLap;
    std::size_t bestSession = 0; // position in the span of sessions
    std::optional<std::int32_t> theoretical;
    std::optional<std::int32_t> median; // of all counted laps, rounded half up
    int countedCount = 0;
};
DayFigures dayFigures(std::span<const std::vector<StoredLap>> sessions);
