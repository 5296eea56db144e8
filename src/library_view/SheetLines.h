#pragma once

#include "lap_library/SessionSheet.h"
#include "session_report/SessionReport.h"

#include <QCoreApplication>
#include <QStringList>
#include <optional>
#include <vector>

// The session sheet as a printed page shows it: one line per noted field ("Track: Suzu / East"),
// in the current language. Notes and long lists are cut to kSheetLineChars characters, so a
// sheet of a megabyte of notes still leaves the page to its laps.
inline constexpr qsizetype kSheetLineChars = 300;

class SheetLines {
    Q_DECLARE_TR_FUNCTIONS(SheetLines)
public:
    static QStringList of(const SessionSheet& sheet);
    // "Suzu / East", "Suzu", "" without a track.
    static QString trackText(const SessionSheet& sheet);
    // "dry, air 14 °C, track 22 °C"; "" when nothing is noted.
    static QString conditionsText(const SessionSheet& sheet);
    // The conditions' word in the current language; "" for unknown.
    static QString conditionsWord(Conditions conditions);
};

inline QStringList sheetLines(const SessionSheet& sheet)
{
    return SheetLines::of(sheet);
}

// Puts each session's sheet on its page of the report, by session; a session without one keeps
// its page as it is.
void addSessionSheets(SessionReport& report, const std::vector<std::optional<SessionSheet>>& sheets);
