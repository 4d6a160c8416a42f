#include "wxtools/dialogs/wait_for_dialog.h"

#include "wxtools/app/show_errors.h"
#include "wxtools/dialogs/detail/timer_period.h"

namespace ovk_wxtools {

WaitForDialog::WaitForDialog(wxWindow* parent, const wxString& title, const wxString& text, Callback callback_,
                             int interval_, std::optional<int> font_size)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize),
      callback(std::move(callback_)),
      interval(interval_),
      timer(this)
{
    SetSizeHints(wxDefaultSize, wxDefaultSize);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    mMessage = new wxStaticText(this, wxID_ANY, text);
    if (font_size)
        mMessage->SetFont(wxFont(*font_size, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL));
    sizer->Add(mMessage, 1, wxEXPAND | wxALL, 5);
    SetSizer(sizer);
    Layout();
    sizer->Fit(this);
    mMainSizer = sizer;

    Bind(wxEVT_TIMER, &WaitForDialog::on_timer_refresh, this, timer.GetId());
    Bind(wxEVT_SHOW, &WaitForDialog::on_show, this, GetId());
    Bind(wxEVT_CLOSE_WINDOW, &WaitForDialog::on_close, this);
}

int WaitForDialog::ShowModal()
{
    callback_error = nullptr;
    const int code = wxDialog::ShowModal();
    if (callback_error) {
        std::exception_ptr error = callback_error;
        callback_error = nullptr;
        std::rethrow_exception(error);
    }
    return code;
}

void WaitForDialog::finish(int code)
{
    timer.Stop();
    // A tick queued behind the end of the run finds the dialog no longer
    // modal and must not end anything again.
    if (IsModal())
        EndModal(code);
    else if (IsShown()) {
        SetReturnCode(code);
        EndDialog(code);
    }
}

void WaitForDialog::on_timer_refresh(wxTimerEvent&)
{
    // Nothing is polled for a dialog that is no longer on screen.
    if (!IsShown()) {
        timer.Stop();
        return;
    }
    Answer answer;
    try {
        answer = callback();
    } catch (...) {
        // Errors must not unwind through the toolkit; ShowModal hands it on.
        callback_error = std::current_exception();
        const bool modal = IsModal();
        finish(wxID_CANCEL);
        // Without a modal run nobody would rethrow it: the user is told.
        if (!modal) {
            const std::exception_ptr error = callback_error;
            show_errors([error] { std::rethrow_exception(error); });
        }
        return;
    }
    if (answer.ends_wait()) {
        finish(0);
    } else if (answer.message()) {
        mMessage->SetLabel(*answer.message());
        Layout();
        mMainSizer->Fit(this);
    }
}

void WaitForDialog::on_show(wxShowEvent& event)
{
    // GTK may report the showing once more when the window gets mapped, even
    // after a quick end of the run; only a dialog still on screen restarts.
    if (event.IsShown() && IsShown()) {
        if (!IsModal())
            callback_error = nullptr;
        timer.Start(timer_period_ms(interval), wxTIMER_CONTINUOUS);
    }
}

void WaitForDialog::on_close(wxCloseEvent&)
{
    finish(wxID_CANCEL);
}

}  // namespace ovk_wxtools
