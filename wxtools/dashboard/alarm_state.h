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
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace ovk_wxtools {

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

namespace detail {
class AlarmCore;
}

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
    ~AlarmState();

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

    // The window's side of the state; only the window uses it.
    detail::AlarmCore& core() { return *core_; }

private:
    std::unique_ptr<detail::AlarmCore> core_;
};

}  // namespace ovk_wxtools
