#pragma once
// Layout of the parameter tree editor panel: the tree of directories and
// books on the left, the parameters of the selected book on the right, the
// folder of the tree with load and save commands on top. It only creates the
// controls and routes their events to the virtual on_… handlers; the editor
// logic lives in a class derived from it.
#include <wx/button.h>
#include <wx/grid.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

namespace ovk_paratreeui {

class ParameterTreeEditorPanel : public wxPanel {
public:
    explicit ParameterTreeEditorPanel(wxWindow* parent, wxWindowID id = wxID_ANY,
                                      const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                                      long style = wxTAB_TRAVERSAL, const wxString& name = wxASCII_STR(wxPanelNameStr));
    ~ParameterTreeEditorPanel() override;

    // Folder of the tree and the commands that read or write it.
    wxStaticText* ui_tree_path_label;
    wxTextCtrl* ui_tree_path;
    wxButton* ui_load_button;
    wxButton* ui_save_button;
    wxButton* ui_save_to_button;

    // The tree view and the commands on its items.
    wxTreeCtrl* ui_tree;
    wxButton* ui_add_directory_button;
    wxButton* ui_add_book_button;
    wxButton* ui_copy_tree_item_button;
    wxButton* ui_delete_tree_item_button;

    // The parameters of the selected book and the commands on them.
    wxGrid* ui_book;
    wxButton* ui_add_parameter_button;
    wxButton* ui_edit_parameter_button;
    wxButton* ui_rename_parameter_button;
    wxButton* ui_view_parameter_button;
    wxButton* ui_copy_parameter_button;
    wxButton* ui_delete_parameter_button;

    // Handlers; the derived editor overrides them. Here they let the event go on.
    virtual void on_load(wxCommandEvent& event) { event.Skip(); }
    virtual void on_save(wxCommandEvent& event) { event.Skip(); }
    virtual void on_save_to(wxCommandEvent& event) { event.Skip(); }
    virtual void on_tree_sel_changed(wxTreeEvent& event) { event.Skip(); }
    virtual void on_select_parameter(wxGridRangeSelectEvent& event) { event.Skip(); }
    virtual void on_add_directory(wxCommandEvent& event) { event.Skip(); }
    virtual void on_add_book(wxCommandEvent& event) { event.Skip(); }
    virtual void on_delete_tree_item(wxCommandEvent& event) { event.Skip(); }
    virtual void on_copy_tree_item(wxCommandEvent& event) { event.Skip(); }
    virtual void on_add_parameter(wxCommandEvent& event) { event.Skip(); }
    virtual void on_edit_parameter(wxCommandEvent& event) { event.Skip(); }
    virtual void on_delete_parameter(wxCommandEvent& event) { event.Skip(); }
    virtual void on_copy_parameter(wxCommandEvent& event) { event.Skip(); }

private:
    void fill_tree_pane(wxStaticBoxSizer* tree_box);
    void fill_book_pane(wxStaticBoxSizer* book_box);
    wxSizer* make_folder_row();
    void bind_handlers();
    // Keeps the description column filling the grid's width.
    void stretch_last_column(wxSizeEvent& event);
};

}  // namespace ovk_paratreeui
