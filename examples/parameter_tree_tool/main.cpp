// A tool of its own with the parameter-tree editor inside: a frame with a
// menu, the editor panel as its body and the tree's folder in the status bar.
// parameter_tree_tool [FOLDER] opens FOLDER at start.
#include <wxtools/wxtools.h>

#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>

#include <cstdio>
#include <exception>

using namespace ovk_wxtools;

namespace {

class RecipeToolFrame : public wxFrame {
public:
    explicit RecipeToolFrame(const wxString& folder)
        : wxFrame(nullptr, wxID_ANY, wxS("Recipe tool"), wxDefaultPosition, wxSize(1000, 700))
    {
        auto* file = new wxMenu;
        file->Append(wxID_OPEN, wxS("&Open folder...\tCtrl+O"));
        file->Append(wxID_SAVE, wxS("&Save\tCtrl+S"));
        file->AppendSeparator();
        file->Append(wxID_EXIT, wxS("&Quit\tCtrl+Q"));
        auto* menus = new wxMenuBar;
        menus->Append(file, wxS("&File"));
        SetMenuBar(menus);
        CreateStatusBar();

        panel_ = new ParameterTreeEditorPanel(this, folder);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(panel_, 1, wxEXPAND);
        SetSizer(sizer);
        show_folder();

        // The menu reuses the panel's own commands, so it behaves exactly
        // like the panel's buttons.
        Bind(wxEVT_MENU, [this](wxCommandEvent& e) { panel_->on_load(e); show_folder(); }, wxID_OPEN);
        Bind(wxEVT_MENU, [this](wxCommandEvent& e) { panel_->on_save(e); }, wxID_SAVE);
        Bind(wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, wxID_EXIT);
    }

private:
    void show_folder()
    {
        SetStatusText(panel_->root ? panel_->root_path : wxString(wxS("No tree loaded")));
    }

    ParameterTreeEditorPanel* panel_;
};

}  // namespace

int main(int argc, char** argv)
{
    const wxString folder = argc > 1 ? from_utf8(argv[1]) : wxString();
    try {
        run_wxapp<RecipeToolFrame>(folder);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "parameter_tree_tool: %s\n", error.what());
        return 1;
    }
    return 0;
}
