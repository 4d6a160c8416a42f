#include "wxtools/dashboard/big_event_dash_board.h"

#include "platform/handy/timestamp.h"
#include "wxtools/app/mb.h"

#include <wx/filedlg.h>
#include <wx/sizer.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <utility>
#include <vector>

namespace ovk_wxtools {

namespace {

// Row colours: the first two and the log colours are the history's own; the
// rest belong to the rows of the opt-in extras.
const wxColour good_colour(0, 255, 0);
const wxColour warning_colour(255, 255, 0);
const wxColour error_colour(255, 0, 0);
const wxColour acknowledged_colour(135, 206, 250);
const wxColour shelved_colour(192, 192, 192);
const wxColour dropped_colour(211, 211, 211);

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

std::string duration_text(std::chrono::milliseconds d)
{
    const long long ms = d.count();
    if (ms != 0 && ms % 60000 == 0)
        return std::to_string(ms / 60000) + " min";
    if (ms % 1000 == 0)
        return std::to_string(ms / 1000) + " s";
    return std::to_string(ms) + " ms";
}

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

// With kept rows, column 0 takes its colour from them: wxGrid keeps per-cell
// attributes in a map that it rebuilds whole on every deletion of rows, which
// a capped history does all the time.
class BigEventDashBoard::HistoryColours : public wxGridCellAttrProvider {
public:
    explicit HistoryColours(const BigEventDashBoard* owner) : owner_(owner) {}
    ~HistoryColours() override
    {
        for (wxGridCellAttr* attr : attrs_)
            attr->DecRef();
    }
    void forget_owner() { owner_ = nullptr; }

    wxGridCellAttr* GetAttr(int row, int col, wxGridCellAttr::wxAttrKind kind) const override
    {
        if (owner_ && col == 0 && (kind == wxGridCellAttr::Any || kind == wxGridCellAttr::Cell)) {
            const wxColour colour = owner_->history_colour(row);
            if (colour.IsOk()) {
                wxGridCellAttr* attr = attr_for(colour);
                attr->IncRef();
                return attr;
            }
        }
        return wxGridCellAttrProvider::GetAttr(row, col, kind);
    }

private:
    wxGridCellAttr* attr_for(const wxColour& colour) const
    {
        for (wxGridCellAttr* attr : attrs_)
            if (attr->GetBackgroundColour() == colour)
                return attr;
        auto* attr = new wxGridCellAttr;
        attr->SetBackgroundColour(colour);
        attrs_.push_back(attr);
        return attr;
    }

    const BigEventDashBoard* owner_;
    mutable std::vector<wxGridCellAttr*> attrs_;  // one per colour, a handful
};

wxColour BigEventDashBoard::history_colour(int row) const
{
    if (row < 0)
        return wxNullColour;
    std::size_t at = static_cast<std::size_t>(row);
    if (dropped_rows_ > 0) {
        if (at == 0)
            return dropped_colour;
        --at;
    }
    return at < shown_.size() ? shown_[at]->colour : wxNullColour;
}

BigEventDashBoard::BigEventDashBoard(wxWindow* parent, Logger logger, spdlog::level::level_enum level,
                                     const Options& options)
    : ovk_wxctrls::BigEventDashBoard(parent), options_(options),
      state_(std::make_shared<AlarmState>(std::move(logger))), sink_(std::make_shared<DashboardSink>(state_)),
      drain_timer_(this, wxWindow::NewControlId()), shelf_timer_(this, wxWindow::NewControlId())
{
    sink_->set_level(level);
    ui_grid_error_history->SetSelectionMode(wxGrid::wxGridSelectRows);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { write_rows(); }, drain_timer_.GetId());
    Bind(wxEVT_TIMER, &BigEventDashBoard::on_shelf_timer, this, shelf_timer_.GetId());
    add_option_controls();
    if (keeps_history()) {
        colours_ = new HistoryColours(this);
        ui_grid_error_history->GetTable()->SetAttrProvider(colours_);
    }
    state_->attach(this, options_.counts_and_times);
}

BigEventDashBoard::~BigEventDashBoard()
{
    // From here on the state posts nothing here, drops what still waits and
    // lets go of producers waiting for room. Calls already posted go with the
    // window, unrun.
    state_->detach();
    drain_timer_.Stop();
    shelf_timer_.Stop();
    // The grid and its table go after this window's members.
    if (colours_)
        colours_->forget_owner();
}

bool BigEventDashBoard::keeps_history() const
{
    return options_.history_cap > 0 || options_.level_filter || options_.csv_export;
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
    const auto alarms = state_->take_refresh();
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

BigEventDashBoard::HistoryEntry BigEventDashBoard::make_entry(const PendingRow& pending) const
{
    HistoryEntry entry{{}, good_colour, -1};
    if (const StateRow* row = std::get_if<StateRow>(&pending)) {
        const wxString code = wxString::FromUTF8(row->code);
        switch (row->kind) {
        case StateRow::Kind::cleared:
            entry.cells[0] = wxS("GOOD");
            entry.cells[1] = code;
            break;
        case StateRow::Kind::all_clear:
            entry.cells[1] = wxS("All Clear");
            break;
        case StateRow::Kind::acknowledged:
            entry.cells[0] = wxS("ACK");
            entry.cells[1] = code;
            entry.cells[2] = wxS("Acknowledged");
            entry.colour = acknowledged_colour;
            break;
        case StateRow::Kind::shelved:
            entry.cells[0] = wxS("SHELVED");
            entry.cells[1] = code;
            entry.cells[2] = wxString::FromUTF8("Shelved for " + duration_text(row->shelved_for));
            entry.colour = shelved_colour;
            break;
        }
        return entry;
    }
    const LogRecord& record = std::get<LogRecord>(pending);
    entry.cells[0] = wxString::FromUTF8(record.levelname);
    entry.cells[1] = wxString::FromUTF8(ovk_handy::timestamp(record.created));
    entry.cells[2] = record.getMessage();
    entry.colour = record.levelno == spdlog::level::warn ? warning_colour : error_colour;
    entry.level = record.levelno;
    return entry;
}

void BigEventDashBoard::fill_row(int row, const HistoryEntry& entry)
{
    wxGrid* grid = ui_grid_error_history;
    for (int col = 0; col < 3; ++col)
        if (!entry.cells[col].empty())
            grid->SetCellValue(row, col, entry.cells[col]);
    if (!colours_)
        grid->SetCellBackgroundColour(row, 0, entry.colour);
}

BigEventDashBoard::HistoryEntry BigEventDashBoard::dropped_entry() const
{
    return HistoryEntry{{wxString(), wxString(), wxString::FromUTF8(std::to_string(dropped_rows_) + " older rows dropped")},
                        dropped_colour, -1};
}

void BigEventDashBoard::write_rows()
{
    const auto start = std::chrono::steady_clock::now();
    wxGrid* grid = ui_grid_error_history;
    bool more = true, about_alarms = false, shelved = false;
    std::size_t written = 0;
    std::size_t trimmed_rows = 0;
    grid->BeginBatch();
    while (more && written < slice_rows && std::chrono::steady_clock::now() - start < slice_time) {
        std::vector<PendingRow> rows = state_->take_rows(slice_chunk, more);
        if (rows.empty())
            break;
        written += rows.size();
        std::vector<HistoryEntry> entries;
        entries.reserve(rows.size());
        for (const PendingRow& row : rows) {
            if (const StateRow* state_row = std::get_if<StateRow>(&row)) {
                about_alarms = true;
                shelved |= state_row->kind == StateRow::Kind::shelved;
            }
            entries.push_back(make_entry(row));
        }
        if (keeps_history()) {
            keep_rows(std::move(entries));
        } else {
            int at = grid->GetNumberRows();
            grid->AppendRows(static_cast<int>(entries.size()));
            for (const HistoryEntry& entry : entries)
                fill_row(at++, entry);
        }
    }
    // Each deletion of rows costs about as much as the whole grid, so the
    // oldest rows go in batches of a tenth of the cap, not one slice at a time.
    if (options_.history_cap > 0 && kept_.size() > options_.history_cap + options_.history_cap / 10) {
        const std::size_t excess = kept_.size() - options_.history_cap;
        int shown = 0;
        for (std::size_t i = 0; i < excess; ++i) {
            if (!shown_.empty() && shown_.front() == &kept_.front()) {
                shown_.pop_front();
                ++shown;
            }
            kept_.pop_front();
        }
        const bool had_notice = dropped_rows_ > 0;
        dropped_rows_ += excess;
        if (shown > 0)
            grid->DeleteRows(had_notice ? 1 : 0, shown);
        if (!had_notice)
            grid->InsertRows(0, 1);
        fill_row(0, dropped_entry());
        trimmed_rows = static_cast<std::size_t>(shown) - (had_notice ? 0 : 1);
    }
    grid->EndBatch();
    if (written > 0 && grid->GetNumberRows() > 0) {
        if (auto_scroll()) {
            grid->MakeCellVisible(grid->GetNumberRows() - 1, 0);
        } else if (options_.keep_view && trimmed_rows > 0) {
            // Rows went above the view: move up with the rows still shown.
            int x = 0, y = 0;
            grid->GetViewStart(&x, &y);
            const int line = std::max(grid->GetScrollLineY(), 1);
            const int up = static_cast<int>(trimmed_rows) * grid->GetDefaultRowSize() / line;
            grid->Scroll(x, std::max(0, y - up));
        }
    }
    // The rest of a flood waits for the next turn of the event loop.
    if (more)
        drain_timer_.StartOnce(1);
    if (shelved && !shelf_timer_.IsRunning())
        shelf_timer_.Start(100);
    // Rebuild the alarm list after the rows that say what changed.
    if (about_alarms)
        update();
}

void BigEventDashBoard::keep_rows(std::vector<HistoryEntry> entries)
{
    wxGrid* grid = ui_grid_error_history;
    const auto shown = std::count_if(entries.begin(), entries.end(), [this](const HistoryEntry& e) { return passes(e); });
    int at = grid->GetNumberRows();
    if (shown > 0)
        grid->AppendRows(static_cast<int>(shown));
    for (HistoryEntry& entry : entries) {
        kept_.push_back(std::move(entry));
        if (passes(kept_.back())) {
            shown_.push_back(&kept_.back());
            fill_row(at++, kept_.back());
        }
    }
}

void BigEventDashBoard::set_history_filter(spdlog::level::level_enum lowest)
{
    const int previous = filter_level_;
    filter_level_ = lowest;
    if (keeps_history())
        rebuild_history(previous);
}

std::vector<const BigEventDashBoard::HistoryEntry*> BigEventDashBoard::shown_entries(int filter) const
{
    std::vector<const HistoryEntry*> rows;
    if (dropped_rows_ > 0)
        rows.push_back(nullptr);
    for (const HistoryEntry& entry : kept_)
        if (entry.level < 0 || entry.level >= filter)
            rows.push_back(&entry);
    return rows;
}

void BigEventDashBoard::rebuild_history(int previous_filter)
{
    wxGrid* grid = ui_grid_error_history;
    // Selected rows and the top row, as entries, to find them again afterwards.
    std::vector<const HistoryEntry*> selected;
    const HistoryEntry* top = nullptr;
    if (options_.keep_view) {
        const auto before = shown_entries(previous_filter);
        for (int row : grid->GetSelectedRows())
            if (row >= 0 && static_cast<std::size_t>(row) < before.size())
                selected.push_back(before[row]);
        const int first = grid->GetFirstFullyVisibleRow();
        if (first >= 0 && static_cast<std::size_t>(first) < before.size())
            top = before[first];
    }
    const auto rows = shown_entries(filter_level_);
    shown_.clear();
    for (const HistoryEntry* entry : rows)
        if (entry)
            shown_.push_back(entry);
    grid->BeginBatch();
    grid->ClearSelection();
    if (grid->GetNumberRows() > 0)
        grid->DeleteRows(0, grid->GetNumberRows());
    if (!rows.empty())
        grid->AppendRows(static_cast<int>(rows.size()));
    const HistoryEntry notice = dropped_entry();
    for (std::size_t r = 0; r < rows.size(); ++r)
        fill_row(static_cast<int>(r), rows[r] ? *rows[r] : notice);
    grid->EndBatch();
    if (options_.keep_view) {
        for (const HistoryEntry* entry : selected) {
            auto at = std::find(rows.begin(), rows.end(), entry);
            if (at != rows.end())
                grid->SelectRow(static_cast<int>(at - rows.begin()), true);
        }
        auto at = std::find(rows.begin(), rows.end(), top);
        if (top && at != rows.end()) {
            const int line = std::max(grid->GetScrollLineY(), 1);
            grid->Scroll(0, static_cast<int>(at - rows.begin()) * grid->GetDefaultRowSize() / line);
        }
    } else if (auto_scroll() && !rows.empty()) {
        grid->MakeCellVisible(static_cast<int>(rows.size()) - 1, 0);
    }
}

std::string BigEventDashBoard::csv_line(const std::vector<std::string>& fields)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        const std::string& field = fields[i];
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            line += field;
            continue;
        }
        line += '"';
        for (char c : field) {
            if (c == '"')
                line += '"';
            line += c;
        }
        line += '"';
    }
    line += "\r\n";
    return line;
}

bool BigEventDashBoard::export_history_csv(const wxString& path) const
{
    const auto& labels = ovk_wxctrls::BigEventDashBoard::history_column_labels;
    std::string out = csv_line({labels[0], labels[1], labels[2]});
    auto add = [&out](const wxString (&cells)[3]) {
        out += csv_line({cells[0].utf8_string(), cells[1].utf8_string(), cells[2].utf8_string()});
    };
    if (keeps_history()) {
        if (dropped_rows_ > 0)
            add(dropped_entry().cells);
        for (const HistoryEntry& entry : kept_)
            add(entry.cells);
    } else {
        const wxGrid* grid = ui_grid_error_history;
        for (int r = 0; r < grid->GetNumberRows(); ++r) {
            const wxString cells[3] = {grid->GetCellValue(r, 0), grid->GetCellValue(r, 1), grid->GetCellValue(r, 2)};
            add(cells);
        }
    }
    std::ofstream file(path.utf8_string(), std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    file.close();
    return !file.fail();
}

void BigEventDashBoard::on_shelf_timer(wxTimerEvent&)
{
    bool still_shelved = false;
    if (state_->expire_shelves(still_shelved))
        update();
    if (!still_shelved)
        shelf_timer_.Stop();
}

}  // namespace ovk_wxtools
