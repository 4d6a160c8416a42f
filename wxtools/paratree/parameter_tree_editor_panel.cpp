#include "wxtools/paratree/parameter_tree_editor_panel.h"

#include "platform/handy/file_system_observer.h"
#include "platform/paratree/invalid_name_characters.h"
#include "wxtools/app/mb.h"
#include "wxtools/app/show_errors.h"
#include "wxtools/paratree/detail/name_checks.h"
#include "wxtools/paratree/name_rule.h"
#include "wxtools/paratree/para_tree_copy_dialog.h"
#include "wxtools/paratree/parameter_editor_dialog.h"
#include "wxtools/paratree/value_display_text.h"
#include "wxtools/text.h"

#include <wx/dirdlg.h>
#include <wx/filename.h>
#include <wx/imaglist.h>
#include <wx/mstream.h>
#include <wx/wupdlock.h>

#include <algorithm>
#include <cstddef>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The two tree pictures, compiled in from resources/.
extern const unsigned char ovk_resource_folder_png[];
extern const std::size_t ovk_resource_folder_png_size;
extern const unsigned char ovk_resource_book_png[];
extern const std::size_t ovk_resource_book_png_size;

namespace ovk_wxtools {

wxDEFINE_EVENT(EVT_PARAMETER_TREE_MODIFIED, wxCommandEvent);
wxDEFINE_EVENT(EVT_PARAMETER_TREE_LOADED, wxCommandEvent);
wxDEFINE_EVENT(EVT_PARAMETER_TREE_FOUND, wxCommandEvent);

using ovk_paratree::ParameterBook;
using ovk_paratree::ParameterDirectory;
using ovk_paratree::ParaTreeEntity;

namespace {

constexpr int kImageWidth = 12;
constexpr int kImageHeight = 16;

// Holds the model object a tree item shows; the tree deletes it with the item.
class EntityItemData : public wxTreeItemData {
public:
    explicit EntityItemData(std::shared_ptr<ParaTreeEntity> object) : object_(std::move(object)) {}
    const std::shared_ptr<ParaTreeEntity>& object() const { return object_; }

private:
    std::shared_ptr<ParaTreeEntity> object_;
};

// A picture of the image list, cut to the list's width from the left (the
// folder picture is one pixel wider; its last column is blank).
wxBitmap tree_picture(const unsigned char* png, std::size_t size)
{
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    wxMemoryInputStream stream(png, size);
    wxImage image(stream, wxBITMAP_TYPE_PNG);
    if (image.GetWidth() > kImageWidth)
        image = image.GetSubImage(wxRect(0, 0, kImageWidth, image.GetHeight()));
    return wxBitmap(image);
}

// The text after the last path separator: the folder's own name, empty for
// a path that ends with a separator.
wxString last_path_component(const wxString& path)
{
    const size_t at = path.find_last_of(wxFileName::GetPathSeparators());
    return at == wxString::npos ? path : path.substr(at + 1);
}

wxString utf8(const std::string& text)
{
    return wxString::FromUTF8(text.data(), text.size());
}

// Makes `target` hold exactly what `saved` holds, keeping the object itself
// (the tree and any open view keep pointing at it).
void restore_parameter(ovk_paratree::Parameter& target, const ovk_paratree::Parameter& saved)
{
    for (const std::string& name : target.names())
        target.remove(name);
    for (const auto& [name, value] : saved.items())
        target.set(name, value);
    for (const auto& [locale, text] : target.all_descriptions())
        target.remove_description(locale);
    for (const auto& [locale, text] : saved.all_descriptions())
        target.set_description(locale, text);
}

std::filesystem::path to_path(const wxString& folder)
{
#ifdef _WIN32
    return std::filesystem::path(folder.ToStdWstring());
#else
    return std::filesystem::path(folder.utf8_string());
#endif
}

}  // namespace

ParameterTreeEditorPanel::ParameterTreeEditorPanel(wxWindow* parent, const wxString& path,
                                                   std::shared_ptr<ParameterDirectory> parameter_directory,
                                                   Options options)
    : ovk_paratreeui::ParameterTreeEditorPanel(parent), options_(std::move(options))
{
    ui_book->SetSelectionMode(wxGrid::wxGridSelectRows);
    if (!options_.description_locale.empty())
        ovk_paratree::Parameter::set_current_locale(options_.description_locale);
    add_extras();

    auto* images = new wxImageList(kImageWidth, kImageHeight, false);
    images->Add(tree_picture(ovk_resource_folder_png, ovk_resource_folder_png_size));  // _ImageDirectory
    images->Add(tree_picture(ovk_resource_book_png, ovk_resource_book_png_size));      // _ImageBook
    ui_tree->AssignImageList(images);

    if (!path.empty()) {
        root = parameter_directory ? std::move(parameter_directory)
                                   : ParameterDirectory::load(to_path(path));
        // A tree handed over with its path belongs there from the start, so
        // a Save To elsewhere never claims it for that other folder.
        root->set_home(to_path(path));
        root_path = path;
        ui_tree_path->SetValue(path);
        _refresh_tree_view();
        expand_first_level();
        after_edit();
    }
}

bool ParameterTreeEditorPanel::is_valid_name(const wxString& name)
{
    return ovk_wxtools::is_valid_name(name);
}

void ParameterTreeEditorPanel::load_directory(const wxString& directory)
{
    // Load first: a failing load leaves the tree, the folder and the views as they were.
    std::shared_ptr<ParameterDirectory> loaded = ParameterDirectory::load(to_path(directory));
    root = std::move(loaded);
    root_path = directory;
    _refresh_tree_view();
    clear_book();
    expand_first_level();
    after_edit();
    wxCommandEvent done(EVT_PARAMETER_TREE_LOADED, GetId());
    done.SetEventObject(this);
    done.SetString(directory);
    ProcessWindowEvent(done);
}

void ParameterTreeEditorPanel::_refresh_tree_view()
{
    // Native tree controls redraw on every insertion unless frozen.
    wxWindowUpdateLocker frozen(ui_tree);
    ui_tree->DeleteAllItems();
    const wxTreeItemId root_item = ui_tree->AddRoot(last_path_component(root_path), _ImageDirectory);
    if (root)
        _construct_tree_branch(root, root_item);
    set_item_object(root_item, root);
    // The items the buttons were set for are gone. The toolkit may select the
    // new root without telling anyone, and no book is selected either way.
    disable_parameter_buttons();
}

void ParameterTreeEditorPanel::_construct_tree_branch(const std::shared_ptr<ParameterDirectory>& parameter_directory,
                                                      const wxTreeItemId& ui_item_id)
{
    // Each item gets its model object as it is appended.
    for (const auto& [name, item] : parameter_directory->items()) {
        if (auto directory = std::dynamic_pointer_cast<ParameterDirectory>(item)) {
            const wxTreeItemId child =
                ui_tree->AppendItem(ui_item_id, utf8(name), _ImageDirectory, -1, new EntityItemData(item));
            _construct_tree_branch(directory, child);
        } else {
            ui_tree->AppendItem(ui_item_id, utf8(name), _ImageBook, -1, new EntityItemData(item));
        }
    }
}

void ParameterTreeEditorPanel::_show_parameters_of_book(const ParameterBook& book)
{
    const auto parameters = book.items();
    if (parameters.empty())
        return;
    // One batch: the grid recomputes its layout once, not once per row.
    wxGridUpdateLocker batch(ui_book);
    int row = ui_book->GetNumberRows();
    ui_book->AppendRows(static_cast<int>(parameters.size()));
    for (const auto& [name, parameter] : parameters)
        fill_row(row++, utf8(name), *parameter);
}

void ParameterTreeEditorPanel::fill_row(int row, const wxString& name, const ovk_paratree::Parameter& parameter)
{
    ui_book->SetCellValue(row, 0, name);
    ui_book->SetCellValue(row, 1, utf8(parameter.description()));
    if (options_.value_column)
        ui_book->SetCellValue(row, _ValueColumn, parameter_value_text(parameter));
}

std::shared_ptr<ParaTreeEntity> ParameterTreeEditorPanel::item_object(const wxTreeItemId& item) const
{
    if (!item.IsOk())
        return nullptr;
    auto* data = dynamic_cast<EntityItemData*>(ui_tree->GetItemData(item));
    return data ? data->object() : nullptr;
}

void ParameterTreeEditorPanel::set_item_object(const wxTreeItemId& item, std::shared_ptr<ParaTreeEntity> object)
{
    // SetItemData deletes the data the item held before.
    ui_tree->SetItemData(item, new EntityItemData(std::move(object)));
}

void ParameterTreeEditorPanel::clear_book()
{
    const int rows = ui_book->GetNumberRows();
    if (rows > 0)
        ui_book->DeleteRows(0, rows);
}

wxString ParameterTreeEditorPanel::choose_folder()
{
    wxDirDialog dialog(this);
    wxString folder;
    if (dialog.ShowModal() == wxID_OK)
        folder = dialog.GetPath();
    return folder;
}

void ParameterTreeEditorPanel::on_load(wxCommandEvent&)
{
    load();
}

void ParameterTreeEditorPanel::load()
{
    if (!confirm_discard_changes(wxS("loading another folder")))
        return;
    const wxString folder = choose_folder();
    if (folder.empty())
        return;
    try {
        load_directory(folder);
    } catch (const std::exception& error) {
        MB::Error(wxString::FromUTF8(error.what()));
        return;
    }
    ui_tree_path->SetValue(folder);
}

bool ParameterTreeEditorPanel::save_root_to(const wxString& folder, bool overwrite_changes_on_disk)
{
    ovk_paratree::SaveReport report;
    try {
        report = root->save(to_path(folder), {.overwrite_changes_on_disk = overwrite_changes_on_disk});
    } catch (const std::exception& error) {
        MB::Error(wxS("Exception raised while saving parameter directory: ") + wxString::FromUTF8(error.what()));
        after_edit();
        return false;
    }
    after_edit();
    // Folders kept because they hold other files are told, not hidden.
    const std::string kept = report.message();
    MB::Notice(wxS("Save parameter to ") + folder + wxS(" success.") +
               (kept.empty() ? wxString() : wxS("\n") + wxString::FromUTF8(kept)));
    return true;
}

void ParameterTreeEditorPanel::on_save(wxCommandEvent&)
{
    save();
}

bool ParameterTreeEditorPanel::save()
{
    if (!root) {
        MB::Notice(wxS("Please load an parameter directory first."));
        return false;
    }
    bool overwrite = false;
    if (!confirm_overwrite_changed_on_disk(overwrite))
        return false;
    return save_root_to(root_path, overwrite);
}

void ParameterTreeEditorPanel::on_save_to(wxCommandEvent&)
{
    save_to();
}

void ParameterTreeEditorPanel::save_to()
{
    if (!root) {
        MB::Notice(wxS("Please load an parameter directory first."));
        return;
    }
    const wxString folder = choose_folder();
    if (!folder.empty())
        save_root_to(folder);
}

void ParameterTreeEditorPanel::on_tree_sel_changed(wxTreeEvent&)
{
    const wxTreeItemId item = ui_tree->GetSelection();
    if (!item.IsOk()) {
        clear_book();
        return;
    }
    const std::shared_ptr<ParaTreeEntity> object = item_object(item);
    clear_book();
    if (auto book = std::dynamic_pointer_cast<ParameterBook>(object)) {
        _show_parameters_of_book(*book);
        ui_add_parameter_button->Enable();
    } else {
        disable_parameter_buttons();
    }
}

void ParameterTreeEditorPanel::disable_parameter_buttons()
{
    ui_add_parameter_button->Disable();
    ui_edit_parameter_button->Disable();
    ui_delete_parameter_button->Disable();
    ui_rename_parameter_button->Disable();
    ui_view_parameter_button->Disable();
    ui_copy_parameter_button->Disable();
}

void ParameterTreeEditorPanel::on_select_parameter(wxGridRangeSelectEvent&)
{
    const bool enabled = !ui_book->GetSelectedRows().empty();
    ui_edit_parameter_button->Enable(enabled);
    ui_rename_parameter_button->Enable(enabled);
    ui_delete_parameter_button->Enable(enabled);
    ui_view_parameter_button->Enable(enabled);
    ui_copy_parameter_button->Enable(enabled);
}

// ---- copy commands ----

std::vector<wxString> ParameterTreeEditorPanel::get_selected_tree_item_path(const wxTreeItemId& item_id) const
{
    if (!item_id.IsOk() || item_id == ui_tree->GetRootItem())
        return {};
    std::vector<wxString> path = get_selected_tree_item_path(ui_tree->GetItemParent(item_id));
    path.push_back(ui_tree->GetItemText(item_id));
    return path;
}

void ParameterTreeEditorPanel::change_parameter_tree_out_of_control(
    const std::function<void(wxCommandEvent&)>& event_handler, wxCommandEvent& event)
{
    // The path box holds the folder the tree came from; empty means no tree.
    const wxString folder = ui_tree_path->GetValue();
    if (folder.empty())
        return;
    bool changed = false;
    const bool copied = show_errors([&] {
        // The copy dialog may write anywhere, the tree's own folder included.
        // The observer lives only as long as the copy: a failed copy takes it along.
        ovk_handy::FileSystemObserver observer(to_path(folder));
        event_handler(event);
        observer.close();
        changed = observer.changed();
    });
    if (!copied || !changed ||
        MB::Confirm(wxS("Parameter tree is changed in file system. Do you want to reload it?")) != wxYES)
        return;
    if (!confirm_discard_changes(wxS("reloading")))
        return;
    show_errors([&] { load_directory(folder); });
}

void ParameterTreeEditorPanel::on_copy_parameter(wxCommandEvent& event)
{
    change_parameter_tree_out_of_control([this](wxCommandEvent& e) { do_copy_parameter(e); }, event);
}

void ParameterTreeEditorPanel::on_copy_tree_item(wxCommandEvent& event)
{
    change_parameter_tree_out_of_control([this](wxCommandEvent& e) { do_copy_tree_item(e); }, event);
}

void ParameterTreeEditorPanel::do_copy_parameter(wxCommandEvent&)
{
    const wxArrayInt rows = ui_book->GetSelectedRows();
    if (rows.size() != 1) {
        MB::Notice(wxString::FromUTF8("请选中并只选中一个要复制的参数。"));
        return;
    }
    const wxTreeItemId item = ui_tree->GetSelection();
    std::vector<wxString> path = get_selected_tree_item_path(item);
    const auto book = std::dynamic_pointer_cast<ParameterBook>(item_object(item));
    const wxString key = ui_book->GetCellValue(rows[0], 0);
    const auto parameter = book ? book->get(key.utf8_string()) : nullptr;
    if (!parameter)
        return;  // the grid shows the selected book, so this only guards against misuse
    path.push_back(key);
    ParaTreeCopyDialog dialog(this, path, parameter);
    dialog.ShowModal();
}

void ParameterTreeEditorPanel::do_copy_tree_item(wxCommandEvent&)
{
    const wxTreeItemId item = ui_tree->GetSelection();
    if (!item.IsOk())
        return;
    std::vector<wxString> path = get_selected_tree_item_path(item);
    if (path.empty())
        path.push_back(ui_tree->GetItemText(item));  // the root item: named by its own text
    const auto object = item_object(item);
    if (!object)
        return;
    ParaTreeCopyDialog dialog(this, path, object);
    dialog.ShowModal();
}

// ---- editing commands ----

namespace {

template <class Pairs>
bool has_entry_named(const Pairs& entries, const std::string& name)
{
    for (const auto& entry : entries)
        if (entry.first == name)
            return true;
    return false;
}

const wxString kSelectBookFirst = wxS("Please select a parameter book first.");

}  // namespace

void ParameterTreeEditorPanel::on_add_directory(wxCommandEvent&)
{
    show_errors([this] { add_tree_child(TreeChildKind::Directory); });
    after_edit();
}

void ParameterTreeEditorPanel::on_add_book(wxCommandEvent&)
{
    show_errors([this] { add_tree_child(TreeChildKind::Book); });
    after_edit();
}

void ParameterTreeEditorPanel::on_delete_tree_item(wxCommandEvent&)
{
    show_errors([this] { delete_tree_item(); });
    after_edit();
}

void ParameterTreeEditorPanel::on_add_parameter(wxCommandEvent&)
{
    show_errors([this] { add_parameter(); });
    after_edit();
}

void ParameterTreeEditorPanel::on_edit_parameter(wxCommandEvent&)
{
    show_errors([this] { edit_parameter(); });
    after_edit();
}

void ParameterTreeEditorPanel::on_delete_parameter(wxCommandEvent&)
{
    show_errors([this] { delete_parameters(options_.keyboard); });
    after_edit();
}

std::shared_ptr<ParameterBook> ParameterTreeEditorPanel::selected_book() const
{
    return std::dynamic_pointer_cast<ParameterBook>(item_object(ui_tree->GetSelection()));
}

void ParameterTreeEditorPanel::add_tree_child(TreeChildKind kind)
{
    const bool directory_kind = kind == TreeChildKind::Directory;
    const wxString word = directory_kind ? wxS("Directory") : wxS("Book");

    const wxTreeItemId item = ui_tree->GetSelection();
    if (!item.IsOk()) {
        MB::Notice(wxS("You must select a parameter directory item first."));
        return;
    }
    const auto directory = std::dynamic_pointer_cast<ParameterDirectory>(item_object(item));
    if (!directory) {
        MB::Error(wxS("Parameter ") + word +
                  wxS(" only can be added into a directory. Select the parameter directory you want to use."));
        return;
    }
    const std::optional<wxString> input =
        MB::Input(directory_kind ? wxS("Please input directory name.") : wxS("Please input book name."));
    if (!input)
        return;
    // Names of directories and books become folder and file names: blanks at
    // either end (any Unicode white space) are never meant.
    const wxString name = strip_whitespace(*input);
    if (name.empty()) {
        MB::Error(word + wxS(" name could not be empty."));
        return;
    }
    const std::string key = name.utf8_string();
    // Directories and books share one set of names.
    if (!check_new_name(word, name, has_entry_named(directory->items(), key), wxS("\n")))
        return;

    std::shared_ptr<ParaTreeEntity> child;
    if (directory_kind)
        child = std::make_shared<ParameterDirectory>();
    else
        child = std::make_shared<ParameterBook>();
    directory->set(key, child);  // the model's refusal leaves view and model unchanged

    const wxTreeItemId added = ui_tree->AppendItem(item, name, directory_kind ? _ImageDirectory : _ImageBook, -1,
                                                   new EntityItemData(child));
    // The tree reports the change, and on_tree_sel_changed empties the grid
    // and sets the parameter buttons for the new item.
    ui_tree->SelectItem(added);
}

void ParameterTreeEditorPanel::delete_tree_item()
{
    const wxTreeItemId item = ui_tree->GetSelection();
    if (!item.IsOk()) {
        MB::Error(wxS("Please select the item you want to delete first."));
        return;
    }
    if (item == ui_tree->GetRootItem()) {
        clear_whole_tree();
        return;
    }

    const wxTreeItemId parent_item = ui_tree->GetItemParent(item);
    const std::shared_ptr<ParaTreeEntity> object = item_object(item);
    const auto parent = std::dynamic_pointer_cast<ParameterDirectory>(item_object(parent_item));
    const wxString text = ui_tree->GetItemText(item);
    const wxString kind_word = std::dynamic_pointer_cast<ParameterDirectory>(object) ? wxS("Directory") : wxS("Book");
    if (MB::Confirm(wxS("Do you really want to delete Parameter ") + kind_word + wxS(" `") + text + wxS("`?")) != wxYES)
        return;

    if (parent)
        parent->remove(text.utf8_string());
    ui_tree->Delete(item);
    ui_tree->SelectItem(parent_item);
}

void ParameterTreeEditorPanel::clear_whole_tree()
{
    if (MB::Confirm(wxS("Do you really want to clear the whole parameter tree?")) != wxYES)
        return;
    clear_book();
    // The tree is emptied in place rather than replaced by a new directory:
    // the loaded tree remembers what it holds in root_path, so saving the
    // emptied tree there removes that content instead of leaving it on disk
    // to come back with the next load.
    if (root)
        root->clear();
    else
        root = std::make_shared<ParameterDirectory>();
    // One root item, named after the folder, standing for the emptied tree.
    _refresh_tree_view();
}

void ParameterTreeEditorPanel::add_parameter()
{
    const std::shared_ptr<ParameterBook> book = selected_book();
    if (!book) {
        MB::Error(kSelectBookFirst);
        return;
    }
    const std::optional<wxString> name = MB::Input(wxS("Please input your preferred parameter name."));
    if (!name || name->empty())
        return;
    // Parameter names are keys inside a book file, not file names: they are
    // taken as typed, blanks included.
    const std::string key = name->utf8_string();
    if (!check_new_name(wxS("Parameter"), *name, has_entry_named(book->items(), key), wxS(" ")))
        return;

    std::shared_ptr<ovk_paratree::Parameter> parameter;
    int result = wxID_CANCEL;
    {
        ParameterEditorDialog editor(this, *name);
        result = editor.ShowModal();
        parameter = editor.parameter();
    }
    if (result != wxID_OK)
        return;
    book->set(key, parameter);
    ui_book->AppendRows(1);
    fill_row(ui_book->GetNumberRows() - 1, *name, *parameter);
}

void ParameterTreeEditorPanel::edit_parameter()
{
    const wxArrayInt rows = ui_book->GetSelectedRows();
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
    const wxString key = ui_book->GetCellValue(row, 0);
    const std::shared_ptr<ParameterBook> book = selected_book();
    if (!book) {
        MB::Error(kSelectBookFirst);
        return;
    }
    const std::shared_ptr<ovk_paratree::Parameter> parameter = book->get(key.utf8_string());
    if (!parameter) {
        MB::Error(wxS("Parameter `") + key + wxS("` is not in the selected book."));
        return;
    }
    // The dialog changes the parameter itself; by default its closing code
    // does not matter, with cancel_restores Cancel undoes what was done.
    const std::shared_ptr<ovk_paratree::Parameter> before = options_.cancel_restores ? parameter->clone() : nullptr;
    int result = wxID_CANCEL;
    {
        ParameterEditorDialog editor(this, key, parameter);
        result = editor.ShowModal();
    }
    if (before && result != wxID_OK)
        restore_parameter(*parameter, *before);
    fill_row(row, key, *parameter);
}

void ParameterTreeEditorPanel::delete_parameters(bool ask)
{
    const wxArrayInt selected = ui_book->GetSelectedRows();
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
    const std::shared_ptr<ParameterBook> book = selected_book();
    if (!book) {
        MB::Error(kSelectBookFirst);
        return;
    }
    // Highest row first, so the rows still to go keep their numbers.
    std::vector<int> rows(selected.begin(), selected.end());
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (const int row : rows) {
        const wxString key = ui_book->GetCellValue(row, 0);
        ui_book->DeleteRows(row, 1);
        book->remove(key.utf8_string());
    }
    // The grid drops the deleted rows from its selection without reporting
    // it; bring the row buttons in line with what is left selected.
    wxGridRangeSelectEvent refresh;
    on_select_parameter(refresh);
}

}  // namespace ovk_wxtools
