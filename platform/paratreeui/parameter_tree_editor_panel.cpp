#include "platform/paratreeui/parameter_tree_editor_panel.h"

#include <wx/sizer.h>
#include <wx/statbox.h>

#include <initializer_list>

namespace ovk_paratreeui {

namespace {

constexpr int kNameColumnWidth = 170;
constexpr int kDescriptionColumn = 1;

}  // namespace

ParameterTreeEditorPanel::ParameterTreeEditorPanel(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                                                   const wxSize& size, long style, const wxString& name)
    : wxPanel(parent, id, pos, size, style, name)
{
    // The panes' controls are made in tab order, the tree first. Each pane's static box
    // comes before its controls, which are its siblings and drawn over it.
    auto* tree_box = new wxStaticBoxSizer(new wxStaticBox(this, wxID_ANY, wxS("Directories and books")), wxVERTICAL);
    auto* book_box = new wxStaticBoxSizer(new wxStaticBox(this, wxID_ANY, wxS("Parameters of the selected book")),
                                          wxVERTICAL);

    fill_tree_pane(tree_box);
    fill_book_pane(book_box);
    wxSizer* folder_row = make_folder_row();

    // Made last, shown first: Tab reaches the folder row before the panes.
    for (wxWindow* control : {static_cast<wxWindow*>(ui_tree_path_label), static_cast<wxWindow*>(ui_tree_path),
                              static_cast<wxWindow*>(ui_load_button), static_cast<wxWindow*>(ui_save_button),
                              static_cast<wxWindow*>(ui_save_to_button)})
        control->MoveBeforeInTabOrder(tree_box->GetStaticBox());

    auto* panes = new wxBoxSizer(wxHORIZONTAL);
    panes->Add(tree_box, 1, wxEXPAND | wxALL, 5);
    panes->Add(book_box, 2, wxEXPAND | wxALL, 5);
    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(folder_row, 0, wxEXPAND, 0);
    outer->Add(panes, 1, wxEXPAND, 0);
    SetSizer(outer);
    Layout();
    outer->Fit(this);
    // A new editor starts with the focus in the tree (applied once it is shown).
    ui_tree->SetFocus();

    bind_handlers();
}

ParameterTreeEditorPanel::~ParameterTreeEditorPanel() = default;

// Left: directories and books.
void ParameterTreeEditorPanel::fill_tree_pane(wxStaticBoxSizer* tree_box)
{
    ui_tree = new wxTreeCtrl(this, wxID_ANY, wxDefaultPosition, wxSize(250, 420), wxTR_DEFAULT_STYLE | wxTR_SINGLE);
    tree_box->Add(ui_tree, 1, wxEXPAND | wxALL, 5);
    auto* tree_buttons = new wxGridSizer(2, 2, 0, 0);
    ui_add_directory_button = new wxButton(this, wxID_ANY, wxS("Add Directory..."));
    ui_add_directory_button->SetToolTip(wxS("Add a directory under the selected directory."));
    tree_buttons->Add(ui_add_directory_button, 0, wxEXPAND | wxALL, 5);
    ui_add_book_button = new wxButton(this, wxID_ANY, wxS("Add Book..."));
    ui_add_book_button->SetToolTip(wxS("Add a parameter book under the selected directory."));
    tree_buttons->Add(ui_add_book_button, 0, wxEXPAND | wxALL, 5);
    ui_copy_tree_item_button = new wxButton(this, wxID_ANY, wxS("Copy To..."));
    ui_copy_tree_item_button->SetToolTip(wxS("Copy the selected directory or book to another place on disk."));
    tree_buttons->Add(ui_copy_tree_item_button, 0, wxEXPAND | wxALL, 5);
    ui_delete_tree_item_button = new wxButton(this, wxID_ANY, wxS("Delete"));
    ui_delete_tree_item_button->SetToolTip(wxS("Delete the selected directory or book; on the top item, clear the tree."));
    tree_buttons->Add(ui_delete_tree_item_button, 0, wxEXPAND | wxALL, 5);
    tree_box->Add(tree_buttons, 0, wxEXPAND, 0);
}

// Right: the parameters of the selected book.
void ParameterTreeEditorPanel::fill_book_pane(wxStaticBoxSizer* book_box)
{
    ui_book = new wxGrid(this, wxID_ANY, wxDefaultPosition, wxSize(500, 420));
    ui_book->CreateGrid(0, 2);
    ui_book->EnableEditing(false);
    ui_book->EnableDragRowSize(false);
    ui_book->SetRowLabelSize(0);
    ui_book->SetColLabelValue(0, wxS("Name"));
    ui_book->SetColLabelValue(1, wxS("Description"));
    ui_book->SetColLabelAlignment(wxALIGN_LEFT, wxALIGN_CENTER);
    // Whole rows are selected; a frame around one cell would only distract.
    ui_book->SetCellHighlightPenWidth(0);
    ui_book->SetCellHighlightROPenWidth(0);
    ui_book->SetColSize(0, kNameColumnWidth);
    ui_book->SetColSize(1, 500 - kNameColumnWidth);
    book_box->Add(ui_book, 1, wxEXPAND | wxALL, 5);
    auto* book_buttons = new wxBoxSizer(wxHORIZONTAL);
    auto add_book_button = [&](const wxString& label, const wxString& tip) {
        auto* button = new wxButton(this, wxID_ANY, label, wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
        button->SetToolTip(tip);
        button->Disable();  // nothing to act on until a book or a parameter is selected
        book_buttons->Add(button, 1, wxALL, 5);
        return button;
    };
    ui_add_parameter_button = add_book_button(wxS("Add..."), wxS("Add a parameter to the selected book."));
    ui_edit_parameter_button = add_book_button(wxS("Edit..."), wxS("Edit the selected parameter."));
    ui_rename_parameter_button = add_book_button(wxS("Rename..."), wxS("Rename the selected parameter."));
    ui_view_parameter_button = add_book_button(wxS("View..."), wxS("View the selected parameter."));
    ui_copy_parameter_button = add_book_button(wxS("Copy To..."), wxS("Copy the selected parameter into a book file."));
    ui_delete_parameter_button = add_book_button(wxS("Delete"), wxS("Delete the selected parameters."));
    book_box->Add(book_buttons, 0, wxEXPAND, 0);
}

// Top row: where the tree lives, and the commands that read or write it.
wxSizer* ParameterTreeEditorPanel::make_folder_row()
{
    auto* folder_row = new wxBoxSizer(wxHORIZONTAL);
    ui_tree_path_label = new wxStaticText(this, wxID_ANY, wxS("Folder:"));
    folder_row->Add(ui_tree_path_label, 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);
    ui_tree_path = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
    ui_tree_path->SetToolTip(wxS("Folder the parameter tree was loaded from; Save writes back to it."));
    folder_row->Add(ui_tree_path, 1, wxALIGN_CENTER_VERTICAL | wxALL, 5);
    ui_load_button = new wxButton(this, wxID_ANY, wxS("Load..."));
    ui_load_button->SetToolTip(wxS("Load a parameter tree from a folder."));
    folder_row->Add(ui_load_button, 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);
    ui_save_button = new wxButton(this, wxID_ANY, wxS("Save"));
    ui_save_button->SetToolTip(wxS("Save the parameter tree to the folder it was loaded from."));
    folder_row->Add(ui_save_button, 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);
    ui_save_to_button = new wxButton(this, wxID_ANY, wxS("Save To..."));
    ui_save_to_button->SetToolTip(wxS("Save a copy of the parameter tree to another folder."));
    folder_row->Add(ui_save_to_button, 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);
    return folder_row;
}

void ParameterTreeEditorPanel::bind_handlers()
{
    ui_load_button->Bind(wxEVT_BUTTON, &ParameterTreeEditorPanel::on_load, this);
    ui_save_button->Bind(wxEVT_BUTTON, &ParameterTreeEditorPanel::on_save, this);
    ui_save_to_button->Bind(wxEVT_BUTTON, &ParameterTreeEditorPanel::on_save_to, this);
    ui_tree->Bind(wxEVT_TREE_SEL_CHANGED, &ParameterTreeEditorPanel::on_tree_sel_changed, this);
    ui_add_directory_button->Bind(wxEVT_BUTTON, &ParameterTreeEditorPanel::on_add_directory, this);
    ui_add_book_button->Bind(wxEVT_BUTTON, &ParameterTreeEditorPanel::on_add_book, this);
    ui_copy_tree_item_button->Bind(wxEVT_BUTTON, &ParameterTreeEditorPanel::on_copy_tree_item, this);
    ui_delete_tree_item_button->Bind(wxEVT_BUTTON, &ParameterTreeEditorPanel::on_delete_tree_item, this);
    ui_book->Bind(wxEVT_GRID_RANGE_SELECTED, &ParameterTreeEditorPanel::on_select_parameter, this);
    ui_book->Bind(wxEVT_SIZE, &ParameterTreeEditorPanel::stretch_last_column, this);
    ui_add_parameter_button->Bind(wxEVT_BUTTON, &ParameterTreeEditorPanel::on_add_parameter, this);
    ui_edit_parameter_button->Bind(wxEVT_BUTTON, &ParameterTreeEditorPanel::on_edit_parameter, this);
    ui_copy_parameter_button->Bind(wxEVT_BUTTON, &ParameterTreeEditorPanel::on_copy_parameter, this);
    ui_delete_parameter_button->Bind(wxEVT_BUTTON, &ParameterTreeEditorPanel::on_delete_parameter, this);
}

void ParameterTreeEditorPanel::stretch_last_column(wxSizeEvent& event)
{
    event.Skip();
    // A derived editor may add columns after it; they keep their widths.
    int free_width = ui_book->GetClientSize().GetWidth() - ui_book->GetRowLabelSize();
    for (int column = 0; column < ui_book->GetNumberCols(); ++column)
        if (column != kDescriptionColumn)
            free_width -= ui_book->GetColSize(column);
    if (free_width > 60)
        ui_book->SetColSize(kDescriptionColumn, free_width);
}

}  // namespace ovk_paratreeui
