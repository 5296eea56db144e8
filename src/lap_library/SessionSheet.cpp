#include "lap_library/SessionSheet.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QSet>

QString conditionsName(Conditions conditions)
{
    switch (conditions) {
    case Conditions::Dry:
        return QStringLiteral("dry");
    case Conditions::Damp:
        return QStringLiteral("damp");
    case Conditions::Wet:
        return QStringLiteral("wet");
    case Conditions::Unknown:
        break;
    }
    return {};
}

std::optional<Conditions> conditionsFromName(const QString& name)
{
    for (Conditions c : {Conditions::Unknown, Conditions::Dry, Conditions::Damp, Conditions::Wet})
        if (conditionsName(c) == name)
            return c;
    return std::nullopt;
}

namespace {

const char* const kTextFields[] = {"track",          "layout",        "vehicle",     "driver",
                                   "tyre_compound",  "tyre_set",      "cold_pressures",
                                   "hot_pressures",  "notes_before",  "notes_after"};

QString* textField(SessionSheet& sheet, int i)
{
    QString* fields[] = {&sheet.track,         &sheet.layout,       &sheet.vehicle,
                         &sheet.driver,        &sheet.tyreCompound, &sheet.tyreSet,
                         &sheet.coldPressures, &sheet.hotPressures, &sheet.notesBefore,
                         &sheet.notesAfter};
    return fields[i];
}

} // namespace

QJsonObject sheetToJson(const SessionSheet& sheet)
{
    QJsonObject o;
    SessionSheet copy = sheet;
    for (int i = 0; i < int(std::size(kTextFields)); ++i)
        o.insert(QLatin1String(kTextFields[i]), *textField(copy, i));
    o.insert(QStringLiteral("conditions"), conditionsName(sheet.conditions));
    o.insert(QStringLiteral("air_temperature_c"),
             sheet.airTemperature ? QJsonValue(*sheet.airTemperature) : QJsonValue());
    o.insert(QStringLiteral("track_temperature_c"),
             sheet.trackTemperature ? QJsonValue(*sheet.trackTemperature) : QJsonValue());
    QJsonArray setup;
    for (const SetupRow& row : sheet.setup)
        setup.append(QJsonObject{{QStringLiteral("name"), row.name},
                                 {QStringLiteral("value"), row.value}});
    o.insert(QStringLiteral("setup"), setup);
    o.insert(QStringLiteral("tags"), QJsonArray::fromStringList(sheet.tags));
    return o;
}

std::optional<SessionSheet> sheetFromJson(const QJsonObject& o, QString& error)
{
    SessionSheet sheet;
    for (int i = 0; i < int(std::size(kTextFields)); ++i) {
        const QJsonValue v = o.value(QLatin1String(kTextFields[i]));
        if (v.isUndefined() || v.isNull())
            continue;
        if (!v.isString()) {
            error = QLatin1String(kTextFields[i]);
            return std::nullopt;
        }
        *textField(sheet, i) = v.toString();
    }
    const QJsonValue conditions = o.value(QStringLiteral("conditions"));
    if (!conditions.isUndefined() && !conditions.isNull()) {
        const auto c = conditionsFromName(conditions.toString());
        if (!conditions.isString() || !c) {
            error = QStringLiteral("conditions");
            return std::nullopt;
        }
        sheet.conditions = *c;
    }
    for (auto [name, field] : {std::pair{"air_temperature_c", &sheet.airTemperature},
                               std::pair{"track_temperature_c", &sheet.trackTemperature}}) {
        const QJsonValue v = o.value(QLatin1String(name));
        if (v.isUndefined() || v.isNull())
            continue;
        if (!v.isDouble()) {
            error = QLatin1String(name);
            return std::nullopt;
        }
        *field = v.toDouble();
    }
    const QJsonValue setup = o.value(QStringLiteral("setup"));
    if (!setup.isUndefined() && !setup.isNull()) {
        if (!setup.isArray()) {
            error = QStringLiteral("setup");
            return std::nullopt;
        }
        for (const QJsonValue& row : setup.toArray()) {
            const QJsonValue name = row.toObject().value(QStringLiteral("name"));
            const QJsonValue value = row.toObject().value(QStringLiteral("value"));
            if (!row.isObject() || !name.isString() || !value.isString()) {
                error = QStringLiteral("setup");
                return std::nullopt;
            }
            sheet.setup.push_back({name.toString(), value.toString()});
        }
    }
    const QJsonValue tags = o.value(QStringLiteral("tags"));
    if (!tags.isUndefined() && !tags.isNull()) {
        if (!tags.isArray()) {
            error = QStringLiteral("tags");
            return std::nullopt;
        }
        QSet<QString> seen;
        for (const QJsonValue& tag : tags.toArray()) {
            if (!tag.isString()) {
                error = QStringLiteral("tags");
                return std::nullopt;
            }
            if (!seen.contains(tag.toString())) {
                seen.insert(tag.toString());
                sheet.tags << tag.toString();
            }
        }
    }
    return sheet;
}

SessionSheet carriedOver(const SessionSheet& last)
{
    SessionSheet sheet = last;
    sheet.notesBefore.clear();
    sheet.notesAfter.clear();
    sheet.tags.clear();
    return sheet;
}
