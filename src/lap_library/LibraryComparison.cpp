#include "lap_library/LibraryComparison.h"

#include "lap_analysis/LapFormat.h"

#include <algorithm>

namespace {

QString timeText(std::int32_t hundredths)
{
    return QString::fromStdString(formatLapTime(hundredths));
}

// The lap of that number, the one with that time where the number comes twice.
const LapData* findLap(const SessionLaps& laps, std::int64_t number, int block = -1,
                       std::int32_t time = kUnknownTime)
{
    const LapData* found = nullptr;
    for (const LapData& lap : laps.laps) {
        if (lap.lapNumber != number)
            continue;
        if (block < 0 || lap.blocks[std::size_t(block)].time == time)
            return &lap;
        if (!found)
            found = &lap;
    }
    return found;
}

} // namespace

std::optional<ReferenceChoice> parseReferenceChoice(const QString& text)
{
    if (text == QLatin1String("session"))
        return ReferenceChoice{ReferenceKind::SessionBest};
    if (text == QLatin1String("day"))
        return ReferenceChoice{ReferenceKind::DayBest};
    if (text == QLatin1String("pb"))
        return ReferenceChoice{ReferenceKind::PersonalBest};
    if (text == QLatin1String("ideal"))
        return ReferenceChoice{ReferenceKind::Ideal};
    if (const auto time = parseLapTime(text))
        return ReferenceChoice{ReferenceKind::Target, *time};
    return std::nullopt;
}

LibraryResult<LibraryLapRef> LibraryComparison::parseLap(const QString& text)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    bool number = false;
    const std::int64_t lap = colon > 0 ? text.mid(colon + 1).toLongLong(&number) : 0;
    if (!number)
        return LibraryError{LibraryError::Kind::BadInput,
                            tr("%1: give a lap as SESSION:LAP, e.g. 12:9").arg(text)};
    const auto session = library_.resolve(text.left(colon));
    if (!session.ok())
        return session.error;
    return LibraryLapRef{*session.value, lap};
}

LibraryResult<const SessionLaps*> LibraryComparison::lapsOf(std::int64_t session)
{
    auto found = cache_.find(session);
    if (found == cache_.end()) {
        auto laps = library_.lapsOf(session);
        if (!laps.ok())
            return laps.error;
        found = cache_.emplace(session, std::move(*laps.value)).first;
    }
    return &found->second;
}

LibraryResult<ComparedLap> LibraryComparison::lap(LibraryLapRef ref)
{
    const auto laps = lapsOf(ref.session);
    if (!laps.ok())
        return laps.error;
    const LapData* lap = findLap(**laps.value, ref.lap);
    if (!lap)
        return LibraryError{LibraryError::Kind::Unknown,
                            tr("session %1 has no lap %2").arg(ref.session).arg(ref.lap)};
    return ComparedLap{QStringLiteral("%1:%2").arg(ref.session).arg(ref.lap), *lap,
                       (*laps.value)->unit, ref.session};
}

LibraryResult<ComparisonReference>
LibraryComparison::lapReference(ReferenceKind kind, std::int64_t session, std::int64_t lapNumber,
                                std::int32_t time, const QString& what)
{
    const auto laps = lapsOf(session);
    if (!laps.ok())
        return laps.error;
    const LapData* lap = findLap(**laps.value, lapNumber, 0, time);
    if (!lap)
        return LibraryError{LibraryError::Kind::Unknown,
                            tr("session %1 has no lap %2").arg(session).arg(lapNumber)};
    return referenceOfLap(kind,
                          tr("%1 %2 (%3:%4)")
                              .arg(what, timeText(lap->lapTime()), QString::number(session),
                                   QString::number(lapNumber)),
                          *lap, (*laps.value)->unit);
}

LibraryResult<ComparisonReference>
LibraryComparison::reference(std::int64_t session, int sectorCount, ReferenceChoice choice)
{
    const auto info = library_.session(session);
    if (!info.ok())
        return info.error;
    const SessionInfo& s = *info.value;
    const auto refuse = [](const QString& why) {
        return LibraryError{LibraryError::Kind::BadInput, why};
    };
    switch (choice.kind) {
    case ReferenceKind::SessionBest:
    case ReferenceKind::Target: {
        if (!s.figures.bestLap)
            return refuse(tr("session %1 has no counted lap to take as its best").arg(session));
        auto best = lapReference(ReferenceKind::SessionBest, session, s.figures.bestLap->number,
                                 s.figures.bestLap->time, tr("session best"));
        if (!best.ok() || choice.kind == ReferenceKind::SessionBest)
            return best;
        return targetReference(tr("target %1").arg(timeText(choice.target)), choice.target,
                               *best.value);
    }
    case ReferenceKind::DayBest: {
        SessionFilter day;
        day.from = day.to = s.date.toLocalTime().date();
        std::optional<BestAt> best;
        for (const SessionInfo& other : library_.sessions(day)) {
            if (other.sheet.track != s.sheet.track || other.sheet.layout != s.sheet.layout ||
                other.sheet.vehicle != s.sheet.vehicle || !other.figures.bestLap)
                continue;
            if (!best || other.figures.bestLap->time < best->time)
                best = BestAt{other.figures.bestLap->time, other.id, other.date,
                              other.figures.bestLap->number};
        }
        if (!best)
            return refuse(tr("no session of that day has a counted lap"));
        return lapReference(ReferenceKind::DayBest, best->session, best->lap, best->time,
                            tr("day's best"));
    }
    case ReferenceKind::PersonalBest:
    case ReferenceKind::Ideal:
        break;
    }
    if (s.sheet.track.isEmpty())
        return refuse(tr("session %1 has no track in its sheet: personal bests are kept per "
                         "track and vehicle")
                          .arg(session));
    SessionFilter filter;
    filter.track = s.sheet.track;
    if (s.sheet.conditions != Conditions::Unknown)
        filter.conditions = s.sheet.conditions;
    const std::vector<TrackBests> groups = library_.bests(filter);
    const auto group = std::find_if(groups.begin(), groups.end(), [&s](const TrackBests& g) {
        return g.layout == s.sheet.layout && g.vehicle == s.sheet.vehicle;
    });
    if (group == groups.end() || !group->bestLap)
        return refuse(tr("no personal best at this track and vehicle yet"));
    if (choice.kind == ReferenceKind::PersonalBest)
        return lapReference(ReferenceKind::PersonalBest, group->bestLap->session,
                            group->bestLap->lap, group->bestLap->time, tr("personal best"));
    const auto ideal = std::find_if(group->ideals.begin(), group->ideals.end(),
                                    [sectorCount](const TrackBests::Ideal& i) {
                                        return i.sectorCount == sectorCount;
                                    });
    if (ideal == group->ideals.end())
        return refuse(tr("no ideal lap of %1 sectors at this track and vehicle").arg(sectorCount));
    std::vector<LapData> sectorLaps;
    SpeedUnit unit = SpeedUnit::Kmh;
    bool oneUnit = true;
    for (std::size_t k = 0; k < ideal->sectors.size(); ++k) {
        const BestAt& at = ideal->sectors[k];
        const auto laps = lapsOf(at.session);
        if (!laps.ok())
            return laps.error;
        const LapData* lap = findLap(**laps.value, at.lap, int(k) + 1, at.time);
        if (!lap)
            return LibraryError{LibraryError::Kind::Unknown,
                                tr("session %1 has no lap %2").arg(at.session).arg(at.lap)};
        sectorLaps.push_back(*lap);
        if (k == 0)
            unit = (*laps.value)->unit;
        oneUnit = oneUnit && unit == (*laps.value)->unit;
    }
    ComparisonReference r = referenceOfSectors(
        tr("ideal lap %1, never driven whole").arg(timeText(ideal->time)), sectorLaps, unit);
    // Speeds of sectors in two units say nothing together.
    if (!oneUnit)
        for (ComparisonReference::Sector& sector : r.sectors)
            sector.speedMin = sector.speedMax = std::nullopt;
    return r;
}

LibraryResult<LapComparison> LibraryComparison::compare(const std::vector<LibraryLapRef>& refs,
                                                        ReferenceChoice choice)
{
    compared_.clear();
    for (const LibraryLapRef& ref : refs) {
        auto lap = this->lap(ref);
        if (!lap.ok())
            return lap.error;
        compared_.push_back(std::move(*lap.value));
    }
    if (compared_.empty())
        return LapComparer::compare(compared_, {});
    auto r = reference(refs.front().session, compared_.front().lap.sectorCount(), choice);
    if (!r.ok()) {
        LapComparison refused;
        refused.refused = r.error.message;
        return refused;
    }
    reference_ = std::move(*r.value);
    return LapComparer::compare(compared_, reference_);
}
