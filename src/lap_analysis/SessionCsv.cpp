#include "lap_analysis/SessionCsv.h"

#include "lap_analysis/SessionAnalysis.h"

#include <utility>

namespace {

// Rows gather in a batch of this size before they go to the sink.
constexpr std::size_t kBatch = 64 * 1024;

} // namespace

std::optional<SpeedUnit> sharedUnitOf(std::span<const SessionSpan> sessions)
{
    std::optional<SpeedUnit> shared;
    for (const SessionSpan& session : sessions) {
        if (session.lapCount == 0)
            continue;
        if (shared && *shared != session.unit)
            return std::nullopt;
        shared = session.unit;
    }
    if (shared)
        return shared;
    return sessions.empty() ? SpeedUnit::Kmh : sessions.front().unit;
}

SessionCsvWriter::SessionCsvWriter(std::optional<SpeedUnit> sharedUnit, const CsvDialect& dialect,
                                   Sink sink)
    : sharedUnit_(sharedUnit), dialect_(dialect), sink_(std::move(sink))
{
    batch_.resize(kBatch + sessionCsvRowRoom(0));
}

void SessionCsvWriter::writeHeader()
{
    std::string header;
    appendSessionCsvHeader(sharedUnit_, dialect_, header);
    flush();
    sink_(header);
    headerWritten_ = true;
}

void SessionCsvWriter::beginSession(std::size_t number, std::string_view name, SpeedUnit unit)
{
    number_ = number;
    nameCell_ = csvCell(name, dialect_);
    // Without a shared unit, the header has the speed_unit column.
    unitCell_ = sharedUnit_ ? std::nullopt : std::optional(unit);
    const std::size_t room = kBatch + sessionCsvRowRoom(nameCell_.size());
    if (batch_.size() < room) {
        flush();
        batch_.resize(room);
    }
}

void SessionCsvWriter::writeLap(const LapData& lap, bool counted)
{
    char* end = writeSessionCsvRow(number_, nameCell_, lap, counted, unitCell_, dialect_,
                                   batch_.data() + used_);
    used_ = static_cast<std::size_t>(end - batch_.data());
    if (used_ >= kBatch)
        flush();
}

void SessionCsvWriter::flush()
{
    if (used_ == 0)
        return;
    const std::size_t n = std::exchange(used_, 0);
    sink_(std::string_view(batch_.data(), n));
}

void writeSessionCsv(const SessionAnalysis& analysis, const CsvDialect& dialect,
                     const SessionCsvWriter::Sink& sink)
{
    std::vector<SessionSpan> spans;
    spans.reserve(analysis.sessionCount());
    for (std::size_t s = 0; s < analysis.sessionCount(); ++s)
        spans.push_back(analysis.session(s));
    SessionCsvWriter writer(sharedUnitOf(spans), dialect, sink);
    writer.writeHeader();
    for (std::size_t s = 0; s < analysis.sessionCount(); ++s) {
        const SessionSpan& session = analysis.session(s);
        writer.beginSession(s + 1, session.name, session.unit);
        const std::span<const LapData> laps = analysis.lapsOf(s);
        for (std::size_t i = 0; i < laps.size(); ++i)
            writer.writeLap(laps[i], analysis.stats(s).status[i] == LapStatus::Counted);
    }
    writer.flush();
}

std::string sessionLapCsv(const SessionAnalysis& analysis, const CsvDialect& dialect)
{
    std::string out;
    writeSessionCsv(analysis, dialect, [&out](std::string_view text) { out += text; });
    return out;
}
