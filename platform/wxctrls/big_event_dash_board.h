#pragma once
// Layout of the alarm dashboard: the list of active alarms beside a history
// grid. It only builds and arranges the controls; the logic lives in classes
// derived from it.
#include <wx/grid.h>
#include <wx/listbox.h>
#include <wx/panel.h>

namespace ovk_wxctrls {

class BigEventDashBoard : public wxPanel {
public:
    explicit BigEventDashBoard(wxWindow* parent, wxWindowID id = wxID_ANY, const wxPoint& pos = wxDefaultPosition,
                               const wxSize& size = wxSize(780, 360), long style = wxTAB_TRAVERSAL);
    ~BigEventDashBoard() override;

    // Column labels of the history grid, left to right.
    static const char* const history_column_labels[3];

    wxListBox* ui_list_alarm;
    wxGrid* ui_grid_error_history;

protected:
    // Puts `table` (owned by the grid from now on) behind the history grid,
    // with the history's columns as they were.
    void use_history_table(wxGridTableBase* table, wxGrid::wxGridSelectionModes selection);

private:
    void lay_out_history_columns();
    // Gives the message column whatever width the other columns leave.
    void on_grid_size(wxSizeEvent& event);
    void stretch_last_column();
};

}  // namespace ovk_wxctrls
