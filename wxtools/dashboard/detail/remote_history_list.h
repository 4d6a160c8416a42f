#pragma once
// The control room's history: the changes of every station, newest last, in
// a virtual list that asks only for the rows it draws.
#include "wxtools/dashboard/journal_entry.h"

#include <wx/listctrl.h>

#include <deque>
#include <vector>

namespace ovk_wxtools::detail {

class RemoteHistoryList final : public wxListCtrl {
public:
    // Columns: Time, Station, Change, Alarm, Identity or text.
    RemoteHistoryList(wxWindow* parent, std::size_t cap);

    // Appends `entries` and scrolls to the newest when the view was at the end.
    void add(std::vector<JournalEntry> entries);
    std::size_t rows() const { return rows_.size(); }
    const JournalEntry& row(std::size_t n) const { return rows_.at(n); }
    // Cell `col` of row `n` as shown.
    wxString cell(long n, long col) const;

private:
    wxString OnGetItemText(long item, long column) const override { return cell(item, column); }

    std::size_t cap_;
    std::deque<JournalEntry> rows_;
};

// How a change is named in the history: "raised", "GOOD", "ACK", ...
const char* change_name(const JournalEntry& entry);
// Local date and time, "2024-05-01 10:42:07", whatever the locale.
std::string local_time_text(std::chrono::system_clock::time_point at);

}  // namespace ovk_wxtools::detail
