#include "library_cli/LibraryOptions.h"

#include <QCoreApplication>
#include <map>

namespace {

const std::map<QString, LibraryCommand>& commands()
{
    static const std::map<QString, LibraryCommand> map{
        {QStringLiteral("import"), LibraryCommand::Import},
        {QStringLiteral("sessions"), LibraryCommand::Sessions},
        {QStringLiteral("show"), LibraryCommand::Show},
        {QStringLiteral("set"), LibraryCommand::Set},
        {QStringLiteral("bests"), LibraryCommand::Bests},
        {QStringLiteral("progress"), LibraryCommand::Progress},
        {QStringLiteral("export"), LibraryCommand::Export},
        {QStringLiteral("import-bundle"), LibraryCommand::ImportBundle},
        {QStringLiteral("remove"), LibraryCommand::Remove},
        {QStringLiteral("check"), LibraryCommand::Check},
        {QStringLiteral("backup"), LibraryCommand::Backup},
        {QStringLiteral("compare"), LibraryCommand::Compare},
        {QStringLiteral("report"), LibraryCommand::Report},
    };
    return map;
}

// Which options a command takes, beside --library.
enum Takes : unsigned {
    Filters = 1,
    SheetFields = 2,   // --track ... --tag, as import takes them
    SetFields = 4,     // the whole sheet, as set takes it
    Format = 8,
    FormatJson = 16,
    OutputFile = 32,
    Accept = 64,
    Reference = 128,
};

unsigned takes(LibraryCommand command)
{
    switch (command) {
    case LibraryCommand::Import:
        return SheetFields | Accept;
    case LibraryCommand::Sessions:
        return Filters | Format | FormatJson;
    case LibraryCommand::Bests:
    case LibraryCommand::Progress:
        return Filters | Format;
    case LibraryCommand::Set:
        return SheetFields | SetFields;
    case LibraryCommand::Export:
    case LibraryCommand::Backup:
        return OutputFile;
    case LibraryCommand::Compare:
        return Format | Reference;
    case LibraryCommand::Report:
        return Filters | OutputFile;
    default:
        return 0;
    }
}

ParsedLibraryArguments usage(const QString& reason)
{
    ParsedLibraryArguments parsed;
    parsed.action = ParsedLibraryArguments::Action::Usage;
    parsed.text = reason;
    return parsed;
}

std::optional<double> temperature(const QString& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || value < -100 || value > 200)
        return std::nullopt;
    return value;
}

} // namespace

QString libraryUsageText()
{
    return QCoreApplication::translate("MirenLibrary", "Usage: miren-library [--library FILE] COMMAND [OPTIONS] [ARGUMENTS]");
}

QString libraryHelpText()
{
    return libraryUsageText() + QLatin1Char('\n') +
           QCoreApplication::translate("MirenLibrary", "Keeps every session of a season in one library file: the lap files, their sheets\n"
              "(track, vehicle, driver, conditions, tyres, setup, notes, tags) and their figures.\n"
              "\n"
              "Commands:\n"
              "  import [SHEET] [--accept-suggested] FILE|FOLDER...\n"
              "                        add lap files; folders are searched for *.BIL in any\n"
              "                        letter case; files the library has are skipped\n"
              "  sessions [FILTERS] [--format text|csv|json]\n"
              "                        list the sessions, oldest first\n"
              "  show SESSION          a session's sheet and figures\n"
              "  set SESSION [SHEET] [--air-temp C] [--track-temp C] [--tyre-compound X]\n"
              "      [--tyre-set X] [--cold-pressures X] [--hot-pressures X] [--note-before X]\n"
              "      [--note X] [--setup NAME=VALUE] [--remove-setup NAME] [--untag X]\n"
              "      [--date 'YYYY-MM-DD HH:MM']\n"
              "                        change a session's sheet (an empty value clears a field)\n"
              "  bests [FILTERS] [--format text|csv]\n"
              "                        personal bests per track, layout and vehicle\n"
              "  progress --track T [FILTERS] [--format text|csv]\n"
              "                        the figures of each day at a track\n"
              "  export SESSION -o FILE.BIL|FILE.zip\n"
              "                        the lap file as it was imported, or a bundle (lap file,\n"
              "                        sheet as JSON and the PDF report)\n"
              "  import-bundle FILE.zip...\n"
              "                        add the sessions of bundles\n"
              "  remove SESSION...     remove sessions\n"
              "  check                 check the library and every lap file against its hash\n"
              "  backup -o FILE        a consistent copy of the library\n"
              "  compare SESSION:LAP... [--reference session|day|pb|ideal|M:SS.HH]\n"
              "      [--format text|csv]\n"
              "                        2 to 8 laps sector by sector against a reference:\n"
              "                        the session's best lap (default), the day's best, the\n"
              "                        personal best at the track and vehicle, the ideal lap\n"
              "                        or a target time\n"
              "  report --track T [FILTERS] -o FILE.pdf\n"
              "                        the track's personal bests, progress chart and days\n"
              "\n"
              "SHEET: --track T --layout L --vehicle V --driver D --conditions dry|damp|wet\n"
              "       --tag X (again for more tags)\n"
              "FILTERS: --track T --layout L --vehicle V --driver D --conditions C --tag X\n"
              "         --from YYYY-MM-DD --to YYYY-MM-DD\n"
              "SESSION: its number, or at least 4 leading digits of its hash.\n"
              "\n"
              "Options:\n"
              "  --library FILE        the library (default: MIREN_LIBRARY, else %1)\n"
              "  -h, --help            show this help\n"
              "  --version             show the version\n"
              "\n"
              "Exit status: 0 done, 1 failed, 2 bad usage.\n")
               .arg(LapLibrary::defaultPath());
}

ParsedLibraryArguments parseLibraryArguments(const QStringList& arguments)
{
    ParsedLibraryArguments parsed;
    LibraryOptions& o = parsed.options;
    bool haveCommand = false;
    bool onlyArguments = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (onlyArguments || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            if (!haveCommand) {
                const auto found = commands().find(arg);
                if (found == commands().end())
                    return usage(QCoreApplication::translate("MirenLibrary", "unknown command: %1").arg(arg));
                o.command = found->second;
                haveCommand = true;
            } else {
                o.arguments << arg;
            }
            continue;
        }
        if (arg == QLatin1String("--")) {
            onlyArguments = true;
            continue;
        }
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            parsed.action = ParsedLibraryArguments::Action::Help;
            parsed.text = libraryHelpText();
            return parsed;
        }
        if (arg == QLatin1String("--version")) {
            parsed.action = ParsedLibraryArguments::Action::Version;
            return parsed;
        }
        const unsigned allowed = haveCommand ? takes(o.command) : 0;
        if (arg == QLatin1String("--accept-suggested")) {
            if (!(allowed & Accept))
                return usage(QCoreApplication::translate("MirenLibrary", "%1 does not go with this command").arg(arg));
            o.acceptSuggested = true;
            continue;
        }
        // Every other option takes a value.
        if (i + 1 >= arguments.size())
            return usage(QCoreApplication::translate("MirenLibrary", "%1 needs a value").arg(arg));
        const QString value = arguments[++i];
        const auto refuse = [&arg] { return usage(QCoreApplication::translate("MirenLibrary", "%1 does not go with this command").arg(arg)); };
        if (arg == QLatin1String("--library")) {
            o.library = value;
        } else if (arg == QLatin1String("--track") || arg == QLatin1String("--layout") ||
                   arg == QLatin1String("--vehicle") || arg == QLatin1String("--driver") ||
                   arg == QLatin1String("--conditions") || arg == QLatin1String("--tag")) {
            if (!(allowed & (Filters | SheetFields)))
                return refuse();
            const bool filter = allowed & Filters;
            if (arg == QLatin1String("--conditions")) {
                const auto c = conditionsFromName(value);
                if (!c || (filter && *c == Conditions::Unknown))
                    return usage(QCoreApplication::translate("MirenLibrary", "--conditions takes dry, damp or wet, not %1").arg(value));
                if (filter)
                    o.filter.conditions = *c;
                else
                    o.sheet.conditions = *c;
            } else if (arg == QLatin1String("--tag")) {
                if (filter)
                    o.filter.tag = value;
                else if (!o.addTags.contains(value))
                    o.addTags << value;
            } else {
                QString SessionSheet::*field = arg == QLatin1String("--track")    ? &SessionSheet::track
                                              : arg == QLatin1String("--layout") ? &SessionSheet::layout
                                              : arg == QLatin1String("--vehicle")
                                                  ? &SessionSheet::vehicle
                                                  : &SessionSheet::driver;
                QString SessionFilter::*filterField =
                    arg == QLatin1String("--track")    ? &SessionFilter::track
                    : arg == QLatin1String("--layout") ? &SessionFilter::layout
                    : arg == QLatin1String("--vehicle") ? &SessionFilter::vehicle
                                                        : &SessionFilter::driver;
                if (filter)
                    o.filter.*filterField = value;
                else
                    o.sheet.*field = value;
            }
            o.setFields << arg;
        } else if (arg == QLatin1String("--from") || arg == QLatin1String("--to")) {
            if (!(allowed & Filters))
                return refuse();
            const QDate day = QDate::fromString(value, Qt::ISODate);
            if (!day.isValid())
                return usage(QCoreApplication::translate("MirenLibrary", "%1 takes a date as YYYY-MM-DD, not %2").arg(arg, value));
            (arg == QLatin1String("--from") ? o.filter.from : o.filter.to) = day;
        } else if (arg == QLatin1String("--format")) {
            if (!(allowed & Format))
                return refuse();
            if (value == QLatin1String("text"))
                o.format = OutputFormat::Text;
            else if (value == QLatin1String("csv"))
                o.format = OutputFormat::Csv;
            else if (value == QLatin1String("json") && (allowed & FormatJson))
                o.format = OutputFormat::Json;
            else
                return usage(QCoreApplication::translate("MirenLibrary", "unknown format: %1").arg(value));
        } else if (arg == QLatin1String("--reference")) {
            if (!(allowed & Reference))
                return refuse();
            const auto choice = parseReferenceChoice(value);
            if (!choice)
                return usage(QCoreApplication::translate("MirenLibrary", "--reference takes session, day, pb, ideal or a time as M:SS.HH, not %1").arg(value));
            o.reference = *choice;
        } else if (arg == QLatin1String("-o") || arg == QLatin1String("--output")) {
            if (!(allowed & OutputFile))
                return refuse();
            o.output = value;
        } else if (allowed & SetFields) {
            SessionSheet& s = o.sheet;
            if (arg == QLatin1String("--air-temp") || arg == QLatin1String("--track-temp")) {
                std::optional<double> t;
                if (!value.isEmpty() && !(t = temperature(value)))
                    return usage(QCoreApplication::translate("MirenLibrary", "%1 takes a temperature in °C, not %2").arg(arg, value));
                (arg == QLatin1String("--air-temp") ? s.airTemperature : s.trackTemperature) = t;
            } else if (arg == QLatin1String("--tyre-compound")) {
                s.tyreCompound = value;
            } else if (arg == QLatin1String("--tyre-set")) {
                s.tyreSet = value;
            } else if (arg == QLatin1String("--cold-pressures")) {
                s.coldPressures = value;
            } else if (arg == QLatin1String("--hot-pressures")) {
                s.hotPressures = value;
            } else if (arg == QLatin1String("--note-before")) {
                s.notesBefore = value;
            } else if (arg == QLatin1String("--note")) {
                s.notesAfter = value;
            } else if (arg == QLatin1String("--setup")) {
                const qsizetype equals = value.indexOf(QLatin1Char('='));
                if (equals <= 0)
                    return usage(QCoreApplication::translate("MirenLibrary", "--setup takes NAME=VALUE, not %1").arg(value));
                o.setupRows.push_back({value.left(equals), value.mid(equals + 1)});
            } else if (arg == QLatin1String("--remove-setup")) {
                o.removeSetup << value;
            } else if (arg == QLatin1String("--untag")) {
                o.removeTags << value;
            } else if (arg == QLatin1String("--date")) {
                QDateTime date = QDateTime::fromString(value, QStringLiteral("yyyy-MM-dd HH:mm"));
                if (!date.isValid())
                    date = QDateTime::fromString(value, Qt::ISODate);
                if (!date.isValid())
                    return usage(QCoreApplication::translate("MirenLibrary", "--date takes 'YYYY-MM-DD HH:MM', not %1").arg(value));
                o.date = date;
            } else {
                return usage(QCoreApplication::translate("MirenLibrary", "unknown option: %1").arg(arg));
            }
            o.setFields << arg;
        } else {
            return usage(QCoreApplication::translate("MirenLibrary", "unknown option: %1").arg(arg));
        }
    }
    if (!haveCommand)
        return usage(QCoreApplication::translate("MirenLibrary", "no command given"));
    if (o.command == LibraryCommand::Import && !o.addTags.isEmpty())
        o.sheet.tags = o.addTags;
    const qsizetype count = o.arguments.size();
    switch (o.command) {
    case LibraryCommand::Import:
    case LibraryCommand::ImportBundle:
    case LibraryCommand::Remove:
        if (count == 0)
            return usage(QCoreApplication::translate("MirenLibrary", "no file, folder or session given"));
        break;
    case LibraryCommand::Show:
    case LibraryCommand::Set:
    case LibraryCommand::Export:
        if (count != 1)
            return usage(QCoreApplication::translate("MirenLibrary", "give one session"));
        break;
    case LibraryCommand::Compare:
        if (count < kMinComparedLaps || count > kMaxComparedLaps)
            return usage(QCoreApplication::translate("MirenLibrary", "give 2 to 8 laps as SESSION:LAP"));
        break;
    default:
        if (count != 0)
            return usage(QCoreApplication::translate("MirenLibrary", "unexpected argument: %1").arg(o.arguments.front()));
    }
    if ((o.command == LibraryCommand::Export || o.command == LibraryCommand::Backup ||
         o.command == LibraryCommand::Report) &&
        o.output.isEmpty())
        return usage(QCoreApplication::translate("MirenLibrary", "-o FILE is required"));
    if (o.command == LibraryCommand::Progress && o.filter.track.isEmpty())
        return usage(QCoreApplication::translate("MirenLibrary", "progress needs --track"));
    if (o.command == LibraryCommand::Report && o.filter.track.isEmpty())
        return usage(QCoreApplication::translate("MirenLibrary", "report needs --track"));
    parsed.action = ParsedLibraryArguments::Action::Run;
    return parsed;
}
