#pragma once

#include "lap_analysis/LapCsv.h"
#include "lap_analysis/SessionAnalysis.h"
#include "lap_analysis/SessionSummary.h"

#include <string>

// Reports of several sessions, plain text with LF line ends or CSV with CR LF rows. With one
// session the summary and the CSV's lap columns are those of a single session.

// The summary of each session, its laps named "R2 lap 9", and then the day over them. With one
// session it is sessionSummary() of it, byte for byte. notes are said once, at the top.
std::string sessionsSummary(const SessionAnalysis& analysis, const SummaryNotes& notes);

// The day over all sessions: its bests with their sessions and laps, its theoretical best from
// the best sectors of all sessions, consistency and peaks (the top speed per speed unit).
std::string daySummary(const SessionAnalysis& analysis);

// The sessions side by side: laps, counted laps, best lap, theoretical best, median of the
// counted laps and standard deviation, each with its gap to the best of the day in that column.
// What the notes say the sessions do not cover comes first.
std::string comparisonText(const SessionAnalysis& analysis, const SummaryNotes& notes = {});
// The same as CSV: session, session_name, speed_unit, laps, counted, best_s, best_gap_s,
// best_lap, theoretical_s, theoretical_gap_s, median_s, median_gap_s, stddev_s, stddev_gap_s.
// A figure a session does not have leaves its cells empty.
std::string comparisonCsv(const SessionAnalysis& analysis, const CsvDialect& dialect);
