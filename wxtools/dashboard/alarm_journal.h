#pragma once
// The alarm journal: every history row and every alarm change of a
// dashboard, kept in an SQLite database so that it outlives the process.
//
// Entries are written by a thread of the journal's own, in one transaction
// per batch (everything that came in during the last `batch_time`), to a
// database in WAL mode. The caller never waits for the disk. A process that
// dies loses the entries of the batch being gathered and the one being
// written, at most: about `batch_time` of entries plus one commit.
//
// A database that cannot be used (locked, corrupt, unwritable, a full disk)
// never stops the caller: the journal says so once in problem(), calls
// on_problem, and from then on keeps nothing.
#include "wxtools/dashboard/journal_entry.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ovk_wxtools {

namespace detail {
class JournalWriter;
}

struct JournalOptions {
    // How long entries gather before they are written together.
    std::chrono::milliseconds batch_time{100};
    // Entries older than this are pruned; zero keeps them.
    std::chrono::seconds max_age{0};
    // The oldest entries are pruned while the database is bigger; 0: no bound.
    std::uint64_t max_bytes = 0;
    // How often the journal prunes, in the background.
    std::chrono::seconds prune_every{60};
};

// One alarm active when the journal was last written, for restoring it.
struct JournalAlarm {
    std::string station, code;
    std::vector<std::string> identities;
    spdlog::level::level_enum level = spdlog::level::err;
    std::chrono::system_clock::time_point first_raised, last_raised;
    std::size_t times_raised = 1;
    bool acknowledged = false;
    std::optional<std::chrono::system_clock::time_point> shelved_until;
};

class AlarmJournal {
public:
    // Opens the database at `path` (UTF-8), making it if need be.
    explicit AlarmJournal(const std::string& path, JournalOptions options = {});
    ~AlarmJournal();
    AlarmJournal(const AlarmJournal&) = delete;
    AlarmJournal& operator=(const AlarmJournal&) = delete;

    const std::string& path() const { return path_; }
    // Empty while the journal works; else what went wrong, in one sentence.
    std::string problem() const;
    // Called once, on the journal's thread, when a problem arises later.
    void on_problem(std::function<void(const std::string&)> call);

    // Any thread; returns at once.
    void append(JournalEntry entry);
    // Waits until every entry appended so far is written (or dropped for a problem).
    void flush();
    // Prunes by age and size now, instead of waiting for the next round.
    void prune();

    // Reading; any thread. Empty answers when the database cannot be read.
    std::vector<JournalEntry> query(const JournalQuery& query) const;
    // The last `rows` entries the history shows, oldest first.
    std::vector<JournalEntry> last_history(std::size_t rows) const;
    // The alarms active at the end of the journal, in the list's order.
    std::vector<JournalAlarm> active() const;
    // Writes the query's entries to `path` as CSV in UTF-8; false when it cannot.
    bool export_csv(const JournalQuery& query, const std::string& path) const;

    // For the dashboard's state, which writes through it.
    detail::JournalWriter& writer() { return *writer_; }

private:
    struct Reader;

    std::string path_;
    std::unique_ptr<detail::JournalWriter> writer_;
    // One read-only connection kept for every query, with its page cache.
    std::unique_ptr<Reader> reader_;
};

}  // namespace ovk_wxtools
