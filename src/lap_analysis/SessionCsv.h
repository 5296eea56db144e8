#pragma once

#include "lap_analysis/LapCsv.h"
#include "lap_analysis/LapData.h"
#include "lap_analysis/Sessions.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class SessionAnalysis;

// The speed unit every session with laps is in, nothing when they differ; without any laps, the
// first session's (km/h without a session). The session CSV names its speed columns by it.
std::optional<SpeedUnit> sharedUnitOf(std::span<const SessionSpan> sessions);

// The CSV of the laps of several sessions (see appendSessionCsvHeader), written row by row into
// a batch that goes to the sink whenever it fills: neither the window's export nor the
// converter holds the whole file.
class SessionCsvWriter {
public:
    using Sink = std::function<void(std::string_view text)>;

    // sharedUnit: see sharedUnitOf(); without one, each row ends with its session's unit.
    SessionCsvWriter(std::optional<SpeedUnit> sharedUnit, const CsvDialect& dialect, Sink sink);

    void writeHeader();
    bool headerWritten() const { return headerWritten_; }
    // The rows that follow are of session `number` (from 1), named name (a file name, given as
    // it is), in unit.
    void beginSession(std::size_t number, std::string_view name, SpeedUnit unit);
    void writeLap(const LapData& lap, bool counted);
    // Sends what the batch holds.
    void flush();

private:
    std::optional<SpeedUnit> sharedUnit_;
    CsvDialect dialect_;
    Sink sink_;
    bool headerWritten_ = false;
    std::string batch_;
    std::size_t used_ = 0;
    std::size_t number_ = 1;
    std::string nameCell_;
    std::optional<SpeedUnit> unitCell_;
};

// Every lap of the analysis as the session CSV, counted as the analysis counts it.
void writeSessionCsv(const SessionAnalysis& analysis, const CsvDialect& dialect,
                     const SessionCsvWriter::Sink& sink);
// The same, whole, in memory.
std::string sessionLapCsv(const SessionAnalysis& analysis, const CsvDialect& dialect);
