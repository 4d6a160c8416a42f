#include "wxtools/dashboard/detail/history_table.h"

#include "platform/wxctrls/big_event_dash_board.h"

#include <algorithm>

namespace ovk_wxtools::detail {

HistoryTable::HistoryTable(std::size_t cap) : ring_(cap) {}

HistoryTable::~HistoryTable()
{
    for (wxGridCellAttr* attr : attrs_)
        attr->DecRef();
}

int HistoryTable::count() const
{
    const std::size_t rows = filtering() ? shown_.size() : ring_.size();
    return static_cast<int>(rows) + (has_notice() ? 1 : 0);
}

const HistoryRow* HistoryTable::row_at(int row) const
{
    if (row < 0)
        return nullptr;
    std::size_t at = static_cast<std::size_t>(row);
    if (has_notice()) {
        if (at == 0)
            return nullptr;
        --at;
    }
    if (filtering())
        return at < shown_.size() ? &ring_.at(shown_[at]) : nullptr;
    return at < ring_.size() ? &ring_.at(ring_.first() + at) : nullptr;
}

int HistoryTable::add(std::vector<HistoryRow>& rows)
{
    const int before = count();
    const bool had_notice = has_notice();
    std::size_t shown = 0, gone = 0;  // rows shown, and shown rows that went
    for (HistoryRow& row : rows) {
        if (ring_.full()) {
            const std::uint64_t oldest = ring_.first();
            if (!filtering()) {
                ++gone;
            } else if (!shown_.empty() && shown_.front() == oldest) {
                shown_.pop_front();
                ++gone;
            }
            ++dropped_;
        }
        const bool passes = row.passes(filter_);
        const std::uint64_t n = ring_.push(std::move(row));
        if (passes) {
            ++shown;
            if (filtering())
                shown_.push_back(n);
        }
    }
    // Rows shown before that went, rows added less those of them that went too.
    const std::size_t old_rows = static_cast<std::size_t>(before - (had_notice ? 1 : 0));
    const std::size_t old_gone = std::min(gone, old_rows);
    const std::size_t new_rows = shown - (gone - old_gone);
    if (old_gone > 0)
        notify(wxGRIDTABLE_NOTIFY_ROWS_DELETED, had_notice ? 1 : 0, static_cast<int>(old_gone));
    if (has_notice() && !had_notice)
        notify(wxGRIDTABLE_NOTIFY_ROWS_INSERTED, 0, 1);
    if (new_rows > 0)
        notify(wxGRIDTABLE_NOTIFY_ROWS_APPENDED, static_cast<int>(new_rows), 0);
    return static_cast<int>(old_gone) - (has_notice() && !had_notice ? 1 : 0);
}

void HistoryTable::set_filter(int lowest)
{
    const int before = count();
    filter_ = std::max(lowest, 0);
    shown_.clear();
    if (filtering())
        for (std::uint64_t n = ring_.first(); n < ring_.end(); ++n)
            if (ring_.at(n).passes(filter_))
                shown_.push_back(n);
    if (before > 0)
        notify(wxGRIDTABLE_NOTIFY_ROWS_DELETED, 0, before);
    if (count() > 0)
        notify(wxGRIDTABLE_NOTIFY_ROWS_APPENDED, count(), 0);
}

std::int64_t HistoryTable::key_of(int row) const
{
    if (has_notice() && row == 0)
        return no_key;
    const HistoryRow* kept = row_at(row);
    if (!kept)
        return no_key - 1;
    const std::size_t at = static_cast<std::size_t>(row - (has_notice() ? 1 : 0));
    return static_cast<std::int64_t>(filtering() ? shown_[at] : ring_.first() + at);
}

int HistoryTable::row_of(std::int64_t key) const
{
    const int offset = has_notice() ? 1 : 0;
    if (key == no_key)
        return has_notice() ? 0 : -1;
    if (key < static_cast<std::int64_t>(ring_.first()) || key >= static_cast<std::int64_t>(ring_.end()))
        return -1;
    const auto n = static_cast<std::uint64_t>(key);
    if (!filtering())
        return static_cast<int>(n - ring_.first()) + offset;
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), n);
    return at != shown_.end() && *at == n ? static_cast<int>(at - shown_.begin()) + offset : -1;
}

wxString HistoryTable::value(int row, int col) const
{
    if (has_notice() && row == 0)
        return dropped_notice_cell(col, dropped_);
    const HistoryRow* kept = row_at(row);
    return kept ? kept->cell(col) : wxString();
}

wxString HistoryTable::GetColLabelValue(int col)
{
    const auto& labels = ovk_wxctrls::BigEventDashBoard::history_column_labels;
    return col >= 0 && col < 3 ? wxString::FromUTF8(labels[col]) : wxString();
}

wxGridCellAttr* HistoryTable::GetAttr(int row, int col, wxGridCellAttr::wxAttrKind kind)
{
    if (col != 0 || (kind != wxGridCellAttr::Any && kind != wxGridCellAttr::Cell))
        return wxGridTableBase::GetAttr(row, col, kind);
    wxColour colour;
    if (has_notice() && row == 0)
        colour = dropped_notice_colour();
    else if (const HistoryRow* kept = row_at(row))
        colour = kept->colour();
    else
        return wxGridTableBase::GetAttr(row, col, kind);
    auto found = std::find_if(attrs_.begin(), attrs_.end(),
                              [&](wxGridCellAttr* attr) { return attr->GetBackgroundColour() == colour; });
    wxGridCellAttr* attr = found != attrs_.end() ? *found : nullptr;
    if (!attr) {
        attr = new wxGridCellAttr;
        attr->SetBackgroundColour(colour);
        attrs_.push_back(attr);
    }
    attr->IncRef();
    return attr;
}

void HistoryTable::notify(int message, int pos, int rows)
{
    if (wxGrid* grid = GetView()) {
        wxGridTableMessage note(this, message, pos, rows);
        grid->ProcessTableMessage(note);
    }
}

}  // namespace ovk_wxtools::detail
