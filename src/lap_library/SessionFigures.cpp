#include "lap_library/SessionFigures.h"

#include "lap_analysis/LapRules.h"
#include "lap_analysis/SessionFeed.h"
#include "lap_analysis/LapTableReader.h"
#include "lap_conversion/LapConverter.h"
#include "lap_conversion/LapFile.h"

#include <cmath>
#include <cstdlib>

namespace {

// The median as the reports round it: half up to a whole unit.
std::int32_t roundedMedian(double value)
{
    return static_cast<std::int32_t>(value + 0.5);
}

std::int32_t medianLength(std::vector<std::int32_t> lengths)
{
    const auto median = medianOf(lengths);
    return median ? median->hundredths() : 0;
}

Fingerprint fingerprintOf(const std::vector<LapData>& laps, int sectorCount)
{
    Fingerprint fp;
    fp.sectorCount = sectorCount;
    std::vector<std::int32_t> lengths;
    std::array<std::vector<std::int32_t>, kMaxSectors> sectorLengths;
    for (const LapData& lap : laps) {
        if (!lap.timed())
            continue;
        lengths.push_back(lap.blocks[0].length);
        if (sectorCount > 0 && lap.sectorCount() == sectorCount)
            for (int s = 0; s < sectorCount; ++s)
                sectorLengths[std::size_t(s)].push_back(lap.blocks[std::size_t(s) + 1].length);
    }
    fp.lapLength = medianLength(std::move(lengths));
    for (int s = 0; s < sectorCount; ++s)
        fp.sectorLengths[std::size_t(s)] = medianLength(std::move(sectorLengths[std::size_t(s)]));
    return fp;
}

LapData lapFromStored(const StoredLap& stored)
{
    LapData lap;
    lap.lapNumber = stored.number;
    lap.blockCount = 1 + stored.sectorCount;
    lap.blocks[0].time = stored.time;
    for (int s = 0; s < stored.sectorCount; ++s)
        lap.blocks[std::size_t(s) + 1].time = stored.sectors[std::size_t(s)];
    return lap;
}

} // namespace

bool sameLength(std::int32_t a, std::int32_t b)
{
    const std::int64_t larger = std::max(a, b);
    return std::int64_t(std::abs(a - b)) * 100 <= larger * 3;
}

bool sameLayout(const Fingerprint& a, const Fingerprint& b)
{
    if (a.sectorCount != b.sectorCount || a.lapLength <= 0 || b.lapLength <= 0 ||
        !sameLength(a.lapLength, b.lapLength))
        return false;
    for (int s = 0; s < a.sectorCount; ++s)
        if (!sameLength(a.sectorLengths[std::size_t(s)], b.sectorLengths[std::size_t(s)]))
            return false;
    return true;
}

SessionLaps sessionLaps(QByteArrayView bytes)
{
    SessionLaps out;
    std::string text;
    const LapFault fault = convertLapBytes(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), std::size_t(bytes.size())),
        '.', text);
    if (!fault.ok()) {
        LapFileResult result;
        result.error = LapFileResult::Error::Record;
        result.fault = fault;
        out.fault = result.describe().toStdString();
    }
    LapTableText table = readLapTable(text);
    out.hasLapRecord = table.headerFound;
    out.unit = table.unit;
    out.laps = std::move(table.laps);
    return out;
}

namespace {

// A lap file is one session, fed to the analysis the way the window and miren-convert feed it.
void loadLaps(SessionLaps read, const QString& name, SessionAnalysis& analysis)
{
    SessionFeed feed;
    feed.beginSource(name.toStdString(), LapInputKind::Records);
    if (read.hasLapRecord)
        feed.receiver().unit(read.unit);
    for (const LapData& lap : read.laps)
        feed.receiver().lap(lap);
    feed.endSource(std::move(read.fault));
    feed.loadInto(analysis);
}

} // namespace

void loadSessionAnalysis(QByteArrayView bytes, const QString& name, SessionAnalysis& analysis)
{
    loadLaps(sessionLaps(bytes), name, analysis);
}

SessionFigures sessionFigures(QByteArrayView bytes)
{
    SessionLaps read = sessionLaps(bytes);
    const bool hasLapRecord = read.hasLapRecord;
    SessionAnalysis analysis;
    loadLaps(std::move(read), {}, analysis);
    const SessionSpan& span = analysis.session(0);
    const SessionStats& stats = analysis.stats(0);
    const std::vector<LapData>& laps = analysis.laps();

    SessionFigures f;
    f.hasLapRecord = hasLapRecord;
    f.unit = span.unit;
    f.fault = span.fault;
    f.lapCount = int(laps.size());
    f.timedCount = stats.timedCount;
    f.countedCount = stats.countedCount;
    const auto ref = [&laps](std::int32_t time, std::size_t lap) {
        return LapRef{time, std::int32_t(lap), laps[lap].lapNumber};
    };
    if (stats.bestLap)
        f.bestLap = ref(stats.bestLap->value, stats.bestLap->lap);
    for (int s = 0; s < kMaxSectors; ++s)
        if (const auto& best = stats.sectorBest[std::size_t(s)])
            f.sectorBest[std::size_t(s)] = ref(best->value, best->lap);
    if (stats.theoreticalBest) {
        f.theoretical = stats.theoreticalBest->time;
        f.sectorCount = int(stats.theoreticalBest->sectorLaps.size());
    }
    if (const auto& r = stats.rollingBest)
        f.rolling = RollingRef{r->time, laps[r->startLap].lapNumber, laps[r->endLap].lapNumber,
                               r->startSector, r->endSector};
    if (stats.consistency.count > 0)
        f.median = roundedMedian(stats.consistency.median);
    int layoutSectors = f.sectorCount;
    if (layoutSectors == 0 && f.bestLap)
        layoutSectors = laps[std::size_t(f.bestLap->index)].sectorCount();
    f.fingerprint = fingerprintOf(laps, layoutSectors);

    f.laps.reserve(laps.size());
    for (std::size_t i = 0; i < laps.size(); ++i) {
        StoredLap stored;
        stored.number = laps[i].lapNumber;
        stored.time = laps[i].lapTime();
        stored.sectorCount = laps[i].sectorCount();
        for (int s = 0; s < stored.sectorCount; ++s)
            stored.sectors[std::size_t(s)] = laps[i].blocks[std::size_t(s) + 1].time;
        stored.counted = analysis.status(i) == LapStatus::Counted;
        f.laps.push_back(stored);
    }
    return f;
}

DayFigures dayFigures(std::span<const std::vector<StoredLap>> sessions)
{
    std::vector<LapData> laps;
    std::vector<SessionSpan> spans;
    for (const std::vector<StoredLap>& session : sessions) {
        SessionSpan span;
        span.firstLap = laps.size();
        span.lapCount = session.size();
        for (const StoredLap& lap : session)
            laps.push_back(lapFromStored(lap));
        spans.push_back(std::move(span));
    }
    SessionAnalysis analysis;
    analysis.load(std::move(laps), std::move(spans));
    DayFigures figures;
    if (analysis.day().sessions.empty())
        return figures;
    const DayStats& day = analysis.day();
    if (day.bestLap) {
        figures.bestLap = day.bestLap->value;
        figures.bestSession = day.bestLap->session;
    }
    if (day.theoreticalBest)
        figures.theoretical = day.theoreticalBest->time;
    if (day.consistency.count > 0)
        figures.median = roundedMedian(day.consistency.median);
    figures.countedCount = day.countedCount;
    return figures;
}
