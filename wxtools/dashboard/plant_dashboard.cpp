#include "wxtools/dashboard/plant_dashboard.h"

#include "wxtools/dashboard/detail/remote_history_list.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>
#include <map>

namespace ovk_wxtools {

namespace {

wxListCtrl* report_list(wxWindow* parent, const std::vector<std::pair<const char*, int>>& columns)
{
    auto* list = new wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_SINGLE_SEL);
    for (const auto& [label, width] : columns)
        list->AppendColumn(wxString::FromUTF8(label), wxLIST_FORMAT_LEFT, width);
    return list;
}

// Sets row `row` of `list` to `cells`, adding the row when it is new.
void set_row(wxListCtrl* list, long row, const std::vector<std::string>& cells)
{
    if (row >= list->GetItemCount())
        list->InsertItem(row, wxString());
    for (std::size_t col = 0; col < cells.size(); ++col)
        if (list->GetItemText(row, static_cast<int>(col)) != wxString::FromUTF8(cells[col]))
            list->SetItem(row, static_cast<long>(col), wxString::FromUTF8(cells[col]));
}

void trim_rows(wxListCtrl* list, long rows)
{
    while (list->GetItemCount() > rows)
        list->DeleteItem(list->GetItemCount() - 1);
}

std::string alarm_state(const JournalAlarm& alarm, bool online)
{
    std::string state = alarm.acknowledged ? "acknowledged" : "unacknowledged";
    if (alarm.shelved_until && *alarm.shelved_until > std::chrono::system_clock::now())
        state = "shelved";
    if (!online)
        state += ", station offline";
    return state;
}

}  // namespace

PlantDashboard::PlantDashboard(wxWindow* parent, const PlantDashboardOptions& options)
    : wxPanel(parent, wxID_ANY), options_(options)
{
    ui_stations = report_list(this, {{"Station", 130}, {"State", 70}, {"Active alarms", 90}});
    ui_stations->SetMinSize(wxSize(300, -1));
    ui_alarms = report_list(this, {{"Station", 110}, {"Alarm", 210}, {"Level", 60}, {"Since", 140},
                                   {"Raised", 55}, {"State", 180}});
    history_ = new detail::RemoteHistoryList(this, options_.history_rows);
    ui_history = history_;
    ui_acknowledge = new wxButton(this, wxID_ANY, wxS("Acknowledge"));
    ui_acknowledge_all = new wxButton(this, wxID_ANY, wxS("Acknowledge all"));
    ui_acknowledge->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { acknowledge_selected(); });
    ui_acknowledge_all->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { acknowledge_all(); });

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(ui_stations, 0, wxEXPAND | wxRIGHT, 5);
    top->Add(ui_alarms, 1, wxEXPAND);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(ui_acknowledge, 0, wxRIGHT, 5);
    buttons->Add(ui_acknowledge_all, 0);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(top, 1, wxEXPAND | wxALL, 5);
    sizer->Add(buttons, 0, wxLEFT | wxRIGHT | wxBOTTOM, 5);
    sizer->Add(new wxStaticText(this, wxID_ANY, wxS("History")), 0, wxLEFT, 5);
    sizer->Add(history_, 1, wxEXPAND | wxALL, 5);
    SetSizer(sizer);

    if (!options_.journal.empty()) {
        journal_ = std::make_shared<AlarmJournal>(options_.journal, options_.journal_options);
        if (journal_->problem().empty()) {
            JournalQuery last;
            last.limit = options_.history_rows;
            last.newest_first = true;
            std::vector<JournalEntry> rows = journal_->query(last);
            std::reverse(rows.begin(), rows.end());
            history_->add(std::move(rows));
        } else {
            JournalEntry said;
            said.time = std::chrono::system_clock::now();
            said.text = journal_->problem();
            history_->add({said});
            journal_.reset();
        }
    }
    subscriber_ = std::make_unique<AlarmSubscriber>(options_.mqtt, journal_);
    auto post = [this] {
        if (!refresh_posted_.exchange(true))
            CallAfter([this] { refresh(); });
    };
    subscriber_->on_change(post);
    // What arrived before the call was set shows too.
    post();
}

PlantDashboard::~PlantDashboard()
{
    // Its thread ends here: nothing posts to this window afterwards.
    subscriber_.reset();
}

void PlantDashboard::refresh()
{
    refresh_posted_ = false;
    const std::vector<RemoteStation> stations = subscriber_->stations();
    std::map<std::string, bool> online;
    for (std::size_t n = 0; n < stations.size(); ++n) {
        const RemoteStation& station = stations[n];
        online[station.name] = station.online;
        set_row(ui_stations, static_cast<long>(n),
                {station.name, station.online ? "online" : "offline", std::to_string(station.active)});
    }
    trim_rows(ui_stations, static_cast<long>(stations.size()));

    const long selected = ui_alarms->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    std::optional<std::pair<std::string, std::string>> keep;
    if (selected >= 0 && static_cast<std::size_t>(selected) < listed_.size())
        keep = {listed_[selected].station, listed_[selected].code};
    listed_ = subscriber_->alarms();
    for (std::size_t n = 0; n < listed_.size(); ++n) {
        const JournalAlarm& alarm = listed_[n];
        const auto level = spdlog::level::to_string_view(alarm.level);
        set_row(ui_alarms, static_cast<long>(n),
                {alarm.station, alarm.code, std::string(level.data(), level.size()),
                 detail::local_time_text(alarm.first_raised), std::to_string(alarm.times_raised),
                 alarm_state(alarm, online[alarm.station])});
        const bool was = keep && keep->first == alarm.station && keep->second == alarm.code;
        ui_alarms->SetItemState(static_cast<long>(n), was ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
    }
    trim_rows(ui_alarms, static_cast<long>(listed_.size()));
    history_->add(subscriber_->take_events());
}

bool PlantDashboard::acknowledge_selected()
{
    const long selected = ui_alarms->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    if (selected < 0 || static_cast<std::size_t>(selected) >= listed_.size())
        return false;
    return subscriber_->acknowledge(listed_[selected].station, listed_[selected].code);
}

std::size_t PlantDashboard::acknowledge_all()
{
    std::map<std::string, bool> online;
    for (const RemoteStation& station : subscriber_->stations())
        online[station.name] = station.online;
    std::size_t asked = 0;
    for (const JournalAlarm& alarm : subscriber_->alarms())
        if (!alarm.acknowledged && online[alarm.station] && subscriber_->acknowledge(alarm.station, alarm.code))
            ++asked;
    return asked;
}

}  // namespace ovk_wxtools
