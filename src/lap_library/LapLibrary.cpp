#include "lap_library/LapLibrary.h"

#include "lap_library/LibrarySchema.h"
#include "lap_library/Sqlite.h"
#include "file_io/SafeFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <cstring>
#include <limits>
#include <map>
#include <sqlite3.h>

namespace {

using Kind = LibraryError::Kind;

// Several processes share a library: a writer waits this long for another's transaction.
constexpr int kBusyTimeoutMs = 30000;

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A "file:" URI for path, so that query options can follow; every character that URIs treat
// specially is escaped.
QString uriOf(const QString& path, bool immutable)
{
    QString uri = QStringLiteral("file:") +
                  QString::fromLatin1(QUrl::toPercentEncoding(QDir::fromNativeSeparators(path), "/:"));
    if (immutable)
        uri += QStringLiteral("?immutable=1");
    return uri;
}

std::uint32_t bigEndian(const QByteArray& bytes, int at, int size)
{
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | std::uint8_t(bytes[at + i]);
    return value;
}

QString sha256Of(QByteArrayView bytes)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Column lists and the session row, in one place.
constexpr std::string_view kSessionColumns =
    "id, sha256, file_name, file_time, import_time, revision, track, layout, vehicle, driver, "
    "conditions, air_temp, track_temp, tyre_compound, tyre_set, cold_pressures, hot_pressures, "
    "notes_before, notes_after, has_unit, unit, fault, lap_count, timed_count, counted_count, "
    "best_lap, best_lap_index, best_lap_number, theoretical, sector_count, rolling, "
    "rolling_start_lap, rolling_start_sector, rolling_end_lap, rolling_end_sector, median, "
    "fp_length, fp_sectors, fp_s1, fp_s2, fp_s3, fp_s4, fp_s5, fp_s6, s1_best, s1_lap, s2_best, "
    "s2_lap, s3_best, s3_lap, s4_best, s4_lap, s5_best, s5_lap, s6_best, s6_lap";
constexpr int kSectorBestColumn = 44;

// The WHERE clause of a filter: fixed pieces of SQL, the values bound.
struct Where {
    std::string sql;
    std::vector<std::variant<QString, std::int64_t>> values;

    void bindTo(SqliteStatement& statement, int first = 1) const
    {
        for (std::size_t i = 0; i < values.size(); ++i)
            std::visit([&](const auto& v) { statement.bind(first + int(i), v); }, values[i]);
    }
};

std::int64_t startOfDay(const QDate& day)
{
    return day.startOfDay().toSecsSinceEpoch();
}

Where whereOf(const SessionFilter& f)
{
    Where w;
    w.sql = " WHERE removed = 0";
    const auto add = [&w](const char* sql, std::variant<QString, std::int64_t> value) {
        w.sql += sql;
        w.values.push_back(std::move(value));
    };
    if (!f.track.isEmpty())
        add(" AND track = ?", f.track);
    if (!f.layout.isEmpty())
        add(" AND layout = ?", f.layout);
    if (!f.vehicle.isEmpty())
        add(" AND vehicle = ?", f.vehicle);
    if (!f.driver.isEmpty())
        add(" AND driver = ?", f.driver);
    if (f.conditions)
        add(" AND conditions = ?", conditionsName(*f.conditions));
    if (!f.tag.isEmpty())
        add(" AND id IN (SELECT session_id FROM tags WHERE tag = ?)", f.tag);
    if (f.from)
        add(" AND file_time >= ?", startOfDay(*f.from));
    if (f.to)
        add(" AND file_time < ?", startOfDay(f.to->addDays(1)));
    return w;
}

QDateTime fromSecs(std::int64_t secs)
{
    return QDateTime::fromSecsSinceEpoch(secs);
}

} // namespace

QString sessionDateText(const QDateTime& date)
{
    return date.isValid() ? date.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                          : QString();
}

QString LapLibrary::defaultPath()
{
    const QString configured = qEnvironmentVariable("MIREN_LIBRARY");
    if (!configured.isEmpty())
        return configured;
    // The tool's data folder whichever program asks: the window and miren-library share it.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return folder + QStringLiteral("/miren-loader/library.sqlite");
}

LapLibrary::~LapLibrary() = default;

namespace {

enum class Probe { Ok, NotADatabase, CannotRead };

// Reads what says whether the file is a library; a damaged file or one that is no SQLite
// database says so here, before anything is written.
Probe probe(SqliteDb& db, SqliteError& error)
{
    try {
        db.queryInt("SELECT count(*) FROM sqlite_master");
        return Probe::Ok;
    } catch (const SqliteError& e) {
        error = e;
        return e.code == SQLITE_NOTADB || e.code == SQLITE_CORRUPT ? Probe::NotADatabase
                                                                    : Probe::CannotRead;
    }
}

} // namespace

LibraryResult<std::unique_ptr<LapLibrary>> LapLibrary::open(const QString& path, Mode mode)
{
    const QString name = shown(path);
    const auto notALibrary = [&name](const QString& why) {
        return LibraryError{Kind::NotALibrary,
                            tr("%1 is not a lap library (%2); it is left as it is").arg(name, why)};
    };
    QFileInfo info(path);
    bool empty = false;
    if (info.exists()) {
        if (info.isDir())
            return notALibrary(tr("it is a folder"));
        if (!info.isFile())
            return notALibrary(tr("it is not a regular file"));
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return LibraryError{Kind::NotALibrary,
                                tr("cannot read the library %1: %2").arg(name, file.errorString())};
        const QByteArray head = file.read(100);
        const qint64 size = file.size();
        empty = size == 0;
        if (empty && mode == Mode::ReadOnly)
            return notALibrary(tr("the file is empty"));
        if (!empty) {
            if (!head.startsWith(QByteArrayView("SQLite format 3\0", 16)))
                return notALibrary(tr("it is no SQLite database"));
            if (head.size() < 100)
                return notALibrary(tr("it is cut short"));
            std::uint32_t pageSize = bigEndian(head, 16, 2);
            if (pageSize == 1)
                pageSize = 65536;
            const std::uint32_t pages = bigEndian(head, 28, 4);
            // The page count in the header is valid while its change counter matches. With a
            // write-ahead log beside the file, a checkpoint cut short by a killed process may
            // leave the file shorter until the log is replayed: SQLite finds a truly damaged one.
            const QFileInfo log(path + QStringLiteral("-wal"));
            const bool pendingLog = head[18] == 2 && log.exists() && log.size() > 0;
            if (!pendingLog && bigEndian(head, 24, 4) == bigEndian(head, 92, 4) && pages > 0 &&
                size < qint64(pages) * pageSize)
                return notALibrary(tr("it is cut short"));
        }
    } else {
        if (mode == Mode::ReadOnly)
            return LibraryError{Kind::Missing,
                                tr("there is no lap library at %1 yet; import lap files first")
                                    .arg(name)};
        if (!QDir().mkpath(info.absolutePath()))
            return LibraryError{Kind::Write, tr("cannot make the folder %1 for the library")
                                                 .arg(shown(info.absolutePath()))};
    }

    std::unique_ptr<LapLibrary> library(new LapLibrary);
    library->path_ = path;
    SqliteError error;
    const auto connect = [&](int flags, bool immutable) -> bool {
        auto db = SqliteDb::open(uriOf(path, immutable), flags, error);
        if (!db)
            return false;
        sqlite3_busy_timeout(db->handle(), kBusyTimeoutMs);
        library->db_ = std::make_unique<SqliteDb>(std::move(*db));
        return true;
    };
    Probe probed = Probe::CannotRead;
    if (mode == Mode::ReadWrite && connect(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, false)) {
        probed = probe(*library->db_, error);
        if (probed == Probe::Ok && library->db_->readOnly()) {
            library->readOnlyReason_ = tr("the file is read-only");
        } else if (probed == Probe::Ok) {
            // Reading may work where writing cannot: the log beside the library cannot be made
            // or written. A write lock taken and given back at once tells.
            try {
                library->db_->exec("BEGIN IMMEDIATE");
                library->db_->exec("ROLLBACK");
            } catch (const SqliteError& e) {
                if (e.code != SQLITE_BUSY && e.code != SQLITE_LOCKED)
                    library->readOnlyReason_ = tr("its folder cannot be written");
            }
        }
    }
    if (probed == Probe::CannotRead) {
        // Read-only, and where even that needs a file beside the library that the folder does
        // not take, as an unchanging file: nothing is ever written then.
        for (bool immutable : {false, true}) {
            if (!connect(SQLITE_OPEN_READONLY, immutable))
                continue;
            probed = probe(*library->db_, error);
            if (probed != Probe::CannotRead)
                break;
        }
        if (mode == Mode::ReadWrite && probed == Probe::Ok)
            library->readOnlyReason_ = tr("its folder cannot be written");
    }
    if (probed == Probe::NotADatabase)
        return notALibrary(error.message);
    if (probed != Probe::Ok)
        return LibraryError{Kind::NotALibrary,
                            tr("cannot open the library %1: %2").arg(name, error.message)};
    if (mode == Mode::ReadOnly)
        library->readOnlyReason_ = tr("it was opened for reading only");

    SqliteDb& db = *library->db_;
    try {
        db.exec("PRAGMA foreign_keys = ON");
        const std::int64_t applicationId = db.queryInt("PRAGMA application_id");
        const std::int64_t version = db.queryInt("PRAGMA user_version");
        const bool blank = applicationId == 0 && version == 0 &&
                           db.queryInt("SELECT count(*) FROM sqlite_master") == 0;
        if (!blank && applicationId != kLibraryApplicationId)
            return notALibrary(tr("an SQLite database of another program"));
        if (version > schemaVersion())
            return LibraryError{
                Kind::Newer,
                tr("the library %1 was made by a newer version of this tool (library version %2, "
                   "this one reads up to %3); it is left as it is")
                    .arg(name)
                    .arg(version)
                    .arg(schemaVersion())};
        // A database without tables: a library whose first import never finished, or none.
        if (blank && library->readOnly())
            return LibraryError{Kind::Missing,
                                tr("there is no lap library at %1 yet; import lap files first")
                                    .arg(name)};
        bool stale = version < schemaVersion();
        if (!stale) {
            SqliteStatement old(db, "SELECT count(*) FROM sessions WHERE figures_version <> ?");
            old.bind(1, kFiguresVersion);
            stale = old.step() && old.integer(0) > 0;
        }
        if (!library->readOnly()) {
            // With the write-ahead log, NORMAL loses no committed change when a process dies;
            // only a power cut may take back the last ones.
            db.exec("PRAGMA journal_mode = WAL");
            db.exec("PRAGMA synchronous = NORMAL");
        }
        if (!stale)
            return library;
        if (!library->readOnly()) {
            library->upgrade();
            return library;
        }
        // A library that cannot be written is brought up to date in a copy in memory.
        SqliteError memoryError;
        auto memory = SqliteDb::open(QStringLiteral(":memory:"),
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, memoryError);
        if (!memory)
            throw memoryError;
        sqlite3_backup* copy = sqlite3_backup_init(memory->handle(), "main", db.handle(), "main");
        if (!copy)
            memory->fail();
        sqlite3_backup_step(copy, -1);
        if (sqlite3_backup_finish(copy) != SQLITE_OK)
            memory->fail();
        *library->db_ = std::move(*memory);
        library->db_->exec("PRAGMA foreign_keys = ON");
        library->upgrade();
        return library;
    } catch (const SqliteError& e) {
        if (e.code == SQLITE_NOTADB || e.code == SQLITE_CORRUPT)
            return notALibrary(e.message);
        return LibraryError{Kind::NotALibrary,
                            tr("cannot open the library %1: %2").arg(name, e.message)};
    }
}

// Brings the schema to the current version and recomputes the figures of an older analysis,
// in one transaction: a process killed meanwhile leaves the library as it was.
void LapLibrary::upgrade()
{
    SqliteDb& db = *db_;
    SqliteTransaction transaction(db);
    const std::int64_t version = db.queryInt("PRAGMA user_version");
    if (version == 0)
        db.exec("PRAGMA application_id = " + std::to_string(kLibraryApplicationId));
    const auto steps = schemaSteps();
    for (std::size_t v = std::size_t(version); v < steps.size(); ++v)
        db.exec(steps[v]);
    if (version < schemaVersion())
        db.exec("PRAGMA user_version = " + std::to_string(schemaVersion()));
    std::vector<std::int64_t> stale;
    {
        SqliteStatement old(db, "SELECT id FROM sessions WHERE figures_version <> ?");
        old.bind(1, kFiguresVersion);
        while (old.step())
            stale.push_back(old.integer(0));
    }
    SqliteStatement bytes(db, "SELECT bytes FROM session_bytes WHERE session_id = ?");
    for (std::int64_t id : stale) {
        bytes.reset();
        bytes.bind(1, id);
        storeFigures(id, sessionFigures(bytes.step() ? bytes.blob(0) : QByteArray()));
    }
    transaction.commit();
}

void LapLibrary::storeFigures(std::int64_t id, const SessionFigures& f)
{
    SqliteDb& db = *db_;
    SqliteStatement update(
        db, "UPDATE sessions SET figures_version = ?, has_unit = ?, unit = ?, fault = ?, "
            "lap_count = ?, timed_count = ?, counted_count = ?, best_lap = ?, best_lap_index = ?, "
            "best_lap_number = ?, theoretical = ?, sector_count = ?, rolling = ?, "
            "rolling_start_lap = ?, rolling_start_sector = ?, rolling_end_lap = ?, "
            "rolling_end_sector = ?, median = ?, fp_length = ?, fp_sectors = ?, fp_s1 = ?, "
            "fp_s2 = ?, fp_s3 = ?, fp_s4 = ?, fp_s5 = ?, fp_s6 = ?, s1_best = ?, s1_lap = ?, "
            "s2_best = ?, s2_lap = ?, s3_best = ?, s3_lap = ?, s4_best = ?, s4_lap = ?, "
            "s5_best = ?, s5_lap = ?, s6_best = ?, s6_lap = ? WHERE id = ?");
    int i = 0;
    const auto put = [&update, &i](const auto& value) { update.bind(++i, value); };
    const auto opt = [](const auto& o) {
        return o ? std::optional<std::int64_t>(*o) : std::nullopt;
    };
    put(kFiguresVersion);
    put(int(f.hasLapRecord));
    put(int(f.unit == SpeedUnit::Mph));
    put(QString::fromStdString(f.fault));
    put(f.lapCount);
    put(f.timedCount);
    put(f.countedCount);
    put(f.bestLap ? opt(std::optional(f.bestLap->time)) : std::nullopt);
    put(f.bestLap ? opt(std::optional(f.bestLap->index)) : std::nullopt);
    put(f.bestLap ? std::optional(f.bestLap->number) : std::nullopt);
    put(opt(f.theoretical));
    put(f.sectorCount);
    put(f.rolling ? opt(std::optional(f.rolling->time)) : std::nullopt);
    put(f.rolling ? std::optional(f.rolling->startLap) : std::nullopt);
    put(f.rolling ? opt(std::optional(f.rolling->startSector)) : std::nullopt);
    put(f.rolling ? std::optional(f.rolling->endLap) : std::nullopt);
    put(f.rolling ? opt(std::optional(f.rolling->endSector)) : std::nullopt);
    put(opt(f.median));
    put(f.fingerprint.lapLength);
    put(f.fingerprint.sectorCount);
    for (std::int32_t length : f.fingerprint.sectorLengths)
        put(length);
    for (const auto& best : f.sectorBest) {
        put(best ? opt(std::optional(best->time)) : std::nullopt);
        put(best ? std::optional(best->number) : std::nullopt);
    }
    put(id);
    update.run();

    SqliteStatement clear(db, "DELETE FROM laps WHERE session_id = ?");
    clear.bind(1, id).run();
    SqliteStatement insert(db, "INSERT INTO laps (session_id, idx, number, time, counted, "
                               "sector_count, s1, s2, s3, s4, s5, s6) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (std::size_t lap = 0; lap < f.laps.size(); ++lap) {
        const StoredLap& l = f.laps[lap];
        insert.reset();
        insert.bind(1, id).bind(2, std::int64_t(lap)).bind(3, l.number).bind(4, l.time);
        insert.bind(5, int(l.counted)).bind(6, l.sectorCount);
        for (int s = 0; s < kMaxSectors; ++s)
            if (s < l.sectorCount)
                insert.bind(7 + s, l.sectors[std::size_t(s)]);
        insert.run();
    }
}

LibraryError LapLibrary::writeError(const SqliteError& error) const
{
    const QString name = shown(path_);
    switch (error.code) {
    case SQLITE_FULL:
        return {Kind::Write, tr("cannot write to the library %1: the disk is full; the library "
                                "is as it was")
                                 .arg(name)};
    case SQLITE_READONLY:
        return {Kind::ReadOnly, tr("cannot change the library %1: it is read-only").arg(name)};
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {Kind::Write, tr("cannot write to the library %1: another program kept it busy "
                                "for too long; the library is as it was")
                                 .arg(name)};
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return {Kind::NotALibrary, tr("the library %1 is damaged: %2").arg(name, error.message)};
    case SQLITE_IOERR:
        if (error.systemErrno != 0)
            return {Kind::Write, tr("cannot write to the library %1: %2; the library is as it was")
                                     .arg(name, systemReason(error.systemErrno))};
        break;
    default:
        break;
    }
    return {Kind::Write, tr("cannot write to the library %1: %2; the library is as it was")
                             .arg(name, error.message)};
}

LibraryError LapLibrary::readError(const SqliteError& error) const
{
    return {Kind::NotALibrary,
            tr("cannot read the library %1: %2").arg(shown(path_), error.message)};
}

std::optional<LibraryError> LapLibrary::refuseWrite() const
{
    if (!readOnly())
        return std::nullopt;
    return LibraryError{Kind::ReadOnly, tr("cannot change the library %1: %2")
                                            .arg(shown(path_), readOnlyReason_)};
}

LibraryResult<ImportOutcome> LapLibrary::importSession(const ImportRequest& request)
{
    if (auto refused = refuseWrite())
        return *refused;
    ImportOutcome outcome;
    outcome.sha256 = sha256Of(request.bytes);
    SqliteDb& db = *db_;
    try {
        // A file the library has costs one look-up: it is neither decoded nor waits for a lock.
        SqliteStatement known(db, "SELECT id, removed FROM sessions WHERE sha256 = ?");
        known.bind(1, outcome.sha256);
        if (known.step() && known.integer(1) == 0) {
            outcome.session = known.integer(0);
            return outcome;
        }
        known.reset();
        const std::optional<SessionFigures> figures = sessionFigures(request.bytes);
        // Another process may have added it meanwhile: asked again inside the transaction.
        SqliteTransaction transaction(db);
        known.bind(1, outcome.sha256);
        if (known.step()) {
            if (known.integer(1) == 0) {
                outcome.session = known.integer(0);
                return outcome;
            }
            // A removed session comes back as a new import.
            SqliteStatement purge(db, "DELETE FROM sessions WHERE id = ?");
            purge.bind(1, known.integer(0)).run();
        }
        known.reset();
        SessionSheet sheet = request.sheet;
        if (sheet.track.isEmpty()) {
            outcome.suggestion = suggestTrack(figures->fingerprint);
            if (outcome.suggestion && request.acceptSuggested) {
                sheet.track = outcome.suggestion->track;
                if (sheet.layout.isEmpty())
                    sheet.layout = outcome.suggestion->layout;
                outcome.suggestionTaken = true;
            }
        }
        SqliteStatement insert(
            db, "INSERT INTO sessions (sha256, file_name, file_time, import_time, track, layout, "
                "vehicle, driver, conditions, air_temp, track_temp, tyre_compound, tyre_set, "
                "cold_pressures, hot_pressures, notes_before, notes_after) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        const QDateTime fileTime =
            request.fileTime.isValid() ? request.fileTime : QDateTime::currentDateTime();
        insert.bind(1, outcome.sha256).bind(2, request.fileName);
        insert.bind(3, fileTime.toSecsSinceEpoch());
        insert.bind(4, QDateTime::currentDateTime().toSecsSinceEpoch());
        insert.bind(5, sheet.track).bind(6, sheet.layout).bind(7, sheet.vehicle);
        insert.bind(8, sheet.driver).bind(9, conditionsName(sheet.conditions));
        insert.bind(10, sheet.airTemperature).bind(11, sheet.trackTemperature);
        insert.bind(12, sheet.tyreCompound).bind(13, sheet.tyreSet);
        insert.bind(14, sheet.coldPressures).bind(15, sheet.hotPressures);
        insert.bind(16, sheet.notesBefore).bind(17, sheet.notesAfter);
        insert.run();
        outcome.session = db.lastInsertId();
        SqliteStatement bytes(db, "INSERT INTO session_bytes (session_id, bytes) VALUES (?, ?)");
        bytes.bind(1, outcome.session).bindBlob(2, request.bytes).run();
        writeSheetLists(outcome.session, sheet);
        storeFigures(outcome.session, *figures);
        transaction.commit();
        outcome.added = true;
        return outcome;
    } catch (const SqliteError& e) {
        return writeError(e);
    }
}

void LapLibrary::writeSheetLists(std::int64_t id, const SessionSheet& sheet)
{
    SqliteDb& db = *db_;
    SqliteStatement clearSetup(db, "DELETE FROM setup WHERE session_id = ?");
    clearSetup.bind(1, id).run();
    SqliteStatement clearTags(db, "DELETE FROM tags WHERE session_id = ?");
    clearTags.bind(1, id).run();
    SqliteStatement setup(db, "INSERT INTO setup (session_id, position, name, value) "
                              "VALUES (?, ?, ?, ?)");
    for (std::size_t i = 0; i < sheet.setup.size(); ++i) {
        setup.reset();
        setup.bind(1, id).bind(2, std::int64_t(i)).bind(3, sheet.setup[i].name);
        setup.bind(4, sheet.setup[i].value).run();
    }
    SqliteStatement tags(db, "INSERT INTO tags (session_id, position, tag) VALUES (?, ?, ?)");
    for (qsizetype i = 0; i < sheet.tags.size(); ++i) {
        tags.reset();
        tags.bind(1, id).bind(2, std::int64_t(i)).bind(3, sheet.tags[i]).run();
    }
}

SessionInfo LapLibrary::infoFromRow(SqliteStatement& row) const
{
    SessionInfo info;
    info.id = row.integer(0);
    info.sha256 = row.text(1);
    info.fileName = row.text(2);
    info.date = fromSecs(row.integer(3));
    info.imported = fromSecs(row.integer(4));
    info.revision = row.integer(5);
    SessionSheet& s = info.sheet;
    s.track = row.text(6);
    s.layout = row.text(7);
    s.vehicle = row.text(8);
    s.driver = row.text(9);
    s.conditions = conditionsFromName(row.text(10)).value_or(Conditions::Unknown);
    s.airTemperature = row.optionalReal(11);
    s.trackTemperature = row.optionalReal(12);
    s.tyreCompound = row.text(13);
    s.tyreSet = row.text(14);
    s.coldPressures = row.text(15);
    s.hotPressures = row.text(16);
    s.notesBefore = row.text(17);
    s.notesAfter = row.text(18);
    SessionFigures& f = info.figures;
    f.hasLapRecord = row.integer(19) != 0;
    f.unit = row.integer(20) != 0 ? SpeedUnit::Mph : SpeedUnit::Kmh;
    f.fault = row.text(21).toStdString();
    f.lapCount = int(row.integer(22));
    f.timedCount = int(row.integer(23));
    f.countedCount = int(row.integer(24));
    if (!row.isNull(25))
        f.bestLap = LapRef{std::int32_t(row.integer(25)), std::int32_t(row.integer(26)),
                           row.integer(27)};
    if (!row.isNull(28))
        f.theoretical = std::int32_t(row.integer(28));
    f.sectorCount = int(row.integer(29));
    if (!row.isNull(30))
        f.rolling = RollingRef{std::int32_t(row.integer(30)), row.integer(31), row.integer(33),
                               int(row.integer(32)), int(row.integer(34))};
    if (!row.isNull(35))
        f.median = std::int32_t(row.integer(35));
    f.fingerprint.lapLength = std::int32_t(row.integer(36));
    f.fingerprint.sectorCount = int(row.integer(37));
    for (int k = 0; k < kMaxSectors; ++k)
        f.fingerprint.sectorLengths[std::size_t(k)] = std::int32_t(row.integer(38 + k));
    for (int k = 0; k < kMaxSectors; ++k)
        if (!row.isNull(kSectorBestColumn + 2 * k))
            f.sectorBest[std::size_t(k)] =
                LapRef{std::int32_t(row.integer(kSectorBestColumn + 2 * k)), 0,
                       row.integer(kSectorBestColumn + 2 * k + 1)};
    return info;
}

std::vector<SessionInfo> LapLibrary::sessions(const SessionFilter& filter)
{
    queryError_.clear();
    std::vector<SessionInfo> list;
    const Where where = whereOf(filter);
    try {
        SqliteStatement select(*db_, "SELECT " + std::string(kSessionColumns) +
                                         " FROM sessions" + where.sql + " ORDER BY file_time, id");
        where.bindTo(select);
        while (select.step())
            list.push_back(infoFromRow(select));
    } catch (const SqliteError& e) {
        list.clear();
        queryError_ = readError(e).message;
    }
    return list;
}

std::vector<std::int64_t> LapLibrary::sessionIds(const SessionFilter& filter)
{
    queryError_.clear();
    std::vector<std::int64_t> ids;
    const Where where = whereOf(filter);
    try {
        SqliteStatement select(*db_, "SELECT id FROM sessions" + where.sql +
                                         " ORDER BY file_time, id");
        where.bindTo(select);
        while (select.step())
            ids.push_back(select.integer(0));
    } catch (const SqliteError& e) {
        ids.clear();
        queryError_ = readError(e).message;
    }
    return ids;
}

void LapLibrary::readSheetLists(std::int64_t id, SessionSheet& sheet)
{
    SqliteStatement setup(*db_,
                          "SELECT name, value FROM setup WHERE session_id = ? ORDER BY position");
    setup.bind(1, id);
    while (setup.step())
        sheet.setup.push_back({setup.text(0), setup.text(1)});
    SqliteStatement tags(*db_, "SELECT tag FROM tags WHERE session_id = ? ORDER BY position");
    tags.bind(1, id);
    while (tags.step())
        sheet.tags << tags.text(0);
}

LibraryResult<SessionInfo> LapLibrary::session(std::int64_t id)
{
    try {
        SqliteTransaction read(*db_, SqliteTransaction::Kind::Read);
        SqliteStatement select(*db_, "SELECT " + std::string(kSessionColumns) +
                                         " FROM sessions WHERE id = ? AND removed = 0");
        select.bind(1, id);
        if (!select.step())
            return LibraryError{Kind::Unknown, tr("there is no session %1").arg(id)};
        SessionInfo info = infoFromRow(select);
        readSheetLists(id, info.sheet);
        return info;
    } catch (const SqliteError& e) {
        return readError(e);
    }
}

LibraryResult<std::int64_t> LapLibrary::resolve(const QString& name)
{
    try {
        bool number = false;
        const std::int64_t id = name.toLongLong(&number);
        if (number) {
            SqliteStatement select(*db_, "SELECT id FROM sessions WHERE id = ? AND removed = 0");
            select.bind(1, id);
            if (select.step())
                return id;
        }
        const QString prefix = name.toLower();
        const bool hex = prefix.size() >= 4 && std::all_of(prefix.begin(), prefix.end(), [](QChar c) {
                             return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
                         });
        if (hex) {
            SqliteStatement select(*db_, "SELECT id FROM sessions WHERE removed = 0 AND "
                                         "substr(sha256, 1, length(?1)) = ?1 LIMIT 2");
            select.bind(1, prefix);
            std::vector<std::int64_t> found;
            while (select.step())
                found.push_back(select.integer(0));
            if (found.size() == 1)
                return found.front();
            if (found.size() > 1)
                return LibraryError{Kind::Unknown,
                                    tr("%1 fits several sessions; give more of the hash").arg(name)};
        }
        return LibraryError{Kind::Unknown, tr("there is no session %1").arg(name)};
    } catch (const SqliteError& e) {
        return readError(e);
    }
}

LibraryResult<QByteArray> LapLibrary::bytesOf(std::int64_t id)
{
    try {
        SqliteStatement select(*db_, "SELECT b.bytes FROM session_bytes b JOIN sessions s ON "
                                     "s.id = b.session_id WHERE s.id = ? AND s.removed = 0");
        select.bind(1, id);
        if (!select.step())
            return LibraryError{Kind::Unknown, tr("there is no session %1").arg(id)};
        return select.blob(0);
    } catch (const SqliteError& e) {
        return readError(e);
    }
}

LibraryResult<SessionLaps> LapLibrary::lapsOf(std::int64_t id)
{
    LibraryResult<QByteArray> bytes = bytesOf(id);
    if (!bytes.ok())
        return bytes.error;
    return sessionLaps(*bytes.value);
}

LibraryResult<std::int64_t> LapLibrary::setSheet(std::int64_t id, const SessionSheet& sheet,
                                                 const QDateTime& date,
                                                 std::int64_t expectedRevision)
{
    if (auto refused = refuseWrite())
        return *refused;
    SqliteDb& db = *db_;
    try {
        SqliteTransaction transaction(db);
        SqliteStatement current(db, "SELECT revision FROM sessions WHERE id = ? AND removed = 0");
        current.bind(1, id);
        if (!current.step())
            return LibraryError{Kind::Unknown, tr("there is no session %1").arg(id)};
        if (current.integer(0) != expectedRevision)
            return LibraryError{Kind::Conflict,
                                tr("session %1 was changed elsewhere meanwhile; nothing was "
                                   "saved, read it again")
                                    .arg(id)};
        SqliteStatement update(
            db, "UPDATE sessions SET track = ?, layout = ?, vehicle = ?, driver = ?, "
                "conditions = ?, air_temp = ?, track_temp = ?, tyre_compound = ?, tyre_set = ?, "
                "cold_pressures = ?, hot_pressures = ?, notes_before = ?, notes_after = ?, "
                "file_time = coalesce(?, file_time), revision = revision + 1 WHERE id = ?");
        update.bind(1, sheet.track).bind(2, sheet.layout).bind(3, sheet.vehicle);
        update.bind(4, sheet.driver).bind(5, conditionsName(sheet.conditions));
        update.bind(6, sheet.airTemperature).bind(7, sheet.trackTemperature);
        update.bind(8, sheet.tyreCompound).bind(9, sheet.tyreSet);
        update.bind(10, sheet.coldPressures).bind(11, sheet.hotPressures);
        update.bind(12, sheet.notesBefore).bind(13, sheet.notesAfter);
        update.bind(14, date.isValid() ? std::optional(date.toSecsSinceEpoch()) : std::nullopt);
        update.bind(15, id).run();
        writeSheetLists(id, sheet);
        transaction.commit();
        return expectedRevision + 1;
    } catch (const SqliteError& e) {
        return writeError(e);
    }
}

LibraryResult<> LapLibrary::remove(const std::vector<std::int64_t>& ids, Removal removal)
{
    if (auto refused = refuseWrite())
        return *refused;
    try {
        SqliteTransaction transaction(*db_);
        SqliteStatement statement(*db_, removal == Removal::Soft
                                            ? "UPDATE sessions SET removed = 1 WHERE id = ?"
                                            : "DELETE FROM sessions WHERE id = ?");
        for (std::int64_t id : ids) {
            statement.reset();
            statement.bind(1, id).run();
        }
        transaction.commit();
        return {};
    } catch (const SqliteError& e) {
        return writeError(e);
    }
}

LibraryResult<> LapLibrary::restore(const std::vector<std::int64_t>& ids)
{
    if (auto refused = refuseWrite())
        return *refused;
    try {
        SqliteTransaction transaction(*db_);
        SqliteStatement statement(*db_, "UPDATE sessions SET removed = 0 WHERE id = ?");
        for (std::int64_t id : ids) {
            statement.reset();
            statement.bind(1, id).run();
        }
        transaction.commit();
        return {};
    } catch (const SqliteError& e) {
        return writeError(e);
    }
}

LibraryResult<> LapLibrary::purgeRemoved()
{
    if (auto refused = refuseWrite())
        return *refused;
    try {
        db_->exec("DELETE FROM sessions WHERE removed = 1");
        return {};
    } catch (const SqliteError& e) {
        return writeError(e);
    }
}

std::optional<SessionSheet> LapLibrary::lastSheetOfVehicle(const QString& vehicle,
                                                           const QDateTime& before)
{
    try {
        SqliteStatement select(*db_, "SELECT id FROM sessions WHERE removed = 0 AND vehicle = ? "
                                     "AND file_time < ? ORDER BY file_time DESC, id DESC LIMIT 1");
        select.bind(1, vehicle);
        select.bind(2, before.isValid() ? before.toSecsSinceEpoch()
                                        : std::numeric_limits<std::int64_t>::max());
        if (!select.step())
            return std::nullopt;
        const std::int64_t id = select.integer(0);
        LibraryResult<SessionInfo> info = session(id);
        if (!info.ok())
            return std::nullopt;
        return carriedOver(info.value->sheet);
    } catch (const SqliteError&) {
        return std::nullopt;
    }
}

std::optional<TrackSuggestion> LapLibrary::suggestTrack(const Fingerprint& fingerprint,
                                                        std::int64_t except)
{
    SqliteStatement select(*db_, "SELECT id, track, layout, fp_length, fp_sectors, fp_s1, fp_s2, "
                                 "fp_s3, fp_s4, fp_s5, fp_s6 FROM sessions WHERE removed = 0 AND "
                                 "track <> '' AND fp_sectors = ? AND id <> ? "
                                 "ORDER BY file_time DESC, id DESC");
    select.bind(1, fingerprint.sectorCount).bind(2, except);
    while (select.step()) {
        Fingerprint other;
        other.lapLength = std::int32_t(select.integer(3));
        other.sectorCount = int(select.integer(4));
        for (int k = 0; k < kMaxSectors; ++k)
            other.sectorLengths[std::size_t(k)] = std::int32_t(select.integer(5 + k));
        if (sameLayout(fingerprint, other))
            return TrackSuggestion{select.text(1), select.text(2), select.integer(0)};
    }
    return std::nullopt;
}

QStringList LapLibrary::values(Field field)
{
    static const char* const queries[] = {
        "SELECT DISTINCT track FROM sessions WHERE removed = 0 AND track <> '' ORDER BY 1",
        "SELECT DISTINCT layout FROM sessions WHERE removed = 0 AND layout <> '' ORDER BY 1",
        "SELECT DISTINCT vehicle FROM sessions WHERE removed = 0 AND vehicle <> '' ORDER BY 1",
        "SELECT DISTINCT driver FROM sessions WHERE removed = 0 AND driver <> '' ORDER BY 1",
        "SELECT DISTINCT tag FROM tags JOIN sessions s ON s.id = session_id WHERE s.removed = 0 "
        "ORDER BY 1",
    };
    QStringList list;
    try {
        SqliteStatement select(*db_, queries[int(field)]);
        while (select.step())
            list << select.text(0);
    } catch (const SqliteError&) {
    }
    return list;
}

std::vector<std::pair<QString, QString>> LapLibrary::trackLayouts()
{
    std::vector<std::pair<QString, QString>> list;
    try {
        SqliteStatement select(*db_, "SELECT DISTINCT track, layout FROM sessions WHERE removed = 0 "
                                     "AND track <> '' ORDER BY 1, 2");
        while (select.step())
            list.emplace_back(select.text(0), select.text(1));
    } catch (const SqliteError&) {
    }
    return list;
}

std::vector<TrackBests> LapLibrary::bests(const SessionFilter& filter)
{
    queryError_.clear();
    std::vector<TrackBests> groups;
    const Where where = whereOf(filter);
    try {
        SqliteStatement select(
            *db_, "SELECT id, file_time, track, layout, vehicle, best_lap, best_lap_number, "
                  "rolling, rolling_start_lap, rolling_start_sector, rolling_end_lap, "
                  "rolling_end_sector, sector_count, s1_best, s1_lap, s2_best, s2_lap, s3_best, "
                  "s3_lap, s4_best, s4_lap, s5_best, s5_lap, s6_best, s6_lap FROM sessions" +
                      where.sql + " ORDER BY track, layout, vehicle, file_time, id");
        where.bindTo(select);
        std::map<int, std::array<std::optional<BestAt>, kMaxSectors>> sectors;
        std::map<int, std::optional<TrackBests::Rolling>> rollings;
        const auto finish = [&] {
            if (groups.empty())
                return;
            for (const auto& [count, best] : sectors) {
                // Every sector has a best wherever a session has a theoretical best; a library
                // changed by hand may not, and then there is no ideal lap of that count.
                if (!std::all_of(best.begin(), best.begin() + count,
                                 [](const auto& b) { return b.has_value(); }))
                    continue;
                TrackBests::Ideal ideal;
                ideal.sectorCount = count;
                for (int k = 0; k < count; ++k) {
                    ideal.time += best[std::size_t(k)]->time;
                    ideal.sectors.push_back(*best[std::size_t(k)]);
                }
                ideal.rolling = rollings[count];
                groups.back().ideals.push_back(std::move(ideal));
            }
            sectors.clear();
            rollings.clear();
        };
        while (select.step()) {
            const QString track = select.text(2), layout = select.text(3),
                          vehicle = select.text(4);
            if (groups.empty() || groups.back().track != track || groups.back().layout != layout ||
                groups.back().vehicle != vehicle) {
                finish();
                groups.push_back({track, layout, vehicle, 0, {}, {}});
            }
            TrackBests& group = groups.back();
            ++group.sessions;
            const std::int64_t id = select.integer(0);
            const QDateTime date = fromSecs(select.integer(1));
            // Sessions come oldest first: a tie stays with the earlier one.
            if (!select.isNull(5) && (!group.bestLap || select.integer(5) < group.bestLap->time))
                group.bestLap = BestAt{std::int32_t(select.integer(5)), id, date, select.integer(6)};
            const int count = int(select.integer(12));
            if (count <= 0 || count > kMaxSectors)
                continue;
            auto& rolling = rollings[count];
            if (!select.isNull(7) && (!rolling || select.integer(7) < rolling->at.time))
                rolling = TrackBests::Rolling{
                    RollingRef{std::int32_t(select.integer(7)), select.integer(8),
                               select.integer(10), int(select.integer(9)), int(select.integer(11))},
                    id, date};
            auto& best = sectors[count];
            for (int k = 0; k < count; ++k) {
                const int column = 13 + 2 * k;
                if (select.isNull(column))
                    continue;
                const auto time = std::int32_t(select.integer(column));
                auto& kept = best[std::size_t(k)];
                if (!kept || time < kept->time)
                    kept = BestAt{time, id, date, select.integer(column + 1)};
            }
        }
        finish();
    } catch (const SqliteError& e) {
        groups.clear();
        queryError_ = readError(e).message;
    }
    return groups;
}

std::vector<StoredLap> LapLibrary::storedLaps(SqliteStatement& select, std::int64_t id)
{
    std::vector<StoredLap> laps;
    select.reset();
    select.bind(1, id);
    while (select.step()) {
        StoredLap lap;
        lap.number = select.integer(0);
        lap.time = std::int32_t(select.integer(1));
        lap.counted = select.integer(2) != 0;
        lap.sectorCount = int(std::clamp<std::int64_t>(select.integer(3), 0, kMaxSectors));
        for (int k = 0; k < lap.sectorCount; ++k)
            lap.sectors[std::size_t(k)] = std::int32_t(select.integer(4 + k));
        laps.push_back(lap);
    }
    return laps;
}

std::vector<ProgressDay> LapLibrary::progress(const SessionFilter& filter)
{
    queryError_.clear();
    std::vector<ProgressDay> days;
    const Where where = whereOf(filter);
    try {
        SqliteTransaction read(*db_, SqliteTransaction::Kind::Read);
        SqliteStatement select(*db_, "SELECT id, file_time, track, layout FROM sessions" +
                                         where.sql + " ORDER BY track, layout, file_time, id");
        where.bindTo(select);
        struct Session {
            std::int64_t id;
            QDate day;
            QString track, layout;
        };
        std::vector<Session> sessions;
        SqliteStatement lapRows(*db_, "SELECT number, time, counted, sector_count, s1, s2, s3, "
                                      "s4, s5, s6 FROM laps WHERE session_id = ? ORDER BY idx");
        while (select.step())
            sessions.push_back({select.integer(0), fromSecs(select.integer(1)).date(),
                                select.text(2), select.text(3)});
        // The best before the day, per track layout; -1 before the first day with a best lap.
        std::int32_t previousBest = -1;
        for (std::size_t first = 0; first < sessions.size();) {
            std::size_t end = first;
            std::vector<std::vector<StoredLap>> laps;
            std::vector<std::int64_t> ids;
            while (end < sessions.size() && sessions[end].day == sessions[first].day &&
                   sessions[end].track == sessions[first].track &&
                   sessions[end].layout == sessions[first].layout) {
                laps.push_back(storedLaps(lapRows, sessions[end].id));
                ids.push_back(sessions[end].id);
                ++end;
            }
            if (!days.empty() &&
                (days.back().track != sessions[first].track ||
                 days.back().layout != sessions[first].layout))
                previousBest = -1;
            ProgressDay day;
            day.track = sessions[first].track;
            day.layout = sessions[first].layout;
            day.day = sessions[first].day;
            day.sessions = int(ids.size());
            day.figures = dayFigures(laps);
            if (day.figures.bestLap) {
                day.bestSession = ids[day.figures.bestSession];
                const std::int32_t best = *day.figures.bestLap;
                if (previousBest >= 0)
                    day.gapToPrevious = best - previousBest;
                day.improved = previousBest < 0 || best < previousBest;
                if (day.improved)
                    previousBest = best;
            }
            days.push_back(std::move(day));
            first = end;
        }
    } catch (const SqliteError& e) {
        days.clear();
        queryError_ = readError(e).message;
    }
    return days;
}

LibraryResult<CheckReport> LapLibrary::check()
{
    CheckReport report;
    try {
        SqliteTransaction read(*db_, SqliteTransaction::Kind::Read);
        SqliteStatement integrity(*db_, "PRAGMA integrity_check");
        while (integrity.step())
            if (integrity.text(0) != QLatin1String("ok"))
                report.problems << integrity.text(0);
        SqliteStatement keys(*db_, "PRAGMA foreign_key_check");
        while (keys.step())
            report.problems << tr("a row of %1 belongs to no session").arg(keys.text(0));
        SqliteStatement sessions(*db_, "SELECT s.id, s.sha256, b.bytes FROM sessions s LEFT JOIN "
                                       "session_bytes b ON b.session_id = s.id ORDER BY s.id");
        while (sessions.step()) {
            ++report.sessions;
            if (sessions.isNull(2))
                report.problems << tr("session %1 has lost its lap file").arg(sessions.integer(0));
            else if (sha256Of(sessions.blob(2)) != sessions.text(1))
                report.problems
                    << tr("session %1: its lap file does not match its hash").arg(sessions.integer(0));
        }
        return report;
    } catch (const SqliteError& e) {
        if (e.code == SQLITE_CORRUPT || e.code == SQLITE_NOTADB) {
            report.problems << e.message;
            return report;
        }
        return readError(e);
    }
}

LibraryResult<> LapLibrary::backup(const QString& path)
{
    const QFileInfo target(path), library(path_);
    if (target.exists() && library.exists() &&
        target.canonicalFilePath() == library.canonicalFilePath())
        return LibraryError{Kind::BadInput,
                            tr("%1 is the library itself; give another file").arg(shown(path))};
    QByteArray image;
    try {
        SqliteError error;
        auto memory = SqliteDb::open(QStringLiteral(":memory:"),
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
        if (!memory)
            throw error;
        sqlite3_backup* copy = sqlite3_backup_init(memory->handle(), "main", db_->handle(), "main");
        if (!copy)
            memory->fail();
        int rc = SQLITE_OK;
        do {
            rc = sqlite3_backup_step(copy, -1);
            if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                sqlite3_sleep(50);
        } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
        sqlite3_backup_finish(copy);
        if (rc != SQLITE_DONE)
            memory->fail();
        sqlite3_int64 size = 0;
        unsigned char* data = sqlite3_serialize(memory->handle(), "main", &size, 0);
        if (!data)
            return LibraryError{Kind::Write, tr("not enough memory for a copy of the library")};
        image = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
        sqlite3_free(data);
    } catch (const SqliteError& e) {
        return readError(e);
    }
    const FileResult<> saved = saveWholeFile(path, image);
    if (!saved)
        return LibraryError{Kind::Write,
                            tr("cannot write %1: %2").arg(shown(path), saved.reason())};
    return {};
}
