#include "lap_library/SheetMerge.h"

namespace {

constexpr SheetField kFields[] = {
    SheetField::Track,         SheetField::Layout,           SheetField::Vehicle,
    SheetField::Driver,        SheetField::Conditions,       SheetField::AirTemperature,
    SheetField::TrackTemperature, SheetField::TyreCompound,  SheetField::TyreSet,
    SheetField::ColdPressures, SheetField::HotPressures,     SheetField::Setup,
    SheetField::NotesBefore,   SheetField::NotesAfter,       SheetField::Tags,
    SheetField::Date};

// Calls f with the field of a and the same field of b.
template <typename F> void withField(DatedSheet& a, const DatedSheet& b, SheetField field, F f)
{
    SessionSheet& s = a.sheet;
    const SessionSheet& t = b.sheet;
    switch (field) {
    case SheetField::Track: return f(s.track, t.track);
    case SheetField::Layout: return f(s.layout, t.layout);
    case SheetField::Vehicle: return f(s.vehicle, t.vehicle);
    case SheetField::Driver: return f(s.driver, t.driver);
    case SheetField::Conditions: return f(s.conditions, t.conditions);
    case SheetField::AirTemperature: return f(s.airTemperature, t.airTemperature);
    case SheetField::TrackTemperature: return f(s.trackTemperature, t.trackTemperature);
    case SheetField::TyreCompound: return f(s.tyreCompound, t.tyreCompound);
    case SheetField::TyreSet: return f(s.tyreSet, t.tyreSet);
    case SheetField::ColdPressures: return f(s.coldPressures, t.coldPressures);
    case SheetField::HotPressures: return f(s.hotPressures, t.hotPressures);
    case SheetField::Setup: return f(s.setup, t.setup);
    case SheetField::NotesBefore: return f(s.notesBefore, t.notesBefore);
    case SheetField::NotesAfter: return f(s.notesAfter, t.notesAfter);
    case SheetField::Tags: return f(s.tags, t.tags);
    case SheetField::Date: return f(a.date, b.date);
    }
}

bool sameField(const DatedSheet& a, const DatedSheet& b, SheetField field)
{
    bool same = false;
    DatedSheet copy = a;
    withField(copy, b, field, [&same](const auto& x, const auto& y) { same = x == y; });
    return same;
}

} // namespace

SheetMerge mergeSheets(const DatedSheet& base, const DatedSheet& mine, const DatedSheet& theirs)
{
    SheetMerge m;
    m.merged = theirs;
    for (SheetField field : kFields) {
        if (sameField(mine, base, field) || sameField(mine, theirs, field))
            continue;
        if (sameField(theirs, base, field))
            withField(m.merged, mine, field, [](auto& into, const auto& from) { into = from; });
        else
            m.conflicts.push_back(field);
    }
    return m;
}

void takeFields(DatedSheet& into, const DatedSheet& from, const std::vector<SheetField>& fields)
{
    for (SheetField field : fields)
        withField(into, from, field, [](auto& a, const auto& b) { a = b; });
}
