#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>

struct sqlite3;
struct sqlite3_stmt;

// A thin layer over SQLite's C API: a connection and prepared statements with bound parameters
// only (no SQL is ever built from values). Failures throw SqliteError with SQLite's own message
// and result code, so the library turns them into one clear message in one place.

struct SqliteError {
    int code = 0;         // SQLite's primary result code (SQLITE_FULL, SQLITE_BUSY, ...)
    QString message;      // SQLite's message for it
    int systemErrno = 0;  // the system's error number behind an I/O error, 0 when none
};

class SqliteDb {
public:
    SqliteDb() = default;
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;
    SqliteDb(SqliteDb&& other) noexcept : db_(other.db_) { other.db_ = nullptr; }
    SqliteDb& operator=(SqliteDb&& other) noexcept;

    // Opens path (a file name or a "file:" URI) with SQLite's open flags; nothing on failure, with
    // the reason in error.
    static std::optional<SqliteDb> open(const QString& path, int flags, SqliteError& error);

    sqlite3* handle() const { return db_; }
    bool isOpen() const { return db_ != nullptr; }
    void close();

    // Runs statements without parameters (schema, pragmas); throws on failure.
    void exec(std::string_view sql);
    // The value of a pragma or a one-value query.
    std::int64_t queryInt(std::string_view sql);
    bool readOnly() const;
    std::int64_t lastInsertId() const;
    int changes() const;
    [[noreturn]] void fail() const;

private:
    explicit SqliteDb(sqlite3* db) : db_(db) {}
    sqlite3* db_ = nullptr;
};

class SqliteStatement {
public:
    SqliteStatement(SqliteDb& db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters count from 1, as in SQLite.
    template <typename T>
        requires std::is_integral_v<T>
    SqliteStatement& bind(int index, T value)
    {
        return bindInteger(index, static_cast<long long>(value));
    }
    SqliteStatement& bindInteger(int index, long long value);
    SqliteStatement& bind(int index, double value);
    SqliteStatement& bind(int index, const QString& text);
    SqliteStatement& bindBlob(int index, QByteArrayView bytes);
    SqliteStatement& bindNull(int index);
    template <typename T> SqliteStatement& bind(int index, const std::optional<T>& value)
    {
        return value ? bind(index, *value) : bindNull(index);
    }

    // Steps once: true while a row is there; false when done. Throws on failure.
    bool step();
    // Steps to the end (a statement without rows).
    void run();
    // Makes the statement ready to run again with new parameters.
    void reset();

    bool isNull(int column) const;
    std::int64_t integer(int column) const;
    std::optional<std::int64_t> optionalInteger(int column) const;
    double real(int column) const;
    std::optional<double> optionalReal(int column) const;
    QString text(int column) const;
    QByteArray blob(int column) const;

private:
    SqliteDb& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// One transaction: BEGIN IMMEDIATE, so two writers wait for each other (busy timeout) instead of
// failing half-way; rolled back unless commit() was reached.
class SqliteTransaction {
public:
    enum class Kind { Read, Write };
    explicit SqliteTransaction(SqliteDb& db, Kind kind = Kind::Write);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;
    void commit();

private:
    SqliteDb& db_;
    bool open_ = false;
};
