#include "wxtools/dashboard/alarm_state.h"

#include "wxtools/dashboard/big_event_dash_board.h"

#include <wx/thread.h>

#include <algorithm>
#include <utility>

namespace ovk_wxtools {

namespace {

// How long a producer waits for room while the GUI thread writes nothing.
constexpr auto stall_time = std::chrono::seconds(1);

}  // namespace

AlarmState::AlarmState(Logger logger) : logger_(std::move(logger)) {}

AlarmState::Slot::Slot(AlarmState& state) : state_(state)
{
    std::unique_lock<std::mutex> hold(state_.rows_lock);
    auto has_room = [this] { return !state_.window || state_.pending.size() + state_.reserved < state_.limit; };
    // The GUI thread makes the room: it must never wait for it. Nor does anyone
    // wait for a GUI thread that has written nothing for a while (blocked, say,
    // joining this very thread): the backlog then grows rather than deadlock.
    if (state_.window && !wxThread::IsMain() && state_.takes != state_.stalled_at) {
        for (std::size_t seen = state_.takes; !has_room(); seen = state_.takes) {
            if (!state_.room.wait_for(hold, stall_time, has_room) && state_.takes == seen) {
                state_.stalled_at = seen;  // nobody waits again until the GUI thread takes rows
                break;
            }
        }
    }
    held_ = state_.window != nullptr;
    if (held_)
        ++state_.reserved;
}

AlarmState::Slot::~Slot()
{
    if (!held_)
        return;
    std::lock_guard<std::mutex> hold(state_.rows_lock);
    --state_.reserved;
    state_.room.notify_all();
}

void AlarmState::Slot::fill(PendingRow row)
{
    std::lock_guard<std::mutex> hold(state_.rows_lock);
    if (held_) {
        --state_.reserved;
        held_ = false;
    }
    if (!state_.window)
        return;
    state_.pending.push_back(std::move(row));
    state_.post_locked(true);
}

void AlarmState::post_locked(bool rows)
{
    if (!window)
        return;
    BigEventDashBoard* to = window;
    if (!rows) {
        to->CallAfter([to] { to->do_update(); });
    } else if (!rows_posted) {
        // One posted call writes whatever has gathered by the time it runs.
        rows_posted = true;
        to->CallAfter([to] { to->write_rows(); });
    }
}

void AlarmState::attach(BigEventDashBoard* to, bool refresh_repeats)
{
    {
        std::lock_guard<std::mutex> hold(lock);
        refresh_on_repeat = refresh_repeats;
    }
    std::lock_guard<std::mutex> hold(rows_lock);
    window = to;
}

void AlarmState::detach()
{
    std::lock_guard<std::mutex> hold(rows_lock);
    window = nullptr;
    pending.clear();
    // Producers waiting for room drop their rows and go on.
    room.notify_all();
}

bool AlarmState::attached() const
{
    std::lock_guard<std::mutex> hold(rows_lock);
    return window != nullptr;
}

std::size_t AlarmState::backlog() const
{
    std::lock_guard<std::mutex> hold(rows_lock);
    return pending.size();
}

std::size_t AlarmState::backlog_limit() const
{
    std::lock_guard<std::mutex> hold(rows_lock);
    return limit;
}

void AlarmState::set_backlog_limit(std::size_t rows)
{
    std::lock_guard<std::mutex> hold(rows_lock);
    limit = std::max<std::size_t>(rows, 1);
    room.notify_all();
}

std::vector<PendingRow> AlarmState::take_rows(std::size_t most, bool& more)
{
    std::vector<PendingRow> rows;
    std::lock_guard<std::mutex> hold(rows_lock);
    const std::size_t n = std::min(most, pending.size());
    rows.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        rows.push_back(std::move(pending.front()));
        pending.pop_front();
    }
    more = !pending.empty();
    if (!more)
        rows_posted = false;
    ++takes;
    room.notify_all();
    return rows;
}

void AlarmState::alarm(const AlarmCode& code, std::any detail, const wxString& identity,
                       spdlog::level::level_enum level)
{
    std::string id = identity.utf8_string();
    auto shared_detail = std::make_shared<const std::any>(std::move(detail));
    const auto now = Clock::now();
    Logger to;
    {
        std::lock_guard<std::mutex> hold(lock);
        auto found = index.find(code);
        if (found != index.end()) {
            Entry& entry = *found->second;
            entry.detail = std::move(shared_detail);
            entry.identities.insert(std::move(id));
            entry.level = level;
            entry.last_raised = now;
            ++entry.times_raised;
            // Only a list that shows counts has anything new to show.
            if (!refresh_on_repeat)
                return;
        } else {
            alarms.push_back(Entry{code, std::move(shared_detail), {id}, level, now, now, 1, false, std::nullopt});
            index.emplace(code, std::prev(alarms.end()));
            to = logger_;
        }
    }
    // Outside the lock: the logger may well hand the record straight back to
    // this state through the dashboard's sink.
    if (to) {
        std::string message = code.text();
        if (!id.empty()) {
            message += ": ";
            message += id;
        }
        to->log(level, spdlog::string_view_t(message));
    }
    update();
}

bool AlarmState::fired(const AlarmCode& code, const std::optional<wxString>& identity) const
{
    std::string id = identity ? identity->utf8_string() : std::string();
    std::lock_guard<std::mutex> hold(lock);
    auto found = index.find(code);
    if (found == index.end())
        return false;
    return !identity || found->second->identities.count(id) > 0;
}

bool AlarmState::any_fired() const
{
    std::lock_guard<std::mutex> hold(lock);
    return !alarms.empty();
}

void AlarmState::clear(const AlarmCode& code, const std::optional<wxString>& identity)
{
    std::string id = identity ? identity->utf8_string() : std::string();
    Slot slot(*this);
    std::lock_guard<std::mutex> hold(lock);
    auto found = index.find(code);
    if (found == index.end())
        return;
    if (identity) {
        auto& identities = found->second->identities;
        if (identities.erase(id) == 0 || !identities.empty())
            return;
    }
    alarms.erase(found->second);
    index.erase(found);
    // Queued under the lock, so history rows keep the order of the changes.
    slot.fill(StateRow{StateRow::Kind::cleared, code.text()});
}

void AlarmState::clear_all()
{
    Slot slot(*this);
    std::lock_guard<std::mutex> hold(lock);
    if (alarms.empty())
        return;
    alarms.clear();
    index.clear();
    slot.fill(StateRow{StateRow::Kind::all_clear, std::string()});
}

void AlarmState::update()
{
    {
        std::lock_guard<std::mutex> hold(lock);
        // One pending refresh reads the alarms when it runs and so shows every
        // change made before then; asking again meanwhile adds nothing.
        if (refresh_posted)
            return;
        refresh_posted = true;
    }
    std::lock_guard<std::mutex> hold(rows_lock);
    post_locked(false);
}

AlarmState::Logger AlarmState::logger() const
{
    std::lock_guard<std::mutex> hold(lock);
    return logger_;
}

void AlarmState::set_logger(Logger logger)
{
    std::lock_guard<std::mutex> hold(lock);
    logger_ = std::move(logger);
}

bool AlarmState::emit(LogRecord record)
{
    Slot slot(*this);
    std::lock_guard<std::mutex> hold(rows_lock);
    if (!window)
        return false;
    // Filled here rather than through slot.fill, which would take rows_lock again.
    pending.push_back(std::move(record));
    if (slot.held_) {
        --reserved;
        slot.held_ = false;
    }
    post_locked(true);
    return true;
}

std::vector<ActiveAlarmInfo> AlarmState::list_locked(bool with_identities) const
{
    const auto now = std::chrono::steady_clock::now();
    std::vector<ActiveAlarmInfo> out;
    out.reserve(alarms.size());
    for (const Entry& entry : alarms) {
        ActiveAlarmInfo info{entry.code, {}, entry.detail, entry.level, entry.first_raised, entry.last_raised,
                             entry.times_raised, entry.acknowledged,
                             entry.shelved_until && *entry.shelved_until > now};
        if (with_identities) {
            for (const std::string& id : entry.identities)
                info.identities.push_back(wxString::FromUTF8(id));
            std::sort(info.identities.begin(), info.identities.end());
        }
        out.push_back(std::move(info));
    }
    return out;
}

std::vector<ActiveAlarmInfo> AlarmState::snapshot() const
{
    std::lock_guard<std::mutex> hold(lock);
    return list_locked(true);
}

std::vector<ActiveAlarmInfo> AlarmState::take_refresh()
{
    std::lock_guard<std::mutex> hold(lock);
    refresh_posted = false;
    return list_locked(false);
}

bool AlarmState::acknowledge(const AlarmCode& code)
{
    Slot slot(*this);
    std::lock_guard<std::mutex> hold(lock);
    auto found = index.find(code);
    if (found == index.end() || found->second->acknowledged)
        return false;
    found->second->acknowledged = true;
    slot.fill(StateRow{StateRow::Kind::acknowledged, code.text()});
    return true;
}

std::size_t AlarmState::acknowledge_all()
{
    std::vector<AlarmCode> waiting;
    {
        std::lock_guard<std::mutex> hold(lock);
        for (const Entry& entry : alarms)
            if (!entry.acknowledged)
                waiting.push_back(entry.code);
    }
    std::size_t done = 0;
    for (const AlarmCode& code : waiting)
        done += acknowledge(code) ? 1 : 0;
    return done;
}

bool AlarmState::shelve(const AlarmCode& code, std::chrono::milliseconds duration)
{
    Slot slot(*this);
    std::lock_guard<std::mutex> hold(lock);
    auto found = index.find(code);
    if (found == index.end())
        return false;
    found->second->shelved_until = std::chrono::steady_clock::now() + duration;
    slot.fill(StateRow{StateRow::Kind::shelved, code.text(), duration});
    return true;
}

bool AlarmState::expire_shelves(bool& still_shelved)
{
    const auto now = std::chrono::steady_clock::now();
    bool expired = false;
    still_shelved = false;
    std::lock_guard<std::mutex> hold(lock);
    for (Entry& entry : alarms) {
        if (!entry.shelved_until)
            continue;
        if (*entry.shelved_until <= now) {
            entry.shelved_until.reset();
            expired = true;
        } else {
            still_shelved = true;
        }
    }
    return expired;
}

}  // namespace ovk_wxtools
