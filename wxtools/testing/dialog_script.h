#pragma once
// Scripted answers for modal dialogs in tests.
//
// Every modal run goes through one hook, which takes the next step of the
// script. The toolkit's standard dialogs (message box, text entry, folder and
// file choosers) never appear: they take their scripted answer and what they
// would have shown is recorded. Other dialogs (this library's and a tool's
// own) run for real, and the step acts inside their modal loop as a person
// would: press a button, type into a field, choose an entry, wait for a
// countdown. A dialog nobody scripted is cancelled at once and reported with
// what it showed; a dialog left open after its step is ended, never waited on.
//
//   dialogs().answer(wxID_YES);                          // next message box
//   dialogs().press(L"No");                              // ... or by its button
//   dialogs().answer_text("abc");                        // next text-entry dialog
//   dialogs().answer_path("/tmp/x");                     // next folder or file chooser
//   dialogs().type_path("/tmp/x");                       // ... typed into it, key by key
//   dialogs().act(type_into(L"Name", L"Ann").press(L"OK"));  // next dialog of any other kind
//   dialogs().run_out();                                 // next dialog ends by its countdown
//   dialogs().inside([](wxDialog& d) { ... });           // free-form code inside the next one
//   EXPECT_EQ(dialogs().last().message, "Saved.");
#include "wxtools/testing/actions.h"
#include "wxtools/testing/shown_dialog.h"

#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/timer.h>

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace ovk_wxtest {

namespace detail {
struct ScriptStep;  // one step of the script, defined where the script runs
}

class DialogScript : public wxModalDialogHook {
public:
    // The one script of the program; installed as the modal hook on first use.
    static DialogScript& get();

    // Answers the next message box with `code`.
    DialogScript& answer(int code);
    // Answers the next text-entry dialog with `text` and `code`.
    DialogScript& answer_text(const wxString& text, int code = wxID_OK);
    // Answers the next folder or file chooser with `path` and `code`.
    DialogScript& answer_path(const wxString& path, int code = wxID_OK);
    // Types `path` into the next folder or file chooser as a person would,
    // key by key through the X server, and accepts it once the chooser reads
    // it; a chooser that does not fails the test and is cancelled. Real key
    // presses: for tests that run alone, and paths of keys a US keyboard has.
    DialogScript& type_path(const wxString& path);
    // What a person does in the next dialog, standard message boxes included
    // (where only pressing one of its buttons makes sense).
    DialogScript& act(Actions actions);
    DialogScript& press(const wxString& label) { return act(ovk_wxtest::press(label)); }
    DialogScript& press(int id) { return act(ovk_wxtest::press(id)); }
    DialogScript& run_out() { return act(ovk_wxtest::run_out()); }
    // `act` runs inside the modal loop of the next dialog that is not a
    // standard one; it may leave the dialog open for a while (the watchdog
    // ends it if it stays).
    DialogScript& inside(std::function<void(wxDialog&)> act);
    // Typed form for convenience: the dialog is cast to T.
    template <class T>
    DialogScript& inside_as(std::function<void(T&)> act)
    {
        return inside([act](wxDialog& d) { act(dynamic_cast<T&>(d)); });
    }

    // The standard dialogs answered, in order.
    const std::vector<ShownDialog>& shown() const { return shown_; }
    const ShownDialog& last() const;
    // Every dialog opened, of any kind, in the order they opened; each
    // with what it showed when its step began and the code it ended with.
    const std::vector<ShownDialog>& opened() const { return opened_; }
    const ShownDialog& last_opened() const;

    // Steps of the script not used yet.
    std::size_t pending() const;
    // Reports every unused step as a failure, then forgets them; answers
    // whether there were none.
    bool verify();
    // Forgets answers and records; a test starts with this done for it.
    void reset();

    // How long a dialog may stay open after a free-form action before it is
    // ended with wxID_CANCEL and the test fails.
    std::chrono::milliseconds watchdog = std::chrono::seconds(20);

    // Never called: the one script lives as long as the program.
    ~DialogScript() override;

protected:
    // Called by the toolkit as a modal run begins: takes the script's next step for `dialog`.
    int Enter(wxDialog* dialog) override;
    // Called by the toolkit as a modal run ends: records the code `dialog` ended with.
    void Exit(wxDialog* dialog) override;

private:
    using Step = detail::ScriptStep;
    DialogScript();
    int answer_standard(wxDialog* dialog, DialogKind kind);
    int run_for_real(wxDialog* dialog, Step step);
    int refuse(wxDialog* dialog, const std::string& why);
    void watch(wxDialog* dialog);
    void accept_path(wxDialog* dialog, const wxString& path, bool typed);

    // The steps not taken yet, in order.
    std::unique_ptr<std::deque<Step>> script_;
    std::vector<ShownDialog> shown_;
    std::vector<ShownDialog> opened_;
    // Dialogs in a modal run the script handles, with their entry in opened_.
    std::map<wxDialog*, std::size_t> open_;
    // Timers of watchdogs and choosers; dropped between tests.
    std::vector<std::unique_ptr<wxTimer>> timers_;
    wxTimer* new_timer();
};

// The one script of the program, as DialogScript::get() answers it.
inline DialogScript& dialogs() { return DialogScript::get(); }

}  // namespace ovk_wxtest
