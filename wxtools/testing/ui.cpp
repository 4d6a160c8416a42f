#include "wxtools/testing/ui.h"

#include "wxtools/testing/dialog_script.h"

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/listbox.h>
#include <wx/utils.h>

#include <chrono>
#include <thread>

namespace ovk_wxtest {

int run_modal(wxDialog& dialog, std::function<void()> act)
{
    dialogs().inside([act](wxDialog&) { act(); });
    return dialog.ShowModal();
}

void click(wxWindow* button)
{
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->ProcessWindowEvent(event);
}

void type_into(wxTextCtrl* field, const wxString& text)
{
    field->SetValue(text);  // sends wxEVT_TEXT
}

void select(wxControlWithItems* control, int n)
{
    control->SetSelection(n);
    wxEventType type = wxEVT_CHOICE;
    if (dynamic_cast<wxListBox*>(control))
        type = wxEVT_LISTBOX;
    else if (dynamic_cast<wxComboBox*>(control))
        type = wxEVT_COMBOBOX;
    wxCommandEvent event(type, control->GetId());
    event.SetEventObject(control);
    event.SetInt(n);
    if (n >= 0 && n < static_cast<int>(control->GetCount()))
        event.SetString(control->GetString(n));
    control->ProcessWindowEvent(event);
}

void send_command(wxWindow* window, wxEventType type, int int_value)
{
    wxCommandEvent event(type, window->GetId());
    event.SetEventObject(window);
    event.SetInt(int_value);
    window->ProcessWindowEvent(event);
}

void flush_events()
{
    for (int i = 0; i < 5; ++i)
        wxTheApp->Yield(true);
}

bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        wxTheApp->Yield(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace ovk_wxtest
