#pragma once
// RowGrid<T>: keeps a wxGrid and a list of the caller's objects in step, one
// object per row. Row cells come from the object itself when it is a
// std::vector, std::array, std::pair or std::tuple, otherwise from the
// formatting callback; an optional colour callback colours the rows.
// The caller sets up the grid's columns; RowGrid only adds and removes rows.
//
// T may be any movable type; it needs no default constructor, and a copy
// only where an object is copied in (Append(const T&), AppendItems of a
// list that stays the caller's). The pointers that GetSelection and
// GetSelections answer point into `objects`: like pointers into a
// std::vector, they stay valid only until the rows change (Append, Insert,
// Delete, DeleteSelections, Clear, or any change of `objects`).
#include "wxtools/controls/cell_value.h"

#include <wx/colour.h>
#include <wx/grid.h>

#include <algorithm>
#include <array>
#include <concepts>
#include <cstddef>
#include <exception>
#include <functional>
#include <initializer_list>
#include <optional>
#include <ranges>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace ovk_wxtools {

// The values of one row as a formatting callback returns them: {name, count, 2.5}.
using RowValues = std::vector<CellValue>;

namespace row_grid_detail {

template <class T>
inline constexpr bool is_row = false;
template <class V, class A>
inline constexpr bool is_row<std::vector<V, A>> = true;
template <class V, std::size_t N>
inline constexpr bool is_row<std::array<V, N>> = true;
template <class A, class B>
inline constexpr bool is_row<std::pair<A, B>> = true;
template <class... V>
inline constexpr bool is_row<std::tuple<V...>> = true;

// A row position: any integer, but not bool nor a character.
template <class I>
concept row_index = std::integral<I> && !std::same_as<I, bool> && !cell_value_detail::character<I> &&
                    !std::same_as<I, signed char> && !std::same_as<I, unsigned char>;

template <class R>
concept row_index_list = std::ranges::input_range<R> && row_index<std::ranges::range_value_t<R>>;

void check_row(const char* operation, int row, int count, bool inclusive = false);
[[noreturn]] void no_row_values();
[[noreturn]] void too_few_values(std::size_t values, int columns);

}  // namespace row_grid_detail

// The cell text of a value, without a copy when it is text already.
template <class V>
decltype(auto) cell_text_of(const V& value)
{
    if constexpr (std::same_as<V, wxString>)
        return (value);
    else if constexpr (std::same_as<V, CellValue>)
        return (value.text());
    else
        return cell_text(value);
}

// Hands the cell text of each value of a row-like object to `each(column, text)`
// in column order, while `each` answers true. Answers the number of values.
template <class R, class F>
    requires row_grid_detail::is_row<R>
std::size_t for_each_cell_text(const R& row, F&& each)
{
    if constexpr (std::ranges::range<R>) {
        std::size_t col = 0;
        for (const auto& value : row) {
            if (!each(col, cell_text_of(value)))
                break;
            ++col;
        }
        return std::size(row);
    } else {
        std::apply(
            [&](const auto&... values) {
                std::size_t col = 0;
                (void)(each(col++, cell_text_of(values)) && ...);
            },
            row);
        return std::tuple_size_v<R>;
    }
}

template <class T>
class RowGrid {
public:
    using InfoMethod = std::function<RowValues(const T&)>;
    // Answers a row's background, or wxNullColour for none; asked with the row's object.
    using BgMethod = std::function<wxColour(const T&)>;

    // Puts the grid into whole-row selection at once. The grid must have no rows.
    explicit RowGrid(wxGrid* control, InfoMethod get_info_method = nullptr, BgMethod get_bg = nullptr)
        : control(control), get_info_method(std::move(get_info_method)), GetBG(std::move(get_bg))
    {
        control->SetSelectionMode(wxGrid::wxGridSelectRows);
    }

    virtual ~RowGrid() = default;
    RowGrid(const RowGrid&) = delete;
    RowGrid& operator=(const RowGrid&) = delete;
    RowGrid(RowGrid&&) = default;
    RowGrid& operator=(RowGrid&&) = default;

    // The wrapped grid; it belongs to the caller.
    wxGrid* control;

private:
    InfoMethod get_info_method;
    BgMethod GetBG;

public:
    // The caller's objects, entry i shown in row i.
    std::vector<T> objects;

    std::size_t size() const { return objects.size(); }
    bool empty() const { return objects.empty(); }

    void Clear()
    {
        const int rows = control->GetNumberRows();
        if (rows > 0)
            control->DeleteRows(0, rows);
        // As many objects go, from the end, as the grid had rows: erase, not
        // resize, which would need a default constructor.
        const std::size_t gone = std::min(objects.size(), static_cast<std::size_t>(std::max(rows, 0)));
        objects.erase(objects.end() - static_cast<std::ptrdiff_t>(gone), objects.end());
    }

    // Adds a row, stores the object, then writes every column. An object
    // with fewer values than the grid has columns fails at the first missing
    // column, with the row added and the object stored.
    void Append(const T& item, const wxColour& bg = wxNullColour)
    {
        const int row = static_cast<int>(objects.size());
        control->AppendRows(1);
        objects.push_back(item);
        fill_new_row(row, bg);
    }
    void Append(T&& item, const wxColour& bg = wxNullColour)
    {
        const int row = static_cast<int>(objects.size());
        control->AppendRows(1);
        objects.push_back(std::move(item));
        fill_new_row(row, bg);
    }

    // Same result as one Append per item, in order, each with `bg`. A
    // container handed over as a temporary gives up its objects instead of copies.
    template <std::ranges::input_range R>
        requires std::convertible_to<std::ranges::range_reference_t<R>, const T&>
    void AppendItems(R&& items, const wxColour& bg = wxNullColour)
    {
        wxGridUpdateLocker batch(control);
        if constexpr (std::ranges::sized_range<R>) {
            // The rows are added in one call; should an item fail, the rows
            // meant for the items after it go again.
            const auto count = static_cast<int>(std::ranges::size(items));
            if (count == 0)
                return;
            const int first = static_cast<int>(objects.size());
            control->AppendRows(count);
            objects.reserve(objects.size() + static_cast<std::size_t>(count));
            int row = first;
            try {
                for (auto&& item : items) {
                    // A container handed over as a temporary (not a view) gives up its elements.
                    if constexpr (!std::is_lvalue_reference_v<R> && !std::ranges::view<std::remove_cvref_t<R>>)
                        objects.push_back(std::move(item));
                    else
                        objects.push_back(item);
                    fill_new_row(row++, bg);
                }
            } catch (...) {
                if (row < first + count)
                    control->DeleteRows(row, first + count - row);
                throw;
            }
        } else {
            for (auto&& item : items)
                Append(item, bg);
        }
    }
    void AppendItems(std::initializer_list<T> items, const wxColour& bg = wxNullColour)
    {
        AppendItems(std::views::all(items), bg);
    }

    void Insert(const T& item, int index, const wxColour& bg = wxNullColour)
    {
        row_grid_detail::check_row("Insert", index, control->GetNumberRows(), true);
        control->InsertRows(index, 1);
        objects.insert(objects.begin() + index, item);
        fill_new_row(index, bg);
    }
    // Inserts `item` as row `index`, moved in rather than copied, with `bg` as its background.
    void Insert(T&& item, int index, const wxColour& bg = wxNullColour)
    {
        row_grid_detail::check_row("Insert", index, control->GetNumberRows(), true);
        control->InsertRows(index, 1);
        objects.insert(objects.begin() + index, std::move(item));
        fill_new_row(index, bg);
    }

    // The first item goes to `index`, the next to index + 1, and so on.
    template <std::ranges::input_range R>
        requires std::convertible_to<std::ranges::range_reference_t<R>, const T&>
    void InsertItems(R&& items, int index, const wxColour& bg = wxNullColour)
    {
        wxGridUpdateLocker batch(control);
        for (auto&& item : items)
            Insert(item, index++, bg);
    }
    void InsertItems(std::initializer_list<T> items, int index, const wxColour& bg = wxNullColour)
    {
        InsertItems(std::views::all(items), index, bg);
    }

    void Delete(int index)
    {
        row_grid_detail::check_row("Delete", index, control->GetNumberRows());
        control->DeleteRows(index, 1);
        objects.erase(objects.begin() + index);
    }

    // Deletes from the highest row down, so no deletion shifts a row still to be deleted.
    void DeleteSelections()
    {
        std::vector<int> rows = GetSelectionIndexes();
        std::sort(rows.begin(), rows.end(), std::greater<int>());
        wxGridUpdateLocker batch(control);
        for (int row : rows)
            Delete(row);
    }

    std::vector<T*> GetSelections()
    {
        std::vector<T*> result;
        for (int row : GetSelectionIndexes())
            result.push_back(&objects.at(static_cast<std::size_t>(row)));
        return result;
    }

    T* GetSelection()
    {
        const int row = GetSelectionIndex();
        return row < 0 ? nullptr : &objects.at(static_cast<std::size_t>(row));
    }

    int GetSelectionIndex() const
    {
        const wxArrayInt rows = control->GetSelectedRows();
        return rows.empty() ? -1 : rows.front();
    }

    std::vector<int> GetSelectionIndexes() const
    {
        const wxArrayInt rows = control->GetSelectedRows();
        return std::vector<int>(rows.begin(), rows.end());
    }

    void ClearSelection() { control->ClearSelection(); }

    // Selects row `index` alone.
    void SetSelection(int index)
    {
        row_grid_detail::check_row("SetSelection", index, control->GetNumberRows());
        control->SelectRow(index, false);
    }

    // Rewrites row `index` from its object, or every row for -1. Values beyond
    // the last column are ignored; columns beyond the last value keep their text.
    void Update(int index = -1, const wxColour& bg = wxNullColour)
    {
        if (index == -1) {
            wxGridUpdateLocker batch(control);
            for (std::size_t row = 0; row < objects.size(); ++row)
                update_row(static_cast<int>(row), bg);
        } else {
            update_row(index, bg);
        }
    }

    // Rewrites the given rows in the given order: Update({2, 0}).
    template <row_grid_detail::row_index_list R>
    void Update(R&& rows, const wxColour& bg = wxNullColour)
    {
        wxGridUpdateLocker batch(control);
        for (auto row : rows)
            update_row(static_cast<int>(row), bg);
    }
    void Update(std::initializer_list<int> rows, const wxColour& bg = wxNullColour)
    {
        Update(std::views::all(rows), bg);
    }

    // A row is an integer or a list of integers: Update(2.5), Update("2") or
    // Update(true) do not compile.
    template <class V>
        requires(!row_grid_detail::row_index<V> && !row_grid_detail::row_index_list<V>)
    void Update(const V&, const wxColour& = wxNullColour) = delete;

private:
    // Hands the object's row values, as text, to `each(column, text)` while it
    // answers true; answers the number of values, or nothing when the object
    // has no row values.
    template <class F>
    std::optional<std::size_t> GetInfo(const T& obj, F&& each) const
    {
        if constexpr (row_grid_detail::is_row<T>) {
            return for_each_cell_text(obj, each);
        } else {
            if (!get_info_method)
                return std::nullopt;
            return for_each_cell_text(get_info_method(obj), each);
        }
    }

    // Writes every column of a row just added or inserted. Too few values
    // fail at the first missing column, with the cells before it written.
    void fill_new_row(int row, const wxColour& bg)
    {
        const T& obj = objects[static_cast<std::size_t>(row)];
        const int columns = control->GetNumberCols();
        wxColour known = bg;
        const auto count = GetInfo(obj, [&](std::size_t col, const wxString& text) {
            if (static_cast<int>(col) >= columns)
                return false;
            control->SetCellValue(row, static_cast<int>(col), text);
            colour_cell(row, static_cast<int>(col), known, obj);
            return true;
        });
        if (!count) {
            if (columns > 0)
                row_grid_detail::no_row_values();
        } else if (*count < static_cast<std::size_t>(columns))
            row_grid_detail::too_few_values(*count, columns);
    }

    void update_row(int row, const wxColour& bg)
    {
        row_grid_detail::check_row("Update", row, static_cast<int>(std::min<std::size_t>(objects.size(), control->GetNumberRows())));
        const T& obj = objects[static_cast<std::size_t>(row)];
        wxColour known = bg;
        const auto count = GetInfo(obj, [&](std::size_t col, const wxString& text) {
            // The column count is read afresh: a callback may change the grid.
            if (static_cast<int>(col) >= control->GetNumberCols())
                return false;
            control->SetCellValue(row, static_cast<int>(col), text);
            colour_cell(row, static_cast<int>(col), known, obj);
            return true;
        });
        if (!count)
            row_grid_detail::no_row_values();
    }

    // An explicit colour goes to every cell. Without one, the colour callback
    // is asked and its answer used, and asked again at the next cell for as
    // long as it answers no colour.
    void colour_cell(int row, int col, wxColour& known, const T& obj)
    {
        if (known.IsOk()) {
            control->SetCellBackgroundColour(row, col, known);
        } else if (GetBG) {
            known = GetBG(obj);
            control->SetCellBackgroundColour(row, col, known);
        }
    }
};

}  // namespace ovk_wxtools
