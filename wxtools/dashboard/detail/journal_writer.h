#pragma once
// The journal's writing side: a queue any thread appends to, and a thread of
// its own that writes what has gathered in one transaction per batch, keeps
// the table of active alarms in step in the same transaction, and prunes old
// entries now and then. It first brings a journal of an older layout up to
// date.
//
// The queue is bounded (queue_limit): a thread that would fill it waits in
// make_room() until the writer takes the next batch, so that a flood runs at
// the pace of the disk and a crash loses no more than one batch being
// written and the one gathering behind it.
#include "wxtools/dashboard/alarm_journal.h"
#include "wxtools/dashboard/detail/sqlite.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace ovk_wxtools::detail {

// One entry and what it does to the table of active alarms.
struct JournalChange {
    enum class Active { keep, put, remove, remove_all };
    JournalEntry entry;
    Active active = Active::keep;
    JournalAlarm alarm = {};  // with put: the alarm as it is after the change
    // With append_log: the station and text are in the writer's text buffer
    // (entry.station and entry.text stay empty), from these offsets.
    bool buffered = false;
    std::size_t station_at = 0, station_size = 0, text_at = 0, text_size = 0;
};

class JournalWriter {
public:
    JournalWriter(const std::string& path, const JournalOptions& options);
    // Writes what waits, then stops.
    ~JournalWriter();

    // Entries that may wait before make_room() waits; a batch is at most this big.
    static constexpr std::size_t queue_limit = 65536;
    // Bytes of buffered texts that may wait before make_room() waits.
    static constexpr std::size_t text_limit = 16 << 20;

    // Never waits.
    void append(JournalChange change);
    // A log record: its station and text are copied into a buffer that is
    // kept from batch to batch, so that a flood of records costs no memory
    // allocation per record here (and none to free on the writing thread).
    void append_log(JournalChange change, std::string_view station, std::string_view text);
    // Waits while the queue is full (and the journal works). Threads that
    // must never wait (the GUI thread) do not call it; they may overfill it.
    void make_room();
    // Waits until every entry appended so far is written, and an older
    // journal brought up to date.
    void flush();
    void prune();
    std::string problem() const;
    void on_problem(std::function<void(const std::string&)> call);

private:
    struct Statements;

    void run();
    void write(std::vector<JournalChange>& batch, const std::string& texts);
    // Whether make_room() would wait; `lock_` is held.
    bool full_locked() const;
    void prune_now();
    // Keeps `what` as the problem, closes the database and tells whoever asked.
    void fail(const std::string& what);

    const std::string path_;
    const JournalOptions options_;
    std::unique_ptr<Sqlite> db_;  // the writing thread's alone once it runs
    std::unique_ptr<Statements> statements_;

    mutable std::mutex lock_;
    std::condition_variable wake_, written_, room_;
    std::vector<JournalChange> queue_;
    std::string queue_texts_;  // the buffered texts of queue_'s log records
    std::uint64_t appended_ = 0, done_ = 0;
    std::uint64_t prune_upto_ = 0;  // a prune is done once it ran after this many were written
    bool hurry_ = false, prune_asked_ = false, stop_ = false;
    bool ready_ = false;  // the layout is up to date (or cannot be made so)
    std::string problem_;
    std::function<void(const std::string&)> on_problem_;
    std::thread thread_;
};

// What the journal says when the database at `path` cannot be used.
std::string journal_problem(const std::string& path, const std::string& why);

}  // namespace ovk_wxtools::detail
