#pragma once
// A button-less message that keeps the user waiting while a callback polled
// on a timer decides when the wait is over.
#include "wxtools/text.h"

#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/timer.h>

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>

namespace ovk_wxtools {

class WaitForDialog : public wxDialog {
public:
    // What the callback answers at a tick. Only the boolean true ends the
    // wait; a text replaces the message; anything else (false, a number, no
    // value) lets the wait go on. Numbers are accepted on purpose and never
    // count as true, so a callback answering 1 keeps waiting.
    class Answer {
    public:
        Answer() = default;
        Answer(std::nullopt_t) {}
        template <class B, std::enable_if_t<std::is_same_v<B, bool>, int> = 0>
        Answer(B done) : done_(done) {}
        template <class N, std::enable_if_t<std::is_arithmetic_v<N> && !std::is_same_v<N, bool>, int> = 0>
        Answer(N) {}
        Answer(const wxString& message) : message_(message) {}
        // Narrow text is read as UTF-8.
        Answer(const char* message) : message_(from_utf8(message)) {}
        Answer(const std::string& message) : message_(from_utf8(message)) {}
        Answer(const wchar_t* message) : message_(wxString(message)) {}

        bool ends_wait() const { return done_; }
        const std::optional<wxString>& message() const { return message_; }

    private:
        bool done_ = false;
        std::optional<wxString> message_;
    };
    using Callback = std::function<Answer()>;

    // `interval` is the polling period in milliseconds, held within
    // 1 .. INT_MAX when the timer starts; the timer starts when the dialog is
    // shown. With `font_size` the message uses that point size.
    //
    // ShowModal answers 0 when the callback answered true and wxID_CANCEL when
    // the window was closed. A callback that throws stops the polling and ends
    // the run with wxID_CANCEL. ShowModal then rethrows that error to its
    // caller, outside the toolkit's event handling. Shown without a modal run
    // (Show), the dialog hides, shows the error's text in one MB::Error box and
    // keeps the error for GetCallbackError until it is shown again.
    WaitForDialog(wxWindow* parent, const wxString& title, const wxString& text, Callback callback,
                  int interval = 100, std::optional<int> font_size = std::nullopt);

    int ShowModal() override;

    // The error the callback threw in a run without ShowModal, or nullptr.
    std::exception_ptr GetCallbackError() const { return callback_error; }

    void on_timer_refresh(wxTimerEvent& event);
    void on_show(wxShowEvent& event);
    void on_close(wxCloseEvent& event);

    wxStaticText* mMessage;
    wxBoxSizer* mMainSizer;
    Callback callback;
    int interval;

private:
    void finish(int code);

    wxTimer timer;
    std::exception_ptr callback_error;
};

}  // namespace ovk_wxtools
