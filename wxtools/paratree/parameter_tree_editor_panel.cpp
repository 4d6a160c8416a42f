// The panel itself: construction, loading and saving, the selection and the
// wiring of controls and keys to the pieces under detail/ that keep the view
// in step, run the editing commands, guard unsaved changes and search.
#include "wxtools/paratree/parameter_tree_editor_panel.h"

#include "platform/handy/file_system_observer.h"
#include "wxtools/app/mb.h"
#include "wxtools/app/show_errors.h"
#include "wxtools/paratree/detail/editor_keys.h"
#include "wxtools/paratree/detail/save_merge.h"
#include "wxtools/paratree/detail/tree_edit_commands.h"
#include "wxtools/paratree/detail/tree_search.h"
#include "wxtools/paratree/detail/tree_view_sync.h"
#include "wxtools/paratree/detail/unsaved_guard.h"
#include "wxtools/paratree/name_rule.h"
#include "wxtools/text.h"

#include <wx/dirdlg.h>
#include <wx/sizer.h>
#include <wx/utils.h>
#include <wx/wupdlock.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace ovk_wxtools {

wxDEFINE_EVENT(EVT_PARAMETER_TREE_MODIFIED, wxCommandEvent);
wxDEFINE_EVENT(EVT_PARAMETER_TREE_LOADED, wxCommandEvent);
wxDEFINE_EVENT(EVT_PARAMETER_TREE_FOUND, wxCommandEvent);
wxDEFINE_EVENT(EVT_PARAMETER_TREE_EDITED, wxCommandEvent);
wxDEFINE_EVENT(EVT_PARAMETER_TREE_SAVED, wxCommandEvent);

using ovk_paratree::Parameter;
using ovk_paratree::ParameterBook;
using ovk_paratree::ParameterDirectory;
using ovk_paratree::ParaTreeEntity;

namespace {

constexpr int kValueColumnWidth = 160;

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
    view_ = std::make_unique<detail::TreeViewSync>(*ui_tree, *ui_book, options_.value_column ? _ValueColumn : -1);
    commands_ = std::make_unique<detail::TreeEditCommands>(*this, *view_);
    guard_ = std::make_unique<detail::UnsavedGuard>(*this, options_.unsaved_guard);
    merge_ = std::make_unique<detail::SaveMerge>(*this, options_.tolerate_unreadable_books);
    search_ = std::make_unique<detail::TreeSearch>();

    ui_book->SetSelectionMode(wxGrid::wxGridSelectRows);
    if (!options_.description_locale.empty())
        Parameter::set_current_locale(options_.description_locale);
    add_extras();

    ui_tree->AssignImageList(detail::TreeViewSync::make_image_list());

    if (!path.empty()) {
        root = parameter_directory ? std::move(parameter_directory) : merge_->load(path);
        // A tree handed over with its path belongs there from the start, so
        // a Save To elsewhere never claims it for that other folder.
        root->set_home(to_path(path));
        root_path = path;
        ui_tree_path->SetValue(path);
        merge_->remember(*root);
        _refresh_tree_view();
        expand_first_level();
        after_edit();
    }
}

ParameterTreeEditorPanel::~ParameterTreeEditorPanel() = default;

void ParameterTreeEditorPanel::add_extras()
{
    if (options_.value_column) {
        ui_book->AppendCols(1);
        ui_book->SetColLabelValue(_ValueColumn, wxS("Value"));
        // The description gives up the room; the layout stretches it again.
        ui_book->SetColSize(1, std::max(60, ui_book->GetColSize(1) - kValueColumnWidth));
        ui_book->SetColSize(_ValueColumn, kValueColumnWidth);
    }
    if (options_.find)
        add_find_box();
    if (options_.rename) {
        ui_rename_parameter_button->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
            run_command([this] { commands_->rename_parameter(); });
        });
        ui_view_parameter_button->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { view_parameter(); });
    }
    keys_ = std::make_unique<detail::EditorKeys>(*this, ui_find_);
}

void ParameterTreeEditorPanel::add_find_box()
{
    ui_find_ = new wxSearchCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER);
    ui_find_->SetDescriptiveText(wxS("Find in names and descriptions"));
    ui_find_->ShowCancelButton(true);
    ui_find_count_ = new wxStaticText(this, wxID_ANY, wxEmptyString);
    // Tab reaches it just before the tree it searches.
    ui_find_->MoveBeforeInTabOrder(ui_tree);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(ui_find_, 1, wxALIGN_CENTER_VERTICAL | wxALL, 5);
    row->Add(ui_find_count_, 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);
    // Above the tree, inside its pane.
    if (wxSizer* tree_pane = ui_tree->GetContainingSizer())
        tree_pane->Insert(0, row, 0, wxEXPAND, 0);
    ui_find_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { find(ui_find_->GetValue()); });
    ui_find_->Bind(wxEVT_SEARCH, [this](wxCommandEvent&) { find_next(); });
    ui_find_->Bind(wxEVT_SEARCH_CANCEL, [this](wxCommandEvent&) { find(wxString()); });
    Layout();
}

bool ParameterTreeEditorPanel::is_valid_name(const wxString& name)
{
    return ovk_wxtools::is_valid_name(name);
}

// ---- the tree view and the grid ----

void ParameterTreeEditorPanel::_refresh_tree_view()
{
    // Native tree controls redraw on every insertion unless frozen.
    wxWindowUpdateLocker frozen(ui_tree);
    view_->reset(detail::TreeViewSync::last_path_component(root_path), root);
    view_->show_unreadable(merge_->unreadable());
    // The items the buttons were set for are gone. The toolkit may select the
    // new root without telling anyone, and no book is selected either way.
    disable_parameter_buttons();
}

void ParameterTreeEditorPanel::_construct_tree_branch(const std::shared_ptr<ParameterDirectory>& parameter_directory,
                                                      const wxTreeItemId& ui_item_id)
{
    view_->append_branch(*parameter_directory, ui_item_id);
}

void ParameterTreeEditorPanel::_show_parameters_of_book(const ParameterBook& book)
{
    view_->append_rows(book);
}

std::shared_ptr<ParaTreeEntity> ParameterTreeEditorPanel::item_object(const wxTreeItemId& item) const
{
    return view_->object(item);
}

void ParameterTreeEditorPanel::set_item_object(const wxTreeItemId& item, std::shared_ptr<ParaTreeEntity> object)
{
    view_->set_object(item, std::move(object));
}

void ParameterTreeEditorPanel::clear_book()
{
    view_->clear_rows();
}

void ParameterTreeEditorPanel::expand_first_level()
{
    if (options_.keyboard && ui_tree->GetRootItem().IsOk())
        ui_tree->Expand(ui_tree->GetRootItem());
}

// ---- loading and saving ----

void ParameterTreeEditorPanel::load_directory(const wxString& directory)
{
    // Load first: a failing load leaves the tree, the folder and the views as they were.
    std::shared_ptr<ParameterDirectory> loaded = merge_->load(directory);
    root = std::move(loaded);
    root_path = directory;
    merge_->remember(*root);
    _refresh_tree_view();
    clear_book();
    expand_first_level();
    after_edit();
    wxCommandEvent done(EVT_PARAMETER_TREE_LOADED, GetId());
    done.SetEventObject(this);
    done.SetString(directory);
    ProcessWindowEvent(done);
}

wxString ParameterTreeEditorPanel::choose_folder()
{
    wxString start;
    if (options_.chooser_at_tree_folder)
        start = !root_path.empty() && wxDirExists(root_path) ? root_path : wxGetHomeDir();
    wxDirDialog dialog(this, wxASCII_STR(wxDirSelectorPromptStr), start);
    // wxGTK hands the start folder to the GTK chooser only, and the dialog's
    // path reads empty until a folder is chosen; kept in the base class as
    // the other ports do, the dialog tells where it starts. Accepting a
    // folder replaces it.
    if (!start.empty())
        dialog.wxDirDialogBase::SetPath(start);
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
    if (!confirm_discard_changes(wxS("opening another folder")))
        return;
    const wxString folder = choose_folder();
    if (folder.empty())
        return;
    try {
        load_directory(folder);
    } catch (const std::exception& error) {
        MB::Error(from_utf8(error.what()));
        return;
    }
    ui_tree_path->SetValue(folder);
}

bool ParameterTreeEditorPanel::save_root_to(const wxString& folder, const std::vector<std::string>& taken)
{
    ovk_paratree::SaveReport report;
    try {
        report = root->save(to_path(folder));
        if (folder == root_path)
            merge_->remember(*root);
    } catch (const std::exception& error) {
        MB::Error(detail::save_failed_message(error.what()));
        after_edit();
        return false;
    }
    after_edit();
    // Folders kept because they hold other files are told, not hidden.
    const std::string kept = report.message();
    wxString from_disk;
    for (const std::string& path : taken)
        from_disk += wxS("\n    ") + from_utf8(path);
    if (!from_disk.empty())
        from_disk = wxS("\nTaken as someone else changed them on disk:") + from_disk;
    const wxString message = wxS("Save parameter to ") + folder + wxS(" success.") +
                             (kept.empty() ? wxString() : wxS("\n") + from_utf8(kept)) + from_disk;
    if (!options_.save_notice_as_event) {
        MB::Notice(message);
        return true;
    }
    wxCommandEvent saved(EVT_PARAMETER_TREE_SAVED, GetId());
    saved.SetEventObject(this);
    saved.SetString(message);
    ProcessWindowEvent(saved);
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
    // What someone else changed in the folder meanwhile is taken in first,
    // so that the save keeps their work.
    std::vector<std::string> taken;
    const auto outcome = merge_->merge(root, to_path(root_path), taken);
    if (outcome == detail::SaveMerge::Outcome::Cancelled)
        return false;
    if (outcome == detail::SaveMerge::Outcome::Merged)
        show_merged_tree();
    return save_root_to(root_path, taken);
}

void ParameterTreeEditorPanel::show_merged_tree()
{
    // The view shows the objects of the tree before the merge: rebuild it and
    // select again what was selected, by its path.
    const std::vector<wxString> selected = view_->path_of(ui_tree->GetSelection());
    _refresh_tree_view();
    expand_first_level();
    clear_book();
    ui_tree->SelectItem(view_->item_at(selected));
    wxTreeEvent refresh;
    on_tree_sel_changed(refresh);
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
        save_root_to(folder, {});
}

// ---- selection ----

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

// ---- editing commands ----

void ParameterTreeEditorPanel::run_command(const std::function<void()>& command)
{
    show_errors(command);
    after_edit();
}

void ParameterTreeEditorPanel::on_add_directory(wxCommandEvent&)
{
    run_command([this] { commands_->add_tree_child(detail::TreeEditCommands::Kind::Directory); });
}

void ParameterTreeEditorPanel::on_add_book(wxCommandEvent&)
{
    run_command([this] { commands_->add_tree_child(detail::TreeEditCommands::Kind::Book); });
}

void ParameterTreeEditorPanel::on_delete_tree_item(wxCommandEvent&)
{
    run_command([this] { commands_->delete_tree_item(); });
}

void ParameterTreeEditorPanel::on_add_parameter(wxCommandEvent&)
{
    run_command([this] { commands_->add_parameter(); });
}

void ParameterTreeEditorPanel::on_edit_parameter(wxCommandEvent&)
{
    run_command([this] { commands_->edit_parameter(options_.cancel_restores); });
}

void ParameterTreeEditorPanel::on_delete_parameter(wxCommandEvent&)
{
    run_command([this] { commands_->delete_parameters(options_.keyboard); });
}

void ParameterTreeEditorPanel::rename_tree_item()
{
    run_command([this] { commands_->rename_tree_item(); });
}

void ParameterTreeEditorPanel::rename_parameter()
{
    run_command([this] { commands_->rename_parameter(); });
}

void ParameterTreeEditorPanel::view_parameter()
{
    show_errors([this] { commands_->view_parameter(); });
}

// ---- copy commands ----

std::vector<wxString> ParameterTreeEditorPanel::get_selected_tree_item_path(const wxTreeItemId& item_id) const
{
    return view_->path_of(item_id);
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
    commands_->copy_parameter();
}

void ParameterTreeEditorPanel::do_copy_tree_item(wxCommandEvent&)
{
    commands_->copy_tree_item();
}

// ---- unsaved changes ----

bool ParameterTreeEditorPanel::modified() const
{
    return detail::UnsavedGuard::modified(root.get());
}

bool ParameterTreeEditorPanel::confirm_discard_changes(const wxString& doing)
{
    return guard_->confirm_discard(doing, modified(), [this] { return save(); });
}

void ParameterTreeEditorPanel::after_edit()
{
    if (guard_->asks()) {
        const bool now = modified();
        if (ui_tree->GetRootItem().IsOk())
            view_->mark_modified(ui_tree->GetRootItem());
        if (guard_->update(now)) {
            wxCommandEvent changed(EVT_PARAMETER_TREE_MODIFIED, GetId());
            changed.SetEventObject(this);
            changed.SetInt(now ? 1 : 0);
            ProcessWindowEvent(changed);
        }
    }
    // Matches name tree items, which a command may have deleted or renamed.
    if (!search_->text().empty())
        find(search_->text());
    wxCommandEvent edited(EVT_PARAMETER_TREE_EDITED, GetId());
    edited.SetEventObject(this);
    ProcessWindowEvent(edited);
}

// ---- counts and search ----

ParameterTreeEditorPanel::Counts ParameterTreeEditorPanel::counts() const
{
    Counts counts;
    if (root) {
        detail::TreeSearch::count(*root, counts.directories, counts.books, counts.parameters);
        counts.unreadable_books = merge_->unreadable().size();
    }
    return counts;
}

void ParameterTreeEditorPanel::find(const wxString& text)
{
    if (ui_find_ && ui_find_->GetValue() != text)
        ui_find_->ChangeValue(text);
    const wxTreeItemId top = ui_tree->GetRootItem();
    search_->search(text, top.IsOk() ? root.get() : nullptr);
    matches_.clear();
    for (auto& [item, parameter] : view_->items_of(search_->hits()))
        matches_.push_back({item, std::move(parameter)});
    if (ui_find_count_) {
        ui_find_count_->SetLabel(text.empty() ? wxString() : wxString::Format(wxS("%zu matches"), matches_.size()));
        Layout();
    }
    wxCommandEvent found(EVT_PARAMETER_TREE_FOUND, GetId());
    found.SetEventObject(this);
    found.SetInt(static_cast<int>(matches_.size()));
    ProcessWindowEvent(found);
}

bool ParameterTreeEditorPanel::find_next()
{
    if (matches_.empty())
        return false;
    const FindMatch match = matches_[search_->advance() % matches_.size()];
    ui_tree->EnsureVisible(match.item);
    if (ui_tree->GetSelection() != match.item)
        ui_tree->SelectItem(match.item);
    if (match.parameter.empty())
        return true;
    view_->select_row_of(match.parameter);
    return true;
}

// ---- description locale ----

void ParameterTreeEditorPanel::set_description_locale(const std::string& locale)
{
    Parameter::set_current_locale(locale);
    options_.description_locale = locale;
    // Row selection and buttons follow the rebuilt grid.
    wxTreeEvent refresh;
    on_tree_sel_changed(refresh);
}

std::vector<std::string> ParameterTreeEditorPanel::description_locales() const
{
    return root ? detail::TreeSearch::description_locales(*root) : std::vector<std::string>{};
}

}  // namespace ovk_wxtools
