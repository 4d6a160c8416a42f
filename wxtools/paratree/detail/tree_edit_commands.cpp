#include "wxtools/paratree/detail/tree_edit_commands.h"

#include "platform/paratree/parameter_snapshot.h"
#include "wxtools/app/mb.h"
#include "wxtools/paratree/detail/name_checks.h"
#include "wxtools/paratree/para_tree_copy_dialog.h"
#include "wxtools/paratree/parameter_editor_dialog.h"
#include "wxtools/paratree/parameter_tree_editor_panel.h"
#include "wxtools/text.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace ovk_wxtools::detail {

using ovk_paratree::Parameter;
using ovk_paratree::ParameterBook;
using ovk_paratree::ParameterDirectory;
using ovk_paratree::ParaTreeEntity;

namespace {

const wxString kSelectBookFirst = wxS("Please select a parameter book first.");

}  // namespace

TreeEditCommands::TreeEditCommands(ParameterTreeEditorPanel& panel, TreeViewSync& view) : panel_(panel), view_(view)
{
}

std::optional<wxString> TreeEditCommands::ask_name(const NamePrompt& prompt,
                                                   const std::function<bool(const std::string&)>& taken) const
{
    const std::optional<wxString> input = prompt.old_name.empty()
                                              ? MB::Input(prompt.prompt)
                                              : MB::Input(prompt.prompt, wxS("Rename"), prompt.old_name);
    if (!input)
        return std::nullopt;
    // Names of directories and books become folder and file names: blanks at
    // either end (any Unicode white space) are never meant. Parameter names
    // are keys inside a book file and are taken as typed.
    const wxString name = prompt.trim ? strip_whitespace(*input) : *input;
    if (name.empty()) {
        if (prompt.trim)
            MB::Error(prompt.word + wxS(" name could not be empty."));
        return std::nullopt;
    }
    if (!prompt.old_name.empty() && name == prompt.old_name)
        return std::nullopt;
    if (!check_new_name(prompt.word, name, taken(name.utf8_string()), prompt.trim ? wxS("\n") : wxS(" "),
                        prompt.stored_as))
        return std::nullopt;
    return name;
}

void TreeEditCommands::add_tree_child(Kind kind)
{
    const bool directory_kind = kind == Kind::Directory;
    const wxString word = directory_kind ? wxS("Directory") : wxS("Book");
    const wxTreeItemId item = panel_.ui_tree->GetSelection();
    if (!item.IsOk()) {
        MB::Notice(wxS("You must select a parameter directory item first."));
        return;
    }
    const auto directory = std::dynamic_pointer_cast<ParameterDirectory>(view_.object(item));
    if (!directory) {
        MB::Error(wxS("Parameter ") + word +
                  wxS(" only can be added into a directory. Select the parameter directory you want to use."));
        return;
    }
    // Directories and books share one set of names.
    const std::optional<wxString> name = ask_name(
        {word, directory_kind ? wxS("Please input directory name.") : wxS("Please input book name."), {}, true,
         directory_kind ? ovk_paratree::StoredAs::Folder : ovk_paratree::StoredAs::BookFile},
        [&](const std::string& key) { return directory->contains(key) || view_.holds_unreadable(item, from_utf8(key)); });
    if (!name)
        return;
    std::shared_ptr<ParaTreeEntity> child;
    if (directory_kind)
        child = std::make_shared<ParameterDirectory>();
    else
        child = std::make_shared<ParameterBook>();
    directory->set(name->utf8_string(), child);  // the model's refusal leaves view and model unchanged
    // The tree reports the selection, and the panel empties the grid and
    // sets the parameter buttons for the new item.
    panel_.ui_tree->SelectItem(view_.append_child(item, *name, child));
}

void TreeEditCommands::delete_tree_item()
{
    wxTreeCtrl& tree = *panel_.ui_tree;
    const wxTreeItemId item = tree.GetSelection();
    if (!item.IsOk()) {
        MB::Error(wxS("Please select the item you want to delete first."));
        return;
    }
    if (item == tree.GetRootItem()) {
        clear_whole_tree();
        return;
    }
    if (refuse_unreadable(item, wxS("deleted")))
        return;
    const wxTreeItemId parent_item = tree.GetItemParent(item);
    const auto parent = std::dynamic_pointer_cast<ParameterDirectory>(view_.object(parent_item));
    const wxString text = tree.GetItemText(item);
    const wxString kind_word =
        std::dynamic_pointer_cast<ParameterDirectory>(view_.object(item)) ? wxS("Directory") : wxS("Book");
    if (MB::Confirm(wxS("Do you really want to delete Parameter ") + kind_word + wxS(" `") + text + wxS("`?")) != wxYES)
        return;
    if (parent)
        parent->remove(text.utf8_string());
    tree.Delete(item);
    tree.SelectItem(parent_item);
}

bool TreeEditCommands::refuse_unreadable(const wxTreeItemId& item, const wxString& doing) const
{
    const wxString error = view_.unreadable_error(item);
    if (error.empty())
        return false;
    MB::Error(wxS("The book `") + panel_.ui_tree->GetItemText(item) + wxS("` could not be read, so it is not ") + doing +
              wxS(" here; its file stays as it is.\n\n") + error +
              wxS("\n\nMend or remove the file outside the editor, then open the folder again."));
    return true;
}

void TreeEditCommands::clear_whole_tree()
{
    if (MB::Confirm(wxS("Do you really want to clear the whole parameter tree?")) != wxYES)
        return;
    view_.clear_rows();
    // The tree is emptied in place rather than replaced by a new directory:
    // the loaded tree remembers what it holds in root_path, so saving the
    // emptied tree there removes that content instead of leaving it on disk
    // to come back with the next load.
    if (panel_.root)
        panel_.root->clear();
    else
        panel_.root = std::make_shared<ParameterDirectory>();
    // One root item, named after the folder, standing for the emptied tree.
    panel_._refresh_tree_view();
}

void TreeEditCommands::add_parameter()
{
    const std::shared_ptr<ParameterBook> book = view_.selected_book();
    if (!book) {
        MB::Error(kSelectBookFirst);
        return;
    }
    const std::optional<wxString> name =
        ask_name({wxS("Parameter"), wxS("Please input your preferred parameter name."), {}, false, {}},
                 [&](const std::string& key) { return book->contains(key); });
    if (!name)
        return;
    std::shared_ptr<Parameter> parameter;
    int result = wxID_CANCEL;
    {
        ParameterEditorDialog editor(&panel_, *name);
        if (panel_.options().keyboard)
            editor.use_keyboard();
        if (panel_.options().json_editor)
            editor.use_json_editor();
        result = editor.ShowModal();
        parameter = editor.parameter();
    }
    if (result != wxID_OK)
        return;
    book->set(name->utf8_string(), parameter);
    view_.append_row(*name, *parameter);
}

void TreeEditCommands::edit_parameter(bool cancel_restores)
{
    const wxArrayInt rows = panel_.ui_book->GetSelectedRows();
    if (rows.size() > 1) {
        MB::Notice(wxS("Only one parameter could be edited one time."));
        return;
    }
    // The edit button keeps its state when the tree moves to another book,
    // so the command can come with no row selected.
    if (rows.empty()) {
        MB::Notice(wxS("Please select the parameter you want to edit first."));
        return;
    }
    const int row = rows[0];
    const wxString key = view_.key_of(row);
    const std::shared_ptr<ParameterBook> book = view_.selected_book();
    if (!book) {
        MB::Error(kSelectBookFirst);
        return;
    }
    const std::shared_ptr<Parameter> parameter = book->get(key.utf8_string());
    if (!parameter) {
        MB::Error(wxS("Parameter `") + key + wxS("` is not in the selected book."));
        return;
    }
    // The dialog changes the parameter itself; by default its closing code
    // does not matter, with cancel_restores Cancel undoes what was done. An
    // edit that ends where it began leaves the parameter unchanged.
    ovk_paratree::ParameterSnapshot before(parameter);
    int result = wxID_CANCEL;
    {
        ParameterEditorDialog editor(&panel_, key, parameter);
        if (panel_.options().keyboard)
            editor.use_keyboard();
        if (panel_.options().json_editor)
            editor.use_json_editor();
        result = editor.ShowModal();
    }
    if (cancel_restores && result != wxID_OK)
        before.restore();
    else
        before.settle();
    view_.fill_row(row, key, *parameter);
    view_.fit_value_column();
}

void TreeEditCommands::delete_parameters(bool ask)
{
    const wxArrayInt selected = panel_.ui_book->GetSelectedRows();
    if (selected.empty())
        return;
    if (ask) {
        const wxString question = selected.size() == 1
                                      ? wxString(wxS("Do you really want to delete this 1 parameter?"))
                                      : wxString::Format(wxS("Do you really want to delete these %zu parameters?"),
                                                         selected.size());
        if (MB::Confirm(question) != wxYES)
            return;
    }
    const std::shared_ptr<ParameterBook> book = view_.selected_book();
    if (!book) {
        MB::Error(kSelectBookFirst);
        return;
    }
    // Highest row first, so the rows still to go keep their numbers.
    std::vector<int> rows(selected.begin(), selected.end());
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (const int row : rows) {
        const wxString key = view_.key_of(row);
        panel_.ui_book->DeleteRows(row, 1);
        book->remove(key.utf8_string());
    }
    // The grid drops the deleted rows from its selection without reporting
    // it; bring the row buttons in line with what is left selected.
    wxGridRangeSelectEvent refresh;
    panel_.on_select_parameter(refresh);
}

void TreeEditCommands::rename_tree_item()
{
    wxTreeCtrl& tree = *panel_.ui_tree;
    const wxTreeItemId item = tree.GetSelection();
    if (!item.IsOk() || item == tree.GetRootItem()) {
        MB::Notice(wxS("Please select the directory or book you want to rename."));
        return;
    }
    if (refuse_unreadable(item, wxS("renamed")))
        return;
    const std::shared_ptr<ParaTreeEntity> object = view_.object(item);
    const auto parent = std::dynamic_pointer_cast<ParameterDirectory>(view_.object(tree.GetItemParent(item)));
    if (!object || !parent)
        return;
    const bool directory_kind = std::dynamic_pointer_cast<ParameterDirectory>(object) != nullptr;
    const wxString old_name = tree.GetItemText(item);
    // The same rules as adding: these names become folder and file names.
    const std::optional<wxString> name =
        ask_name({directory_kind ? wxS("Directory") : wxS("Book"),
                  directory_kind ? wxS("Please input the new directory name.") : wxS("Please input the new book name."),
                  old_name, true, directory_kind ? ovk_paratree::StoredAs::Folder : ovk_paratree::StoredAs::BookFile},
                 [&](const std::string& key) {
                     return parent->contains(key) || view_.holds_unreadable(tree.GetItemParent(item), from_utf8(key));
                 });
    if (!name)
        return;
    // Stored under the new name first: when the model refuses it, the old
    // entry is still there. The next save removes the old file or folder.
    parent->set(name->utf8_string(), object);
    parent->remove(old_name.utf8_string());
    tree.SetItemText(item, *name);
}

void TreeEditCommands::rename_parameter()
{
    const wxArrayInt rows = panel_.ui_book->GetSelectedRows();
    if (rows.size() != 1) {
        MB::Notice(wxS("Please select the one parameter you want to rename."));
        return;
    }
    const std::shared_ptr<ParameterBook> book = view_.selected_book();
    if (!book)
        return;
    const wxString old_name = view_.key_of(rows[0]);
    const std::shared_ptr<Parameter> parameter = book->get(old_name.utf8_string());
    if (!parameter)
        return;
    const std::optional<wxString> name =
        ask_name({wxS("Parameter"), wxS("Please input the new parameter name."), old_name, false, {}},
                 [&](const std::string& key) { return book->contains(key); });
    if (!name)
        return;
    book->set(name->utf8_string(), parameter);
    book->remove(old_name.utf8_string());
    panel_.ui_book->SetCellValue(rows[0], 0, *name);
}

void TreeEditCommands::view_parameter()
{
    const wxArrayInt rows = panel_.ui_book->GetSelectedRows();
    const std::shared_ptr<ParameterBook> book = view_.selected_book();
    if (rows.size() != 1 || !book) {
        MB::Notice(wxS("Please select the one parameter you want to view."));
        return;
    }
    const wxString key = view_.key_of(rows[0]);
    const std::shared_ptr<Parameter> parameter = book->get(key.utf8_string());
    if (!parameter)
        return;
    ParameterEditorDialog viewer(&panel_, key, parameter);
    viewer.set_read_only();
    if (panel_.options().keyboard)
        viewer.use_keyboard();
    viewer.ShowModal();
}

void TreeEditCommands::copy_parameter()
{
    const wxArrayInt rows = panel_.ui_book->GetSelectedRows();
    if (rows.size() != 1) {
        MB::Notice(from_utf8("请选中并只选中一个要复制的参数。"));
        return;
    }
    const wxTreeItemId item = panel_.ui_tree->GetSelection();
    std::vector<wxString> path = view_.path_of(item);
    const auto book = std::dynamic_pointer_cast<ParameterBook>(view_.object(item));
    const wxString key = view_.key_of(rows[0]);
    const auto parameter = book ? book->get(key.utf8_string()) : nullptr;
    if (!parameter)
        return;  // the grid shows the selected book, so this only guards against misuse
    path.push_back(key);
    ParaTreeCopyDialog dialog(&panel_, path, parameter);
    dialog.ShowModal();
}

void TreeEditCommands::copy_tree_item()
{
    const wxTreeItemId item = panel_.ui_tree->GetSelection();
    if (!item.IsOk())
        return;
    std::vector<wxString> path = view_.path_of(item);
    if (path.empty())
        path.push_back(panel_.ui_tree->GetItemText(item));  // the root item: named by its own text
    const auto object = view_.object(item);
    if (!object)
        return;
    ParaTreeCopyDialog dialog(&panel_, path, object);
    dialog.ShowModal();
}

}  // namespace ovk_wxtools::detail
