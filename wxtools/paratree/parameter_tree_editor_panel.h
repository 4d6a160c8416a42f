#pragma once
// The working surface of the parameter tree editor: shows one parameter tree
// (directories and books in the tree view, the selected book's parameters in
// the grid, the tree's folder in the path box), loads it from a folder and
// saves it back or elsewhere. Every tree item carries the model object it
// shows, so the handlers reach the model from the selected item alone.
#include "platform/paratree/parameter_book.h"
#include "platform/paratree/parameter_directory.h"
#include "platform/paratreeui/parameter_tree_editor_panel.h"
#include "wxtools/paratree/parameter_tree_editor_options.h"

#include <wx/srchctrl.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ovk_wxtools {

namespace detail {
class TreeViewSync;
class TreeEditCommands;
class UnsavedGuard;
class SaveMerge;
class TreeSearch;
class EditorKeys;
}  // namespace detail

// Sent by the panel (with unsaved_guard) when modified() changes; the
// event's int is 1 for modified, 0 for saved or freshly loaded.
wxDECLARE_EVENT(EVT_PARAMETER_TREE_MODIFIED, wxCommandEvent);
// Sent by the panel after it has loaded a tree; the event's string is the folder.
wxDECLARE_EVENT(EVT_PARAMETER_TREE_LOADED, wxCommandEvent);
// Sent by the panel after every editing command, changed or not, so that
// counts shown elsewhere can follow.
wxDECLARE_EVENT(EVT_PARAMETER_TREE_EDITED, wxCommandEvent);
// Sent by the panel (with save_notice_as_event) after a save; the event's
// string is the success message.
wxDECLARE_EVENT(EVT_PARAMETER_TREE_SAVED, wxCommandEvent);
// Sent by the panel (with find) when the matches of the search box changed.
wxDECLARE_EVENT(EVT_PARAMETER_TREE_FOUND, wxCommandEvent);

// The names fixed for callers: the image constants, `root`, `root_path`,
// is_valid_name, load_directory, _refresh_tree_view, _construct_tree_branch,
// _show_parameters_of_book, item_object (the item data), the on_... handlers
// and, privately, clear_book, get_selected_tree_item_path,
// change_parameter_tree_out_of_control, do_copy_parameter and
// do_copy_tree_item. The rest of the public part is what the options add.
class ParameterTreeEditorPanel : public ovk_paratreeui::ParameterTreeEditorPanel {
public:
    // Image-list indexes of the two tree pictures.
    static constexpr int _ImageDirectory = 0;
    static constexpr int _ImageBook = 1;

    // The grid column of the values (with value_column).
    static constexpr int _ValueColumn = 2;

    // What the editor offers beyond its plain form (ParameterTreeEditorOptions).
    using Options = ParameterTreeEditorOptions;

    // With a non-empty `path`, shows `parameter_directory` as the tree of that
    // folder, or, without one, the tree loaded from it (the model's error
    // reaches the caller). With an empty `path` the panel starts empty.
    // `options` switch on what the editor offers beyond its plain form.
    explicit ParameterTreeEditorPanel(wxWindow* parent, const wxString& path = wxEmptyString,
                                      std::shared_ptr<ovk_paratree::ParameterDirectory> parameter_directory = nullptr,
                                      Options options = {});
    ~ParameterTreeEditorPanel() override;

    // The options the panel was built with.
    const Options& options() const { return options_; }

    // ---- unsaved changes (unsaved_guard) ----

    // True when the tree holds changes not yet saved to its folder.
    bool modified() const;
    // With unsaved changes, asks Save / Discard / Cancel before `doing` (a
    // phrase such as "opening another folder"). True when the caller may go
    // on: nothing was unsaved, the tree was saved, or the user discarded.
    // Without unsaved_guard always true.
    bool confirm_discard_changes(const wxString& doing);

    // ---- the commands, callable from menus ----

    // Load asks about unsaved changes first; save() is true when the tree was written.
    void load();
    bool save();
    void save_to();

    // ---- counts and search ----

    // How many directories, books and parameters the tree holds.
    struct Counts {
        std::size_t directories = 0;  // below the root
        // Books, at every level.
        std::size_t books = 0;
        // Parameters of all the books.
        std::size_t parameters = 0;
        // Books shown marked because they could not be read (tolerate_unreadable_books), not among `books`.
        std::size_t unreadable_books = 0;
    };
    // Counts what the tree holds, at every level; all zero before a tree is loaded.
    Counts counts() const;

    // One place the search text was found: a directory or book item, and a
    // parameter of that book (empty when the item's own name matched).
    struct FindMatch {
        // The directory or book item.
        wxTreeItemId item;
        // The matching parameter's name; empty when the item's own name matched.
        wxString parameter;
    };
    // Finds `text` (case-insensitive) in the names of directories, books and
    // parameters and in every description of the parameters; empty clears.
    void find(const wxString& text);
    const std::vector<FindMatch>& find_matches() const { return matches_; }
    // Selects the next match (the first after the last one), its book in the
    // tree and its parameter in the grid; false when there is none.
    bool find_next();

    // ---- renaming and viewing (rename) ----

    // Asks for a new name for the selected directory or book and renames it.
    void rename_tree_item();
    // Asks for a new name for the selected parameter and renames it.
    void rename_parameter();
    // Shows the selected parameter in a read-only parameter editor.
    void view_parameter();

    // ---- description locale ----

    // Shows descriptions of `locale` from now on (the model's current locale,
    // shared by the whole program) and refreshes the grid.
    void set_description_locale(const std::string& locale);
    // The locales the tree's descriptions use, in first-seen order.
    std::vector<std::string> description_locales() const;

    // True for a name the tree may use: not empty, no invalid character, not "." or "..".
    static bool is_valid_name(const wxString& name);

    // Loads the tree stored in `directory` and shows it with an empty grid.
    // When the load fails the model's error propagates and nothing changes.
    void load_directory(const wxString& directory);

    // Rebuilds the whole tree view from `root`.
    void _refresh_tree_view();
    // Appends the items of `parameter_directory`'s entries below `ui_item_id`, depth first.
    void _construct_tree_branch(const std::shared_ptr<ovk_paratree::ParameterDirectory>& parameter_directory,
                                const wxTreeItemId& ui_item_id);
    // Appends one grid row (name, description, with value_column the value) per parameter of `book`.
    void _show_parameters_of_book(const ovk_paratree::ParameterBook& book);

    // The model object shown by a tree item (nullptr for an item without one).
    std::shared_ptr<ovk_paratree::ParaTreeEntity> item_object(const wxTreeItemId& item) const;

    void on_load(wxCommandEvent& event) override;
    void on_save(wxCommandEvent& event) override;
    void on_save_to(wxCommandEvent& event) override;
    void on_tree_sel_changed(wxTreeEvent& event) override;
    void on_select_parameter(wxGridRangeSelectEvent& event) override;

    // Editing commands. They change the tree in memory and keep the tree view
    // and the grid in step by hand; nothing reaches the disk until a save.
    // Every refusal and every model error is shown in one message box.
    void on_add_directory(wxCommandEvent& event) override;
    void on_add_book(wxCommandEvent& event) override;
    void on_delete_tree_item(wxCommandEvent& event) override;
    void on_add_parameter(wxCommandEvent& event) override;
    void on_edit_parameter(wxCommandEvent& event) override;
    void on_delete_parameter(wxCommandEvent& event) override;

    // Copy commands: the copy dialog on the selected parameter or tree item,
    // with an offer to reload when the copy changed the tree's folder on disk.
    void on_copy_tree_item(wxCommandEvent& event) override;
    void on_copy_parameter(wxCommandEvent& event) override;

    // The tree being edited; nullptr until a tree is loaded or given.
    std::shared_ptr<ovk_paratree::ParameterDirectory> root;
    // The folder `root` belongs to: where it was loaded from and where on_save writes.
    wxString root_path;

private:
    // Removes all rows of the grid.
    void clear_book();
    void set_item_object(const wxTreeItemId& item, std::shared_ptr<ovk_paratree::ParaTreeEntity> object);
    // Binds what the options add to the controls.
    void add_extras();
    void add_find_box();
    // Runs one editing command, its errors shown, then after_edit().
    void run_command(const std::function<void()>& command);
    // After each command: bold markers, the title marker and the modified
    // event (unsaved_guard); the search again, since its items may be gone.
    void after_edit();
    // With keyboard, shows the root's first level.
    void expand_first_level();
    void disable_parameter_buttons();
    // Runs a folder chooser on the panel; the chosen folder, or empty when cancelled.
    wxString choose_folder();
    // Writes `root` to `folder` and tells the user how it went, naming what
    // was `taken` from disk before. The model refuses to undo changes someone
    // else made in the tree's own folder.
    bool save_root_to(const wxString& folder, const std::vector<std::string>& taken);
    // After a merge with the folder: the view rebuilt, the selection kept.
    void show_merged_tree();

    // Copy commands. An item's path is the texts of the items from below the
    // root item down to it; the root item's path is empty.
    std::vector<wxString> get_selected_tree_item_path(const wxTreeItemId& item_id) const;
    // Runs `event_handler` while the tree's folder is watched; when something
    // changed there on disk meanwhile, offers to reload the tree from it.
    void change_parameter_tree_out_of_control(const std::function<void(wxCommandEvent&)>& event_handler,
                                              wxCommandEvent& event);
    void do_copy_parameter(wxCommandEvent& event);
    void do_copy_tree_item(wxCommandEvent& event);

    Options options_;
    // The view kept in step with the model, the commands, the guard over
    // unsaved changes and the search; each its own piece under detail/.
    std::unique_ptr<detail::TreeViewSync> view_;
    std::unique_ptr<detail::TreeEditCommands> commands_;
    std::unique_ptr<detail::UnsavedGuard> guard_;
    std::unique_ptr<detail::SaveMerge> merge_;
    std::unique_ptr<detail::TreeSearch> search_;
    std::unique_ptr<detail::EditorKeys> keys_;
    // The search's hits as tree items, and the search box and its count (with find).
    std::vector<FindMatch> matches_;
    wxSearchCtrl* ui_find_ = nullptr;
    wxStaticText* ui_find_count_ = nullptr;
};

}  // namespace ovk_wxtools
