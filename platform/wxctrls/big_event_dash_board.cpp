#include "platform/wxctrls/big_event_dash_board.h"

#include <wx/sizer.h>
#include <wx/statbox.h>

#include <algorithm>

namespace ovk_wxctrls {

const char* const BigEventDashBoard::history_column_labels[3] = {"Level / State", "Time / Alarm", "Message"};

BigEventDashBoard::BigEventDashBoard(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                                     long style)
    : wxPanel(parent, id, pos, size, style)
{
    auto* outer = new wxBoxSizer(wxHORIZONTAL);

    auto* active_box = new wxStaticBoxSizer(wxVERTICAL, this, wxS("Active alarms"));
    ui_list_alarm = new wxListBox(active_box->GetStaticBox(), wxID_ANY, wxDefaultPosition, wxSize(200, -1), 0,
                                  nullptr, wxLB_SINGLE | wxLB_NEEDED_SB);
    active_box->Add(ui_list_alarm, 1, wxALL | wxEXPAND, 5);
    outer->Add(active_box, 1, wxALL | wxEXPAND, 5);

    auto* history_box = new wxStaticBoxSizer(wxVERTICAL, this, wxS("History"));
    ui_grid_error_history = new wxGrid(history_box->GetStaticBox(), wxID_ANY, wxDefaultPosition, wxSize(520, 280));
    ui_grid_error_history->CreateGrid(0, 3);
    ui_grid_error_history->EnableEditing(false);
    ui_grid_error_history->EnableDragRowSize(false);
    ui_grid_error_history->SetRowLabelSize(0);
    ui_grid_error_history->SetColLabelAlignment(wxALIGN_LEFT, wxALIGN_CENTRE);
    lay_out_history_columns();
    history_box->Add(ui_grid_error_history, 1, wxALL | wxEXPAND, 5);
    outer->Add(history_box, 3, wxALL | wxEXPAND, 5);

    SetSizer(outer);
    Layout();

    ui_grid_error_history->Bind(wxEVT_SIZE, &BigEventDashBoard::on_grid_size, this);
}

BigEventDashBoard::~BigEventDashBoard() = default;

void BigEventDashBoard::use_history_table(wxGridTableBase* table, wxGrid::wxGridSelectionModes selection)
{
    // A new table starts the grid's columns afresh.
    ui_grid_error_history->SetTable(table, true, selection);
    lay_out_history_columns();
}

void BigEventDashBoard::lay_out_history_columns()
{
    for (int col = 0; col < 3; ++col)
        ui_grid_error_history->SetColLabelValue(col, wxString::FromUTF8(history_column_labels[col]));
    ui_grid_error_history->SetColSize(0, 115);
    ui_grid_error_history->SetColSize(1, 180);
    ui_grid_error_history->SetColSize(2, 220);
}

void BigEventDashBoard::on_grid_size(wxSizeEvent& event)
{
    event.Skip();
    // The new client size is known only after the grid has handled the event.
    CallAfter([this] { stretch_last_column(); });
}

void BigEventDashBoard::stretch_last_column()
{
    const int used = ui_grid_error_history->GetRowLabelSize() + ui_grid_error_history->GetColSize(0) +
                     ui_grid_error_history->GetColSize(1);
    const int width = ui_grid_error_history->GetClientSize().GetWidth() - used;
    const int wanted = std::max(width, 120);
    if (ui_grid_error_history->GetColSize(2) != wanted)
        ui_grid_error_history->SetColSize(2, wanted);
}

}  // namespace ovk_wxctrls
