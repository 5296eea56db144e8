// Sessions found in a table text (sessionsFromTable), with the header lines after the first as
// the window finds them, on any bytes taken as a table text.
//
// Invariants checked:
// - the sessions cover the laps in order, each with at least one lap;
// - a session starts at a lap after a later header line, or at a lap whose number (not cut
//   short by the table) does not rise over the lap before, and nowhere else;
// - a session's unit is that of the last header line before its first lap;
// - the analysis takes the sessions as they are.
#include "FuzzCheck.h"
#include "lap_analysis/LapTableReader.h"
#include "lap_analysis/SessionAnalysis.h"
#include "lap_analysis/Sessions.h"

#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const LapTableText table = readLapTable(text);

    // Header lines after the first one, by line number, as the reader counts lines (at LF).
    std::vector<LaterHeader> headers;
    std::int64_t line = 0;
    bool first = false;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos)
            lf = text.size();
        ++line;
        if (const auto unit = parseHeaderLine(text.substr(start, lf - start))) {
            if (first)
                headers.push_back({line, *unit});
            first = true;
        }
        start = lf + 1;
    }

    const std::vector<SessionSpan> sessions = sessionsFromTable(table.laps, table.unit, headers);
    const std::vector<LapData>& laps = table.laps;
    FUZZ_CHECK(laps.empty() == sessions.empty());
    std::size_t next = 0;
    for (const SessionSpan& session : sessions) {
        FUZZ_CHECK(session.firstLap == next && session.lapCount > 0);
        next += session.lapCount;
        FUZZ_CHECK(session.name.empty() && session.fault.empty());

        SpeedUnit unit = table.unit;
        for (const LaterHeader& header : headers) {
            if (header.line < laps[session.firstLap].line)
                unit = header.unit;
        }
        FUZZ_CHECK(session.unit == unit);
    }
    FUZZ_CHECK(next == laps.size());

    std::size_t s = 0;
    for (std::size_t pos = 1; pos < laps.size(); ++pos) {
        bool headerBetween = false;
        for (const LaterHeader& header : headers)
            headerBetween = headerBetween ||
                            (header.line > laps[pos - 1].line && header.line < laps[pos].line);
        const bool restart =
            !laps[pos].lapNumberCut && laps[pos].lapNumber <= laps[pos - 1].lapNumber;
        const bool starts = s + 1 < sessions.size() && sessions[s + 1].firstLap == pos;
        FUZZ_CHECK(starts == (headerBetween || restart));
        s += starts ? 1 : 0;
    }

    SessionAnalysis analysis;
    analysis.load(laps, sessions);
    FUZZ_CHECK(analysis.sessionCount() == sessions.size());
    return 0;
}
