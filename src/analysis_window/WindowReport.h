#pragma once

#include "lap_analysis/SessionAnalysis.h"
#include "session_report/SessionReport.h"

#include <QDateTime>
#include <QString>
#include <vector>

// The printable report of what the analysis window holds: a page per session, and one for the
// day when there are several. Texts in the current language, figures as FigureText.h writes
// them. sessionDates holds the date of each session's lap file (invalid: not known; missing
// entries count as not known).
SessionReport windowReport(const SessionAnalysis& analysis, const QString& documentTitle,
                           const std::vector<QDateTime>& sessionDates);
