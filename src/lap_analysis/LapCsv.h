#pragma once

#include "lap_analysis/LapData.h"
#include "lap_analysis/SessionStats.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The laps as CSV (RFC 4180, CR LF rows): lap, counted, then the twelve values of the whole lap
// and of sectors 1 to 6; cells of absent blocks and unknown times stay empty. No cell ever needs
// quoting: every one is a number or a fixed column name. Only the session CSVs hold text that
// comes from outside, the file names, and those go through csvCell().

struct CsvDialect {
    char delimiter = ',';
    char decimalPoint = '.'; // of the times (seconds) and of GX / GY (G)
};
// The dialect of a delimiter: ',' comes with '.', anything else (';', tab) with ','.
CsvDialect csvDialectFor(char delimiter);

// Appends the header row, CR LF ended; the speed columns are named by the unit.
void appendCsvHeader(SpeedUnit unit, const CsvDialect& dialect, std::string& out);
// Room one row needs at most: a lap number of up to 20 characters and 86 cells of at most 12.
inline constexpr std::size_t kMaxCsvRowLength = 2048;
// Writes one lap's row, CR LF ended, at out, which must have room for kMaxCsvRowLength
// characters. Returns the end of what was written.
char* writeCsvRow(const LapData& lap, bool counted, const CsvDialect& dialect, char* out);
// Appends one lap's row, CR LF ended.
void appendCsvRow(const LapData& lap, bool counted, const CsvDialect& dialect, std::string& out);
// The whole CSV of laps, counted flags taken from stats.
std::string lapCsv(std::span<const LapData> laps, SpeedUnit unit, const SessionStats& stats,
                   const CsvDialect& dialect);

// The CSV of several sessions: a `session` column (its number from 1) and a `session_name` column
// before those above. When the sessions' speed units differ, the speed columns are named without
// a unit and a `speed_unit` column ("km/h" or "m/h") ends every row, so no speed stands under
// the wrong unit.
void appendSessionCsvHeader(std::optional<SpeedUnit> sharedUnit, const CsvDialect& dialect,
                            std::string& out);
// A text as one cell: quoted, with its quotes doubled, where it holds the delimiter, a quote or a
// line end. A text that a spreadsheet would take for a formula (one that starts with "=", "+",
// "-", "@", a tab or a CR) gets a "'" in front.
std::string csvCell(std::string_view text, const CsvDialect& dialect);
// Room a session row needs at most, for a name cell of this length.
inline std::size_t sessionCsvRowRoom(std::size_t nameCellLength)
{
    return kMaxCsvRowLength + 20 + nameCellLength + 8;
}
// Writes one lap's row of session `session` (1-based), CR LF ended, at out, which must have room
// for sessionCsvRowRoom(nameCell.size()) characters; unitCell is given when the header has the
// speed_unit column. Returns the end of what was written.
char* writeSessionCsvRow(std::size_t session, std::string_view nameCell, const LapData& lap,
                         bool counted, std::optional<SpeedUnit> unitCell, const CsvDialect& dialect,
                         char* out);
