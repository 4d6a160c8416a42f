#include "wxtools/dashboard/detail/sqlite.h"

#include <sqlite3.h>

namespace ovk_wxtools::detail {

Sqlite::Sqlite(const std::string& path, bool create, bool read_only)
{
    const int flags = (read_only ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                      (create && !read_only ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string what = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw SqliteError(rc & 0xff, what);
    }
    sqlite3_extended_result_codes(db_, 0);
    // Another connection writing: wait a little rather than fail at once.
    sqlite3_busy_timeout(db_, 2000);
}

Sqlite::~Sqlite()
{
    sqlite3_close_v2(db_);
}

std::int64_t Sqlite::last_insert_id() const
{
    return sqlite3_last_insert_rowid(db_);
}

void Sqlite::check(int rc) const
{
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw SqliteError(rc & 0xff, sqlite3_errmsg(db_));
}

void Sqlite::exec(const std::string& sql)
{
    check(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr));
}

Statement::Statement(const Sqlite& db, const std::string& sql) : db_(db)
{
    db_.check(sqlite3_prepare_v2(db_.handle(), sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr));
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

Statement& Statement::bind(int i, double value)
{
    db_.check(sqlite3_bind_double(stmt_, i, value));
    return *this;
}

Statement& Statement::bind(int i, std::int64_t value)
{
    db_.check(sqlite3_bind_int64(stmt_, i, value));
    return *this;
}

Statement& Statement::bind(int i, std::string_view text)
{
    db_.check(sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT));
    return *this;
}

Statement& Statement::bind_kept(int i, std::string_view text)
{
    db_.check(sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_STATIC));
    return *this;
}

Statement& Statement::bind_null(int i)
{
    db_.check(sqlite3_bind_null(stmt_, i));
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE) {
        sqlite3_reset(stmt_);
        db_.check(rc);
    }
    return false;
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
}

double Statement::real(int col) const
{
    return sqlite3_column_double(stmt_, col);
}

std::int64_t Statement::integer(int col) const
{
    return sqlite3_column_int64(stmt_, col);
}

std::string Statement::text(int col) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col))) : std::string();
}

bool Statement::is_null(int col) const
{
    return sqlite3_column_type(stmt_, col) == SQLITE_NULL;
}

}  // namespace ovk_wxtools::detail
