#pragma once

#include "lap_library/SessionFigures.h"
#include "lap_library/SessionSheet.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

class SqliteDb;
struct SqliteError;

// The lap library: every session of a season in one SQLite file, each with the original bytes of
// its lap file, its sheet and its figures. Several processes may use one library at once (the
// window and the command line): reads never wait, writes wait for each other, and each import or
// edit is one transaction, so a process killed at any moment leaves the library as it was before
// that step or after it. A file that is not a library is never written to.

// Why a library call failed.
struct LibraryError {
    enum class Kind {
        NotALibrary, // the file is no lap library, or a damaged one; it is left as it is
        Newer,       // made by a newer version of the tool
        Missing,     // no library at that place yet (read-only open)
        ReadOnly,    // the library cannot be changed; the message says why
        Write,       // a change failed (a full disk); the library is as it was
        Unknown,     // no session by that name, or the name fits several
        Conflict,    // the session changed since it was read (another window or process)
        BadInput,    // a value the library does not take
    };
    Kind kind = Kind::Write;
    QString message; // one line, in the user's language, naming the file where there is one
};

template <typename T = std::monostate> struct [[nodiscard]] LibraryResult {
    LibraryResult(T v) : value(std::move(v)) {}
    LibraryResult(LibraryError e) : error(std::move(e)) {}
    LibraryResult() requires std::is_same_v<T, std::monostate> : value(std::in_place) {}
    bool ok() const { return value.has_value(); }
    std::optional<T> value;
    LibraryError error;
};

// The sessions a query covers; an empty field does not filter. Dates are local calendar days,
// both ends included.
struct SessionFilter {
    QString track, layout, vehicle, driver, tag;
    std::optional<Conditions> conditions;
    std::optional<QDate> from, to;
};

// An earlier session of the same layout, by its fingerprint: its track and layout.
struct TrackSuggestion {
    QString track, layout;
    std::int64_t fromSession = 0;
};

struct SessionInfo {
    std::int64_t id = 0;
    QString sha256; // lower-case hex
    QString fileName;
    QDateTime date;     // the session's date: the lap file's modification time, or the user's
    QDateTime imported;
    std::int64_t revision = 0; // grows with every change of the sheet or the date
    SessionSheet sheet;        // tags and setup rows only where asked for (see session())
    SessionFigures figures;    // without laps
};

// A time of the library's bests and the session and lap it came from.
struct BestAt {
    std::int32_t time = 0;
    std::int64_t session = 0;
    QDateTime date;
    std::int64_t lap = 0; // lap number
};

// The bests of a track layout and vehicle.
struct TrackBests {
    QString track, layout, vehicle;
    int sessions = 0;
    std::optional<BestAt> bestLap;
    struct Rolling {
        RollingRef at;
        std::int64_t session = 0;
        QDateTime date;
    };
    // Per sector count the sessions have (a run of sectors means nothing across sector
    // layouts): the best rolling lap, and the best sectors over all its sessions with their sum,
    // the ideal lap, never driven whole.
    struct Ideal {
        int sectorCount = 0;
        std::int32_t time = 0;
        std::vector<BestAt> sectors;
        std::optional<Rolling> rolling;
    };
    std::vector<Ideal> ideals;
};

// One day at a track layout.
struct ProgressDay {
    QString track, layout;
    QDate day;
    int sessions = 0;
    DayFigures figures;
    std::int64_t bestSession = 0;
    // The day's best lap beat every earlier day's (the first day sets the first best).
    bool improved = false;
    std::optional<std::int32_t> gapToPrevious; // day best minus the best before it
};

struct CheckReport {
    int sessions = 0;
    QStringList problems; // empty: all is well
};

// What an import brings beside the bytes.
struct ImportRequest {
    QByteArray bytes;
    QString fileName;
    QDateTime fileTime;
    SessionSheet sheet;       // as given; an empty track is filled from a suggestion only when
    bool acceptSuggested = false; // asked to
};

struct ImportOutcome {
    std::int64_t session = 0;
    bool added = false; // false: the library had these bytes already, under this session
    QString sha256;
    std::optional<TrackSuggestion> suggestion; // for a session added without a track
    bool suggestionTaken = false;
};

class LapLibrary {
    Q_DECLARE_TR_FUNCTIONS(LapLibrary)
public:
    enum class Mode { ReadOnly, ReadWrite };

    // The library's place: MIREN_LIBRARY when set, else library.sqlite in the application's data
    // folder (Linux ~/.local/share/miren-loader, Windows %LOCALAPPDATA%\miren-loader).
    static QString defaultPath();

    // Opens the library at path. ReadWrite creates a new library where there is no file (and
    // its folder); a library that cannot be written is opened for reading, and every change then
    // says why it cannot be made. An older library is brought to the current version (in memory
    // only, when it cannot be written), and figures of an older analysis are recomputed.
    static LibraryResult<std::unique_ptr<LapLibrary>> open(const QString& path, Mode mode);
    ~LapLibrary();

    QString path() const { return path_; }
    bool readOnly() const { return !readOnlyReason_.isEmpty(); }
    QString readOnlyReason() const { return readOnlyReason_; }

    LibraryResult<ImportOutcome> importSession(const ImportRequest& request);

    // The sessions a filter lets through, oldest first.
    std::vector<SessionInfo> sessions(const SessionFilter& filter = {});
    // Only their numbers, in the same order: what a list of them all needs on a filter change.
    std::vector<std::int64_t> sessionIds(const SessionFilter& filter = {});
    // One session, with its setup rows and tags.
    LibraryResult<SessionInfo> session(std::int64_t id);
    // A session by its number or a unique prefix of its hash (at least 4 hex digits).
    LibraryResult<std::int64_t> resolve(const QString& name);
    LibraryResult<QByteArray> bytesOf(std::int64_t id);
    // The laps of a session, decoded from its bytes as the analysis reads them.
    LibraryResult<SessionLaps> lapsOf(std::int64_t id);

    // Replaces a session's sheet and date, if the session is still at expectedRevision;
    // otherwise nothing changes (Conflict) and the caller reads it again. Returns the new
    // revision. An invalid date leaves the date as it is.
    LibraryResult<std::int64_t> setSheet(std::int64_t id, const SessionSheet& sheet,
                                         const QDateTime& date, std::int64_t expectedRevision);

    // Removes sessions. A soft removal hides them until restore() or purgeRemoved(); a final one
    // deletes them at once.
    enum class Removal { Soft, Final };
    LibraryResult<> remove(const std::vector<std::int64_t>& ids, Removal removal);
    LibraryResult<> restore(const std::vector<std::int64_t>& ids);
    LibraryResult<> purgeRemoved();

    // The sheet of the vehicle's latest session before date (any date when invalid), with what
    // belongs to that session alone (notes, tags) left out.
    std::optional<SessionSheet> lastSheetOfVehicle(const QString& vehicle,
                                                   const QDateTime& before = {});
    // The track and layout of the latest earlier session of the same layout, if any.
    std::optional<TrackSuggestion> suggestTrack(const Fingerprint& fingerprint,
                                                std::int64_t except = 0);
    // The distinct values of a sheet field among the sessions (tracks, vehicles, ...), sorted.
    enum class Field { Track, Layout, Vehicle, Driver, Tag };
    QStringList values(Field field);
    // The tracks with their layouts ("" for a track's sessions without one), sorted.
    std::vector<std::pair<QString, QString>> trackLayouts();

    std::vector<TrackBests> bests(const SessionFilter& filter = {});
    std::vector<ProgressDay> progress(const SessionFilter& filter);

    // Why the last call of sessions(), sessionIds(), bests() or progress() could not read the
    // library (its list is then empty); empty when it answered.
    const QString& queryError() const { return queryError_; }

    // SQLite's integrity check, the links between the tables, and every session's bytes
    // against their hash.
    LibraryResult<CheckReport> check();
    // A consistent copy of the library at path, made while others may use it; path is written
    // aside and renamed into place.
    LibraryResult<> backup(const QString& path);

private:
    LapLibrary() = default;
    LibraryError writeError(const SqliteError& error) const;
    LibraryError readError(const SqliteError& error) const;
    std::optional<LibraryError> refuseWrite() const;
    void upgrade();
    void storeFigures(std::int64_t id, const SessionFigures& figures);
    SessionInfo infoFromRow(class SqliteStatement& row) const;
    void readSheetLists(std::int64_t id, SessionSheet& sheet);
    void writeSheetLists(std::int64_t id, const SessionSheet& sheet);
    std::vector<StoredLap> storedLaps(class SqliteStatement& select, std::int64_t id);

    QString path_;
    QString readOnlyReason_;
    QString queryError_;
    std::unique_ptr<SqliteDb> db_;
};

// A session's date, as the lists show it: "2024-05-12 14:03".
QString sessionDateText(const QDateTime& date);
