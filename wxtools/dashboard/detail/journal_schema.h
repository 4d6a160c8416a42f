#pragma once
// The journal's tables and how an entry or an active alarm goes into a row
// and comes back out.
//
//   entries(id, time, station, code, identity, level, kind, text, shelved_ms)
//       indexed by time and by (station, time)
//   active(station, code, identities, level, first_raised, last_raised,
//          times_raised, acknowledged, shelved_until, position)
//
// Identities are a JSON array of texts.
#include "wxtools/dashboard/alarm_journal.h"
#include "wxtools/dashboard/detail/sqlite.h"

#include <memory>
#include <string>

namespace ovk_wxtools::detail {

// Opens the journal at `path` and makes its tables if need be; throws SqliteError.
std::unique_ptr<Sqlite> open_journal(const std::string& path, bool read_only);

// Times are kept as nanoseconds since the epoch: exact, and ordered as numbers.
std::int64_t nanos_of(std::chrono::system_clock::time_point time);
std::chrono::system_clock::time_point time_of(std::int64_t nanos);

// The columns of `entries`, in the order entry_from reads them.
extern const char* const entry_columns;
JournalEntry entry_from(const Statement& row);
// Binds parameters 1 to 8 (time to shelved_ms) of an insert.
void bind_entry(Statement& insert, const JournalEntry& entry);

extern const char* const active_columns;
JournalAlarm alarm_from(const Statement& row);
// Binds parameters 1 to 10 of an upsert; `position` orders the list.
void bind_alarm(Statement& upsert, const JournalAlarm& alarm, std::int64_t position);

}  // namespace ovk_wxtools::detail
