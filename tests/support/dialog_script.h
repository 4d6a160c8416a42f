#pragma once
// Scripted answers for modal dialogs in tests.
//
// Every modal run in a test goes through one hook. The toolkit's standard
// dialogs (message box, text entry, folder and file choosers) never appear:
// they take the next scripted answer and what they would have shown is
// recorded. The library's own dialogs run for real; a scripted action is
// called inside their modal loop and is expected to end it.
//
//   dialogs().answer(wxID_YES);                     // next message box
//   dialogs().type("abc");                          // next text-entry dialog
//   dialogs().choose("/tmp/x");                     // next folder or file chooser
//   dialogs().inside([](wxDialog& d) { ... });      // next dialog of our own
//   EXPECT_EQ(dialogs().last().message, "Saved.");
#include <wx/dialog.h>
#include <wx/modalhook.h>

#include <wx/timer.h>

#include <deque>
#include <memory>
#include <functional>
#include <set>
#include <vector>

namespace ovk_test {

enum class DialogKind { Message, TextEntry, DirChooser, FileChooser, Own };

const char* to_string(DialogKind kind);

// What a standard dialog would have shown.
struct ShownDialog {
    DialogKind kind;
    wxString message;
    wxString caption;
    long style = 0;       // message box style, or the text field's style for text entry
    wxString value;       // text entry: the prefilled text; choosers: the starting path
    wxString wildcard;    // file chooser only
    int answer = 0;       // the code handed back
};

class DialogScript : public wxModalDialogHook {
public:
    static DialogScript& get();

    DialogScript& answer(int code);
    DialogScript& type(const wxString& text, int code = wxID_OK);
    DialogScript& choose(const wxString& path, int code = wxID_OK);
    // `act` runs inside the modal loop of the next dialog of our own.
    DialogScript& inside(std::function<void(wxDialog&)> act);
    // Typed form for convenience: the dialog is cast to T.
    template <class T>
    DialogScript& inside_as(std::function<void(T&)> act)
    {
        return inside([act](wxDialog& d) { act(dynamic_cast<T&>(d)); });
    }

    const std::vector<ShownDialog>& shown() const { return shown_; }
    const ShownDialog& last() const;
    std::size_t pending() const { return script_.size(); }
    // Forgets answers and records; a test starts with this done for it.
    void reset();

    // Seconds an own dialog may stay open after its action before it is
    // ended with wxID_CANCEL and the test fails.
    static constexpr int watchdog_seconds = 20;

protected:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog* dialog) override;

private:
    struct Step {
        DialogKind kind;
        int code = wxID_OK;
        wxString text;
        std::function<void(wxDialog&)> act;
    };
    int answer_standard(wxDialog* dialog, DialogKind kind);
    void watch(wxDialog* dialog);
    void accept_path(wxDialog* dialog, const wxString& path);

    std::deque<Step> script_;
    std::vector<ShownDialog> shown_;
    std::set<wxDialog*> open_;
    // Timers of watchdogs and choosers; dropped between tests.
    std::vector<std::unique_ptr<wxTimer>> timers_;
    wxTimer* new_timer();
};

inline DialogScript& dialogs() { return DialogScript::get(); }

}  // namespace ovk_test
