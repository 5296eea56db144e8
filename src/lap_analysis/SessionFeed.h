#pragma once

#include "lap_analysis/LapData.h"
#include "lap_analysis/LapInput.h"
#include "lap_analysis/LapTableReader.h"
#include "lap_analysis/Sessions.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

class SessionAnalysis;

// Laps into sessions: the one way from what was read to what SessionAnalysis takes, for the
// window, the converter and anything else that reads laps. Sources come one after another, each
// either streamed (beginSource, the laps through receiver(), endSource) or as a whole table text
// (addTable). A lap record file is one session whatever its lap numbers; a table text is split
// by TableSessionRule, at a later header and at a lap number that does not rise. Every session
// of a source takes the source's name.
class SessionFeed {
public:
    // keepLaps: hold the laps for loadInto(); a run that only streams them past (onLap) keeps
    // none, and its memory stays flat.
    explicit SessionFeed(bool keepLaps = true);
    SessionFeed(const SessionFeed&) = delete;
    SessionFeed& operator=(const SessionFeed&) = delete;

    // Called for each lap as it comes, with the position of its session in sessions().
    std::function<void(std::size_t session, const LapData& lap)> onLap;
    // Called when a source names its speed unit, before any lap of it.
    std::function<void(SpeedUnit unit)> onUnit;

    // Starts the next source, named name ("" when it has none): one session, empty until its
    // laps come.
    void beginSource(std::string name, LapInputKind kind);
    // Where the current source's unit, later headers and laps go.
    const LapReceiver& receiver() const { return receiver_; }
    // Ends the current source; fault says why its reading stopped ("" when it did not).
    void endSource(std::string fault = {});

    // A whole table text: its sessions are the files of the "bil load" that made it while their
    // lines still fit (sessionsFromFiles), else those the text shows. An empty table adds no
    // session. Returns whether the files gave the sessions.
    bool addTable(LapTableText table, std::span<const LoadedFile> files = {});

    // Whether any source named a speed unit (a table header or a lap record).
    bool anyUnit() const { return anyUnit_; }
    const std::vector<SessionSpan>& sessions() const { return sessions_; }
    // The source a session came from, counted from 0 in the order they were given.
    std::size_t sourceOf(std::size_t session) const { return sourceOf_[session]; }

    // Hands the laps and sessions to the analysis, which analyses them. A session whose source
    // named no unit takes the first unit named. The feed is empty afterwards.
    void loadInto(SessionAnalysis& analysis);

private:
    void unitNamed(SpeedUnit unit);
    void laterHeader(SpeedUnit unit);
    void lap(const LapData& lap);

    bool keepLaps_;
    LapReceiver receiver_;
    std::vector<LapData> laps_;
    std::vector<SessionSpan> sessions_;
    std::vector<bool> unitKnown_;       // per session: its source named its unit
    std::vector<std::size_t> sourceOf_; // per session
    std::size_t sources_ = 0;
    std::size_t lapCount_ = 0;
    bool anyUnit_ = false;
    // The current source.
    LapInputKind kind_ = LapInputKind::Records;
    std::size_t sourceFirst_ = 0; // its first session
    TableSessionRule rule_{SpeedUnit::Kmh};
};
