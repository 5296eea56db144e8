#pragma once

#include "lap_library/LapComparison.h"
#include "lap_library/LapLibrary.h"

#include <QCoreApplication>
#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

// Laps of the library compared against a reference the library knows: the session's best lap,
// the day's best (that date at the session's track, layout and vehicle), the personal best at the
// track, layout and vehicle (in the session's conditions where its sheet notes them: a wet best
// is not a dry best), the ideal lap of those sessions, or a target time spread over the sectors
// of the session's best lap.

// A lap of the library: its session and its lap number ("12:9" on the command line).
struct LibraryLapRef {
    std::int64_t session = 0;
    std::int64_t lap = 0;
};

// The reference as the user picks it.
struct ReferenceChoice {
    ReferenceKind kind = ReferenceKind::SessionBest;
    std::int32_t target = 0; // hundredths, for ReferenceKind::Target
};
// "session", "day", "pb", "ideal" or a lap time ("1:03.50"); nothing for anything else.
std::optional<ReferenceChoice> parseReferenceChoice(const QString& text);

class LibraryComparison {
    Q_DECLARE_TR_FUNCTIONS(LibraryComparison)
public:
    explicit LibraryComparison(LapLibrary& library) : library_(library) {}

    // "SESSION:LAP", the session by its number or a prefix of its hash.
    LibraryResult<LibraryLapRef> parseLap(const QString& text);
    // The lap, named "SESSION:LAP".
    LibraryResult<ComparedLap> lap(LibraryLapRef ref);
    // The reference for laps of sectorCount sectors whose first lap is of session.
    LibraryResult<ComparisonReference> reference(std::int64_t session, int sectorCount,
                                                 ReferenceChoice choice);
    // Reads the laps and the reference and compares them; a refusal is in the comparison.
    LibraryResult<LapComparison> compare(const std::vector<LibraryLapRef>& laps,
                                         ReferenceChoice choice);
    // The laps compared last, in order.
    const std::vector<ComparedLap>& laps() const { return compared_; }
    const ComparisonReference& lastReference() const { return reference_; }

private:
    LibraryResult<const SessionLaps*> lapsOf(std::int64_t session);
    LibraryResult<ComparisonReference> lapReference(ReferenceKind kind, std::int64_t session,
                                                    std::int64_t lapNumber, std::int32_t time,
                                                    const QString& what);

    LapLibrary& library_;
    std::map<std::int64_t, SessionLaps> cache_;
    std::vector<ComparedLap> compared_;
    ComparisonReference reference_;
};
