#pragma once
// The journal's tables and how an entry or an active alarm goes into a row
// and comes back out.
//
//   entries(id, time, station, code, identity, level, kind, text, shelved_ms)
//       indexed by time, and by (station, time) with every column, so that
//       a station's entries in a time range are read from the index alone
//   active(station, code, identities, level, first_raised, last_raised,
//          times_raised, acknowledged, shelved_until, position)
//
// Identities are a JSON array of texts.
#include "wxtools/dashboard/alarm_journal.h"
#include "wxtools/dashboard/detail/sqlite.h"

#include <memory>
#include <string>

namespace ovk_wxtools::detail {

// The layout's version, kept in the file's user_version.
constexpr int journal_version = 1;

// Opens the journal at `path` and makes its tables if need be; throws
// SqliteError, also for a journal of a newer version. A journal of an older
// version opens as it is, to be brought up to date by migrate_journal.
std::unique_ptr<Sqlite> open_journal(const std::string& path, bool read_only);
// Brings a journal opened for writing up to the current version, in one
// transaction (building an index over every entry: seconds for millions of
// them). Answers whether there was anything to do; throws SqliteError.
bool migrate_journal(Sqlite& db);

// Times are kept as nanoseconds since the epoch: exact, and ordered as numbers.
std::int64_t nanos_of(std::chrono::system_clock::time_point time);
std::chrono::system_clock::time_point time_of(std::int64_t nanos);

// The columns of `entries`, in the order entry_from reads them.
extern const char* const entry_columns;
JournalEntry entry_from(const Statement& row);
// Binds parameters 1 to 8 (time to shelved_ms) of an insert; `entry` must
// stay as it is until the insert has run.
void bind_entry(Statement& insert, const JournalEntry& entry);

extern const char* const active_columns;
JournalAlarm alarm_from(const Statement& row);
// Binds parameters 1 to 10 of an upsert; `position` orders the list.
void bind_alarm(Statement& upsert, const JournalAlarm& alarm, std::int64_t position);

}  // namespace ovk_wxtools::detail
