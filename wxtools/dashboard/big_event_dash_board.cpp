#include "wxtools/dashboard/big_event_dash_board.h"

#include "wxtools/app/mb.h"
#include "wxtools/dashboard/detail/alarm_core.h"
#include "wxtools/dashboard/detail/csv.h"
#include "wxtools/dashboard/detail/history_table.h"

#include <wx/filedlg.h>
#include <wx/sizer.h>

#include <algorithm>
#include <ctime>
#include <utility>
#include <vector>

namespace ovk_wxtools {

using detail::HistoryRow;

namespace {

// A flood is written in slices of at most this many rows or this much time,
// whichever comes first, so that the event loop serves timers and input.
constexpr std::size_t slice_chunk = 512;
constexpr std::size_t slice_rows = 8192;
constexpr auto slice_time = std::chrono::milliseconds(15);

struct ShelveChoice {
    const char* label;
    std::chrono::minutes duration;
};
const ShelveChoice shelve_choices[] = {{"5 min", std::chrono::minutes(5)},
                                       {"15 min", std::chrono::minutes(15)},
                                       {"1 h", std::chrono::minutes(60)}};

struct FilterChoice {
    const char* label;
    spdlog::level::level_enum lowest;
};
const FilterChoice filter_choices[] = {{"All levels", spdlog::level::trace},
                                       {"WARNING and up", spdlog::level::warn},
                                       {"ERROR and up", spdlog::level::err},
                                       {"CRITICAL only", spdlog::level::critical}};

// Local wall-clock time of day, HH:MM:SS, whatever the locale.
std::string time_of_day(std::chrono::system_clock::time_point at)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(at);
    std::tm parts{};
    localtime_r(&t, &parts);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", parts.tm_hour, parts.tm_min, parts.tm_sec);
    return text;
}

}  // namespace

BigEventDashBoard::BigEventDashBoard(wxWindow* parent, Logger logger, spdlog::level::level_enum level,
                                     const Options& options)
    : ovk_wxctrls::BigEventDashBoard(parent), options_(options),
      state_(std::make_shared<AlarmState>(std::move(logger))), sink_(std::make_shared<DashboardSink>(state_)),
      drain_timer_(this, wxWindow::NewControlId()), shelf_timer_(this, wxWindow::NewControlId()),
      history_(new detail::HistoryTable(options.history_cap))
{
    sink_->set_level(level);
    use_history_table(history_, wxGrid::wxGridSelectRows);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { write_rows(); }, drain_timer_.GetId());
    Bind(wxEVT_TIMER, &BigEventDashBoard::on_shelf_timer, this, shelf_timer_.GetId());
    add_option_controls();
    if (!options_.journal.empty())
        open_journal();
    state_->core().attach(this, options_.counts_and_times);
}

void BigEventDashBoard::open_journal()
{
    journal_ = std::make_shared<AlarmJournal>(options_.journal, options_.journal_options);
    auto say = [](const std::string& problem) {
        return HistoryRow::from(LogRecord(spdlog::level::err, problem,
                                          std::chrono::duration<double>(
                                              std::chrono::system_clock::now().time_since_epoch()).count()));
    };
    std::vector<HistoryRow> rows;
    if (const std::string problem = journal_->problem(); !problem.empty()) {
        rows.push_back(say(problem));
        history_->add(rows);
        return;
    }
    for (const JournalEntry& entry : journal_->last_history(options_.journal_rows))
        rows.push_back(HistoryRow::from(entry));
    history_->add(rows);
    std::vector<JournalAlarm> alarms = journal_->active();
    std::erase_if(alarms, [this](const JournalAlarm& alarm) { return alarm.station != options_.station; });
    state_->core().restore(alarms);
    if (std::any_of(alarms.begin(), alarms.end(), [](const JournalAlarm& a) { return a.shelved_until.has_value(); }))
        shelf_timer_.Start(100);
    // A problem later on: one row says so, through the state, from the journal's thread.
    journal_->on_problem([state = std::weak_ptr<AlarmState>(state_)](const std::string& problem) {
        if (auto alive = state.lock())
            alive->emit(LogRecord(spdlog::level::err, problem,
                                  std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count()));
    });
    state_->core().set_journal(journal_, options_.station);
}

BigEventDashBoard::~BigEventDashBoard()
{
    // From here on the state tells this window nothing, drops what still
    // waits and lets go of producers waiting for room. Calls already posted
    // go with the window, unrun.
    state_->core().detach();
    drain_timer_.Stop();
    shelf_timer_.Stop();
}

void BigEventDashBoard::rows_waiting()
{
    CallAfter([this] { write_rows(); });
}

void BigEventDashBoard::alarms_changed()
{
    CallAfter([this] { do_update(); });
}

void BigEventDashBoard::add_option_controls()
{
    if (!options_.acknowledge_and_shelve && !options_.level_filter && !options_.csv_export)
        return;
    auto* bar = new wxBoxSizer(wxHORIZONTAL);
    if (options_.acknowledge_and_shelve) {
        ui_acknowledge = new wxButton(this, wxID_ANY, wxS("Acknowledge"));
        ui_acknowledge_all = new wxButton(this, wxID_ANY, wxS("Acknowledge all"));
        ui_shelve = new wxButton(this, wxID_ANY, wxS("Shelve"));
        ui_shelve_for = new wxChoice(this, wxID_ANY);
        for (const ShelveChoice& choice : shelve_choices)
            ui_shelve_for->Append(wxString::FromUTF8(choice.label));
        ui_shelve_for->SetSelection(0);
        for (wxWindow* control : {static_cast<wxWindow*>(ui_acknowledge), static_cast<wxWindow*>(ui_acknowledge_all),
                                  static_cast<wxWindow*>(ui_shelve), static_cast<wxWindow*>(ui_shelve_for)})
            bar->Add(control, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
        auto selected = [this]() -> const AlarmCode* {
            const int n = ui_list_alarm->GetSelection();
            return n != wxNOT_FOUND && static_cast<std::size_t>(n) < listed_.size() ? &listed_[n] : nullptr;
        };
        ui_acknowledge->Bind(wxEVT_BUTTON, [this, selected](wxCommandEvent&) {
            if (const AlarmCode* code = selected())
                state_->acknowledge(*code);
        });
        ui_acknowledge_all->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { state_->acknowledge_all(); });
        ui_shelve->Bind(wxEVT_BUTTON, [this, selected](wxCommandEvent&) {
            const int n = ui_shelve_for->GetSelection();
            if (const AlarmCode* code = selected(); code && n != wxNOT_FOUND)
                state_->shelve(*code, shelve_choices[n].duration);
        });
    }
    bar->AddStretchSpacer();
    if (options_.level_filter) {
        ui_level_filter = new wxChoice(this, wxID_ANY);
        for (const FilterChoice& choice : filter_choices)
            ui_level_filter->Append(wxString::FromUTF8(choice.label));
        ui_level_filter->SetSelection(0);
        bar->Add(ui_level_filter, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
        ui_level_filter->Bind(wxEVT_CHOICE, [this](wxCommandEvent& event) {
            const int n = event.GetSelection();
            if (n >= 0 && n < static_cast<int>(std::size(filter_choices)))
                set_history_filter(filter_choices[n].lowest);
        });
    }
    if (options_.csv_export) {
        ui_export_csv = new wxButton(this, wxID_ANY, wxString::FromUTF8("Export CSV…"));
        bar->Add(ui_export_csv, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
        ui_export_csv->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
            wxFileDialog ask(this, wxS("Export history"), wxString(), wxS("history.csv"),
                             wxS("CSV files (*.csv)|*.csv"), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
            if (ask.ShowModal() == wxID_OK && !export_history_csv(ask.GetPath()))
                MB::Error(wxS("Could not write ") + ask.GetPath());
        });
    }
    // The layout's own sizer goes above the new row of controls.
    wxSizer* layout = GetSizer();
    auto* outer = new wxBoxSizer(wxVERTICAL);
    SetSizer(outer, false);
    outer->Add(layout, 1, wxEXPAND);
    outer->Add(bar, 0, wxLEFT | wxRIGHT | wxEXPAND, 5);
    Layout();
}

wxString BigEventDashBoard::list_text(const ActiveAlarmInfo& alarm) const
{
    std::string text = alarm.code.text();
    if (options_.counts_and_times)
        text += " (" + std::to_string(alarm.times_raised) + "\xC3\x97, since " + time_of_day(alarm.first_raised) + ")";
    if (options_.acknowledge_and_shelve && !alarm.acknowledged)
        text.insert(0, "(!) ");
    return wxString::FromUTF8(text);
}

void BigEventDashBoard::do_update()
{
    const auto alarms = state_->core().take_refresh();
    std::optional<AlarmCode> selected;
    int top = wxNOT_FOUND;
    if (options_.keep_view) {
        const int n = ui_list_alarm->GetSelection();
        if (n != wxNOT_FOUND && static_cast<std::size_t>(n) < listed_.size())
            selected = listed_[n];
        top = ui_list_alarm->GetTopItem();
    }
    listed_.clear();
    wxArrayString texts;
    texts.reserve(alarms.size());
    std::vector<wxClientData*> details;
    details.reserve(alarms.size());
    for (const ActiveAlarmInfo& alarm : alarms) {
        if (alarm.shelved)
            continue;
        texts.push_back(list_text(alarm));
        details.push_back(new AlarmDetail(alarm.detail));
        listed_.push_back(alarm.code);
    }
    ui_list_alarm->Freeze();
    ui_list_alarm->Clear();
    if (!texts.empty())
        ui_list_alarm->Append(texts, details.data());
    if (options_.keep_view) {
        if (selected) {
            auto at = std::find(listed_.begin(), listed_.end(), *selected);
            if (at != listed_.end())
                ui_list_alarm->SetSelection(static_cast<int>(at - listed_.begin()));
        }
        if (top != wxNOT_FOUND && top < static_cast<int>(ui_list_alarm->GetCount()))
            ui_list_alarm->SetFirstItem(top);
    }
    ui_list_alarm->Thaw();
}

void BigEventDashBoard::write_rows()
{
    const auto start = std::chrono::steady_clock::now();
    wxGrid* grid = ui_grid_error_history;
    bool more = true, about_alarms = false, shelved = false;
    std::size_t written = 0;
    int moved_up = 0;
    std::vector<detail::HistoryRow> rows;
    grid->BeginBatch();
    while (more && written < slice_rows && std::chrono::steady_clock::now() - start < slice_time) {
        rows.clear();
        more = state_->core().take_rows(slice_chunk, rows);
        if (rows.empty())
            break;
        written += rows.size();
        for (const detail::HistoryRow& row : rows) {
            about_alarms |= !row.is_log();
            shelved |= row.kind == detail::HistoryRow::shelved;
        }
        moved_up += history_->add(rows);
    }
    grid->EndBatch();
    if (written > 0)
        follow_rows(moved_up);
    // The rest of a flood waits for the next turn of the event loop.
    if (more)
        drain_timer_.StartOnce(1);
    if (shelved && !shelf_timer_.IsRunning())
        shelf_timer_.Start(100);
    // Rebuild the alarm list after the rows that say what changed.
    if (about_alarms)
        update();
}

void BigEventDashBoard::follow_rows(int moved_up)
{
    wxGrid* grid = ui_grid_error_history;
    if (grid->GetNumberRows() == 0)
        return;
    if (auto_scroll()) {
        grid->MakeCellVisible(grid->GetNumberRows() - 1, 0);
    } else if (options_.keep_view && moved_up > 0) {
        // Rows went above the view: move up with the rows still shown.
        int x = 0, y = 0;
        grid->GetViewStart(&x, &y);
        const int line = std::max(grid->GetScrollLineY(), 1);
        grid->Scroll(x, std::max(0, y - moved_up * grid->GetDefaultRowSize() / line));
    }
}

void BigEventDashBoard::set_history_filter(spdlog::level::level_enum lowest)
{
    wxGrid* grid = ui_grid_error_history;
    // Selected rows and the top row, by key, to find them again afterwards.
    std::vector<std::int64_t> selected;
    std::optional<std::int64_t> top;
    if (options_.keep_view) {
        for (int row : grid->GetSelectedRows())
            selected.push_back(history_->key_of(row));
        if (const int first = grid->GetFirstFullyVisibleRow(); first >= 0)
            top = history_->key_of(first);
    }
    grid->BeginBatch();
    grid->ClearSelection();
    history_->set_filter(lowest);
    grid->EndBatch();
    if (options_.keep_view) {
        for (std::int64_t key : selected)
            if (const int row = history_->row_of(key); row >= 0)
                grid->SelectRow(row, true);
        if (const int row = top ? history_->row_of(*top) : -1; row >= 0) {
            const int line = std::max(grid->GetScrollLineY(), 1);
            grid->Scroll(0, row * grid->GetDefaultRowSize() / line);
        }
    } else if (auto_scroll() && grid->GetNumberRows() > 0) {
        grid->MakeCellVisible(grid->GetNumberRows() - 1, 0);
    }
}

std::string BigEventDashBoard::csv_line(const std::vector<std::string>& fields)
{
    return detail::csv_line(fields);
}

bool BigEventDashBoard::export_history_csv(const wxString& path) const
{
    const auto& labels = ovk_wxctrls::BigEventDashBoard::history_column_labels;
    std::string out = csv_line({labels[0], labels[1], labels[2]});
    history_->for_each_kept([&out](const std::vector<wxString>& cells) {
        out += csv_line({cells[0].utf8_string(), cells[1].utf8_string(), cells[2].utf8_string()});
    });
    return detail::write_file(path.utf8_string(), out);
}

void BigEventDashBoard::on_shelf_timer(wxTimerEvent&)
{
    bool still_shelved = false;
    if (state_->core().expire_shelves(still_shelved))
        update();
    if (!still_shelved)
        shelf_timer_.Stop();
}

}  // namespace ovk_wxtools
