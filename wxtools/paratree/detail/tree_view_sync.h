#pragma once
// Keeps the editor's tree view and parameter grid in step with the model:
// the model object each tree item carries, the branches of a directory, the
// rows of a book, the bold mark of what changed since the last save and the
// marked items of books that could not be read.
#include "platform/paratree/parameter_book.h"
#include "platform/paratree/parameter_directory.h"
#include "wxtools/paratree/detail/tree_search.h"

#include <wx/grid.h>
#include <wx/treectrl.h>

#include <memory>
#include <utility>
#include <vector>

namespace ovk_wxtools::detail {

class TreeViewSync {
public:
    // The grid shows each parameter's value in column `value_column`; none when negative.
    TreeViewSync(wxTreeCtrl& tree, wxGrid& book, int value_column);
    // The grid outlives this object inside the panel; its handlers go first.
    ~TreeViewSync();
    TreeViewSync(const TreeViewSync&) = delete;
    TreeViewSync& operator=(const TreeViewSync&) = delete;

    // The image list of the tree pictures: the folder, the book, then the
    // book that could not be read.
    static wxImageList* make_image_list();
    // The text after the last path separator: a folder's own name, empty for
    // a path that ends with a separator.
    static wxString last_path_component(const wxString& path);

    // ---- item data ----
    // The model object `item` shows; nullptr for an invalid item or one without.
    std::shared_ptr<ovk_paratree::ParaTreeEntity> object(const wxTreeItemId& item) const;
    void set_object(const wxTreeItemId& item, std::shared_ptr<ovk_paratree::ParaTreeEntity> object);
    // The book behind the selected item, or nullptr (no item, or not a book).
    std::shared_ptr<ovk_paratree::ParameterBook> selected_book() const;
    // The items showing the holders of search hits, with the hits'
    // parameters, in the order the view shows them.
    std::vector<std::pair<wxTreeItemId, wxString>> items_of(const std::vector<TreeSearch::Hit>& hits) const;
    // The item reached from the root item through the texts of `path`, as
    // far as they lead.
    wxTreeItemId item_at(const std::vector<wxString>& path) const;
    // The texts of the items from below the root item down to `item`; empty for the root item.
    std::vector<wxString> path_of(const wxTreeItemId& item) const;

    // ---- branches ----
    // Empties the view and adds the root item standing for `root`.
    wxTreeItemId reset(const wxString& root_text, std::shared_ptr<ovk_paratree::ParameterDirectory> root);
    // Appends the items of `directory`'s entries below `parent`, depth first.
    void append_branch(const ovk_paratree::ParameterDirectory& directory, const wxTreeItemId& parent);
    // Appends one item for `object` (a directory or a book) under `parent`.
    wxTreeItemId append_child(const wxTreeItemId& parent, const wxString& name,
                              std::shared_ptr<ovk_paratree::ParaTreeEntity> object);

    // ---- books that could not be read ----
    // Appends one marked item (the error picture, red, the error as its
    // tooltip) per book of `unreadable` below the directory item of its path.
    void show_unreadable(const std::vector<ovk_paratree::LoadReport::UnreadableBook>& unreadable);
    // The error of the unreadable book `item` shows; empty for any other item.
    wxString unreadable_error(const wxTreeItemId& item) const;
    // True when `parent` shows an unreadable book called `name`.
    bool holds_unreadable(const wxTreeItemId& parent, const wxString& name) const;

    // ---- book rows ----
    void clear_rows();
    // Appends one row per parameter of `book`.
    void append_rows(const ovk_paratree::ParameterBook& book);
    // Appends one row for `parameter` and fills it.
    void append_row(const wxString& name, const ovk_paratree::Parameter& parameter);
    // Fills `row`: name, description, with the value column the value.
    void fill_row(int row, const wxString& name, const ovk_paratree::Parameter& parameter);
    // Selects the one row of `key` and scrolls to it; nothing when absent.
    void select_row_of(const wxString& key);
    // The key shown in column 0 of `row`.
    wxString key_of(int row) const { return book_.GetCellValue(row, 0); }

    // ---- the value column ----
    // Gives the value column the width its values need, at least a little
    // and at most half of what the name column leaves, the rest to the description.
    void fit_value_column();

    // ---- bold marks ----
    // Puts in bold every item from `item` down whose object changed since
    // it was last loaded or saved.
    void mark_modified(const wxTreeItemId& item);

private:
    // Over a value cut by its column, the whole value as the tooltip.
    void show_value_tip(wxMouseEvent& event);
    void on_grid_size(wxSizeEvent& event);
    void on_item_tooltip(wxTreeEvent& event);

    wxTreeCtrl& tree_;
    wxGrid& book_;
    int value_column_;
    bool tooltips_bound_ = false;
    // True while reset() empties the view. Shared with the tree's delete
    // handler, which still runs when the tree is destroyed after this object.
    std::shared_ptr<bool> resetting_ = std::make_shared<bool>(false);
};

}  // namespace ovk_wxtools::detail
