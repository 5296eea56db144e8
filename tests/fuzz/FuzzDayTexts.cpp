// The analysis of several sessions and the day over them (SessionAnalysis), with the user's
// choices of laps, and every text made of them (lap_analysis/SessionTexts.h), on any bytes
// taken as a table text.
//
// Invariants checked:
// - every lap is in the day, whatever its session's unit; the day's counts are its sessions',
//   its best lap is the best of its sessions' best laps, and each unit has one top speed, from
//   a session of that unit;
// - a counted lap has a time, and a session counts the laps its statuses count;
// - the texts end their lines, hold no NUL byte, and the CSVs have a row per lap or per
//   session, each with as many cells as their header.
//
// Input: one byte for the exclusion limit, one for how many laps to toggle, the positions of
// those laps (one byte each), then the table text.
#include "FuzzCheck.h"
#include "lap_analysis/LapTableReader.h"
#include "lap_analysis/SessionCsv.h"
#include "lap_analysis/SessionTexts.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The rows of a CSV (CR LF ended); every row must have as many cells as the first. The texts
// here quote no cell: a table's sessions have no names.
std::size_t csvRows(const std::string& csv, char delimiter)
{
    FUZZ_CHECK(csv.empty() || csv.ends_with("\r\n"));
    std::size_t rows = 0;
    std::ptrdiff_t cells = -1;
    for (std::size_t start = 0; start < csv.size();) {
        const std::size_t end = csv.find("\r\n", start);
        FUZZ_CHECK(end != std::string::npos);
        const std::string_view row(csv.data() + start, end - start);
        const std::ptrdiff_t n = std::count(row.begin(), row.end(), delimiter);
        FUZZ_CHECK(cells < 0 || n == cells);
        cells = n;
        ++rows;
        start = end + 2;
    }
    return rows;
}

void checkText(const std::string& text)
{
    FUZZ_CHECK(text.empty() || text.back() == '\n');
    FUZZ_CHECK(text.find('\0') == std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    if (size < 2 || size < 2u + data[1] % 16)
        return 0;
    static const double kPercents[] = {110, 0, 100, 150, 1000};
    const double percent = kPercents[data[0] % 5];
    const std::size_t toggles = data[1] % 16;
    const unsigned char* positions = data + 2;
    const std::string_view text(reinterpret_cast<const char*>(data) + 2 + toggles,
                                size - 2 - toggles);

    // Sessions as a text without file names gives them; a second header starts one.
    const LapTableText table = readLapTable(text);
    std::vector<LaterHeader> headers;
    for (const std::int64_t line : table.skippedLines) {
        std::string_view rest = text;
        for (std::int64_t n = 1; n < line; ++n)
            rest.remove_prefix(rest.find('\n') + 1);
        if (const auto unit = parseHeaderLine(rest.substr(0, rest.find('\n'))))
            headers.push_back({line, *unit});
    }
    SessionAnalysis analysis;
    analysis.load(table.laps, sessionsFromTable(table.laps, table.unit, headers));
    analysis.setExcludeSlowerPercent(percent);
    for (std::size_t t = 0; t < toggles && !table.laps.empty(); ++t)
        analysis.toggleLap(positions[t] % table.laps.size());

    std::size_t dayLaps = 0;
    {
        const DayStats& day = analysis.day();
        int laps = 0, counted = 0;
        std::optional<std::int32_t> best;
        for (const std::size_t s : day.sessions) {
            laps += int(analysis.session(s).lapCount);
            counted += analysis.stats(s).countedCount;
            if (const auto& b = analysis.stats(s).bestLap; b && (!best || b->value < *best))
                best = b->value;
        }
        FUZZ_CHECK(day.lapCount == laps && day.countedCount == counted);
        FUZZ_CHECK(best == (day.bestLap ? std::optional(day.bestLap->value) : std::nullopt));
        for (const DayStats::SpeedPeak& peak : day.speedMax) {
            FUZZ_CHECK(analysis.session(peak.at.session).unit == peak.unit);
            FUZZ_CHECK(std::count_if(day.speedMax.begin(), day.speedMax.end(),
                                     [&](const DayStats::SpeedPeak& p) {
                                         return p.unit == peak.unit;
                                     }) == 1);
        }
        dayLaps += std::size_t(laps);
        checkText(daySummary(analysis));
    }
    FUZZ_CHECK(dayLaps == analysis.laps().size());
    for (std::size_t s = 0; s < analysis.sessionCount(); ++s) {
        int counted = 0;
        const SessionSpan& span = analysis.session(s);
        for (std::size_t lap = span.firstLap; lap < span.firstLap + span.lapCount; ++lap) {
            const bool isCounted = analysis.status(lap) == LapStatus::Counted;
            FUZZ_CHECK(!isCounted || analysis.laps()[lap].timed());
            counted += isCounted ? 1 : 0;
        }
        FUZZ_CHECK(analysis.stats(s).countedCount == counted);
    }

    if (analysis.laps().empty())
        return 0; // nothing is reported of a text without laps
    checkText(sessionsSummary(analysis, SummaryNotes{}));
    checkText(comparisonText(analysis));
    const CsvDialect dialect = csvDialectFor(data[0] % 2 ? ';' : ',');
    FUZZ_CHECK(csvRows(comparisonCsv(analysis, dialect), dialect.delimiter) ==
               1 + analysis.sessionCount());
    FUZZ_CHECK(csvRows(sessionLapCsv(analysis, dialect), dialect.delimiter) ==
               1 + analysis.laps().size());
    return 0;
}
