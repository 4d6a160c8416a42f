#include "wxtools/dashboard/detail/remote_history_list.h"

#include <spdlog/common.h>

#include <cstdio>
#include <ctime>

namespace ovk_wxtools::detail {

const char* change_name(const JournalEntry& entry)
{
    using K = JournalEntry::Kind;
    switch (entry.kind) {
    case K::raise: return "raised";
    case K::repeat: return "raised again";
    case K::release: return "released";
    case K::clear: return "GOOD";
    case K::acknowledge: return "ACK";
    case K::shelve: return "SHELVED";
    case K::all_clear: return "All Clear";
    case K::log: break;
    }
    return spdlog::level::to_string_view(entry.level).data();
}

std::string local_time_text(std::chrono::system_clock::time_point at)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(at);
    std::tm parts{};
    localtime_r(&t, &parts);
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", parts.tm_year + 1900, parts.tm_mon + 1,
                  parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    return text;
}

RemoteHistoryList::RemoteHistoryList(wxWindow* parent, std::size_t cap)
    : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL),
      cap_(cap == 0 ? 1 : cap)
{
    const char* labels[] = {"Time", "Station", "Change", "Alarm", "Identity / text"};
    const int widths[] = {150, 110, 90, 200, 200};
    for (int col = 0; col < 5; ++col)
        AppendColumn(wxString::FromUTF8(labels[col]), wxLIST_FORMAT_LEFT, widths[col]);
}

void RemoteHistoryList::add(std::vector<JournalEntry> entries)
{
    if (entries.empty())
        return;
    const long count = GetItemCount();
    const bool at_end = count == 0 || GetTopItem() + GetCountPerPage() >= count;
    for (JournalEntry& entry : entries)
        rows_.push_back(std::move(entry));
    while (rows_.size() > cap_)
        rows_.pop_front();
    SetItemCount(static_cast<long>(rows_.size()));
    Refresh();
    if (at_end)
        EnsureVisible(static_cast<long>(rows_.size()) - 1);
}

wxString RemoteHistoryList::cell(long n, long col) const
{
    if (n < 0 || static_cast<std::size_t>(n) >= rows_.size())
        return wxString();
    const JournalEntry& entry = rows_[static_cast<std::size_t>(n)];
    switch (col) {
    case 0: return wxString::FromUTF8(local_time_text(entry.time));
    case 1: return wxString::FromUTF8(entry.station);
    case 2: return wxString::FromUTF8(change_name(entry));
    case 3: return wxString::FromUTF8(entry.code);
    default: return wxString::FromUTF8(entry.kind == JournalEntry::Kind::log ? entry.text : entry.identity);
    }
}

}  // namespace ovk_wxtools::detail
