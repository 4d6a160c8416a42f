#include "wxtools/dashboard/detail/journal_schema.h"

#include <nlohmann/json.hpp>
#include <sqlite3.h>

namespace ovk_wxtools::detail {

namespace {

const char* const schema = R"(
CREATE TABLE IF NOT EXISTS entries(
    id INTEGER PRIMARY KEY, time INTEGER NOT NULL, station TEXT NOT NULL, code TEXT NOT NULL,
    identity TEXT NOT NULL, level INTEGER NOT NULL, kind INTEGER NOT NULL, text TEXT NOT NULL,
    shelved_ms INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS entries_by_time ON entries(time);
CREATE TABLE IF NOT EXISTS active(
    station TEXT NOT NULL, code TEXT NOT NULL, identities TEXT NOT NULL, level INTEGER NOT NULL,
    first_raised INTEGER NOT NULL, last_raised INTEGER NOT NULL, times_raised INTEGER NOT NULL,
    acknowledged INTEGER NOT NULL, shelved_until INTEGER, position INTEGER NOT NULL,
    PRIMARY KEY(station, code));
)";

// Version 1: the entries of a station come out of one index, in time order,
// without a look into the table for each (the day of one station is a range
// of it). Version 0 had an index of (station, time) alone.
const char* const to_version_1 = R"(
DROP INDEX IF EXISTS entries_by_station;
CREATE INDEX IF NOT EXISTS entries_by_station_time
    ON entries(station, time, id, code, identity, level, kind, text, shelved_ms);
PRAGMA user_version = 1;
)";

int version_of(const Sqlite& db)
{
    Statement version(db, "PRAGMA user_version");
    version.step();
    return static_cast<int>(version.integer(0));
}

}  // namespace

std::unique_ptr<Sqlite> open_journal(const std::string& path, bool read_only)
{
    auto db = std::make_unique<Sqlite>(path, !read_only, read_only);
    if (read_only) {
        // Fails here, not at the first query, when the file is no database.
        db->exec("SELECT count(*) FROM sqlite_master");
        return db;
    }
    if (sqlite3_db_readonly(db->handle(), "main") == 1)
        throw SqliteError(SQLITE_READONLY, "the file cannot be written");
    if (version_of(*db) > journal_version)
        throw SqliteError(0, "it was written by a newer version of this program");
    // Freed pages go back to the file system when pruning asks; only a new
    // database takes this.
    db->exec("PRAGMA auto_vacuum=INCREMENTAL");
    {
        Statement mode(*db, "PRAGMA journal_mode=WAL");
        if (!mode.step() || mode.text(0) != "wal")
            throw SqliteError(0, "the database cannot be switched to write-ahead logging");
    }
    // With WAL, a commit survives the process dying; a power cut may lose the last ones.
    db->exec("PRAGMA synchronous=NORMAL");
    bool fresh = false;
    {
        Statement tables(*db, "SELECT count(*) FROM sqlite_master WHERE name = 'entries'");
        tables.step();
        fresh = tables.integer(0) == 0;
    }
    db->exec(schema);
    // A new journal starts at the latest version; an older one is brought
    // up to it by migrate_journal, on the journal's thread.
    if (fresh)
        db->exec(std::string("BEGIN;") + to_version_1 + "COMMIT;");
    return db;
}

bool migrate_journal(Sqlite& db)
{
    if (version_of(db) >= journal_version)
        return false;
    db.exec("BEGIN IMMEDIATE");
    try {
        db.exec(to_version_1);
        db.exec("COMMIT");
    } catch (const SqliteError&) {
        db.exec("ROLLBACK");
        throw;
    }
    return true;
}

std::int64_t nanos_of(std::chrono::system_clock::time_point time)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
}

std::chrono::system_clock::time_point time_of(std::int64_t nanos)
{
    using namespace std::chrono;
    return system_clock::time_point(duration_cast<system_clock::duration>(nanoseconds(nanos)));
}

const char* const entry_columns = "id, time, station, code, identity, level, kind, text, shelved_ms";

JournalEntry entry_from(const Statement& row)
{
    JournalEntry entry;
    entry.id = row.integer(0);
    entry.time = time_of(row.integer(1));
    entry.station = row.text(2);
    entry.code = row.text(3);
    entry.identity = row.text(4);
    entry.level = static_cast<spdlog::level::level_enum>(row.integer(5));
    entry.kind = static_cast<JournalEntry::Kind>(row.integer(6));
    entry.text = row.text(7);
    entry.shelved_for = std::chrono::milliseconds(row.integer(8));
    return entry;
}

void bind_entry(Statement& insert, const JournalEntry& entry)
{
    insert.bind(1, nanos_of(entry.time))
        .bind_kept(2, entry.station)
        .bind_kept(3, entry.code)
        .bind_kept(4, entry.identity)
        .bind(5, static_cast<std::int64_t>(entry.level))
        .bind(6, static_cast<std::int64_t>(entry.kind))
        .bind_kept(7, entry.text)
        .bind(8, static_cast<std::int64_t>(entry.shelved_for.count()));
}

const char* const active_columns =
    "station, code, identities, level, first_raised, last_raised, times_raised, acknowledged, shelved_until";

JournalAlarm alarm_from(const Statement& row)
{
    JournalAlarm alarm;
    alarm.station = row.text(0);
    alarm.code = row.text(1);
    const auto ids = nlohmann::json::parse(row.text(2), nullptr, false);
    if (ids.is_array())
        for (const auto& id : ids)
            if (id.is_string())
                alarm.identities.push_back(id.get<std::string>());
    alarm.level = static_cast<spdlog::level::level_enum>(row.integer(3));
    alarm.first_raised = time_of(row.integer(4));
    alarm.last_raised = time_of(row.integer(5));
    alarm.times_raised = static_cast<std::size_t>(row.integer(6));
    alarm.acknowledged = row.integer(7) != 0;
    if (!row.is_null(8))
        alarm.shelved_until = time_of(row.integer(8));
    return alarm;
}

void bind_alarm(Statement& upsert, const JournalAlarm& alarm, std::int64_t position)
{
    upsert.bind(1, alarm.station)
        .bind(2, alarm.code)
        .bind(3, nlohmann::json(alarm.identities).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace))
        .bind(4, static_cast<std::int64_t>(alarm.level))
        .bind(5, nanos_of(alarm.first_raised))
        .bind(6, nanos_of(alarm.last_raised))
        .bind(7, static_cast<std::int64_t>(alarm.times_raised))
        .bind(8, static_cast<std::int64_t>(alarm.acknowledged ? 1 : 0));
    if (alarm.shelved_until)
        upsert.bind(9, nanos_of(*alarm.shelved_until));
    else
        upsert.bind_null(9);
    upsert.bind(10, position);
}

}  // namespace ovk_wxtools::detail
