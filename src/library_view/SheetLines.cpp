#include "library_view/SheetLines.h"

#include <cmath>

namespace {

// One line of a text that may hold line breaks, cut to kSheetLineChars.
QString oneLine(const QString& text)
{
    QString line = text.left(kSheetLineChars + 1).simplified();
    if (text.size() > kSheetLineChars || line.size() > kSheetLineChars)
        line = line.left(kSheetLineChars) + QChar(0x2026);
    return line;
}

QString temperature(double celsius)
{
    return QString::number(celsius, 'f', celsius == std::floor(celsius) ? 0 : 1);
}

} // namespace

QString SheetLines::trackText(const SessionSheet& sheet)
{
    if (sheet.track.isEmpty())
        return {};
    return sheet.layout.isEmpty() ? sheet.track : sheet.track + QStringLiteral(" / ") + sheet.layout;
}

QString SheetLines::conditionsWord(Conditions conditions)
{
    switch (conditions) {
    case Conditions::Dry:
        return tr("dry");
    case Conditions::Damp:
        return tr("damp");
    case Conditions::Wet:
        return tr("wet");
    case Conditions::Unknown:
        break;
    }
    return {};
}

QString SheetLines::conditionsText(const SessionSheet& sheet)
{
    QStringList parts;
    if (sheet.conditions != Conditions::Unknown)
        parts << conditionsWord(sheet.conditions);
    if (sheet.airTemperature)
        parts << tr("air %1 °C").arg(temperature(*sheet.airTemperature));
    if (sheet.trackTemperature)
        parts << tr("track %1 °C").arg(temperature(*sheet.trackTemperature));
    return parts.join(QStringLiteral(", "));
}

QStringList SheetLines::of(const SessionSheet& sheet)
{
    QStringList lines;
    const auto add = [&lines](const QString& label, const QString& value) {
        if (!value.isEmpty())
            lines << tr("%1: %2").arg(label, oneLine(value));
    };
    add(tr("Track"), trackText(sheet));
    add(tr("Vehicle"), sheet.vehicle);
    add(tr("Driver"), sheet.driver);
    add(tr("Conditions"), conditionsText(sheet));
    QStringList tyres;
    if (!sheet.tyreCompound.isEmpty())
        tyres << tr("compound %1").arg(sheet.tyreCompound);
    if (!sheet.tyreSet.isEmpty())
        tyres << tr("set %1").arg(sheet.tyreSet);
    if (!sheet.coldPressures.isEmpty())
        tyres << tr("cold %1").arg(sheet.coldPressures);
    if (!sheet.hotPressures.isEmpty())
        tyres << tr("hot %1").arg(sheet.hotPressures);
    add(tr("Tyres"), tyres.join(QStringLiteral(", ")));
    QStringList setup;
    for (const SetupRow& row : sheet.setup) {
        setup << tr("%1 = %2").arg(row.name, row.value);
        if (setup.join(QStringLiteral("; ")).size() > kSheetLineChars)
            break;
    }
    add(tr("Setup"), setup.join(QStringLiteral("; ")));
    add(tr("Notes before"), sheet.notesBefore);
    add(tr("Notes after"), sheet.notesAfter);
    QStringList tags;
    for (const QString& tag : sheet.tags) {
        tags << tag;
        if (tags.join(QStringLiteral(", ")).size() > kSheetLineChars)
            break;
    }
    add(tr("Tags"), tags.join(QStringLiteral(", ")));
    return lines;
}

void addSessionSheets(SessionReport& report, const std::vector<std::optional<SessionSheet>>& sheets)
{
    for (std::size_t s = 0; s < report.sessions.size() && s < sheets.size(); ++s)
        if (sheets[s])
            report.sessions[s].sheet = sheetLines(*sheets[s]);
}
