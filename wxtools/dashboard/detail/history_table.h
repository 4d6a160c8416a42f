#pragma once
// The history grid's rows, as a table the grid reads from: it asks only for
// the cells it draws, so rows cost what the ring keeps of them and nothing in
// the grid. A level filter shows a subset of the kept rows; a capped history
// shows one row first that says how many went.
//
// Grid rows are named across changes by a key: the row's number in the ring,
// or no_key for the dropped-rows row.
#include "wxtools/dashboard/detail/row_ring.h"

#include <wx/grid.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace ovk_wxtools::detail {

class HistoryTable final : public wxGridTableBase {
public:
    static constexpr std::int64_t no_key = -1;

    // `cap` 0 keeps every row.
    explicit HistoryTable(std::size_t cap);
    ~HistoryTable() override;

    // Appends `rows` (moved from) and tells the grid. Answers by how many the
    // rows shown before moved up (rows that went above them, less a new
    // dropped-rows row).
    int add(std::vector<HistoryRow>& rows);
    // Shows log rows at `lowest` and above from now on and tells the grid.
    void set_filter(int lowest);

    std::int64_t key_of(int row) const;
    // The grid row of `key`, or -1 when it does not show.
    int row_of(std::int64_t key) const;
    // The cells of every kept row, the dropped-rows row first, whatever the filter.
    template <class F>
    void for_each_kept(F&& f) const
    {
        if (has_notice())
            f(std::vector<wxString>{dropped_notice_cell(0, dropped_), dropped_notice_cell(1, dropped_),
                                    dropped_notice_cell(2, dropped_)});
        for (std::uint64_t n = ring_.first(); n < ring_.end(); ++n) {
            const HistoryRow& row = ring_.at(n);
            f(std::vector<wxString>{row.cell(0), row.cell(1), row.cell(2)});
        }
    }

    int GetNumberRows() override { return count(); }
    int GetNumberCols() override { return 3; }
    wxString GetValue(int row, int col) override { return value(row, col); }
    void SetValue(int, int, const wxString&) override {}
    bool IsEmptyCell(int row, int col) override { return value(row, col).empty(); }
    wxString GetColLabelValue(int col) override;
    wxGridCellAttr* GetAttr(int row, int col, wxGridCellAttr::wxAttrKind kind) override;

private:
    bool filtering() const { return filter_ > 0; }
    bool has_notice() const { return dropped_ > 0; }
    int count() const;
    // The kept row behind grid row `row`; nullptr for the dropped-rows row and past the end.
    const HistoryRow* row_at(int row) const;
    wxString value(int row, int col) const;
    void notify(int message, int pos, int rows);

    RowRing ring_;
    std::size_t dropped_ = 0;
    int filter_ = 0;
    // While filtering: the numbers of the rows that pass, oldest first.
    std::deque<std::uint64_t> shown_;
    // One attribute per background colour, a handful.
    std::vector<wxGridCellAttr*> attrs_;
};

}  // namespace ovk_wxtools::detail
