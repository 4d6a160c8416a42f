#include "demo/paratree_editor/editor_frame.h"

#include "wxtools/text.h"

#include <wx/dir.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>
#include <wx/intl.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include <exception>
#include <filesystem>
#include <system_error>

namespace ovk_paratree_editor {

using ovk_wxtools::ParameterTreeEditorPanel;

namespace {

const wxString kAppTitle = wxS("Parameter Tree Editor");
constexpr int kLanguageFirstId = wxID_HIGHEST + 100;
constexpr int kLanguageMaxCount = 50;

}  // namespace

std::string user_locale()
{
    const int language = wxLocale::GetSystemLanguage();
    if (language == wxLANGUAGE_UNKNOWN || language == wxLANGUAGE_DEFAULT)
        return {};
    return wxLocale::GetLanguageCanonicalName(language).utf8_string();
}

EditorFrame::EditorFrame(const wxString& folder)
    : wxFrame(nullptr, wxID_ANY, kAppTitle),
      config_(std::make_unique<wxConfig>(wxS("ovk-paratree-editor")))
{
    auto options = ovk_wxtools::ParameterTreeEditorOptions::all();
    options.description_locale = user_locale();
    options.save_notice_as_event = true;
    panel_ = new ParameterTreeEditorPanel(this, wxEmptyString, nullptr, options);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(panel_, 1, wxEXPAND | wxALL, 5);
    SetSizer(sizer);

    auto* file = new wxMenu;
    file->Append(wxID_OPEN, wxS("&Open Folder...\tCtrl+O"));
    file->Append(wxID_SAVE, wxS("&Save\tCtrl+S"));
    file->Append(wxID_SAVEAS, wxS("Save &To..."));
    auto* recent = new wxMenu;
    file->AppendSubMenu(recent, wxS("&Recent Folders"));
    file->AppendSeparator();
    file->Append(wxID_EXIT, wxS("&Quit\tCtrl+Q"));
    languages_ = new wxMenu;
    auto* view = new wxMenu;
    view->AppendSubMenu(languages_, wxS("Description &Language"));
    auto* bar = new wxMenuBar;
    bar->Append(file, wxS("&File"));
    bar->Append(view, wxS("&View"));
    SetMenuBar(bar);
    CreateStatusBar(2);

    history_.UseMenu(recent);
    history_.Load(*config_);

    Bind(wxEVT_MENU, [this](wxCommandEvent&) { panel_->load(); }, wxID_OPEN);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ovk_wxtools::show_errors([this] { panel_->save(); }); }, wxID_SAVE);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { panel_->save_to(); }, wxID_SAVEAS);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, wxID_EXIT);
    Bind(wxEVT_MENU, [this](wxCommandEvent& event) {
        const wxString recent_folder = history_.GetHistoryFile(event.GetId() - wxID_FILE1);
        if (panel_->confirm_discard_changes(wxS("opening another folder")))
            open_folder(recent_folder);
    }, wxID_FILE1, wxID_FILE9);
    Bind(wxEVT_MENU, &EditorFrame::on_language, this, kLanguageFirstId, kLanguageFirstId + kLanguageMaxCount - 1);
    Bind(wxEVT_CLOSE_WINDOW, &EditorFrame::on_close, this);
    panel_->Bind(ovk_wxtools::EVT_PARAMETER_TREE_LOADED, &EditorFrame::on_loaded, this);
    panel_->Bind(ovk_wxtools::EVT_PARAMETER_TREE_MODIFIED, [this](wxCommandEvent& event) {
        event.Skip();
        update_status();
    });
    panel_->Bind(ovk_wxtools::EVT_PARAMETER_TREE_EDITED, [this](wxCommandEvent& event) {
        event.Skip();
        update_status();
    });
    panel_->Bind(ovk_wxtools::EVT_PARAMETER_TREE_SAVED, [this](wxCommandEvent& event) {
        event.Skip();
        SetStatusText(event.GetString().BeforeFirst('\n'), 1);
    });
    panel_->Bind(ovk_wxtools::EVT_PARAMETER_TREE_FOUND, [this](wxCommandEvent& event) {
        event.Skip();
        update_status();
    });

    const int width = static_cast<int>(config_->ReadLong(wxS("Window/Width"), 1000));
    const int height = static_cast<int>(config_->ReadLong(wxS("Window/Height"), 640));
    SetSize(wxSize(width, height));
    Centre();

    wxString start = folder;
    if (start.empty()) {
        const wxString last = config_->Read(wxS("LastFolder"), wxString());
        if (!last.empty() && wxDir::Exists(last))
            start = last;
        else
            start = user_sample_tree_folder();
    }
    // Opened once the window is up, so that what the load tells (books that
    // cannot be read, entries skipped) comes above the window, not before it.
    if (!start.empty())
        CallAfter([this, start] { open_folder(start); });
    update_status();
}

EditorFrame::~EditorFrame() = default;

wxString sample_tree_folder()
{
    // Next to the sources in a build tree, else where the package installs it.
    const wxString built = wxString::FromUTF8(OVK_DEMO_DIR "/sample_tree");
    if (wxDir::Exists(built))
        return built;
    wxFileName installed(wxStandardPaths::Get().GetExecutablePath());
    installed.RemoveLastDir();
    installed.AppendDir(wxS("share"));
    installed.AppendDir(wxS("ovk_wxtools"));
    installed.AppendDir(wxS("sample_tree"));
    return installed.GetPath();
}

namespace {

// Where the program keeps the user's files. On Unix the XDG data folder:
// wxStandardPaths puts it at ~/.<program>, where the settings file already is.
std::filesystem::path user_data_folder()
{
#ifdef __UNIX__
    wxString base;
    if (!wxGetEnv(wxS("XDG_DATA_HOME"), &base) || base.empty())
        base = wxGetHomeDir() + wxS("/.local/share");
    return std::filesystem::path(base.utf8_string()) / "ovk-paratree-editor";
#else
    return std::filesystem::path(wxStandardPaths::Get().GetUserDataDir().utf8_string());
#endif
}

}  // namespace

wxString user_sample_tree_folder()
{
    namespace fs = std::filesystem;
    const wxString source = sample_tree_folder();
    if (!wxDir::Exists(source))
        return {};
    const fs::path data = user_data_folder();
    const fs::path copy = data / "sample_tree";
    std::error_code error;
    if (fs::is_directory(copy, error))
        return wxString::FromUTF8(copy.string());
    // Copied under another name first: a copy cut short never passes for the tree.
    const fs::path partial = data / "sample_tree.partial";
    fs::remove_all(partial, error);
    fs::create_directories(data, error);
    fs::copy(fs::path(source.utf8_string()), partial, fs::copy_options::recursive, error);
    if (!error)
        fs::rename(partial, copy, error);
    if (error) {
        fs::remove_all(partial, error);
        return {};
    }
    return wxString::FromUTF8(copy.string());
}

void EditorFrame::open_folder(const wxString& folder)
{
    ovk_wxtools::show_errors([&] {
        panel_->load_directory(folder);
        panel_->ui_tree_path->SetValue(folder);
    });
}

void EditorFrame::on_loaded(wxCommandEvent& event)
{
    event.Skip();
    const wxString folder = event.GetString();
    history_.AddFileToHistory(folder);
    config_->Write(wxS("LastFolder"), folder);
    history_.Save(*config_);
    // Kept at once: a run that ends without closing its window still remembers the folder.
    config_->Flush();
    SetTitle(kAppTitle + wxS(" - ") + folder);
    rebuild_language_menu();
    update_status();
}

void EditorFrame::rebuild_language_menu()
{
    while (languages_->GetMenuItemCount() > 0)
        languages_->Destroy(languages_->FindItemByPosition(0));
    language_keys_ = panel_->description_locales();
    if (language_keys_.size() > kLanguageMaxCount)
        language_keys_.resize(kLanguageMaxCount);
    const std::string current = ovk_paratree::Parameter::current_locale();
    for (std::size_t i = 0; i < language_keys_.size(); ++i) {
        wxMenuItem* item = languages_->AppendRadioItem(kLanguageFirstId + static_cast<int>(i),
                                                       ovk_wxtools::from_utf8(language_keys_[i]));
        item->Check(language_keys_[i] == current);
    }
}

void EditorFrame::on_language(wxCommandEvent& event)
{
    const std::size_t index = static_cast<std::size_t>(event.GetId() - kLanguageFirstId);
    if (index < language_keys_.size())
        panel_->set_description_locale(language_keys_[index]);
}

void EditorFrame::update_status()
{
    const ParameterTreeEditorPanel::Counts counts = panel_->counts();
    const wxString unreadable =
        counts.unreadable_books ? wxString::Format(wxS(" (%zu could not be read)"), counts.unreadable_books) : wxString();
    SetStatusText(wxString::Format(wxS("%zu directories, %zu books%s, %zu parameters%s"), counts.directories,
                                   counts.books, unreadable, counts.parameters,
                                   panel_->modified() ? wxS(", unsaved changes") : wxS("")),
                  0);
    SetStatusText(panel_->find_matches().empty() ? wxString()
                                                 : wxString::Format(wxS("%zu matches"),
                                                                    panel_->find_matches().size()),
                  1);
}

void EditorFrame::on_close(wxCloseEvent& event)
{
    if (event.CanVeto() && !panel_->confirm_discard_changes(wxS("quitting"))) {
        event.Veto();
        return;
    }
    if (!IsMaximized() && !IsIconized()) {
        config_->Write(wxS("Window/Width"), static_cast<long>(GetSize().GetWidth()));
        config_->Write(wxS("Window/Height"), static_cast<long>(GetSize().GetHeight()));
    }
    history_.Save(*config_);
    config_->Flush();
    event.Skip();
}

}  // namespace ovk_paratree_editor
