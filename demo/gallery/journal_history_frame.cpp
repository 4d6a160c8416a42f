#include "demo/gallery/journal_history_frame.h"

#include "platform/handy/timestamp.h"
#include "wxtools/wxtools.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/filedlg.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace ovk_gallery {

using namespace ovk_wxtools;

namespace {

struct Span {
    const char* label;
    std::chrono::minutes length;  // zero: everything
};
const Span spans[] = {{"Last 10 minutes", std::chrono::minutes(10)},
                      {"Last hour", std::chrono::minutes(60)},
                      {"Last day", std::chrono::minutes(24 * 60)},
                      {"Everything", std::chrono::minutes(0)}};
const spdlog::level::level_enum levels[] = {spdlog::level::trace, spdlog::level::warn, spdlog::level::err,
                                            spdlog::level::critical};
const char* const level_labels[] = {"All levels", "WARNING and up", "ERROR and up", "CRITICAL only"};
const char* const kind_labels[] = {"log", "raise", "repeat", "release", "clear", "acknowledge", "shelve", "all clear"};
constexpr std::size_t most_rows = 10000;

std::string figures_text(const JournalFigures& f)
{
    std::size_t raises = 0, busiest = 0;
    for (std::size_t n : f.per_10_minutes) {
        raises += n;
        busiest = std::max(busiest, n);
    }
    std::string text = "Alarms raised: " + std::to_string(raises) + "; busiest 10 minutes: " + std::to_string(busiest) +
                       "; flood periods: " + std::to_string(f.floods.size()) +
                       "; chattering alarms: " + std::to_string(f.chattering.size()) + ".\n";
    text += "Most frequent:";
    for (std::size_t i = 0; i < f.most_frequent.size() && i < 3; ++i)
        text += " " + f.most_frequent[i].code + " (" + std::to_string(f.most_frequent[i].raises) + ")";
    text += ". Acknowledged: " + std::to_string(f.acknowledged);
    if (f.acknowledged > 0)
        text += ", median after " + std::to_string(f.acknowledge_median.count() / 1000) + " s, longest " +
                std::to_string(f.acknowledge_max.count() / 1000) + " s";
    return text + ".";
}

}  // namespace

JournalHistoryFrame::JournalHistoryFrame(wxWindow* parent, std::shared_ptr<AlarmJournal> journal)
    : wxFrame(parent, wxID_ANY, wxS("Alarm history"), wxDefaultPosition, wxSize(980, 560)), journal_(std::move(journal))
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* filters = new wxBoxSizer(wxHORIZONTAL);
    span_ = new wxChoice(this, wxID_ANY);
    for (const Span& s : spans)
        span_->Append(wxString::FromUTF8(s.label));
    span_->SetSelection(1);
    level_ = new wxChoice(this, wxID_ANY);
    for (const char* label : level_labels)
        level_->Append(wxString::FromUTF8(label));
    level_->SetSelection(0);
    station_ = new wxTextCtrl(this, wxID_ANY);
    code_ = new wxTextCtrl(this, wxID_ANY);
    text_ = new wxTextCtrl(this, wxID_ANY);
    station_->SetHint(wxS("station"));
    code_->SetHint(wxS("code"));
    text_->SetHint(wxS("text contains"));
    auto* find = new wxButton(this, wxID_ANY, wxS("Search"));
    auto* csv = new wxButton(this, wxID_ANY, wxString::FromUTF8("Export CSV…"));
    for (wxWindow* w : std::initializer_list<wxWindow*>{span_, station_, code_, level_, text_, find, csv})
        filters->Add(w, 0, wxALL | wxALIGN_CENTER_VERTICAL, 4);
    sizer->Add(filters, 0, wxALL, 4);
    found_ = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT);
    const char* const columns[] = {"Time", "Station", "Code", "Identity", "Level", "Kind", "Text"};
    const int widths[] = {190, 80, 130, 80, 80, 90, 300};
    for (int c = 0; c < 7; ++c)
        found_->AppendColumn(wxString::FromUTF8(columns[c]), wxLIST_FORMAT_LEFT, widths[c]);
    sizer->Add(found_, 1, wxLEFT | wxRIGHT | wxEXPAND, 8);
    figures_ = new wxStaticText(this, wxID_ANY, wxString());
    sizer->Add(figures_, 0, wxALL | wxEXPAND, 8);
    SetSizer(sizer);
    find->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { search(); });
    csv->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { export_csv(); });
    search();
}

JournalQuery JournalHistoryFrame::query() const
{
    JournalQuery q;
    const Span& span = spans[std::max(span_->GetSelection(), 0)];
    if (span.length.count() > 0)
        q.from = std::chrono::system_clock::now() - span.length;
    auto text_of = [](const wxTextCtrl* field) -> std::optional<std::string> {
        const std::string value = field->GetValue().utf8_string();
        return value.empty() ? std::nullopt : std::optional<std::string>(value);
    };
    q.station = text_of(station_);
    q.code = text_of(code_);
    q.text = text_of(text_);
    if (level_->GetSelection() > 0)
        q.lowest_level = levels[level_->GetSelection()];
    q.limit = most_rows;
    q.newest_first = true;
    return q;
}

void JournalHistoryFrame::search()
{
    const JournalQuery q = query();
    const auto entries = journal_->query(q);
    found_->Freeze();
    found_->DeleteAllItems();
    for (const JournalEntry& e : entries) {
        const long row = found_->InsertItem(found_->GetItemCount(), wxString::FromUTF8(ovk_handy::timestamp(e.time)));
        const std::string cells[] = {e.station, e.code, e.identity, level_name(e.level),
                                     kind_labels[static_cast<int>(e.kind)], e.text};
        for (int c = 0; c < 6; ++c)
            found_->SetItem(row, c + 1, from_utf8(cells[c]));
    }
    found_->Thaw();
    const auto to = std::chrono::system_clock::now();
    const auto from = q.from.value_or(entries.empty() ? to : entries.back().time);
    figures_->SetLabel(from_utf8(figures_text(journal_figures(*journal_, from, to))));
    Layout();
}

void JournalHistoryFrame::export_csv()
{
    wxFileDialog ask(this, wxS("Export alarm history"), wxString(), wxS("alarm-history.csv"),
                     wxS("CSV files (*.csv)|*.csv"), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (ask.ShowModal() != wxID_OK)
        return;
    JournalQuery q = query();
    q.limit = 0;
    q.newest_first = false;
    if (!journal_->export_csv(q, ask.GetPath().utf8_string()))
        MB::Error(wxS("Could not write ") + ask.GetPath());
}

}  // namespace ovk_gallery
