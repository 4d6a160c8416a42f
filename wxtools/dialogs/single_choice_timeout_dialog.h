#pragma once
// Pick one entry of a list; when nobody acts before the countdown in the
// title bar runs out, the preselected entry is taken as if OK was pressed.
#include "wxtools/text.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/timer.h>

#include <initializer_list>
#include <memory>
#include <vector>

namespace ovk_wxtools {

// The countdown runs in steps of 0.1 s while the dialog is shown and stops
// for good on any selection change by the user, on a double-click (which
// accepts the entry at once), on OK, Cancel and on closing the window.
// A `timeout` of 0 or below means no countdown: the title stays the caption.
// The seconds left are shown with a decimal point whatever the C locale.
//
// When the countdown runs out, the dialog answers with the preselected entry
// or the one the user last selected, nothing else: with nothing preselected
// and no choice made, it ends with nothing selected (index -1), even when the
// toolkit has highlighted a row by itself (GTK selects the first row when the
// list takes the focus, without telling anyone).
//
// The public names are the dialog's published interface, each kept in the
// style it was published in, and must not be renamed: GetSelectionIndex and
// GetSelection, the handlers OnCloseDialog, OnTimerEvent, OnShowHandler,
// OnSelectionChanged and OnChoicesBoxDClick, the layout's controls
// mChoicesBox, m_sdbSizer1OK and m_sdbSizer1Cancel, and caption; of the
// private members, choices, left and timer. The other members are the
// dialog's own.
class SingleChoiceTimeoutDialog : public wxDialog {
public:
    SingleChoiceTimeoutDialog(wxWindow* parent, const wxString& message, const wxString& caption,
                              const std::vector<wxString>& choices, double timeout = 5, int selection = 0);
    // A brace list of choices: {"是", "否"} (narrow texts as UTF-8).
    SingleChoiceTimeoutDialog(wxWindow* parent, const wxString& message, const wxString& caption,
                              std::initializer_list<Text> choices, double timeout = 5, int selection = 0);

    // The selected position, -1 when nothing is selected.
    int GetSelectionIndex() const;
    // The selected entry; the empty text when nothing is selected.
    wxString GetSelection() const;

    void OnCloseDialog(wxCloseEvent& event);
    void OnTimerEvent(wxTimerEvent& event);
    void OnShowHandler(wxShowEvent& event);
    void OnSelectionChanged(wxCommandEvent& event);
    void OnChoicesBoxDClick(wxCommandEvent& event);

    wxListBox* mChoicesBox;
    wxButton* m_sdbSizer1OK;
    wxButton* m_sdbSizer1Cancel;
    wxString caption;

private:
    void stop_countdown();
    void end(int code);
    void show_countdown();
    void OnButton(wxCommandEvent& event);
    void OnChoicesBoxClick(wxMouseEvent& event);
    bool toolkit_selected(int row) const;
    void user_chose(int row);

    std::vector<wxString> choices;
    double left = 0;
    // The preselected entry or the user's last selection; -1 for none.
    int chosen = -1;
    std::unique_ptr<wxTimer> timer;
};

}  // namespace ovk_wxtools
