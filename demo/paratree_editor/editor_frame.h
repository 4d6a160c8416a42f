#pragma once
// The main window of ovk-paratree-editor: the tree editor panel with every
// option on, a File menu (open, save, save to, recent folders, quit), the
// choice of the description language, counts in the status bar, and the last
// folder, the recent folders and the window size kept between runs.
#include "wxtools/wxtools.h"

#include <wx/config.h>
#include <wx/filehistory.h>
#include <wx/frame.h>

#include <memory>
#include <string>

namespace ovk_paratree_editor {

class EditorFrame : public wxFrame {
public:
    // Opens `folder`, or without one the folder of the last run if it still
    // exists, else the user's copy of the sample tree. A folder that cannot be loaded leaves the editor empty.
    explicit EditorFrame(const wxString& folder);
    ~EditorFrame() override;

    ovk_wxtools::ParameterTreeEditorPanel* panel() const { return panel_; }

private:
    void open_folder(const wxString& folder);
    void on_loaded(wxCommandEvent& event);
    void on_close(wxCloseEvent& event);
    void on_language(wxCommandEvent& event);
    void rebuild_language_menu();
    void update_status();

    std::unique_ptr<wxConfig> config_;
    wxFileHistory history_;
    ovk_wxtools::ParameterTreeEditorPanel* panel_ = nullptr;
    wxMenu* languages_ = nullptr;
    std::vector<std::string> language_keys_;
};

// The sample tree of demo/sample_tree, as built or installed.
wxString sample_tree_folder();

// The user's own copy of the sample tree, in the user's data folder, made
// from sample_tree_folder() on first use: opened when there is no folder to
// open, so that a save never edits the copy in the sources or the package.
// Empty when there is no sample tree or the copy cannot be made.
wxString user_sample_tree_folder();

// The description locale that fits the user's language ("zh_CN", "en_US");
// empty when the system does not say.
std::string user_locale();

}  // namespace ovk_paratree_editor
