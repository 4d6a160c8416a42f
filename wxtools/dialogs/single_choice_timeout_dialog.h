#pragma once
// Pick one entry of a list; when nobody acts before the countdown in the
// title bar runs out, the preselected entry is taken as if OK was pressed.
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/timer.h>

#include <memory>
#include <vector>

namespace ovk_wxtools {

// The countdown runs in steps of 0.1 s while the dialog is shown and stops
// for good on any selection change by the user, on a double-click (which
// accepts the entry at once), on OK, Cancel and on closing the window.
// A `timeout` of 0 or below means no countdown: the title stays the caption.
class SingleChoiceTimeoutDialog : public wxDialog {
public:
    SingleChoiceTimeoutDialog(wxWindow* parent, const wxString& message, const wxString& caption,
                              const std::vector<wxString>& choices, double timeout = 5, int selection = 0);

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

    std::vector<wxString> choices;
    double left = 0;
    std::unique_ptr<wxTimer> timer;
};

}  // namespace ovk_wxtools
