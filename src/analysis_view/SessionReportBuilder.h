#pragma once

#include "lap_analysis/SessionAnalysis.h"
#include "lap_analysis/SessionSummary.h"
#include "session_report/SessionReport.h"

#include <QDateTime>
#include <vector>

// The printed report of an analysis: a page per session with its figures, its lap list (the best
// lap and each sector's best marked) and its lap chart, and before them the day's page when
// there are several sessions. The window's "Print…" and miren-convert --format pdf both build
// it here, so they print the same. Texts are in the current language; figures are written as
// ui_language/FigureText.h says.

// fileDates: the modification time of each session's lap file, by session; a missing or
// invalid one leaves the page without a date. notes: what the sessions do not cover (a file not
// read, lines skipped), said on the first page.
SessionReport buildSessionReport(const SessionAnalysis& analysis,
                                 const std::vector<QDateTime>& fileDates,
                                 const SummaryNotes& notes = {});
