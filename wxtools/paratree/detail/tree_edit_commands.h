#pragma once
// The editing commands of the tree editor panel: adding, deleting, renaming
// and copying directories, books and parameters, and editing and viewing a
// parameter. They change the tree in memory and keep the view in step; the
// panel runs each inside a guard that shows errors.
#include "wxtools/paratree/detail/tree_view_sync.h"
#include "platform/paratree/invalid_name_characters.h"

#include <wx/string.h>

#include <functional>
#include <optional>
#include <string>

namespace ovk_wxtools {
class ParameterTreeEditorPanel;
}

namespace ovk_wxtools::detail {

class TreeEditCommands {
public:
    TreeEditCommands(ParameterTreeEditorPanel& panel, TreeViewSync& view);

    enum class Kind { Directory, Book };
    void add_tree_child(Kind kind);
    void delete_tree_item();
    void add_parameter();
    // With `cancel_restores`, Cancel puts the parameter back as it was.
    void edit_parameter(bool cancel_restores);
    // Asks first with `ask`.
    void delete_parameters(bool ask);
    void rename_tree_item();
    void rename_parameter();
    void view_parameter();
    void copy_parameter();
    void copy_tree_item();

private:
    // How a name is asked for: the kind word of the messages ("Directory",
    // "Book", "Parameter"), the prompt, and the old name when renaming.
    // Directory and book names are trimmed, parameter names taken as typed.
    struct NamePrompt {
        wxString word;
        wxString prompt;
        wxString old_name;
        bool trim = false;
        std::optional<ovk_paratree::StoredAs> stored_as;  // for directories and books
    };
    // Asks for a name and checks it; no value when cancelled, unchanged or
    // refused (the refusal shown).
    std::optional<wxString> ask_name(const NamePrompt& prompt,
                                     const std::function<bool(const std::string&)>& taken) const;
    void clear_whole_tree();
    // For the item of a book that could not be read: says so and answers true.
    bool refuse_unreadable(const wxTreeItemId& item, const wxString& doing) const;

    ParameterTreeEditorPanel& panel_;
    TreeViewSync& view_;
};

}  // namespace ovk_wxtools::detail
