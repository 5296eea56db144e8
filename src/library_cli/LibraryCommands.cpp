#include "library_cli/LibraryCommands.h"

#include "lap_analysis/LapFormat.h"
#include "lap_library/LapFileScan.h"
#include "lap_library/LibraryComparison.h"
#include "library_view/TrackReport.h"
#include "lap_library/SessionBundle.h"
#include "file_io/FileName.h"
#include "file_io/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#define MIREN_ISATTY _isatty
#define MIREN_FILENO _fileno
#else
#include <unistd.h>
#define MIREN_ISATTY isatty
#define MIREN_FILENO fileno
#endif

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The output formats are English and UTF-8.
void out(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
}

QString timeText(std::optional<std::int32_t> hundredths)
{
    return hundredths ? QString::fromStdString(formatLapTime(*hundredths)) : QStringLiteral("-");
}

QString secondsCell(std::optional<std::int32_t> hundredths)
{
    return hundredths ? QString::fromStdString(formatSeconds(*hundredths)) : QString();
}

QString csvCell(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvRow(const QStringList& cells)
{
    QStringList quoted;
    for (const QString& cell : cells)
        quoted << csvCell(cell);
    return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

// A one-line text of a sheet value in the text formats: a line break would break the columns.
QString oneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QChar(0xFFFD);
    return text;
}

QString orDash(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("-") : oneLine(text);
}

QString fileTimeIso(const QDateTime& date)
{
    return date.toLocalTime().toString(Qt::ISODate);
}

std::unique_ptr<LapLibrary> openLibrary(const LibraryOptions& o, LapLibrary::Mode mode)
{
    const QString path = o.library.isEmpty() ? LapLibrary::defaultPath() : o.library;
    auto opened = LapLibrary::open(path, mode);
    if (!opened.ok()) {
        printLibraryError(opened.error.message);
        return nullptr;
    }
    std::unique_ptr<LapLibrary> library = std::move(*opened.value);
    if (mode == LapLibrary::Mode::ReadWrite && library->readOnly()) {
        printLibraryError(QCoreApplication::translate("MirenLibrary", "cannot change the library %1: %2")
                              .arg(native(path), library->readOnlyReason()));
        return nullptr;
    }
    return library;
}

std::optional<std::int64_t> resolveSession(LapLibrary& library, const QString& name)
{
    auto id = library.resolve(name);
    if (!id.ok()) {
        printLibraryError(id.error.message);
        return std::nullopt;
    }
    return *id.value;
}

// The last line of an import, and its exit status.
int importSummary(int added, int known, int failed)
{
    out(QStringLiteral("%1 added, %2 already in the library, %3 failed\n")
            .arg(added)
            .arg(known)
            .arg(failed));
    return failed > 0 ? kLibraryExitFailure : 0;
}

// A list that came back empty because the library could not be read is no answer: says why.
bool queryFailed(const LapLibrary& library)
{
    if (library.queryError().isEmpty())
        return false;
    printLibraryError(library.queryError());
    return true;
}

// The library and the session that the command's first argument names; nothing, after the
// reason is printed, when either cannot be had.
struct OpenedSession {
    std::unique_ptr<LapLibrary> library;
    SessionInfo info;
};
std::optional<OpenedSession> openSession(const LibraryOptions& o, LapLibrary::Mode mode)
{
    auto library = openLibrary(o, mode);
    if (!library)
        return std::nullopt;
    const auto id = resolveSession(*library, o.arguments.front());
    if (!id)
        return std::nullopt;
    auto info = library->session(*id);
    if (!info.ok()) {
        printLibraryError(info.error.message);
        return std::nullopt;
    }
    return OpenedSession{std::move(library), std::move(*info.value)};
}

// The lap files a command line names: files as given, folders searched for *.BIL in any letter
// case, each folder's files in name order.
QStringList lapFilesOf(const QStringList& arguments, int& failed)
{
    QStringList files;
    for (const QString& arg : arguments) {
        const QFileInfo info(arg);
        if (info.isDir()) {
            files << LapFileScan::lapFilesIn(arg);
        } else if (info.exists()) {
            files << arg;
        } else {
            printLibraryError(QCoreApplication::translate("MirenLibrary", "%1: no such file or folder").arg(native(arg)));
            ++failed;
        }
    }
    return files;
}

// A regular file whole, up to maxBytes: the buffer is as large as the file, not as the limit.
FileResult<QByteArray> readWhole(const QString& path, qint64 maxBytes, const QString& tooLarge)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return FileResult<QByteArray>::failure(QCoreApplication::translate("MirenLibrary", "not a regular file"));
    if (!file.open(QIODevice::ReadOnly))
        return FileResult<QByteArray>::failure(file.errorString());
    if (file.size() > maxBytes)
        return FileResult<QByteArray>::failure(tooLarge);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return FileResult<QByteArray>::failure(file.errorString());
    return bytes;
}

void reportAdded(const ImportOutcome& outcome, const QString& name)
{
    QString line = QStringLiteral("added %1 %2 %3\n")
                       .arg(outcome.session)
                       .arg(outcome.sha256.left(12), oneLine(name));
    if (outcome.suggestion) {
        const TrackSuggestion& s = *outcome.suggestion;
        line += outcome.suggestionTaken
                    ? QStringLiteral("  track set as suggested: %1, layout %2 (like session %3)\n")
                          .arg(oneLine(s.track), orDash(s.layout))
                          .arg(s.fromSession)
                    : QStringLiteral("  suggested track: %1, layout %2 (like session %3); "
                                     "--accept-suggested takes it\n")
                          .arg(oneLine(s.track), orDash(s.layout))
                          .arg(s.fromSession);
    }
    out(line);
    // Each line stands for an import already committed: whoever reads it may rely on it.
    std::fflush(stdout);
}

int runImport(const LibraryOptions& o)
{
    int failed = 0;
    const QStringList files = lapFilesOf(o.arguments, failed);
    auto library = openLibrary(o, LapLibrary::Mode::ReadWrite);
    if (!library)
        return kLibraryExitFailure;
    const bool showProgress = MIREN_ISATTY(MIREN_FILENO(stderr)) != 0;
    int added = 0, known = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString& file = files[i];
        if (showProgress)
            std::fprintf(stderr, "\r%s", QCoreApplication::translate("MirenLibrary", "importing %1 of %2").arg(i + 1).arg(files.size())
                                            .toLocal8Bit().constData());
        const FileResult<QByteArray> bytes = LapFileScan::read(file);
        if (!bytes) {
            if (showProgress)
                std::fputc('\n', stderr);
            printLibraryError(QStringLiteral("%1: %2").arg(native(file), bytes.reason()));
            ++failed;
            continue;
        }
        ImportRequest request;
        const QFileInfo info(file);
        request.bytes = bytes.value();
        request.fileName = info.fileName();
        request.fileTime = info.lastModified();
        request.sheet = o.sheet;
        request.acceptSuggested = o.acceptSuggested;
        const auto outcome = library->importSession(request);
        if (!outcome.ok()) {
            if (showProgress)
                std::fputc('\n', stderr);
            printLibraryError(outcome.error.message);
            out(QStringLiteral("stopped: %1 added, %2 already in the library, %3 failed\n")
                    .arg(added)
                    .arg(known)
                    .arg(failed + 1));
            return kLibraryExitFailure;
        }
        if (outcome.value->added) {
            ++added;
            reportAdded(*outcome.value, native(file));
        } else {
            ++known;
        }
    }
    if (showProgress && !files.isEmpty())
        std::fputc('\n', stderr);
    return importSummary(added, known, failed);
}

int runSessions(const LibraryOptions& o)
{
    auto library = openLibrary(o, LapLibrary::Mode::ReadOnly);
    if (!library)
        return kLibraryExitFailure;
    const std::vector<SessionInfo> list = library->sessions(o.filter);
    if (queryFailed(*library))
        return kLibraryExitFailure;
    if (o.format == OutputFormat::Json) {
        QJsonArray array;
        for (const SessionInfo& s : list) {
            QJsonObject object{{QStringLiteral("session"), qint64(s.id)},
                               {QStringLiteral("sha256"), s.sha256},
                               {QStringLiteral("file_name"), s.fileName},
                               {QStringLiteral("date"), fileTimeIso(s.date)},
                               {QStringLiteral("laps"), s.figures.lapCount},
                               {QStringLiteral("counted"), s.figures.countedCount}};
            const auto seconds = [](std::optional<std::int32_t> t) {
                return t ? QJsonValue(*t / 100.0) : QJsonValue();
            };
            object.insert(QStringLiteral("best_s"),
                          seconds(s.figures.bestLap ? std::optional(s.figures.bestLap->time)
                                                    : std::nullopt));
            object.insert(QStringLiteral("theoretical_s"), seconds(s.figures.theoretical));
            object.insert(QStringLiteral("median_s"), seconds(s.figures.median));
            object.insert(QStringLiteral("fault"), QString::fromStdString(s.figures.fault));
            object.insert(QStringLiteral("sheet"), sheetToJson(s.sheet));
            array.append(object);
        }
        out(QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented)));
        return 0;
    }
    if (o.format == OutputFormat::Csv) {
        QString text = csvRow({"session", "sha256", "date", "file_name", "track", "layout",
                               "vehicle", "driver", "conditions", "laps", "counted", "best_s",
                               "theoretical_s", "median_s", "fault"});
        for (const SessionInfo& s : list)
            text += csvRow({QString::number(s.id), s.sha256, fileTimeIso(s.date), s.fileName,
                            s.sheet.track, s.sheet.layout, s.sheet.vehicle, s.sheet.driver,
                            conditionsName(s.sheet.conditions),
                            QString::number(s.figures.lapCount),
                            QString::number(s.figures.countedCount),
                            secondsCell(s.figures.bestLap ? std::optional(s.figures.bestLap->time)
                                                          : std::nullopt),
                            secondsCell(s.figures.theoretical), secondsCell(s.figures.median),
                            QString::fromStdString(s.figures.fault)});
        out(text);
        return 0;
    }
    QString text = QStringLiteral("%1  %2  %3  %4  %5  %6  %7  %8  %9  %10\n")
                       .arg(QStringLiteral("SESSION"), 7)
                       .arg(QStringLiteral("DATE"), -16)
                       .arg(QStringLiteral("LAPS"), 4)
                       .arg(QStringLiteral("BEST"), 8)
                       .arg(QStringLiteral("THEOR."), 8)
                       .arg(QStringLiteral("MEDIAN"), 8)
                       .arg(QStringLiteral("TRACK"), -14)
                       .arg(QStringLiteral("VEHICLE"), -12)
                       .arg(QStringLiteral("DRIVER"), -10)
                       .arg(QStringLiteral("FILE"));
    for (const SessionInfo& s : list) {
        QString track = orDash(s.sheet.track);
        if (!s.sheet.layout.isEmpty())
            track += QLatin1Char('/') + oneLine(s.sheet.layout);
        text += QStringLiteral("%1  %2  %3  %4  %5  %6  %7  %8  %9  %10\n")
                    .arg(s.id, 7)
                    .arg(sessionDateText(s.date), -16)
                    .arg(s.figures.lapCount, 4)
                    .arg(timeText(s.figures.bestLap ? std::optional(s.figures.bestLap->time)
                                                    : std::nullopt),
                         8)
                    .arg(timeText(s.figures.theoretical), 8)
                    .arg(timeText(s.figures.median), 8)
                    .arg(track, -14)
                    .arg(orDash(s.sheet.vehicle), -12)
                    .arg(orDash(s.sheet.driver), -10)
                    .arg(oneLine(s.fileName));
    }
    out(text);
    return 0;
}

int runShow(const LibraryOptions& o)
{
    auto opened = openSession(o, LapLibrary::Mode::ReadOnly);
    if (!opened)
        return kLibraryExitFailure;
    const SessionInfo& s = opened->info;
    const SessionFigures& f = s.figures;
    const SessionSheet& sh = s.sheet;
    QString t;
    const auto line = [&t](const char* label, const QString& value) {
        t += QStringLiteral("%1 %2\n").arg(QLatin1String(label), -15).arg(value);
    };
    line("Session", QString::number(s.id));
    line("SHA-256", s.sha256);
    line("File", oneLine(s.fileName));
    line("Date", sessionDateText(s.date));
    line("Imported", sessionDateText(s.imported));
    line("Speed unit", f.hasLapRecord ? (f.unit == SpeedUnit::Mph ? QStringLiteral("m/h")
                                                                   : QStringLiteral("km/h"))
                                      : QStringLiteral("-"));
    line("Laps", QStringLiteral("%1, %2 timed, %3 counted")
                     .arg(f.lapCount)
                     .arg(f.timedCount)
                     .arg(f.countedCount));
    if (!f.fault.empty())
        line("Fault", QString::fromStdString(f.fault));
    line("Best lap", f.bestLap ? QStringLiteral("%1  lap %2")
                                     .arg(timeText(f.bestLap->time))
                                     .arg(f.bestLap->number)
                               : QStringLiteral("-"));
    line("Theoretical", timeText(f.theoretical));
    line("Rolling best", f.rolling ? QStringLiteral("%1  lap %2 sector %3 to lap %4 sector %5")
                                         .arg(timeText(f.rolling->time))
                                         .arg(f.rolling->startLap)
                                         .arg(f.rolling->startSector)
                                         .arg(f.rolling->endLap)
                                         .arg(f.rolling->endSector)
                                   : QStringLiteral("-"));
    line("Median", timeText(f.median));
    for (int k = 0; k < kMaxSectors; ++k)
        if (const auto& b = f.sectorBest[std::size_t(k)])
            t += QStringLiteral("  S%1           %2  lap %3\n")
                     .arg(k + 1)
                     .arg(timeText(b->time))
                     .arg(b->number);
    line("Track", orDash(sh.track));
    line("Layout", orDash(sh.layout));
    line("Vehicle", orDash(sh.vehicle));
    line("Driver", orDash(sh.driver));
    line("Conditions", orDash(conditionsName(sh.conditions)));
    const auto temp = [](std::optional<double> c) {
        return c ? QString::number(*c) + QStringLiteral(" °C") : QStringLiteral("-");
    };
    line("Air", temp(sh.airTemperature));
    line("Track temp.", temp(sh.trackTemperature));
    line("Tyres", QStringLiteral("%1, set %2").arg(orDash(sh.tyreCompound), orDash(sh.tyreSet)));
    line("Pressures", QStringLiteral("cold %1, hot %2")
                          .arg(orDash(sh.coldPressures), orDash(sh.hotPressures)));
    for (const SetupRow& row : sh.setup)
        t += QStringLiteral("  setup         %1 = %2\n").arg(oneLine(row.name), oneLine(row.value));
    line("Tags", sh.tags.isEmpty() ? QStringLiteral("-") : oneLine(sh.tags.join(QStringLiteral(", "))));
    // Notes keep their lines, each indented.
    const auto notes = [&t](const char* label, const QString& text) {
        if (text.isEmpty())
            return;
        t += QLatin1String(label) + QLatin1Char('\n');
        for (const QString& l : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))))
            t += QStringLiteral("  ") + oneLine(l) + QLatin1Char('\n');
    };
    notes("Notes before:", sh.notesBefore);
    notes("Notes after:", sh.notesAfter);
    out(t);
    return 0;
}

int runSet(const LibraryOptions& o)
{
    auto opened = openSession(o, LapLibrary::Mode::ReadWrite);
    if (!opened)
        return kLibraryExitFailure;
    LapLibrary& library = *opened->library;
    const SessionInfo& info = opened->info;
    SessionSheet sheet = info.sheet;
    const SessionSheet& given = o.sheet;
    const auto has = [&o](const char* option) { return o.setFields.contains(QLatin1String(option)); };
    if (has("--track"))
        sheet.track = given.track;
    if (has("--layout"))
        sheet.layout = given.layout;
    if (has("--vehicle"))
        sheet.vehicle = given.vehicle;
    if (has("--driver"))
        sheet.driver = given.driver;
    if (has("--conditions"))
        sheet.conditions = given.conditions;
    if (has("--air-temp"))
        sheet.airTemperature = given.airTemperature;
    if (has("--track-temp"))
        sheet.trackTemperature = given.trackTemperature;
    if (has("--tyre-compound"))
        sheet.tyreCompound = given.tyreCompound;
    if (has("--tyre-set"))
        sheet.tyreSet = given.tyreSet;
    if (has("--cold-pressures"))
        sheet.coldPressures = given.coldPressures;
    if (has("--hot-pressures"))
        sheet.hotPressures = given.hotPressures;
    if (has("--note-before"))
        sheet.notesBefore = given.notesBefore;
    if (has("--note"))
        sheet.notesAfter = given.notesAfter;
    for (const QString& name : o.removeSetup)
        std::erase_if(sheet.setup, [&name](const SetupRow& row) { return row.name == name; });
    for (const SetupRow& row : o.setupRows) {
        auto found = std::find_if(sheet.setup.begin(), sheet.setup.end(),
                                  [&row](const SetupRow& r) { return r.name == row.name; });
        if (found != sheet.setup.end())
            found->value = row.value;
        else
            sheet.setup.push_back(row);
    }
    for (const QString& tag : o.addTags)
        if (!sheet.tags.contains(tag))
            sheet.tags << tag;
    for (const QString& tag : o.removeTags)
        sheet.tags.removeAll(tag);
    const auto saved = library.setSheet(info.id, sheet, o.date, info.revision);
    if (!saved.ok()) {
        printLibraryError(saved.error.message);
        return kLibraryExitFailure;
    }
    return 0;
}

QString bestAtText(const BestAt& at)
{
    return QStringLiteral("%1  %2  session %3 lap %4")
        .arg(timeText(at.time), 8)
        .arg(sessionDateText(at.date))
        .arg(at.session)
        .arg(at.lap);
}

int runBests(const LibraryOptions& o)
{
    auto library = openLibrary(o, LapLibrary::Mode::ReadOnly);
    if (!library)
        return kLibraryExitFailure;
    const std::vector<TrackBests> groups = library->bests(o.filter);
    if (queryFailed(*library))
        return kLibraryExitFailure;
    QString t;
    if (o.format == OutputFormat::Csv) {
        t = csvRow({"track", "layout", "vehicle", "sessions", "figure", "sector_count", "sector",
                    "time_s", "session", "date", "lap", "end_lap"});
        for (const TrackBests& g : groups) {
            const QStringList head{g.track, g.layout, g.vehicle, QString::number(g.sessions)};
            const auto row = [&](const char* figure, const QString& sectors, const QString& sector,
                                 std::int32_t time, const QString& session, const QString& date,
                                 const QString& lap, const QString& endLap) {
                t += csvRow(head + QStringList{QLatin1String(figure), sectors, sector,
                                               secondsCell(time), session, date, lap, endLap});
            };
            if (g.bestLap)
                row("best_lap", {}, {}, g.bestLap->time, QString::number(g.bestLap->session),
                    fileTimeIso(g.bestLap->date), QString::number(g.bestLap->lap), {});
            for (const TrackBests::Ideal& ideal : g.ideals) {
                if (const auto& r = ideal.rolling)
                    row("rolling_best", QString::number(ideal.sectorCount),
                        QStringLiteral("%1-%2").arg(r->at.startSector).arg(r->at.endSector),
                        r->at.time, QString::number(r->session), fileTimeIso(r->date),
                        QString::number(r->at.startLap), QString::number(r->at.endLap));
                row("ideal_lap", QString::number(ideal.sectorCount), {}, ideal.time, {}, {}, {}, {});
                for (std::size_t k = 0; k < ideal.sectors.size(); ++k) {
                    const BestAt& s = ideal.sectors[k];
                    row("sector_best", QString::number(ideal.sectorCount), QString::number(k + 1),
                        s.time, QString::number(s.session), fileTimeIso(s.date),
                        QString::number(s.lap), {});
                }
            }
        }
        out(t);
        return 0;
    }
    for (const TrackBests& g : groups) {
        t += QStringLiteral("%1 / %2 / %3  (%4 sessions)\n")
                 .arg(orDash(g.track), orDash(g.layout), orDash(g.vehicle))
                 .arg(g.sessions);
        if (g.bestLap)
            t += QStringLiteral("  best lap      %1\n").arg(bestAtText(*g.bestLap));
        for (const TrackBests::Ideal& ideal : g.ideals) {
            if (const auto& r = ideal.rolling)
                t += QStringLiteral("  rolling best  %1  %2  session %3 lap %4 sector %5 to lap %6 "
                                    "sector %7\n")
                         .arg(timeText(r->at.time), 8)
                         .arg(sessionDateText(r->date))
                         .arg(r->session)
                         .arg(r->at.startLap)
                         .arg(r->at.startSector)
                         .arg(r->at.endLap)
                         .arg(r->at.endSector);
            t += QStringLiteral("  ideal lap     %1  never driven whole (%2 sectors)\n")
                     .arg(timeText(ideal.time), 8)
                     .arg(ideal.sectorCount);
            for (std::size_t k = 0; k < ideal.sectors.size(); ++k)
                t += QStringLiteral("    S%1          %2\n").arg(k + 1).arg(bestAtText(ideal.sectors[k]));
        }
        t += QLatin1Char('\n');
    }
    out(t);
    return 0;
}

int runProgress(const LibraryOptions& o)
{
    auto library = openLibrary(o, LapLibrary::Mode::ReadOnly);
    if (!library)
        return kLibraryExitFailure;
    const std::vector<ProgressDay> days = library->progress(o.filter);
    if (queryFailed(*library))
        return kLibraryExitFailure;
    QString t;
    if (o.format == OutputFormat::Csv) {
        t = csvRow({"track", "layout", "date", "sessions", "best_s", "theoretical_s", "median_s",
                    "counted", "best_session", "improved", "gap_to_previous_best_s"});
        for (const ProgressDay& d : days)
            t += csvRow({d.track, d.layout, d.day.toString(Qt::ISODate), QString::number(d.sessions),
                         secondsCell(d.figures.bestLap), secondsCell(d.figures.theoretical),
                         secondsCell(d.figures.median), QString::number(d.figures.countedCount),
                         d.figures.bestLap ? QString::number(d.bestSession) : QString(),
                         d.improved ? QStringLiteral("1") : QStringLiteral("0"),
                         d.gapToPrevious ? QString::fromStdString(formatSeconds(*d.gapToPrevious))
                                         : QString()});
        out(t);
        return 0;
    }
    QString shownLayout;
    bool first = true;
    for (const ProgressDay& d : days) {
        const QString layout = orDash(d.track) + QStringLiteral(" / ") + orDash(d.layout);
        if (first || layout != shownLayout) {
            if (!first)
                t += QLatin1Char('\n');
            t += layout + QLatin1Char('\n');
            t += QStringLiteral("DATE        SESSIONS      BEST    THEOR.    MEDIAN  COUNTED  "
                                "PERSONAL BEST\n");
            shownLayout = layout;
            first = false;
        }
        QString pb;
        if (d.figures.bestLap)
            pb = d.improved ? (d.gapToPrevious ? QStringLiteral("improved %1")
                                                     .arg(QString::fromStdString(
                                                         formatGap(*d.gapToPrevious)))
                                               : QStringLiteral("first"))
                            : QStringLiteral("%1").arg(QString::fromStdString(
                                  formatGap(*d.gapToPrevious)));
        t += QStringLiteral("%1  %2  %3  %4  %5  %6  %7\n")
                 .arg(d.day.toString(Qt::ISODate))
                 .arg(d.sessions, 8)
                 .arg(timeText(d.figures.bestLap), 8)
                 .arg(timeText(d.figures.theoretical), 8)
                 .arg(timeText(d.figures.median), 8)
                 .arg(d.figures.countedCount, 7)
                 .arg(pb);
    }
    out(t);
    return 0;
}

int runExport(const LibraryOptions& o, const SessionReportFn& report)
{
    auto opened = openSession(o, LapLibrary::Mode::ReadOnly);
    if (!opened)
        return kLibraryExitFailure;
    const SessionInfo& info = opened->info;
    const auto bytes = opened->library->bytesOf(info.id);
    if (!bytes.ok()) {
        printLibraryError(bytes.error.message);
        return kLibraryExitFailure;
    }
    QByteArray content = *bytes.value;
    if (o.output.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive)) {
        SessionBundle bundle;
        bundle.fileName = info.fileName;
        bundle.bytes = content;
        bundle.sha256 = info.sha256;
        bundle.date = info.date;
        bundle.sheet = info.sheet;
        bundle.reportPdf = report(content, bundle.fileName, bundle.date, bundle.sheet);
        if (bundle.reportPdf.isEmpty()) {
            printLibraryError(QCoreApplication::translate("MirenLibrary", "the PDF report could not be drawn"));
            return kLibraryExitFailure;
        }
        content = writeBundle(bundle);
    }
    const FileResult<> saved = saveWholeFile(o.output, content);
    if (!saved) {
        printLibraryError(QCoreApplication::translate("MirenLibrary", "cannot write %1: %2").arg(native(o.output), saved.reason()));
        return kLibraryExitFailure;
    }
    return 0;
}

int runImportBundle(const LibraryOptions& o)
{
    auto library = openLibrary(o, LapLibrary::Mode::ReadWrite);
    if (!library)
        return kLibraryExitFailure;
    int added = 0, known = 0, failed = 0;
    for (const QString& file : o.arguments) {
        const FileResult<QByteArray> zip =
            readWhole(file, kMaxBundleBytes, QCoreApplication::translate("MirenLibrary", "refused: the bundle is too large"));
        if (!zip) {
            printLibraryError(QStringLiteral("%1: %2").arg(native(file), zip.reason()));
            ++failed;
            continue;
        }
        QString reason;
        const auto bundle = readBundle(zip.value(), reason);
        if (!bundle) {
            printLibraryError(QCoreApplication::translate("MirenLibrary", "%1: refused: %2").arg(native(file), reason));
            ++failed;
            continue;
        }
        ImportRequest request;
        request.bytes = bundle->bytes;
        request.fileName = bundle->fileName;
        request.fileTime = bundle->date;
        request.sheet = bundle->sheet;
        const auto outcome = library->importSession(request);
        if (!outcome.ok()) {
            printLibraryError(outcome.error.message);
            return kLibraryExitFailure;
        }
        if (outcome.value->added) {
            ++added;
            reportAdded(*outcome.value, native(file));
        } else {
            ++known;
        }
    }
    return importSummary(added, known, failed);
}

int runRemove(const LibraryOptions& o)
{
    auto library = openLibrary(o, LapLibrary::Mode::ReadWrite);
    if (!library)
        return kLibraryExitFailure;
    std::vector<std::int64_t> ids;
    for (const QString& name : o.arguments) {
        const auto id = resolveSession(*library, name);
        if (!id)
            return kLibraryExitFailure;
        ids.push_back(*id);
    }
    const auto removed = library->remove(ids, LapLibrary::Removal::Final);
    if (!removed.ok()) {
        printLibraryError(removed.error.message);
        return kLibraryExitFailure;
    }
    out(QStringLiteral("%1 removed\n").arg(ids.size()));
    return 0;
}

int runCheck(const LibraryOptions& o)
{
    auto library = openLibrary(o, LapLibrary::Mode::ReadOnly);
    if (!library)
        return kLibraryExitFailure;
    const auto report = library->check();
    if (!report.ok()) {
        printLibraryError(report.error.message);
        return kLibraryExitFailure;
    }
    for (const QString& problem : report.value->problems)
        out(QStringLiteral("problem: %1\n").arg(problem));
    out(QStringLiteral("%1: %2 sessions, %3\n")
            .arg(native(library->path()))
            .arg(report.value->sessions)
            .arg(report.value->problems.isEmpty()
                     ? QStringLiteral("ok")
                     : QStringLiteral("%1 problem(s)").arg(report.value->problems.size())));
    return report.value->problems.isEmpty() ? 0 : kLibraryExitFailure;
}

int runBackup(const LibraryOptions& o)
{
    auto library = openLibrary(o, LapLibrary::Mode::ReadOnly);
    if (!library)
        return kLibraryExitFailure;
    const auto saved = library->backup(o.output);
    if (!saved.ok()) {
        printLibraryError(saved.error.message);
        return kLibraryExitFailure;
    }
    return 0;
}

QString markWord(ComparisonMark mark)
{
    switch (mark) {
    case ComparisonMark::BestShown:
        return QStringLiteral("best");
    case ComparisonMark::Better:
        return QStringLiteral("faster");
    case ComparisonMark::Worse:
        return QStringLiteral("slower");
    case ComparisonMark::None:
        break;
    }
    return QStringLiteral("equal");
}

QString signedNumber(const std::optional<std::int32_t>& value)
{
    if (!value)
        return {};
    return *value > 0 ? QStringLiteral("+%1").arg(*value) : QString::number(*value);
}

int runCompare(const LibraryOptions& o)
{
    auto library = openLibrary(o, LapLibrary::Mode::ReadOnly);
    if (!library)
        return kLibraryExitFailure;
    LibraryComparison comparison(*library);
    std::vector<LibraryLapRef> laps;
    for (const QString& name : o.arguments) {
        const auto lap = comparison.parseLap(name);
        if (!lap.ok()) {
            printLibraryError(lap.error.message);
            return kLibraryExitFailure;
        }
        laps.push_back(*lap.value);
    }
    const auto result = comparison.compare(laps, o.reference);
    if (!result.ok() || !result.value->ok()) {
        printLibraryError(result.ok() ? result.value->refused : result.error.message);
        return kLibraryExitFailure;
    }
    const LapComparison& c = *result.value;
    const std::vector<ComparedLap>& compared = comparison.laps();
    // Rows of sectors in the track's order, then the whole lap.
    std::vector<const ComparisonRow*> rows;
    for (const ComparisonRow& row : c.sectors)
        rows.push_back(&row);
    rows.push_back(&c.whole);
    const auto rowName = [](const ComparisonRow& row) {
        return row.sector == 0 ? QStringLiteral("lap") : QStringLiteral("S%1").arg(row.sector);
    };
    QString t;
    if (o.format == OutputFormat::Csv) {
        t = csvRow({"sector", "lap", "time_s", "reference_s", "gap_s", "summed_gap_s",
                    "speed_min_diff", "speed_max_diff", "mark"});
        for (const ComparisonRow* row : rows)
            for (std::size_t i = 0; i < row->laps.size(); ++i) {
                const ComparisonCell& cell = row->laps[i];
                t += csvRow({rowName(*row), compared[i].label, secondsCell(cell.time),
                             secondsCell(row->reference), secondsCell(cell.gap),
                             secondsCell(cell.cumulative), signedNumber(cell.speedMinDiff),
                             signedNumber(cell.speedMaxDiff), markWord(cell.mark)});
            }
        out(t);
        return 0;
    }
    const auto gap = [](std::int32_t hundredths) {
        return QString::fromStdString(formatGap(hundredths));
    };
    t = QStringLiteral("reference  %1\n\n").arg(oneLine(comparison.lastReference().label));
    t += QStringLiteral("SECTOR  LAP             TIME  REFERENCE       GAP    SUMMED  MIN SPEED  "
                        "MAX SPEED  MARK\n");
    for (const ComparisonRow* row : rows) {
        for (std::size_t i = 0; i < row->laps.size(); ++i) {
            const ComparisonCell& cell = row->laps[i];
            t += QStringLiteral("%1  %2  %3  %4  %5  %6  %7  %8  %9\n")
                     .arg(rowName(*row), -6)
                     .arg(compared[i].label, -12)
                     .arg(timeText(cell.time), 8)
                     .arg(timeText(row->reference), 9)
                     .arg(gap(cell.gap), 8)
                     .arg(row->sector == 0 ? QString() : gap(cell.cumulative), 8)
                     .arg(signedNumber(cell.speedMinDiff), 9)
                     .arg(signedNumber(cell.speedMaxDiff), 9)
                     .arg(markWord(cell.mark));
        }
    }
    if (!c.sectors.empty()) {
        QStringList lost;
        for (std::size_t k : sectorsByTimeLost(c))
            lost << QStringLiteral("%1 %2").arg(rowName(c.sectors[k]), gap(c.sectors[k].lost));
        t += QStringLiteral("\nsectors by time lost  %1\n").arg(lost.join(QStringLiteral(", ")));
    }
    out(t);
    return 0;
}

int runReport(const LibraryOptions& o)
{
    auto library = openLibrary(o, LapLibrary::Mode::ReadOnly);
    if (!library)
        return kLibraryExitFailure;
    const std::vector<TrackBests> bests = library->bests(o.filter);
    if (queryFailed(*library))
        return kLibraryExitFailure;
    const std::vector<ProgressDay> days = library->progress(o.filter);
    if (queryFailed(*library))
        return kLibraryExitFailure;
    if (bests.empty()) {
        printLibraryError(QCoreApplication::translate("MirenLibrary", "no session at the track %1")
                              .arg(o.filter.track));
        return kLibraryExitFailure;
    }
    const FileResult<bool> written =
        writeReportPdf(buildTrackReport(o.filter.track, bests, days), o.output);
    if (!written) {
        printLibraryError(QCoreApplication::translate("MirenLibrary", "cannot write %1: %2")
                              .arg(native(o.output), written.reason()));
        return kLibraryExitFailure;
    }
    return 0;
}

} // namespace

void printLibraryError(const QString& text)
{
    std::fprintf(stderr, "miren-library: %s\n", encodeFileName(text).constData());
}

int runLibraryCommand(const LibraryOptions& options, const SessionReportFn& report)
{
    switch (options.command) {
    case LibraryCommand::Import:
        return runImport(options);
    case LibraryCommand::Sessions:
        return runSessions(options);
    case LibraryCommand::Show:
        return runShow(options);
    case LibraryCommand::Set:
        return runSet(options);
    case LibraryCommand::Bests:
        return runBests(options);
    case LibraryCommand::Progress:
        return runProgress(options);
    case LibraryCommand::Export:
        return runExport(options, report);
    case LibraryCommand::ImportBundle:
        return runImportBundle(options);
    case LibraryCommand::Remove:
        return runRemove(options);
    case LibraryCommand::Check:
        return runCheck(options);
    case LibraryCommand::Backup:
        return runBackup(options);
    case LibraryCommand::Compare:
        return runCompare(options);
    case LibraryCommand::Report:
        return runReport(options);
    }
    return kLibraryExitUsage;
}
