#pragma once

#include "lap_analysis/LapData.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Sessions: a session is one lap file, the laps of one run on the track. Each keeps its own speed
// unit. The laps of all sessions stand in one list, session after session, so a lap is known
// everywhere by its position in that list.

struct SessionSpan {
    std::string name; // the lap file's name; "" when the text does not say
    SpeedUnit unit = SpeedUnit::Kmh;
    std::size_t firstLap = 0; // position of its first lap in the list of all laps
    std::size_t lapCount = 0;
    std::string fault; // why the reading stopped in this file (one line), "" when it did not
    // What the windows and reports call the session where the file's name says too little, e.g.
    // the track and date of a session from the lap library; "" to go by the name.
    std::string title = {};
};

// Where "bil load" put the lines of one lap file in the table text.
struct LoadedFile {
    std::string name;
    std::int64_t firstLine = 0;    // 1-based line of its first lap line; 0 when it gave none
    std::optional<SpeedUnit> unit; // from its first record word; none without a lap record
    std::string fault;
    std::string title = {}; // see SessionSpan::title
    std::uint64_t faultRecord = 0; // the faulty record (from 1), 0 when no record is at fault
};

// The lap files of the "bil load" that filled a table text, with the line where each file's lap
// lines begin now, and the chosen files after a failing one that were not read.
struct LoadedFiles {
    std::vector<LoadedFile> files;
    std::vector<std::string> unread;
};

// A header line after the table's first: it starts a session with its unit.
struct LaterHeader {
    std::int64_t line = 0; // 1-based
    SpeedUnit unit = SpeedUnit::Kmh;
};

// Where the sessions of a table text begin, lap by lap: at the first lap, at the first lap after
// a later header (in that header's unit), and at a lap whose number does not rise over the one
// before (a logger numbers the laps of a file from 1). A lap number the table cut to its last
// digits never starts one. Every reader of table texts splits them by this rule.
class TableSessionRule {
public:
    // unit: the table's first header's.
    explicit TableSessionRule(SpeedUnit unit) : unit_(unit) {}

    // A header line after the table's first.
    void laterHeader(SpeedUnit unit)
    {
        unit_ = unit;
        headerPassed_ = true;
    }
    // Whether lap, the table's next lap, starts a session.
    bool starts(const LapData& lap)
    {
        const bool starts =
            !any_ || headerPassed_ || (!lap.lapNumberCut && lap.lapNumber <= previous_);
        any_ = true;
        headerPassed_ = false;
        previous_ = lap.lapNumber;
        return starts;
    }
    // The unit of the session the last lap is in.
    SpeedUnit unit() const { return unit_; }

private:
    SpeedUnit unit_;
    bool any_ = false;
    bool headerPassed_ = false;
    std::int64_t previous_ = 0;
};

// The sessions of a table text that does not say where its files begin, by TableSessionRule.
// laps come from the table reader (their lines are set); unit is the first header's.
std::vector<SessionSpan> sessionsFromTable(std::span<const LapData> laps, SpeedUnit unit,
                                           std::span<const LaterHeader> laterHeaders = {});

// The sessions of the files a "bil load" read, as their lines stand now. Nothing when that no
// longer fits the laps: every file that gave lap lines must still have a lap line where its
// first one is, in the files' order, and no lap may stand before the first file's. A file
// without lap lines is a session of no laps. tableUnit stands for a file without a unit.
std::optional<std::vector<SessionSpan>> sessionsFromFiles(std::span<const LapData> laps,
                                                          std::span<const LoadedFile> files,
                                                          SpeedUnit tableUnit);
