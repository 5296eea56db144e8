#pragma once

#include "lap_analysis/LapData.h"
#include "lap_analysis/SessionStats.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What the summary says beyond the statistics: where the laps came from.
struct SummaryNotes {
    // A fault stopped the reading: the summary covers only the laps before it.
    bool incomplete = false;
    std::string fault; // one line: which file and why
    // The same in parts, where known: the file, the reason, and the faulty record (from 1; 0
    // when no record is at fault), so a report can say it in plain words first.
    std::string faultFile, faultDetail;
    std::uint64_t faultRecord = 0;
    // Table text inputs: lines that were not lap lines, per file.
    struct Skipped {
        std::string file;
        std::vector<std::int64_t> lines; // the first of them, or all
        std::int64_t count = 0;          // how many there are, when more than lines holds
    };
    std::vector<Skipped> skipped;
    // The files after the faulty one, which were never read.
    std::vector<std::string> unread;
    double excludeSlowerPercent = 110.0;
};

// What a report covers, one line each: the fault that cut it short, the files not read after
// it, the lines of each file that were skipped. Nothing when it covers everything.
void appendCoverage(std::string& out, const SummaryNotes& notes);

// How a summary names its session and its laps: "Session" and "lap 9" alone, "Session 2,
// QUALI.BIL" and "S2 lap 9" as one of several.
struct SessionLabel {
    std::string title = "Session";
    std::string lapPrefix;
};

// The session's statistics as a short plain-text report with LF line ends.
std::string sessionSummary(std::span<const LapData> laps, SpeedUnit unit, const SessionStats& stats,
                           const SummaryNotes& notes = {}, const SessionLabel& label = {});

// The consistency lines of a summary: count, mean, median and standard deviation.
void appendConsistency(std::string& out, const SessionStats::Consistency& consistency);
