#pragma once
// What a person does in a dialog, written down ahead of time:
//
//   dialogs().act(type_into(L"Name", L"Ann").press(L"OK"));
//   dialogs().act(choose(L"COM2").press(wxID_OK));
//   dialogs().act(run_out());   // nobody answers: the countdown ends it
//
// Buttons are found by their label (mnemonics removed) or id, text fields by
// the label in front of them, list entries by their text. A countdown runs
// out by its ticks being delivered at once, without waiting in real time.
#include <wx/dialog.h>
#include <wx/string.h>

#include <functional>
#include <vector>

namespace ovk_wxtest {

class Actions {
public:
    // Presses the button labelled `label`, compared as plain_label() compares labels.
    Actions& press(const wxString& label);
    // Presses the button with the id `id`.
    Actions& press(int id);
    // Types `text` into the field labelled `label` (an empty label: the dialog's only field).
    Actions& type_into(const wxString& label, const wxString& text);
    // Chooses the entry `item` in the first list, choice or combo box that has it.
    Actions& choose(const wxString& item);
    // Lets the dialog's countdown run out, its ticks delivered at once.
    Actions& run_out();

    // Does each action on `dialog` in turn. Stops at the first that cannot be
    // done (a button that is not there, say), reports it with what the dialog
    // showed and answers false.
    bool perform(wxDialog& dialog) const;

    // Only pressing a button makes sense for a message box: the code of the
    // button pressed, or wxID_NONE (after a report) when that cannot be.
    int answer_message_box(const std::vector<wxString>& labels, const std::vector<int>& ids,
                           const std::string& what_it_showed) const;

    // True when no action has been added yet.
    bool empty() const { return steps_.empty(); }
    // The actions in words, for failure messages.
    std::string to_text() const;

private:
    enum class What { Press, Type, Choose, RunOut };
    struct Step {
        What what;
        wxString label;
        int id = wxID_NONE;
        wxString text;
    };
    static std::string to_text(const Step& step);
    std::vector<Step> steps_;
};

// Actions that begin by pressing the button labelled `label`.
Actions press(const wxString& label);
// Actions that begin by pressing the button with the id `id`.
Actions press(int id);
// Actions that begin by typing `text` into the field labelled `label`.
Actions type_into(const wxString& label, const wxString& text);
// Actions that begin by choosing the entry `item`.
Actions choose(const wxString& item);
// Actions that begin by letting the countdown run out.
Actions run_out();

// Countdowns are driven by calling a dialog's own tick handler. The kit knows
// the library's timed dialogs; a tool adds its own with this. `tick` answers
// false when the dialog is not of its kind.
void add_countdown(std::function<bool(wxDialog&)> tick);

// Adds the countdown of dialogs of type T: `tick` moves one of them on by one tick.
template <class T>
void add_countdown(std::function<void(T&)> tick)
{
    add_countdown([tick](wxDialog& d) {
        auto* t = dynamic_cast<T*>(&d);
        if (t)
            tick(*t);
        return t != nullptr;
    });
}

// Ticks a dialog's countdown this many times at most before giving up.
inline constexpr int max_countdown_ticks = 10000;

}  // namespace ovk_wxtest
