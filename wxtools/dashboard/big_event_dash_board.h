#pragma once
// The alarm dashboard: the alarms a tool has raised right now, from any
// thread, in a list, and a coloured history of cleared alarms and log records
// in a grid.
//
// Alarms are keyed by code and, within a code, by the identity of whoever
// raised it (one of several stations, say). A code stays active until every
// identity that raised it has cleared it. Raising a new code writes the code's
// text to the dashboard's logger; registering the dashboard's sink() with that
// same logger turns each new alarm into a history row.
//
// Every public operation may be called from any thread while the dashboard
// exists. Controls are changed only on the GUI thread, through posted calls
// that run in the order they were posted.
#include "platform/wxctrls/big_event_dash_board.h"
#include "wxtools/dashboard/alarm_code.h"
#include "wxtools/dashboard/dashboard_sink.h"
#include "wxtools/dashboard/log_record.h"

#include <spdlog/logger.h>
#include <wx/clntdata.h>

#include <any>
#include <atomic>
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

// Client data of each alarm list entry: the detail the alarm was raised with.
class AlarmDetail : public wxClientData {
public:
    explicit AlarmDetail(std::shared_ptr<const std::any> detail) : detail_(std::move(detail)) {}
    const std::any& detail() const { return *detail_; }

private:
    std::shared_ptr<const std::any> detail_;
};

class BigEventDashBoard : public ovk_wxctrls::BigEventDashBoard {
public:
    using Logger = std::shared_ptr<spdlog::logger>;

    // `logger` receives the text of every newly raised code; `level` is the
    // threshold of the dashboard's sink. The dashboard registers itself nowhere.
    explicit BigEventDashBoard(wxWindow* parent, Logger logger = nullptr,
                               spdlog::level::level_enum level = spdlog::level::warn);
    ~BigEventDashBoard() override;

    // Raises `code` for `identity` (the empty text is an identity too). A code
    // that is already active only takes the new detail and identity: it is
    // neither logged again nor does it ask for a refresh.
    void alarm(const AlarmCode& code, std::any detail, const wxString& identity = wxString(),
               spdlog::level::level_enum level = spdlog::level::err);

    // Without an identity: whether `code` is active; with one: whether that
    // identity has it raised.
    bool fired(const AlarmCode& code, const std::optional<wxString>& identity = std::nullopt) const;
    bool any_fired() const;

    // Without an identity: clears `code` for everyone. With one: clears it for
    // that identity; the code goes once its last identity has cleared it. A
    // code that goes writes one "GOOD" history row.
    void clear(const AlarmCode& code, const std::optional<wxString>& identity = std::nullopt);
    // Clears every active code and writes one "All Clear" row, if any was active.
    void clear_all();

    // Asks the GUI thread to rebuild the alarm list; returns at once.
    void update();

    // Whether the history grid scrolls to each new row (true at first).
    bool auto_scroll() const { return auto_scroll_.load(); }
    void set_auto_scroll(bool on) { auto_scroll_.store(on); }

    // Where newly raised codes are logged; nullptr for nowhere. Setting it
    // changes nothing else: registrations of sink() stay as they are.
    Logger logger() const;
    void set_logger(Logger logger);

    // The dashboard as a log handler: add this sink to a logger's sinks and
    // every record at or above level() becomes a history row. The sink may
    // outlive the dashboard; records it gets afterwards are dropped.
    std::shared_ptr<DashboardSink> sink() const { return sink_; }
    spdlog::level::level_enum level() const { return sink_->level(); }
    void set_level(spdlog::level::level_enum level) { sink_->set_level(level); }

    // Hands one record to the GUI thread, which appends it to the history.
    void emit(LogRecord record);

private:
    // A row for a cleared code, or for a plain text such as "All Clear".
    using HistoryItem = std::variant<AlarmCode, wxString>;

    struct ActiveAlarm {
        AlarmCode code;
        std::shared_ptr<const std::any> detail;
        std::unordered_set<std::string> identities;  // UTF-8
    };
    using AlarmList = std::list<ActiveAlarm>;

    // A history row waiting for the GUI thread.
    using PendingRow = std::variant<HistoryItem, LogRecord>;

    // Queues one history row. Rows queue up in the order they are posted and
    // the GUI thread writes whatever has gathered in one go, so a storm of
    // events costs one grid update per batch rather than one per row.
    void post_row(PendingRow row);

    // GUI thread only.
    void do_update();
    void write_rows();
    // Fill row `row`, already appended to the history grid.
    void do_clear(int row, const HistoryItem& item);
    void do_emit(int row, const LogRecord& record);

    // Removes one active code; `lock` is held.
    void remove_locked(std::unordered_map<AlarmCode, AlarmList::iterator>::iterator at);

    // Guards everything below it.
    mutable std::mutex lock;
    // The active alarms in the order they were raised, and where each code sits.
    AlarmList alarms;
    std::unordered_map<AlarmCode, AlarmList::iterator> index;
    Logger logger_;
    // A list refresh is posted and has not yet read the alarms.
    bool refresh_posted = false;

    // Taken after `lock` when both are held. Guards the two below it.
    std::mutex rows_lock;
    std::vector<PendingRow> pending_rows;
    bool rows_posted = false;

    std::atomic<bool> auto_scroll_{true};
    std::shared_ptr<DashboardSink> sink_;
};

}  // namespace ovk_wxtools
