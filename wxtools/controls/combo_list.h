#pragma once
// ComboList<T>: keeps a list, combo or choice control and a list of the
// caller's objects in step, one line of text per object, so that selections
// are answered with objects instead of positions.
//
// T may be any movable type; it needs no default constructor, and a copy
// only where an object is copied in (Append(const T&), AppendItems of a
// list that stays the caller's). The pointers that GetSelection,
// GetSelections and GetObject answer point into `objects`: like pointers into
// a std::vector, they stay valid only until the list changes (Append, Insert,
// Delete, DeleteSelections, Clear, or any change of `objects`).
#include "wxtools/text.h"

#include <wx/arrstr.h>
#include <wx/ctrlsub.h>
#include <wx/string.h>

#include <algorithm>
#include <concepts>
#include <cstddef>
#include <exception>
#include <functional>
#include <initializer_list>
#include <ranges>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace ovk_wxtools {

// The default formatting callback: the object is itself the text to show.
// Narrow texts (const char*, std::string) are read as UTF-8.
template <text_like T>
wxString _simple_get_info(const T& obj)
{
    return to_wxstring(obj);
}

namespace combo_list_detail {

// What a control says is selected: one position (-1 for nothing), or a list
// of positions for a list box with multiple selection, which refuses to
// answer with a single position.
using SelectionAnswer = std::variant<int, std::vector<int>>;

SelectionAnswer selection_answer(const wxItemContainer* control);

// Every position the control reports as selected, for controls with and
// without multiple selection.
std::vector<int> selected_positions(const wxItemContainer* control);

// Throws TypeError for a control that sorts its items (wxLB_SORT, wxCB_SORT):
// it would show them in another order than the objects are kept.
void check_unsorted(const wxItemContainer* control);

// Throws LookupError unless 0 <= index < count (or <= count when `inclusive`).
void check_position(const char* operation, int index, std::size_t count, bool inclusive = false);

}  // namespace combo_list_detail

template <class T>
class ComboList {
public:
    using InfoMethod = std::function<wxString(const T&)>;

    // Shows each object as itself; T must be a text (narrow ones are UTF-8).
    explicit ComboList(wxItemContainer* control)
        requires text_like<T>
        : control(control), get_info_method(&_simple_get_info<T>), shows_itself(std::same_as<T, wxString>)
    {
        combo_list_detail::check_unsorted(control);
    }

    ComboList(wxItemContainer* control, InfoMethod get_info_method)
        : control(control), get_info_method(std::move(get_info_method))
    {
        combo_list_detail::check_unsorted(control);
    }

    virtual ~ComboList() = default;
    ComboList(const ComboList&) = delete;
    ComboList& operator=(const ComboList&) = delete;
    ComboList(ComboList&&) = default;
    ComboList& operator=(ComboList&&) = default;

    // The wrapped control; it belongs to the caller.
    wxItemContainer* control;

private:
    InfoMethod get_info_method;

public:
    // The caller's objects, entry i shown at position i of the control.
    std::vector<T> objects;

    std::size_t size() const { return objects.size(); }
    bool empty() const { return objects.empty(); }

    void Append(const T& obj)
    {
        const wxString text = GetInfo(obj);
        control->Append(text);
        objects.push_back(obj);
    }
    // Adds `obj` at the end, moved in rather than copied.
    void Append(T&& obj)
    {
        const wxString text = GetInfo(obj);
        control->Append(text);
        objects.push_back(std::move(obj));
    }

    // Same result as one Append per object, in order, but the control gets the
    // texts in one call. A container handed over as a temporary
    // (AppendItems(std::move(batch))) gives up its objects instead of copies. If the callback fails on an object, the objects before
    // it are still added, as they would have been one by one.
    template <std::ranges::input_range R>
        requires std::convertible_to<std::ranges::range_reference_t<R>, const T&>
    void AppendItems(R&& items)
    {
        add_items(std::forward<R>(items), static_cast<int>(control->GetCount()), false);
    }
    void AppendItems(std::initializer_list<T> items) { AppendItems(std::views::all(items)); }

    void Insert(const T& obj, int index)
    {
        combo_list_detail::check_position("Insert", index, control->GetCount(), true);
        const wxString text = GetInfo(obj);
        control->Insert(text, static_cast<unsigned>(index));
        objects.insert(objects.begin() + index, obj);
    }
    // Inserts `obj` at position `index`, moved in rather than copied; LookupError outside 0 .. size().
    void Insert(T&& obj, int index)
    {
        combo_list_detail::check_position("Insert", index, control->GetCount(), true);
        const wxString text = GetInfo(obj);
        control->Insert(text, static_cast<unsigned>(index));
        objects.insert(objects.begin() + index, std::move(obj));
    }

    // The objects end up consecutive, the first at `index`, as if each were
    // inserted at index + i.
    template <std::ranges::input_range R>
        requires std::convertible_to<std::ranges::range_reference_t<R>, const T&>
    void InsertItems(R&& items, int index)
    {
        combo_list_detail::check_position("InsertItems", index, control->GetCount(), true);
        add_items(std::forward<R>(items), index, true);
    }
    void InsertItems(std::initializer_list<T> items, int index) { InsertItems(std::views::all(items), index); }

    void Delete(int index)
    {
        combo_list_detail::check_position("Delete", index, control->GetCount());
        control->Delete(static_cast<unsigned>(index));
        objects.erase(objects.begin() + index);
    }

    // Deletes from the highest position down, so no deletion shifts a
    // position still to be deleted.
    void DeleteSelections()
    {
        std::vector<int> positions = combo_list_detail::selected_positions(control);
        std::sort(positions.begin(), positions.end(), std::greater<int>());
        for (int p : positions)
            Delete(p);
    }

    void Clear()
    {
        control->Clear();
        objects.clear();
    }

    T* GetSelection() { return const_cast<T*>(std::as_const(*this).GetSelection()); }
    const T* GetSelection() const
    {
        const int index = GetSelectionIndex();
        return index < 0 ? nullptr : GetObject(index);
    }

    std::vector<T*> GetSelections()
    {
        std::vector<T*> result;
        for (int index : GetSelectionIndexes())
            result.push_back(&objects.at(static_cast<std::size_t>(index)));
        return result;
    }
    std::vector<const T*> GetSelections() const
    {
        std::vector<const T*> result;
        for (int index : GetSelectionIndexes())
            result.push_back(&objects.at(static_cast<std::size_t>(index)));
        return result;
    }

    int GetSelectionIndex() const
    {
        const auto answer = combo_list_detail::selection_answer(control);
        if (const int* single = std::get_if<int>(&answer))
            return *single;
        const auto& list = std::get<std::vector<int>>(answer);
        return list.empty() ? -1 : list.front();
    }

    std::vector<int> GetSelectionIndexes() const
    {
        auto answer = combo_list_detail::selection_answer(control);
        if (const int* single = std::get_if<int>(&answer))
            return *single == -1 ? std::vector<int>{} : std::vector<int>{*single};
        return std::get<std::vector<int>>(std::move(answer));
    }

    // The object at `index`, or nullptr outside 0 .. size() - 1.
    T* GetObject(int index) { return const_cast<T*>(std::as_const(*this).GetObject(index)); }
    const T* GetObject(int index) const
    {
        if (index < 0 || static_cast<std::size_t>(index) >= objects.size())
            return nullptr;
        return &objects[static_cast<std::size_t>(index)];
    }

    // Shows the text of the object at `index` again, after the object changed
    // in place; the selection stays. LookupError outside 0 .. size() - 1.
    void Update(int index)
    {
        combo_list_detail::check_position("Update", index, objects.size());
        control->SetString(static_cast<unsigned>(index), GetInfo(objects[static_cast<std::size_t>(index)]));
    }

    // The position of the first object for which `pred` holds, or -1.
    template <std::predicate<const T&> Pred>
    int FindIf(Pred pred) const
    {
        const auto at = std::find_if(objects.begin(), objects.end(), std::ref(pred));
        return at == objects.end() ? -1 : static_cast<int>(at - objects.begin());
    }

    // -1 removes the selection.
    virtual void SetSelection(int index)
    {
        if (index != -1)
            combo_list_detail::check_position("SetSelection", index, control->GetCount());
        control->SetSelection(index);
    }

    void ClearSelection() { SetSelection(-1); }

private:
    // Texts shown as themselves need no second copy for the control.
    bool shows_itself = false;

    wxString GetInfo(const T& obj) const { return get_info_method(obj); }

    // Forms every text before touching the control, which then takes them
    // in one call; on a failing callback the objects formed so far are still
    // added, then the error goes on.
    template <class R>
    void add_items(R&& items, int index, bool insert)
    {
        std::vector<wxString> texts;
        std::vector<T> added;
        if constexpr (std::ranges::sized_range<R>) {
            if (!shows_itself)
                texts.reserve(std::ranges::size(items));
            if (insert)
                added.reserve(std::ranges::size(items));
            else
                objects.reserve(objects.size() + std::ranges::size(items));
        }
        // Appended objects go straight to the end of the list, inserted ones wait.
        std::vector<T>& target = insert ? added : objects;
        const std::size_t old_size = objects.size();
        std::exception_ptr failure;
        try {
            for (auto&& item : items) {
                if (!shows_itself)
                    texts.push_back(GetInfo(item));
                // A container handed over as a temporary (not a view) gives up its elements.
                if constexpr (!std::is_lvalue_reference_v<R> && !std::ranges::view<std::remove_cvref_t<R>>)
                    target.push_back(std::move(item));
                else
                    target.push_back(item);
            }
        } catch (...) {
            failure = std::current_exception();
            // Keep texts and objects paired whichever of the two failed.
            const std::size_t objects_formed = target.size() - (insert ? 0 : old_size);
            const std::size_t formed = shows_itself ? objects_formed : std::min(texts.size(), objects_formed);
            texts.resize(shows_itself ? 0 : formed);
            target.erase(target.begin() + static_cast<std::ptrdiff_t>((insert ? 0 : old_size) + formed), target.end());
        }
        const std::size_t count = target.size() - (insert ? 0 : old_size);
        const wxString* shown = texts.data();
        if constexpr (std::same_as<T, wxString>) {
            if (shows_itself)
                shown = target.data() + (insert ? 0 : old_size);
        }
        if (count > 0) {
            try {
                if (insert)
                    control->Insert(static_cast<unsigned>(count), shown, static_cast<unsigned>(index));
                else
                    control->Append(static_cast<unsigned>(count), shown);
            } catch (...) {
                objects.erase(objects.begin() + static_cast<std::ptrdiff_t>(old_size), objects.end());
                throw;
            }
            if (insert)
                objects.insert(objects.begin() + index, std::make_move_iterator(added.begin()),
                               std::make_move_iterator(added.end()));
        }
        if (failure)
            std::rethrow_exception(failure);
    }
};

}  // namespace ovk_wxtools
