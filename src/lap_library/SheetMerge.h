#pragma once

#include "lap_library/SessionSheet.h"

#include <QDateTime>
#include <QStringList>

// Two edits of one sheet made at once (this window and another window or miren-library): what
// each changed from the sheet both began with is kept; where both changed the same field
// differently, the field is in conflict and the caller chooses. Fields are those of the sheet,
// with the setup rows and the tags each as one field, and the session's date.

enum class SheetField {
    Track, Layout, Vehicle, Driver, Conditions, AirTemperature, TrackTemperature, TyreCompound,
    TyreSet, ColdPressures, HotPressures, Setup, NotesBefore, NotesAfter, Tags, Date
};

struct DatedSheet {
    SessionSheet sheet;
    QDateTime date;
    bool operator==(const DatedSheet&) const = default;
};

struct SheetMerge {
    DatedSheet merged;               // both edits, the conflicts as theirs
    std::vector<SheetField> conflicts; // changed in both, differently
};

SheetMerge mergeSheets(const DatedSheet& base, const DatedSheet& mine, const DatedSheet& theirs);
// Takes mine in the given fields.
void takeFields(DatedSheet& into, const DatedSheet& from, const std::vector<SheetField>& fields);
