#pragma once
// A small RAII hold on SQLite: a connection and prepared statements, errors
// thrown as SqliteError with SQLite's own message.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace ovk_wxtools::detail {

class SqliteError : public std::runtime_error {
public:
    SqliteError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
    // SQLite's primary result code (SQLITE_BUSY, SQLITE_CORRUPT, ...).
    int code() const { return code_; }

private:
    int code_;
};

class Sqlite {
public:
    // Opens (and with `create`, makes) the database at `path` (UTF-8).
    Sqlite(const std::string& path, bool create, bool read_only = false);
    ~Sqlite();
    Sqlite(const Sqlite&) = delete;
    Sqlite& operator=(const Sqlite&) = delete;

    // Runs statements that return nothing.
    void exec(const std::string& sql);
    sqlite3* handle() const { return db_; }
    // The row id the last insert gave.
    std::int64_t last_insert_id() const;
    // Throws SqliteError when `rc` is not a success code.
    void check(int rc) const;

private:
    sqlite3* db_ = nullptr;
};

class Statement {
public:
    Statement(const Sqlite& db, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters count from 1.
    Statement& bind(int i, double value);
    Statement& bind(int i, std::int64_t value);
    Statement& bind(int i, std::string_view text);
    // Without a copy: the text must stay as it is until the statement has run.
    Statement& bind_kept(int i, std::string_view text);
    Statement& bind_null(int i);
    // True while a row is there to read.
    bool step();
    // Ready to run again; bindings stay.
    void reset();

    double real(int col) const;
    std::int64_t integer(int col) const;
    std::string text(int col) const;
    bool is_null(int col) const;

private:
    const Sqlite& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace ovk_wxtools::detail
