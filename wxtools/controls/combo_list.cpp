#include "wxtools/controls/combo_list.h"

#include "wxtools/errors.h"

#include <wx/listbox.h>

#include <string>

namespace ovk_wxtools::combo_list_detail {

namespace {

const wxListBox* multiple_selection_list(const wxItemContainer* control)
{
    const auto* list = dynamic_cast<const wxListBox*>(control);
    return list && list->HasMultipleSelection() ? list : nullptr;
}

std::vector<int> list_selections(const wxListBox* list)
{
    wxArrayInt selections;
    list->GetSelections(selections);
    return std::vector<int>(selections.begin(), selections.end());
}

}  // namespace

SelectionAnswer selection_answer(const wxItemContainer* control)
{
    if (const wxListBox* list = multiple_selection_list(control))
        return list_selections(list);
    return control->GetSelection();
}

std::vector<int> selected_positions(const wxItemContainer* control)
{
    if (const auto* list = dynamic_cast<const wxListBox*>(control))
        return list_selections(list);
    // Choices and combo boxes select at most one item.
    const int selection = control->GetSelection();
    return selection < 0 ? std::vector<int>{} : std::vector<int>{selection};
}

void check_unsorted(const wxItemContainer* control)
{
    if (control->IsSorted())
        throw TypeError("ComboList needs a control that keeps its items in the order given, not a sorted one");
}

void check_position(const char* operation, int index, std::size_t count, bool inclusive)
{
    const bool ok = index >= 0 && (inclusive ? static_cast<std::size_t>(index) <= count
                                             : static_cast<std::size_t>(index) < count);
    if (!ok)
        throw LookupError(std::string(operation) + ": position " + std::to_string(index) +
                          " is outside a list of " + std::to_string(count) + " items");
}

}  // namespace ovk_wxtools::combo_list_detail
