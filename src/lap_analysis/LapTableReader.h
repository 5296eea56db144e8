#pragma once

#include "lap_analysis/LapData.h"
#include "lap_analysis/Sessions.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

// Reads a lap table's text back into laps by the table's own layout. Lines before the first
// header line (either unit) are ignored. After it, every line is either a lap line, taken apart
// field by field, or skipped and reported by its line number: an edited or cut line, a blank
// line, a second header. Nothing is guessed: a line the layout could not have written is
// skipped whole. Blank lines at the very end of the text are not reported, since "Text save"
// ends the table with one.

// Streaming: lines are fed one at a time, without their line end (a trailing '\r' is allowed).
// Memory grows only with the laps kept; a caller that handles laps as they come clears them.
class LapTableReader {
public:
    // Keeps the line numbers of the first keptSkippedLines skipped lines and only counts the
    // rest, so that a text of junk lines costs no memory per line.
    explicit LapTableReader(std::size_t keptSkippedLines = SIZE_MAX)
        : keptSkipped_(keptSkippedLines)
    {}
    void feedLine(std::string_view line); // counts lines itself, from 1

    bool headerFound() const { return headerLine_ != 0; }
    SpeedUnit unit() const { return unit_; }
    // 1-based line number of the header line, 0 before it has been found.
    std::int64_t headerLine() const { return headerLine_; }
    // The laps read so far (since the last take or clear), in input order.
    const std::vector<LapData>& laps() const { return laps_; }
    std::vector<LapData> takeLaps() { return std::exchange(laps_, {}); }
    // Forgets the laps read so far, keeping the room they took for the next.
    void clearLaps() { laps_.clear(); }
    // Header lines after the first (also skipped lines): each starts a session in its unit.
    const std::vector<LaterHeader>& laterHeaders() const { return laterHeaders_; }
    void clearLaterHeaders() { laterHeaders_.clear(); }
    // 1-based line numbers of the lines after the header that were not lap lines (the first
    // keptSkippedLines of them).
    const std::vector<std::int64_t>& skippedLines() const { return skipped_; }
    // How many lines were skipped, kept or not.
    std::int64_t skippedCount() const { return skippedCount_; }
    std::int64_t linesRead() const { return lines_; }

private:
    void skip(std::int64_t line);

    std::vector<LapData> laps_;
    std::vector<LaterHeader> laterHeaders_;
    std::vector<std::int64_t> skipped_;
    std::size_t keptSkipped_;
    std::int64_t skippedCount_ = 0;
    std::int64_t lines_ = 0;
    std::int64_t headerLine_ = 0;
    std::int64_t pendingBlanks_ = 0; // blank lines not yet known to be followed by more text
    SpeedUnit unit_ = SpeedUnit::Kmh;
};

// A whole text at once (CR LF or LF line ends).
struct LapTableText {
    bool headerFound = false;
    SpeedUnit unit = SpeedUnit::Kmh; // the first header's
    std::vector<LapData> laps;
    std::vector<std::int64_t> skippedLines; // 1-based lines after the header that are not laps
    std::vector<LaterHeader> laterHeaders;  // header lines among them
    std::int64_t lines = 0;
};
LapTableText readLapTable(std::string_view text);
// What the reader has read, taken from it.
LapTableText takeLapTable(LapTableReader& reader);

// One lap line on its own (a trailing '\r' is allowed); nothing when the layout could not have
// written it. line stays 0.
std::optional<LapData> parseLapLine(std::string_view line);

// The unit of a header line, nothing when line (a trailing '\r' is allowed) is not one.
std::optional<SpeedUnit> parseHeaderLine(std::string_view line);
