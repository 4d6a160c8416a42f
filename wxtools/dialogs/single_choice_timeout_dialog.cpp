#include "wxtools/dialogs/single_choice_timeout_dialog.h"

#include "wxtools/text.h"

#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>

#include <algorithm>

namespace ovk_wxtools {

SingleChoiceTimeoutDialog::SingleChoiceTimeoutDialog(wxWindow* parent, const wxString& message,
                                                     const wxString& caption_, const std::vector<wxString>& choices_,
                                                     double timeout, int selection)
    : wxDialog(parent, wxID_ANY, caption_, wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE)
{
    SetSizeHints(wxDefaultSize, wxDefaultSize);
    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(new wxStaticText(this, wxID_ANY, message, wxDefaultPosition, wxDefaultSize, 0), 0, wxALL | wxEXPAND, 5);

    wxArrayString items;
    for (const wxString& c : choices_)
        items.Add(c);
    mChoicesBox = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, items, wxLB_SINGLE);
    if (!choices_.empty() && selection >= 0 && selection < static_cast<int>(choices_.size())) {
        mChoicesBox->SetSelection(selection);
        chosen = selection;
    }
    // GTK rows are taller than the toolkit's estimate; without a minimum the
    // last of a few entries is cut off. Up to eight rows are shown at once.
    const int rows = std::clamp(static_cast<int>(choices_.size()), 3, 8);
    mChoicesBox->SetMinSize(wxSize(-1, rows * (mChoicesBox->GetCharHeight() + 10) + 6));
    outer->Add(mChoicesBox, 1, wxALL | wxEXPAND, 5);
    outer->Add(new wxStaticLine(this), 0, wxEXPAND, 0);

    auto* buttons = new wxStdDialogButtonSizer();
    m_sdbSizer1OK = new wxButton(this, wxID_OK);
    buttons->AddButton(m_sdbSizer1OK);
    m_sdbSizer1Cancel = new wxButton(this, wxID_CANCEL);
    buttons->AddButton(m_sdbSizer1Cancel);
    buttons->Realize();
    outer->Add(buttons, 0, wxALL | wxEXPAND, 5);

    SetSizer(outer);
    Layout();
    outer->Fit(this);
    Centre(wxBOTH);

    Bind(wxEVT_CLOSE_WINDOW, &SingleChoiceTimeoutDialog::OnCloseDialog, this);
    mChoicesBox->Bind(wxEVT_LISTBOX, &SingleChoiceTimeoutDialog::OnSelectionChanged, this);
    mChoicesBox->Bind(wxEVT_LISTBOX_DCLICK, &SingleChoiceTimeoutDialog::OnChoicesBoxDClick, this);
    mChoicesBox->Bind(wxEVT_LEFT_DOWN, &SingleChoiceTimeoutDialog::OnChoicesBoxClick, this);
    // OK and Cancel keep their standard handling (the handler skips) but stop the countdown.
    m_sdbSizer1OK->Bind(wxEVT_BUTTON, &SingleChoiceTimeoutDialog::OnButton, this);
    m_sdbSizer1Cancel->Bind(wxEVT_BUTTON, &SingleChoiceTimeoutDialog::OnButton, this);

    choices = choices_;
    if (timeout > 0) {
        left = timeout;
        timer = std::make_unique<wxTimer>(this);
        Bind(wxEVT_TIMER, &SingleChoiceTimeoutDialog::OnTimerEvent, this, timer->GetId());
        Bind(wxEVT_SHOW, &SingleChoiceTimeoutDialog::OnShowHandler, this, GetId());
        caption = caption_;
    }
}

SingleChoiceTimeoutDialog::SingleChoiceTimeoutDialog(wxWindow* parent, const wxString& message,
                                                     const wxString& caption_, std::initializer_list<Text> choices_,
                                                     double timeout, int selection)
    : SingleChoiceTimeoutDialog(parent, message, caption_, std::vector<wxString>(choices_.begin(), choices_.end()),
                                timeout, selection)
{
}

int SingleChoiceTimeoutDialog::GetSelectionIndex() const
{
    return mChoicesBox->GetSelection();
}

wxString SingleChoiceTimeoutDialog::GetSelection() const
{
    const int n = GetSelectionIndex();
    if (n < 0 || n >= static_cast<int>(choices.size()))
        return wxString();
    return choices[n];
}

void SingleChoiceTimeoutDialog::stop_countdown()
{
    if (timer)
        timer->Stop();
}

void SingleChoiceTimeoutDialog::show_countdown()
{
    SetTitle(caption + wxS(" ") + format_fixed(left, 1));
}

void SingleChoiceTimeoutDialog::end(int code)
{
    // Shown without a modal run, the dialog hides and keeps the code for GetReturnCode.
    SetReturnCode(code);
    EndDialog(code);
}

void SingleChoiceTimeoutDialog::OnShowHandler(wxShowEvent& event)
{
    // GTK may report the showing again when the window is mapped; only a
    // dialog still on screen counts down.
    if (!event.IsShown() || !IsShown() || !timer)
        return;
    timer->Start(100, wxTIMER_CONTINUOUS);
    show_countdown();
}

void SingleChoiceTimeoutDialog::OnTimerEvent(wxTimerEvent&)
{
    // A tick that comes after the dialog was ended elsewhere must not end it again.
    if (!timer)
        return;
    if (!IsShown()) {
        stop_countdown();
        return;
    }
    left -= 0.1;
    if (left <= 0) {
        stop_countdown();
        // A row the toolkit selected on its own is nobody's choice.
        if (mChoicesBox->GetSelection() != chosen) {
            if (chosen >= 0)
                mChoicesBox->SetSelection(chosen);
            else
                mChoicesBox->SetSelection(wxNOT_FOUND);
        }
        end(wxID_OK);
    } else {
        show_countdown();
    }
}

bool SingleChoiceTimeoutDialog::toolkit_selected(int row) const
{
    // GTK selects the first row, or the selected one again, when the list
    // takes the focus without a cursor row; it does so before the list has
    // the focus, which a user's click or key never does.
    return !mChoicesBox->HasFocus() && (row == chosen || (chosen == -1 && row == 0));
}

void SingleChoiceTimeoutDialog::user_chose(int row)
{
    chosen = row;
    if (!timer)
        return;
    timer->Stop();
    SetTitle(caption);
}

void SingleChoiceTimeoutDialog::OnSelectionChanged(wxCommandEvent&)
{
    const int row = mChoicesBox->GetSelection();
    if (toolkit_selected(row)) {
        // Nobody chose it: take the highlight away again (GTK has its cursor
        // row now and does not select by itself a second time).
        if (chosen == -1)
            CallAfter([this] {
                if (chosen == -1)
                    mChoicesBox->SetSelection(wxNOT_FOUND);
            });
        return;
    }
    user_chose(row);
}

void SingleChoiceTimeoutDialog::OnChoicesBoxClick(wxMouseEvent& event)
{
    // A click on the row the toolkit has just selected changes no selection
    // and sends no event; once the click is handled, what it left selected
    // is the user's choice.
    event.Skip();
    CallAfter([this] {
        const int row = mChoicesBox->GetSelection();
        if (row >= 0 && row != chosen)
            user_chose(row);
    });
}

void SingleChoiceTimeoutDialog::OnChoicesBoxDClick(wxCommandEvent&)
{
    chosen = mChoicesBox->GetSelection();
    stop_countdown();
    end(wxID_OK);
}

void SingleChoiceTimeoutDialog::OnCloseDialog(wxCloseEvent&)
{
    stop_countdown();
    end(wxID_CANCEL);
}

void SingleChoiceTimeoutDialog::OnButton(wxCommandEvent& event)
{
    stop_countdown();
    event.Skip();
}

}  // namespace ovk_wxtools
