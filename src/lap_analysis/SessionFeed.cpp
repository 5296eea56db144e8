#include "lap_analysis/SessionFeed.h"

#include "lap_analysis/SessionAnalysis.h"

#include <algorithm>
#include <utility>

SessionFeed::SessionFeed(bool keepLaps) : keepLaps_(keepLaps)
{
    receiver_.unit = [this](SpeedUnit unit) { unitNamed(unit); };
    receiver_.laterHeader = [this](SpeedUnit unit) { laterHeader(unit); };
    receiver_.lap = [this](const LapData& data) { lap(data); };
}

void SessionFeed::beginSource(std::string name, LapInputKind kind)
{
    kind_ = kind;
    sourceFirst_ = sessions_.size();
    sessions_.push_back(SessionSpan{std::move(name), SpeedUnit::Kmh, lapCount_, 0, {}});
    unitKnown_.push_back(false);
    sourceOf_.push_back(sources_++);
    rule_ = TableSessionRule(SpeedUnit::Kmh);
}

// The unit a source names first: its first record word, or its table's first header.
void SessionFeed::unitNamed(SpeedUnit unit)
{
    anyUnit_ = true;
    if (unitKnown_.back())
        return;
    sessions_.back().unit = unit;
    unitKnown_.back() = true;
    rule_ = TableSessionRule(unit);
    if (onUnit)
        onUnit(unit);
}

void SessionFeed::laterHeader(SpeedUnit unit)
{
    anyUnit_ = true;
    rule_.laterHeader(unit);
}

void SessionFeed::lap(const LapData& data)
{
    if (kind_ == LapInputKind::TableText && rule_.starts(data)) {
        SessionSpan& current = sessions_.back();
        if (current.lapCount > 0) {
            sessions_.push_back(SessionSpan{current.name, rule_.unit(), lapCount_, 0, {}});
            unitKnown_.push_back(true);
            sourceOf_.push_back(sourceOf_.back());
        } else if (unitKnown_.back()) {
            // A later header before the source's first lap gives that lap's unit.
            current.unit = rule_.unit();
        }
    }
    ++sessions_.back().lapCount;
    ++lapCount_;
    if (keepLaps_)
        laps_.push_back(data);
    if (onLap)
        onLap(sessions_.size() - 1, data);
}

void SessionFeed::endSource(std::string fault)
{
    // Reading stopped in the source's last session.
    if (sessions_.size() > sourceFirst_)
        sessions_.back().fault = std::move(fault);
}

bool SessionFeed::addTable(LapTableText table, std::span<const LoadedFile> files)
{
    std::optional<std::vector<SessionSpan>> spans;
    if (!files.empty())
        spans = sessionsFromFiles(table.laps, files, table.unit);
    const bool fromFiles = spans.has_value();
    if (!spans)
        spans = sessionsFromTable(table.laps, table.unit, table.laterHeaders);
    anyUnit_ = anyUnit_ || table.headerFound;
    if (table.headerFound && onUnit)
        onUnit(table.unit);
    for (SessionSpan& span : *spans) {
        const std::size_t first = span.firstLap;
        span.firstLap += lapCount_;
        sessions_.push_back(std::move(span));
        unitKnown_.push_back(true);
        sourceOf_.push_back(sources_);
        if (onLap) {
            for (std::size_t pos = first; pos < first + sessions_.back().lapCount; ++pos)
                onLap(sessions_.size() - 1, table.laps[pos]);
        }
    }
    ++sources_;
    lapCount_ += table.laps.size();
    if (keepLaps_) {
        if (laps_.empty())
            laps_ = std::move(table.laps);
        else
            laps_.insert(laps_.end(), table.laps.begin(), table.laps.end());
    }
    return fromFiles;
}

void SessionFeed::loadInto(SessionAnalysis& analysis)
{
    const auto named = std::find(unitKnown_.begin(), unitKnown_.end(), true);
    if (named != unitKnown_.end()) {
        const SpeedUnit first = sessions_[std::size_t(named - unitKnown_.begin())].unit;
        for (std::size_t s = 0; s < sessions_.size(); ++s) {
            if (!unitKnown_[s])
                sessions_[s].unit = first;
        }
    }
    analysis.load(std::move(laps_), std::move(sessions_));
    laps_.clear();
    sessions_.clear();
    unitKnown_.clear();
    sourceOf_.clear();
    sources_ = 0;
    lapCount_ = 0;
    anyUnit_ = false;
    sourceFirst_ = 0;
}
