#include "lap_analysis/Sessions.h"

std::vector<SessionSpan> sessionsFromTable(std::span<const LapData> laps, SpeedUnit unit,
                                           std::span<const LaterHeader> laterHeaders)
{
    std::vector<SessionSpan> sessions;
    TableSessionRule rule(unit);
    std::size_t header = 0; // the next later header not yet passed
    for (std::size_t pos = 0; pos < laps.size(); ++pos) {
        const LapData& lap = laps[pos];
        for (; header < laterHeaders.size() && laterHeaders[header].line < lap.line; ++header)
            rule.laterHeader(laterHeaders[header].unit);
        if (rule.starts(lap))
            sessions.push_back(SessionSpan{{}, rule.unit(), pos, 0, {}});
        ++sessions.back().lapCount;
    }
    return sessions;
}

std::optional<std::vector<SessionSpan>> sessionsFromFiles(std::span<const LapData> laps,
                                                          std::span<const LoadedFile> files,
                                                          SpeedUnit tableUnit)
{
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<SessionSpan> sessions;
    sessions.reserve(files.size());
    std::size_t pos = 0;
    std::int64_t lastFirstLine = 0;
    std::size_t current = kNone; // the session that takes laps until the next file's line
    for (const LoadedFile& file : files) {
        sessions.push_back(
            SessionSpan{file.name, file.unit.value_or(tableUnit), 0, 0, file.fault, file.title});
        if (file.firstLine <= 0)
            continue;
        if (file.firstLine <= lastFirstLine)
            return std::nullopt;
        lastFirstLine = file.firstLine;
        // The laps before this file's first line belong to the file before it.
        for (; pos < laps.size() && laps[pos].line < file.firstLine; ++pos) {
            if (current == kNone)
                return std::nullopt;
            ++sessions[current].lapCount;
        }
        if (pos == laps.size() || laps[pos].line != file.firstLine)
            return std::nullopt;
        current = sessions.size() - 1;
        sessions[current].firstLap = pos;
    }
    if (pos < laps.size()) {
        if (current == kNone)
            return std::nullopt;
        sessions[current].lapCount += laps.size() - pos;
    }
    // A session of no laps stands where the one before it ends.
    std::size_t end = 0;
    for (SessionSpan& session : sessions) {
        if (session.lapCount == 0)
            session.firstLap = end;
        end = session.firstLap + session.lapCount;
    }
    return sessions;
}
