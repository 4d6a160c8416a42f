#include "wxtools/dashboard/detail/alarm_core.h"

#include <wx/thread.h>

#include <algorithm>
#include <iterator>
#include <utility>

namespace ovk_wxtools::detail {

namespace {

// How long a producer waits for room while the GUI thread writes nothing.
constexpr auto stall_time = std::chrono::seconds(1);

}  // namespace

AlarmCore::Slot::Slot(AlarmCore& core) : core_(core)
{
    std::unique_lock<std::mutex> hold(core_.rows_lock);
    auto has_room = [this] { return !core_.listener || core_.pending.size() + core_.reserved < core_.limit; };
    // The GUI thread makes the room: it must never wait for it. Nor does anyone
    // wait for a GUI thread that has written nothing for a while (blocked, say,
    // joining this very thread): the backlog then grows rather than deadlock.
    if (core_.listener && !wxThread::IsMain() && core_.takes != core_.stalled_at) {
        for (std::size_t seen = core_.takes; !has_room(); seen = core_.takes) {
            if (!core_.room.wait_for(hold, stall_time, has_room) && core_.takes == seen) {
                core_.stalled_at = seen;  // nobody waits again until the GUI thread takes rows
                break;
            }
        }
    }
    held_ = core_.listener != nullptr;
    if (held_)
        ++core_.reserved;
}

AlarmCore::Slot::~Slot()
{
    if (!held_)
        return;
    std::lock_guard<std::mutex> hold(core_.rows_lock);
    --core_.reserved;
    core_.room.notify_all();
}

void AlarmCore::Slot::fill(HistoryRow row, bool locked)
{
    std::unique_lock<std::mutex> hold(core_.rows_lock, std::defer_lock);
    if (!locked)
        hold.lock();
    if (held_) {
        --core_.reserved;
        held_ = false;
    }
    if (!core_.listener)
        return;
    core_.pending.push(std::move(row));
    core_.post_locked(true);
}

void AlarmCore::post_locked(bool rows)
{
    if (!listener)
        return;
    if (!rows) {
        listener->alarms_changed();
    } else if (!rows_posted) {
        // One notice: the window takes whatever has gathered by the time it gets to it.
        rows_posted = true;
        listener->rows_waiting();
    }
}

void AlarmCore::attach(AlarmListener* to, bool refresh_repeats)
{
    bool asked = false;
    {
        std::lock_guard<std::mutex> hold(lock);
        refresh_on_repeat = refresh_repeats;
        asked = refresh_posted;
    }
    std::lock_guard<std::mutex> hold(rows_lock);
    listener = to;
    // A refresh asked for before anyone listened (restored alarms, say) is
    // still owed; until it runs, every later update() takes it as posted.
    if (asked)
        post_locked(false);
}

void AlarmCore::detach()
{
    std::lock_guard<std::mutex> hold(rows_lock);
    listener = nullptr;
    pending = RowRing();
    // Producers waiting for room drop their rows and go on.
    room.notify_all();
}

bool AlarmCore::attached() const
{
    std::lock_guard<std::mutex> hold(rows_lock);
    return listener != nullptr;
}

std::size_t AlarmCore::backlog() const
{
    std::lock_guard<std::mutex> hold(rows_lock);
    return pending.size();
}

std::size_t AlarmCore::backlog_limit() const
{
    std::lock_guard<std::mutex> hold(rows_lock);
    return limit;
}

void AlarmCore::set_backlog_limit(std::size_t rows)
{
    std::lock_guard<std::mutex> hold(rows_lock);
    limit = std::max<std::size_t>(rows, 1);
    room.notify_all();
}

bool AlarmCore::take_rows(std::size_t most, std::vector<HistoryRow>& out)
{
    std::lock_guard<std::mutex> hold(rows_lock);
    pending.take_oldest(std::min(most, pending.size()), out);
    const bool more = pending.size() > 0;
    if (!more)
        rows_posted = false;
    ++takes;
    room.notify_all();
    return more;
}

void AlarmCore::alarm(const AlarmCode& code, std::any detail, const wxString& identity,
                       spdlog::level::level_enum level)
{
    journal_room();
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
            entry.identities.insert(id);
            entry.level = level;
            entry.last_raised = now;
            ++entry.times_raised;
            journal_locked(JournalEntry::Kind::repeat, code, id, level, &entry);
            // Only a list that shows counts has anything new to show.
            if (!refresh_on_repeat)
                return;
        } else {
            alarms.push_back(Entry{code, std::move(shared_detail), {id}, level, now, now, 1, false, std::nullopt});
            index.emplace(code, std::prev(alarms.end()));
            to = logger_;
            journal_locked(JournalEntry::Kind::raise, code, id, level, &alarms.back());
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

bool AlarmCore::fired(const AlarmCode& code, const std::optional<wxString>& identity) const
{
    std::string id = identity ? identity->utf8_string() : std::string();
    std::lock_guard<std::mutex> hold(lock);
    auto found = index.find(code);
    if (found == index.end())
        return false;
    return !identity || found->second->identities.count(id) > 0;
}

bool AlarmCore::any_fired() const
{
    std::lock_guard<std::mutex> hold(lock);
    return !alarms.empty();
}

void AlarmCore::clear(const AlarmCode& code, const std::optional<wxString>& identity)
{
    journal_room();
    std::string id = identity ? identity->utf8_string() : std::string();
    Slot slot(*this);
    std::lock_guard<std::mutex> hold(lock);
    auto found = index.find(code);
    if (found == index.end())
        return;
    if (identity) {
        auto& identities = found->second->identities;
        if (identities.erase(id) == 0)
            return;
        if (!identities.empty()) {
            journal_locked(JournalEntry::Kind::release, code, id, found->second->level, &*found->second);
            return;
        }
    }
    journal_locked(JournalEntry::Kind::clear, code, id, found->second->level, nullptr);
    alarms.erase(found->second);
    index.erase(found);
    // Queued under the lock, so history rows keep the order of the changes.
    slot.fill(HistoryRow::about(HistoryRow::cleared, code.text()));
}

void AlarmCore::clear_all()
{
    journal_room();
    Slot slot(*this);
    std::lock_guard<std::mutex> hold(lock);
    if (alarms.empty())
        return;
    alarms.clear();
    index.clear();
    journal_locked(JournalEntry::Kind::all_clear, AlarmCode(std::string()), std::string(), spdlog::level::info, nullptr);
    slot.fill(HistoryRow::about(HistoryRow::all_clear, std::string()));
}

void AlarmCore::update()
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

AlarmCore::Logger AlarmCore::logger() const
{
    std::lock_guard<std::mutex> hold(lock);
    return logger_;
}

void AlarmCore::set_logger(Logger logger)
{
    std::lock_guard<std::mutex> hold(lock);
    logger_ = std::move(logger);
}

bool AlarmCore::emit(LogRecord record)
{
    if (journal_) {
        journal_room();
        journal_log(record);
    }
    HistoryRow row = HistoryRow::from(std::move(record));
    Slot slot(*this);
    std::lock_guard<std::mutex> hold(rows_lock);
    if (!listener)
        return false;
    slot.fill(std::move(row), true);
    return true;
}

std::vector<ActiveAlarmInfo> AlarmCore::list_locked(bool with_identities) const
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

std::vector<ActiveAlarmInfo> AlarmCore::snapshot() const
{
    std::lock_guard<std::mutex> hold(lock);
    return list_locked(true);
}

std::vector<ActiveAlarmInfo> AlarmCore::take_refresh()
{
    std::lock_guard<std::mutex> hold(lock);
    refresh_posted = false;
    return list_locked(false);
}

bool AlarmCore::acknowledge(const AlarmCode& code)
{
    journal_room();
    Slot slot(*this);
    std::lock_guard<std::mutex> hold(lock);
    auto found = index.find(code);
    if (found == index.end() || found->second->acknowledged)
        return false;
    found->second->acknowledged = true;
    journal_locked(JournalEntry::Kind::acknowledge, code, std::string(), found->second->level, &*found->second);
    slot.fill(HistoryRow::about(HistoryRow::acknowledged, code.text()));
    return true;
}

std::size_t AlarmCore::acknowledge_all()
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

bool AlarmCore::shelve(const AlarmCode& code, std::chrono::milliseconds duration)
{
    journal_room();
    Slot slot(*this);
    std::lock_guard<std::mutex> hold(lock);
    auto found = index.find(code);
    if (found == index.end())
        return false;
    found->second->shelved_until = std::chrono::steady_clock::now() + duration;
    journal_locked(JournalEntry::Kind::shelve, code, std::string(), found->second->level, &*found->second, duration);
    slot.fill(HistoryRow::about(HistoryRow::shelved, code.text(), duration));
    return true;
}

bool AlarmCore::expire_shelves(bool& still_shelved)
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

void AlarmCore::set_journal(std::shared_ptr<AlarmJournal> journal, std::string station)
{
    std::lock_guard<std::mutex> hold(lock);
    journal_ = std::move(journal);
    station_ = std::move(station);
}

std::vector<ActiveAlarmInfo> AlarmCore::set_feed(ChangeFeed* feed)
{
    std::lock_guard<std::mutex> hold(lock);
    feed_ = feed;
    return list_locked(true);
}

std::shared_ptr<AlarmJournal> AlarmCore::journal() const
{
    std::lock_guard<std::mutex> hold(lock);
    return journal_;
}

void AlarmCore::journal_locked(JournalEntry::Kind kind, const AlarmCode& code, const std::string& identity,
                               spdlog::level::level_enum level, const Entry* after, std::chrono::milliseconds shelved_for)
{
    if (!journal_ && !feed_)
        return;
    JournalChange change;
    change.entry.time = Clock::now();
    change.entry.station = station_;
    change.entry.code = code.text();
    change.entry.identity = identity;
    change.entry.level = level;
    change.entry.kind = kind;
    change.entry.shelved_for = shelved_for;
    if (kind == JournalEntry::Kind::all_clear)
        change.active = JournalChange::Active::remove_all;
    else if (!after)
        change.active = JournalChange::Active::remove;
    else
        change.active = JournalChange::Active::put;
    if (after) {
        JournalAlarm& alarm = change.alarm;
        alarm.station = station_;
        alarm.code = after->code.text();
        alarm.identities.assign(after->identities.begin(), after->identities.end());
        std::sort(alarm.identities.begin(), alarm.identities.end());
        alarm.level = after->level;
        alarm.first_raised = after->first_raised;
        alarm.last_raised = after->last_raised;
        alarm.times_raised = after->times_raised;
        alarm.acknowledged = after->acknowledged;
        if (after->shelved_until)
            alarm.shelved_until = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                     *after->shelved_until - std::chrono::steady_clock::now());
    }
    if (feed_)
        feed_->changed(change);
    if (journal_)
        journal_->writer().append(std::move(change));
}

void AlarmCore::journal_log(const LogRecord& record)
{
    JournalChange change;
    change.entry.time = Clock::time_point(std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(record.created)));
    change.entry.level = record.levelno;
    change.entry.kind = JournalEntry::Kind::log;
    journal_->writer().append_log(std::move(change), station_, record.msg);
}

void AlarmCore::journal_room() const
{
    if (journal_ && !wxThread::IsMain())
        journal_->writer().make_room();
}

void AlarmCore::restore(const std::vector<JournalAlarm>& journaled)
{
    {
        std::lock_guard<std::mutex> hold(lock);
        const auto now = Clock::now();
        const auto steady_now = std::chrono::steady_clock::now();
        for (const JournalAlarm& alarm : journaled) {
            const AlarmCode code(alarm.code);
            if (index.count(code))
                continue;
            Entry entry{code, std::make_shared<const std::any>(), {}, alarm.level, alarm.first_raised,
                        alarm.last_raised, alarm.times_raised, alarm.acknowledged, std::nullopt};
            entry.identities.insert(alarm.identities.begin(), alarm.identities.end());
            if (alarm.shelved_until && *alarm.shelved_until > now)
                entry.shelved_until =
                    steady_now + std::chrono::duration_cast<std::chrono::steady_clock::duration>(*alarm.shelved_until - now);
            alarms.push_back(std::move(entry));
            index.emplace(code, std::prev(alarms.end()));
        }
    }
    update();
}

}  // namespace ovk_wxtools::detail
