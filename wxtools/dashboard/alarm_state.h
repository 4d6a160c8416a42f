#pragma once
// The alarms of one dashboard, shared by the window and every thread that
// raises or clears them.
//
// A worker keeps the handle (BigEventDashBoard::state()) rather than the
// window: every operation on it stays valid after the window has gone. The
// alarms go on being recorded and answered (fired, any_fired, snapshot);
// only the rows and refreshes meant for the window are dropped.
//
// History rows wait in a bounded backlog until the GUI thread writes them.
// When it is full, a thread other than the GUI thread waits for room, so a
// flood slows its producers down instead of growing without end or losing
// rows; the GUI thread never waits (it is the one that makes room), and no
// one waits on a GUI thread that has written nothing for a second.
#include "wxtools/dashboard/alarm_code.h"
#include "wxtools/dashboard/log_record.h"

#include <spdlog/logger.h>
#include <wx/string.h>

#include <any>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <variant>
#include <vector>

namespace ovk_wxtools {

class BigEventDashBoard;

// One active alarm, as AlarmState::snapshot() hands it out.
struct ActiveAlarmInfo {
    AlarmCode code;
    std::vector<wxString> identities;  // sorted
    std::shared_ptr<const std::any> detail;  // of the latest raise
    spdlog::level::level_enum level = spdlog::level::err;  // of the latest raise
    std::chrono::system_clock::time_point first_raised, last_raised;
    std::size_t times_raised = 1;  // while active, the first raise included
    // Whether it was acknowledged while active.
    bool acknowledged = false;
    // Whether it is shelved (hidden from the list) right now.
    bool shelved = false;
};

// A history row about the alarms themselves (not a log record).
struct StateRow {
    enum class Kind { cleared, all_clear, acknowledged, shelved };
    Kind kind = Kind::cleared;
    std::string code;  // UTF-8; empty for all_clear
    // How long a shelved row's code stays hidden.
    std::chrono::milliseconds shelved_for{0};
};
// A row waiting for the history: a row about the alarms or a log record.
using PendingRow = std::variant<StateRow, LogRecord>;

class AlarmState {
public:
    // The logger newly raised codes are written to.
    using Logger = std::shared_ptr<spdlog::logger>;
    // The clock of the raise times.
    using Clock = std::chrono::system_clock;

    // Rows that may wait for the GUI thread before producers wait too.
    static constexpr std::size_t default_backlog_limit = 65536;

    // No alarms yet; newly raised codes are written to `logger`, if any.
    explicit AlarmState(Logger logger = nullptr);
    AlarmState(const AlarmState&) = delete;
    AlarmState& operator=(const AlarmState&) = delete;

    // The operations of BigEventDashBoard of the same names.
    void alarm(const AlarmCode& code, std::any detail, const wxString& identity = wxString(),
               spdlog::level::level_enum level = spdlog::level::err);
    bool fired(const AlarmCode& code, const std::optional<wxString>& identity = std::nullopt) const;
    bool any_fired() const;
    void clear(const AlarmCode& code, const std::optional<wxString>& identity = std::nullopt);
    void clear_all();
    void update();
    Logger logger() const;
    void set_logger(Logger logger);

    // The active alarms in list order, shelved ones included.
    std::vector<ActiveAlarmInfo> snapshot() const;

    // Acknowledges an active, unacknowledged code and writes a history row;
    // false (and no row) otherwise.
    bool acknowledge(const AlarmCode& code);
    // Acknowledges every active code that is not yet; one row each. Answers how many.
    std::size_t acknowledge_all();
    // Hides an active code from the list for `duration`; it comes back when the
    // time is up if it is still active. Writes a row; false for an inactive code.
    bool shelve(const AlarmCode& code, std::chrono::milliseconds duration);

    // Hands one log record to the history. False when it was dropped because
    // the window has gone.
    bool emit(LogRecord record);

    // Whether a window still shows this state.
    bool attached() const;
    // Rows waiting for the GUI thread right now.
    std::size_t backlog() const;
    std::size_t backlog_limit() const;
    // At least 1. Threads already waiting see the new limit at their next wake-up.
    void set_backlog_limit(std::size_t limit);

private:
    friend class BigEventDashBoard;

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
        explicit Slot(AlarmState& state);
        ~Slot();
        // Queues `row` in the place taken (or drops it once the window has gone).
        void fill(PendingRow row);

    private:
        friend class AlarmState;
        AlarmState& state_;
        bool held_;
    };

    // Window side, GUI thread only.
    void attach(BigEventDashBoard* window, bool refresh_on_repeat);
    void detach();
    // Up to `most` waiting rows, oldest first; `more` tells whether others wait.
    std::vector<PendingRow> take_rows(std::size_t most, bool& more);
    // What a list refresh shows; a later update() posts a new refresh.
    std::vector<ActiveAlarmInfo> take_refresh();
    // Ends shelves whose time is up; true when any did. `still_shelved` tells
    // whether others are still running.
    bool expire_shelves(bool& still_shelved);

    std::vector<ActiveAlarmInfo> list_locked(bool with_identities) const;
    // Posts the window's list refresh or row writing; `rows_lock` is held.
    void post_locked(bool rows);

    // Guards the alarms and the logger.
    mutable std::mutex lock;
    EntryList alarms;
    Index index;
    Logger logger_;
    bool refresh_posted = false;
    bool refresh_on_repeat = false;

    // Taken after `lock` when both are held. Guards everything below it.
    mutable std::mutex rows_lock;
    std::condition_variable room;
    BigEventDashBoard* window = nullptr;
    std::deque<PendingRow> pending;
    std::size_t reserved = 0;  // places taken by Slots not yet filled
    std::size_t limit = default_backlog_limit;
    std::size_t takes = 0;  // slices the GUI thread has taken so far
    std::size_t stalled_at = static_cast<std::size_t>(-1);  // `takes` when a producer last gave up waiting
    bool rows_posted = false;
};

}  // namespace ovk_wxtools
