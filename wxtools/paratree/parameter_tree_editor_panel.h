#pragma once
// The working surface of the parameter tree editor: shows one parameter tree
// (directories and books in the tree view, the selected book's parameters in
// the grid, the tree's folder in the path box), loads it from a folder and
// saves it back or elsewhere. Every tree item carries the model object it
// shows, so the handlers reach the model from the selected item alone.
#include "platform/paratree/parameter_book.h"
#include "platform/paratree/parameter_directory.h"
#include "platform/paratreeui/parameter_tree_editor_panel.h"

#include <functional>
#include <memory>
#include <vector>

namespace ovk_wxtools {

class ParameterTreeEditorPanel : public ovk_paratreeui::ParameterTreeEditorPanel {
public:
    // Image-list indexes of the two tree pictures.
    static constexpr int _ImageDirectory = 0;
    static constexpr int _ImageBook = 1;

    // With a non-empty `path`, shows `parameter_directory` as the tree of that
    // folder, or, without one, the tree loaded from it (the model's error
    // reaches the caller). With an empty `path` the panel starts empty.
    explicit ParameterTreeEditorPanel(wxWindow* parent, const wxString& path = wxEmptyString,
                                      std::shared_ptr<ovk_paratree::ParameterDirectory> parameter_directory = nullptr);

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
    // Appends one grid row (name, description) per parameter of `book`.
    void _show_parameters_of_book(const ovk_paratree::ParameterBook& book);

    // The model object shown by a tree item (nullptr for an item without one).
    std::shared_ptr<ovk_paratree::ParaTreeEntity> item_object(const wxTreeItemId& item) const;
    // Makes `object` the model object shown by `item`.
    void set_item_object(const wxTreeItemId& item, std::shared_ptr<ovk_paratree::ParaTreeEntity> object);

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
    void clear_book();
    void disable_parameter_buttons();
    // Runs a folder chooser on the panel; the chosen folder, or empty when cancelled.
    wxString choose_folder();
    // Writes `root` to `folder` and tells the user how it went.
    void save_root_to(const wxString& folder);

    // Copy commands. An item's path is the texts of the items from below the
    // root item down to it; the root item's path is empty.
    std::vector<wxString> get_selected_tree_item_path(const wxTreeItemId& item_id) const;
    // Runs `event_handler` while the tree's folder is watched; when something
    // changed there on disk meanwhile, offers to reload the tree from it.
    void change_parameter_tree_out_of_control(const std::function<void(wxCommandEvent&)>& event_handler,
                                              wxCommandEvent& event);
    void do_copy_parameter(wxCommandEvent& event);
    void do_copy_tree_item(wxCommandEvent& event);
    // The steps of the editing commands, run inside a guard that shows errors.
    enum class TreeChildKind { Directory, Book };
    void add_tree_child(TreeChildKind kind);
    void delete_tree_item();
    void clear_whole_tree();
    void add_parameter();
    void edit_parameter();
    void delete_parameters();
    // The book behind the tree's selected item, or nullptr (no item, or not a book).
    std::shared_ptr<ovk_paratree::ParameterBook> selected_book() const;
};

}  // namespace ovk_wxtools
