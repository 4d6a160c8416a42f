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
// The alarms themselves live in an AlarmState that the window shares: hand
// workers state() and they may go on raising, clearing and asking at any
// time, also after the window has gone. The window's own operations of the
// same names forward to it and are for code that knows the window exists.
// Controls are changed only on the GUI thread, through posted calls that run
// in the order they were posted; a flood of rows is written in bounded slices
// so that timers and input are served in between.
#include "platform/wxctrls/big_event_dash_board.h"
#include "wxtools/dashboard/alarm_code.h"
#include "wxtools/dashboard/alarm_listener.h"
#include "wxtools/dashboard/alarm_state.h"
#include "wxtools/dashboard/dashboard_options.h"
#include "wxtools/dashboard/dashboard_sink.h"
#include "wxtools/dashboard/log_record.h"

#include <spdlog/logger.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/clntdata.h>
#include <wx/timer.h>

#include <any>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ovk_wxtools {

namespace detail {
class HistoryTable;
}

// Client data of each alarm list entry: the detail the alarm was raised with.
class AlarmDetail : public wxClientData {
public:
    explicit AlarmDetail(std::shared_ptr<const std::any> detail) : detail_(std::move(detail)) {}
    const std::any& detail() const { return *detail_; }

private:
    std::shared_ptr<const std::any> detail_;
};

class BigEventDashBoard : public ovk_wxctrls::BigEventDashBoard, private AlarmListener {
public:
    using Logger = AlarmState::Logger;
    // The extras a tool turns on (DashboardOptions).
    using Options = DashboardOptions;

    // `logger` receives the text of every newly raised code; `level` is the
    // threshold of the dashboard's sink. The dashboard registers itself nowhere.
    explicit BigEventDashBoard(wxWindow* parent, Logger logger = nullptr,
                               spdlog::level::level_enum level = spdlog::level::warn,
                               const Options& options = Options());
    ~BigEventDashBoard() override;

    // The handle for other threads: valid for as long as they keep it.
    std::shared_ptr<AlarmState> state() const { return state_; }
    const Options& options() const { return options_; }

    // Raises `code` for `identity` (the empty text is an identity too). A code
    // that is already active only takes the new detail and identity: it is
    // neither logged again nor does it ask for a refresh.
    void alarm(const AlarmCode& code, std::any detail, const wxString& identity = wxString(),
               spdlog::level::level_enum level = spdlog::level::err)
    {
        state_->alarm(code, std::move(detail), identity, level);
    }

    // Without an identity: whether `code` is active; with one: whether that
    // identity has it raised.
    bool fired(const AlarmCode& code, const std::optional<wxString>& identity = std::nullopt) const
    {
        return state_->fired(code, identity);
    }
    bool any_fired() const { return state_->any_fired(); }

    // Without an identity: clears `code` for everyone. With one: clears it for
    // that identity; the code goes once its last identity has cleared it. A
    // code that goes writes one "GOOD" history row.
    void clear(const AlarmCode& code, const std::optional<wxString>& identity = std::nullopt)
    {
        state_->clear(code, identity);
    }
    // Clears every active code and writes one "All Clear" row, if any was active.
    void clear_all() { state_->clear_all(); }

    // Asks the GUI thread to rebuild the alarm list; returns at once.
    void update() { state_->update(); }

    // The active alarms, for a stack light or a report.
    std::vector<ActiveAlarmInfo> snapshot() const { return state_->snapshot(); }
    // Acknowledge and shelve: see AlarmState. Each writes an "ACK" or "SHELVED" row.
    bool acknowledge(const AlarmCode& code) { return state_->acknowledge(code); }
    std::size_t acknowledge_all() { return state_->acknowledge_all(); }
    bool shelve(const AlarmCode& code, std::chrono::milliseconds duration) { return state_->shelve(code, duration); }

    // The journal of Options::journal; nullptr without one.
    std::shared_ptr<AlarmJournal> journal() const { return journal_; }

    // Whether the history grid scrolls to each new row (true at first).
    bool auto_scroll() const { return auto_scroll_.load(); }
    void set_auto_scroll(bool on) { auto_scroll_.store(on); }

    // Where newly raised codes are logged; nullptr for nowhere. Setting it
    // changes nothing else: registrations of sink() stay as they are.
    Logger logger() const { return state_->logger(); }
    void set_logger(Logger logger) { state_->set_logger(std::move(logger)); }

    // The dashboard as a log handler: add this sink to a logger's sinks and
    // every record at or above level() becomes a history row. The sink may
    // outlive the dashboard; records it gets afterwards are dropped.
    std::shared_ptr<DashboardSink> sink() const { return sink_; }
    spdlog::level::level_enum level() const { return sink_->level(); }
    void set_level(spdlog::level::level_enum level) { sink_->set_level(level); }

    // Hands one record to the GUI thread, which appends it to the history.
    void emit(LogRecord record) { state_->emit(std::move(record)); }

    // GUI thread only. Shows log rows at `lowest` and above (the rows about
    // alarms always); spdlog::level::trace shows everything. The choice that
    // Options::level_filter adds calls this.
    void set_history_filter(spdlog::level::level_enum lowest);
    // GUI thread only. Writes the history (header row first) to `path` as CSV
    // in UTF-8; false when the file cannot be written.
    bool export_history_csv(const wxString& path) const;
    // One CSV line, fields quoted where they need it, ending in CR LF.
    static std::string csv_line(const std::vector<std::string>& fields);

    // Controls that options add; nullptr when their option is off.
    wxButton* ui_acknowledge = nullptr;
    wxButton* ui_acknowledge_all = nullptr;
    wxButton* ui_shelve = nullptr;
    wxChoice* ui_shelve_for = nullptr;
    wxChoice* ui_level_filter = nullptr;
    wxButton* ui_export_csv = nullptr;

private:
    // What the state tells the window; both post a call to the GUI thread.
    void rows_waiting() override;
    void alarms_changed() override;

    // GUI thread only.
    void do_update();
    void write_rows();
    // Keeps the view where it was, or follows the newest row, after `moved_up`
    // rows went above it.
    void follow_rows(int moved_up);
    wxString list_text(const ActiveAlarmInfo& alarm) const;
    void add_option_controls();
    // Shows the journal's last rows and restores its active alarms.
    void open_journal();
    void on_shelf_timer(wxTimerEvent& event);

    const Options options_;
    std::shared_ptr<AlarmState> state_;
    std::atomic<bool> auto_scroll_{true};
    std::shared_ptr<DashboardSink> sink_;

    // Continues writing a flood of rows on the next turn of the event loop.
    wxTimer drain_timer_;
    // Brings shelved alarms back when their time is up.
    wxTimer shelf_timer_;
    // The codes behind the alarm list's entries, in list order.
    std::vector<AlarmCode> listed_;
    // The history grid's rows; owned by the grid.
    detail::HistoryTable* history_ = nullptr;
    std::shared_ptr<AlarmJournal> journal_;
};

}  // namespace ovk_wxtools
