#pragma once

#include "lap_library/LapLibrary.h"
#include "session_report/SessionReport.h"

#include <QString>
#include <vector>

// The printed report of a track: a page per layout with its personal bests per vehicle (best
// lap, rolling best, ideal lap and the best sectors), its progress chart and one line per day;
// with several layouts, a first page lists each one's best laps. Texts in the current language.
SessionReport buildTrackReport(const QString& track, const std::vector<TrackBests>& bests,
                               const std::vector<ProgressDay>& days);
