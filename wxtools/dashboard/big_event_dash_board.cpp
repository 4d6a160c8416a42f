#include "wxtools/dashboard/big_event_dash_board.h"

#include "platform/handy/timestamp.h"

#include <utility>
#include <vector>

namespace ovk_wxtools {

BigEventDashBoard::BigEventDashBoard(wxWindow* parent, Logger logger, spdlog::level::level_enum level)
    : ovk_wxctrls::BigEventDashBoard(parent), logger_(std::move(logger)),
      sink_(std::make_shared<DashboardSink>(*this))
{
    sink_->set_level(level);
    ui_grid_error_history->SetSelectionMode(wxGrid::wxGridSelectRows);
}

BigEventDashBoard::~BigEventDashBoard()
{
    // Loggers may still hold the sink; from here on it drops what they send.
    // Calls already posted go with the window, unrun.
    sink_->detach();
}

void BigEventDashBoard::alarm(const AlarmCode& code, std::any detail, const wxString& identity,
                              spdlog::level::level_enum level)
{
    std::string id = identity.utf8_string();
    auto shared_detail = std::make_shared<const std::any>(std::move(detail));
    Logger to;
    {
        std::lock_guard<std::mutex> hold(lock);
        auto found = index.find(code);
        if (found != index.end()) {
            found->second->detail = std::move(shared_detail);
            found->second->identities.insert(std::move(id));
            return;
        }
        alarms.push_back(ActiveAlarm{code, std::move(shared_detail), {id}});
        index.emplace(code, std::prev(alarms.end()));
        to = logger_;
    }
    // Outside the lock: the logger may well hand the record straight back to
    // this dashboard's sink.
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

bool BigEventDashBoard::fired(const AlarmCode& code, const std::optional<wxString>& identity) const
{
    std::string id = identity ? identity->utf8_string() : std::string();
    std::lock_guard<std::mutex> hold(lock);
    auto found = index.find(code);
    if (found == index.end())
        return false;
    return !identity || found->second->identities.count(id) > 0;
}

bool BigEventDashBoard::any_fired() const
{
    std::lock_guard<std::mutex> hold(lock);
    return !alarms.empty();
}

void BigEventDashBoard::remove_locked(std::unordered_map<AlarmCode, AlarmList::iterator>::iterator at)
{
    alarms.erase(at->second);
    index.erase(at);
}

void BigEventDashBoard::clear(const AlarmCode& code, const std::optional<wxString>& identity)
{
    std::string id = identity ? identity->utf8_string() : std::string();
    std::lock_guard<std::mutex> hold(lock);
    auto found = index.find(code);
    if (found == index.end())
        return;
    if (identity) {
        auto& identities = found->second->identities;
        if (identities.erase(id) == 0 || !identities.empty())
            return;
    }
    remove_locked(found);
    // Queued under the lock, so history rows keep the order of the changes.
    post_row(HistoryItem(code));
}

void BigEventDashBoard::clear_all()
{
    std::lock_guard<std::mutex> hold(lock);
    if (alarms.empty())
        return;
    alarms.clear();
    index.clear();
    post_row(HistoryItem(wxString("All Clear")));
}

void BigEventDashBoard::update()
{
    {
        std::lock_guard<std::mutex> hold(lock);
        // One pending refresh reads the alarms when it runs and so shows every
        // change made before then; asking again meanwhile adds nothing.
        if (refresh_posted)
            return;
        refresh_posted = true;
    }
    CallAfter([this] { do_update(); });
}

BigEventDashBoard::Logger BigEventDashBoard::logger() const
{
    std::lock_guard<std::mutex> hold(lock);
    return logger_;
}

void BigEventDashBoard::set_logger(Logger logger)
{
    std::lock_guard<std::mutex> hold(lock);
    logger_ = std::move(logger);
}

void BigEventDashBoard::emit(LogRecord record)
{
    post_row(std::move(record));
}

void BigEventDashBoard::post_row(PendingRow row)
{
    {
        std::lock_guard<std::mutex> hold(rows_lock);
        pending_rows.push_back(std::move(row));
        if (rows_posted)
            return;
        rows_posted = true;
    }
    CallAfter([this] { write_rows(); });
}

void BigEventDashBoard::do_update()
{
    std::vector<std::pair<std::string, std::shared_ptr<const std::any>>> entries;
    {
        std::lock_guard<std::mutex> hold(lock);
        refresh_posted = false;
        entries.reserve(alarms.size());
        for (const ActiveAlarm& active : alarms)
            entries.emplace_back(active.code.text(), active.detail);
    }
    wxArrayString texts;
    texts.reserve(entries.size());
    std::vector<wxClientData*> details;
    details.reserve(entries.size());
    for (auto& [text, detail] : entries) {
        texts.push_back(wxString::FromUTF8(text));
        details.push_back(new AlarmDetail(std::move(detail)));
    }
    ui_list_alarm->Freeze();
    ui_list_alarm->Clear();
    if (!texts.empty())
        ui_list_alarm->Append(texts, details.data());
    ui_list_alarm->Thaw();
}

void BigEventDashBoard::write_rows()
{
    std::vector<PendingRow> rows;
    {
        std::lock_guard<std::mutex> hold(rows_lock);
        rows.swap(pending_rows);
        rows_posted = false;
    }
    if (rows.empty())
        return;
    wxGrid* grid = ui_grid_error_history;
    int row = grid->GetNumberRows();
    bool cleared = false;
    grid->BeginBatch();
    grid->AppendRows(static_cast<int>(rows.size()));
    for (const PendingRow& pending : rows) {
        if (const HistoryItem* item = std::get_if<HistoryItem>(&pending)) {
            do_clear(row++, *item);
            cleared = true;
        } else {
            do_emit(row++, std::get<LogRecord>(pending));
        }
    }
    grid->EndBatch();
    if (auto_scroll())
        grid->MakeCellVisible(row - 1, 0);
    // Rebuild the alarm list after the rows that say what went away.
    if (cleared)
        update();
}

void BigEventDashBoard::do_clear(int row, const HistoryItem& item)
{
    wxGrid* grid = ui_grid_error_history;
    if (const AlarmCode* code = std::get_if<AlarmCode>(&item)) {
        grid->SetCellValue(row, 0, "GOOD");
        grid->SetCellValue(row, 1, code->value());
    } else {
        grid->SetCellValue(row, 1, std::get<wxString>(item));
    }
    grid->SetCellBackgroundColour(row, 0, wxColour(0, 255, 0));
}

void BigEventDashBoard::do_emit(int row, const LogRecord& record)
{
    wxGrid* grid = ui_grid_error_history;
    grid->SetCellValue(row, 0, wxString::FromUTF8(record.levelname));
    grid->SetCellValue(row, 1, wxString::FromUTF8(ovk_handy::timestamp(record.created)));
    grid->SetCellValue(row, 2, record.getMessage());
    grid->SetCellBackgroundColour(row, 0, record.levelno == spdlog::level::warn ? wxColour(255, 255, 0)
                                                                                  : wxColour(255, 0, 0));
}

}  // namespace ovk_wxtools
