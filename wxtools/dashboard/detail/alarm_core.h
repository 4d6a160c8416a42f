#pragma once
// What an AlarmState holds and does: the alarms under one lock, the history
// rows waiting for the window under another, and the window side (attach,
// take the rows, take a list refresh) that only the window calls.
#include "wxtools/dashboard/alarm_code.h"
#include "wxtools/dashboard/alarm_listener.h"
#include "wxtools/dashboard/alarm_state.h"
#include "wxtools/dashboard/detail/change_feed.h"
#include "wxtools/dashboard/detail/history_row.h"
#include "wxtools/dashboard/detail/journal_writer.h"
#include "wxtools/dashboard/detail/row_ring.h"

#include <condition_variable>
#include <list>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

namespace ovk_wxtools::detail {

class AlarmCore {
public:
    using Logger = AlarmState::Logger;
    using Clock = AlarmState::Clock;

    explicit AlarmCore(Logger logger) : logger_(std::move(logger)) {}

    // The operations of AlarmState of the same names.
    void alarm(const AlarmCode& code, std::any detail, const wxString& identity, spdlog::level::level_enum level);
    bool fired(const AlarmCode& code, const std::optional<wxString>& identity) const;
    bool any_fired() const;
    void clear(const AlarmCode& code, const std::optional<wxString>& identity);
    void clear_all();
    void update();
    Logger logger() const;
    void set_logger(Logger logger);
    std::vector<ActiveAlarmInfo> snapshot() const;
    bool acknowledge(const AlarmCode& code);
    std::size_t acknowledge_all();
    bool shelve(const AlarmCode& code, std::chrono::milliseconds duration);
    bool emit(LogRecord record);
    bool attached() const;
    std::size_t backlog() const;
    std::size_t backlog_limit() const;
    void set_backlog_limit(std::size_t limit);

    // Window side, GUI thread only. `listener` hears of rows and changes
    // until detach(), which also drops the rows still waiting.
    void attach(AlarmListener* listener, bool refresh_on_repeat);
    void detach();
    // Up to `most` waiting rows, oldest first, appended to `out`; answers
    // whether others still wait.
    bool take_rows(std::size_t most, std::vector<HistoryRow>& out);
    // What a list refresh shows; a later update() posts a new refresh.
    std::vector<ActiveAlarmInfo> take_refresh();
    // Ends shelves whose time is up; true when any did. `still_shelved` tells
    // whether others are still running.
    bool expire_shelves(bool& still_shelved);

    // From now on every change and log record goes to `journal`, as
    // `station`'s. Set before the state is handed to other threads.
    void set_journal(std::shared_ptr<AlarmJournal> journal, std::string station);
    std::shared_ptr<AlarmJournal> journal() const;
    // From now on every change goes to `feed` too (nullptr: to none), until
    // it is set again; a change being told meanwhile has been told when this
    // returns. Answers the alarms active right then.
    std::vector<ActiveAlarmInfo> set_feed(ChangeFeed* feed);
    // Makes the journaled `alarms` active again (without logging or
    // journaling them); codes already active stay as they are.
    void restore(const std::vector<JournalAlarm>& alarms);

private:
    struct Entry {
        AlarmCode code;
        std::shared_ptr<const std::any> detail;
        std::unordered_set<std::string> identities;  // UTF-8
        spdlog::level::level_enum level;
        Clock::time_point first_raised, last_raised;
        std::size_t times_raised = 1;
        bool acknowledged = false;
        std::optional<std::chrono::steady_clock::time_point> shelved_until;
    };
    using EntryList = std::list<Entry>;
    using Index = std::unordered_map<AlarmCode, EntryList::iterator>;

    // A place in the backlog, taken before `lock` so that no thread ever waits
    // for room while holding it (the GUI thread needs `lock` to refresh).
    class Slot {
    public:
        explicit Slot(AlarmCore& core);
        ~Slot();
        // Queues `row` in the place taken (or drops it once the window has gone).
        // `rows_lock` is held when `locked`.
        void fill(HistoryRow row, bool locked = false);

    private:
        AlarmCore& core_;
        bool held_;
    };

    std::vector<ActiveAlarmInfo> list_locked(bool with_identities) const;
    // Journals a change of `code` and tells the feed; `after` is the alarm after it, nullptr once it went. `lock` is held.
    void journal_locked(JournalEntry::Kind kind, const AlarmCode& code, const std::string& identity,
                        spdlog::level::level_enum level, const Entry* after,
                        std::chrono::milliseconds shelved_for = std::chrono::milliseconds(0));
    void journal_log(const LogRecord& record);
    // Before a change, outside the locks: waits while the journal is behind
    // by a full queue, unless on the GUI thread, which must never wait.
    void journal_room() const;
    // Tells the listener of a list refresh or of waiting rows; `rows_lock` is held.
    void post_locked(bool rows);

    // Guards the alarms and the logger.
    mutable std::mutex lock;
    EntryList alarms;
    Index index;
    Logger logger_;
    bool refresh_posted = false;
    bool refresh_on_repeat = false;
    // Written under `lock` before the state is shared; read freely after.
    std::shared_ptr<AlarmJournal> journal_;
    std::string station_;
    ChangeFeed* feed_ = nullptr;

    // Taken after `lock` when both are held. Guards everything below it.
    mutable std::mutex rows_lock;
    std::condition_variable room;
    AlarmListener* listener = nullptr;
    // The rows waiting for the GUI thread, in blocks that are used again, so
    // that in a flood neither side allocates or frees anything per row for
    // the queue itself.
    RowRing pending;
    std::size_t reserved = 0;  // places taken by Slots not yet filled
    std::size_t limit = AlarmState::default_backlog_limit;
    std::size_t takes = 0;  // slices the GUI thread has taken so far
    std::size_t stalled_at = static_cast<std::size_t>(-1);  // `takes` when a producer last gave up waiting
    bool rows_posted = false;
};

}  // namespace ovk_wxtools::detail
