#pragma once
// Acting on real windows from tests: run a dialog and act inside it, click,
// type, select, and wait for asynchronous effects with a time limit.
#include <wx/ctrlsub.h>
#include <wx/dialog.h>
#include <wx/textctrl.h>

#include <chrono>
#include <functional>

namespace ovk_wxtest {

// Shows `dialog` modally, calls `act` inside its modal loop and returns the
// code it ended with. `act` should end the dialog (a click on OK, say).
int run_modal(wxDialog& dialog, std::function<void()> act);

// Sends the button's click event as the toolkit would.
void click(wxWindow* button);

// Replaces a text field's value, sending the text-changed event.
void type_into(wxTextCtrl* field, const wxString& text);

// Selects entry `n` of a list, choice or combo box and sends its selection event.
void select(wxControlWithItems* control, int n);

// Sends a command event of `type` to `window`, with an optional integer.
void send_command(wxWindow* window, wxEventType type, int int_value = 0);

// Processes pending events until `done` holds or `timeout` passes; true when it held.
bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(5));

// Processes whatever events are pending now.
void flush_events();

}  // namespace ovk_wxtest
