#include "lap_library/Sqlite.h"

#include <sqlite3.h>

namespace {

SqliteError errorOf(sqlite3* db, int code)
{
    SqliteError error;
    error.code = code & 0xff;
    error.message = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
    error.systemErrno = db ? sqlite3_system_errno(db) : 0;
    return error;
}

} // namespace

SqliteDb::~SqliteDb()
{
    close();
}

SqliteDb& SqliteDb::operator=(SqliteDb&& other) noexcept
{
    if (this != &other) {
        close();
        db_ = other.db_;
        other.db_ = nullptr;
    }
    return *this;
}

std::optional<SqliteDb> SqliteDb::open(const QString& path, int flags, SqliteError& error)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags | SQLITE_OPEN_URI, nullptr);
    if (rc != SQLITE_OK) {
        error = errorOf(db, rc);
        sqlite3_close_v2(db);
        return std::nullopt;
    }
    sqlite3_extended_result_codes(db, 0);
    return SqliteDb(db);
}

void SqliteDb::close()
{
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

void SqliteDb::fail() const
{
    throw errorOf(db_, sqlite3_errcode(db_));
}

void SqliteDb::exec(std::string_view sql)
{
    const std::string text(sql);
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        SqliteError error;
        error.code = rc & 0xff;
        error.message = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
        error.systemErrno = sqlite3_system_errno(db_);
        sqlite3_free(message);
        throw error;
    }
}

std::int64_t SqliteDb::queryInt(std::string_view sql)
{
    SqliteStatement statement(*this, sql);
    return statement.step() ? statement.integer(0) : 0;
}

bool SqliteDb::readOnly() const
{
    return sqlite3_db_readonly(db_, "main") == 1;
}

std::int64_t SqliteDb::lastInsertId() const
{
    return sqlite3_last_insert_rowid(db_);
}

int SqliteDb::changes() const
{
    return sqlite3_changes(db_);
}

SqliteStatement::SqliteStatement(SqliteDb& db, std::string_view sql) : db_(db)
{
    if (sqlite3_prepare_v2(db.handle(), sql.data(), int(sql.size()), &stmt_, nullptr) != SQLITE_OK)
        db.fail();
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(stmt_);
}

SqliteStatement& SqliteStatement::bindInteger(int index, long long value)
{
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK)
        db_.fail();
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, double value)
{
    if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK)
        db_.fail();
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_bind_text64(stmt_, index, utf8.constData(), sqlite3_uint64(utf8.size()),
                            SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK)
        db_.fail();
    return *this;
}

SqliteStatement& SqliteStatement::bindBlob(int index, QByteArrayView bytes)
{
    // An empty blob is still a blob, not NULL.
    static const char none = 0;
    if (sqlite3_bind_blob64(stmt_, index, bytes.isEmpty() ? &none : bytes.data(),
                            sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        db_.fail();
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int index)
{
    if (sqlite3_bind_null(stmt_, index) != SQLITE_OK)
        db_.fail();
    return *this;
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const SqliteError error = errorOf(db_.handle(), rc);
    sqlite3_reset(stmt_);
    throw error;
}

void SqliteStatement::run()
{
    while (step()) {
    }
}

void SqliteStatement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::int64_t SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

std::optional<std::int64_t> SqliteStatement::optionalInteger(int column) const
{
    if (isNull(column))
        return std::nullopt;
    return integer(column);
}

double SqliteStatement::real(int column) const
{
    return sqlite3_column_double(stmt_, column);
}

std::optional<double> SqliteStatement::optionalReal(int column) const
{
    if (isNull(column))
        return std::nullopt;
    return real(column);
}

QString SqliteStatement::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(stmt_, column));
}

QByteArray SqliteStatement::blob(int column) const
{
    const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return QByteArray(data, sqlite3_column_bytes(stmt_, column));
}

SqliteTransaction::SqliteTransaction(SqliteDb& db, Kind kind) : db_(db)
{
    db_.exec(kind == Kind::Write ? "BEGIN IMMEDIATE" : "BEGIN");
    open_ = true;
}

SqliteTransaction::~SqliteTransaction()
{
    if (open_)
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::commit()
{
    db_.exec("COMMIT");
    open_ = false;
}
