#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

// The session sheet: what the driver notes about a session beside its laps. Every text is kept
// as given (any characters, any length); an empty text is "not noted".

enum class Conditions { Unknown, Dry, Damp, Wet };

// "dry", "damp", "wet", "" for Unknown; the command line and the JSON use these.
QString conditionsName(Conditions conditions);
// Nothing for a name that is none of them.
std::optional<Conditions> conditionsFromName(const QString& name);

struct SetupRow {
    QString name;
    QString value;
    bool operator==(const SetupRow&) const = default;
};

struct SessionSheet {
    QString track, layout, vehicle, driver;
    Conditions conditions = Conditions::Unknown;
    std::optional<double> airTemperature, trackTemperature; // °C
    QString tyreCompound, tyreSet;
    QString coldPressures, hotPressures; // as the driver writes them, e.g. "1.6 1.6 1.5 1.5"
    std::vector<SetupRow> setup;         // in the driver's order
    QString notesBefore, notesAfter;
    QStringList tags; // each once, in the driver's order

    bool operator==(const SessionSheet&) const = default;
};

// The sheet as a JSON object, and back. fromJson fails, with the name of the field in error, on a
// field of the wrong type; fields it does not know are passed over, missing ones stay empty.
QJsonObject sheetToJson(const SessionSheet& sheet);
std::optional<SessionSheet> sheetFromJson(const QJsonObject& object, QString& error);

// The fields of a sheet that copying the last session of a vehicle carries over: all but the
// notes and the tags, which belong to one session.
SessionSheet carriedOver(const SessionSheet& last);
