#include "wxtools/dialogs/progress_dialog.h"

#include "wxtools/dialogs/detail/timer_period.h"
#include "wxtools/text.h"

#include <algorithm>
#include <climits>
#include <string>

namespace ovk_wxtools {

namespace {

int to_gauge(long long n)
{
    return static_cast<int>(std::clamp<long long>(n, 0, INT_MAX));
}

}  // namespace

ProgressDialog::ProgressDialog(wxWindow* parent, ovk_handy::Progress& progress_, double interval)
    : wxDialog(parent, wxID_ANY, from_utf8("进度"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE),
      progress(progress_)
{
    SetSizeHints(wxDefaultSize, wxDefaultSize);
    progress_sizer = new wxBoxSizer(wxVERTICAL);
    const int levels = progress.level();
    for (int i = 0; i < levels; ++i)
        add_row(i);
    SetSizer(progress_sizer);
    Layout();
    progress_sizer->Fit(this);
    Centre(wxBOTH);

    ui_timer.SetOwner(this, wxID_ANY);
    period_ms = timer_period_ms(interval * 1000);
    ui_timer.Start(period_ms, wxTIMER_CONTINUOUS);
    Bind(wxEVT_TIMER, &ProgressDialog::on_refresh, this, ui_timer.GetId());
    Bind(wxEVT_CLOSE_WINDOW, &ProgressDialog::on_close, this);
    Bind(wxEVT_SHOW, &ProgressDialog::on_show, this, GetId());
}

ProgressDialog::ProgressDialog(wxWindow* parent, std::shared_ptr<ovk_handy::Progress> progress_, double interval)
    : ProgressDialog(parent, *progress_, interval)
{
    progress_owner = std::move(progress_);
}

void ProgressDialog::on_show(wxShowEvent& event)
{
    // Hidden, the dialog no longer reads the progress, which its caller may
    // then let go; showing it again resumes the refresh.
    if (event.IsShown()) {
        if (!ended_code && !ui_timer.IsRunning())
            ui_timer.Start(period_ms, wxTIMER_CONTINUOUS);
    } else {
        ui_timer.Stop();
    }
}

void ProgressDialog::add_row(int i)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* name = new wxStaticText(this, wxID_ANY, from_utf8(progress.get_name(i)), wxDefaultPosition,
                                  wxDefaultSize, 0);
    name->Wrap(-1);
    row->Add(name, 1, wxALL, 5);
    names.push_back(name);
    row->Add(0, 0, 1, wxEXPAND, 5);
    auto* fraction = new wxStaticText(this, wxID_ANY, wxS("0 / 0"), wxDefaultPosition, wxDefaultSize, 0);
    fraction->Wrap(-1);
    row->Add(fraction, 0, wxALL, 5);
    fractions.push_back(fraction);
    progress_sizer->Add(row, 1, wxEXPAND, 5);

    auto* gauge = new wxGauge(this, wxID_ANY, 100, wxDefaultPosition, wxDefaultSize, wxGA_HORIZONTAL);
    gauge->SetValue(0);
    progress_sizer->Add(gauge, 0, wxALL, 5);
    gauges.push_back(gauge);
}

int ProgressDialog::ShowModal()
{
    if (ended_code) {
        SetReturnCode(*ended_code);
        return *ended_code;
    }
    // Closing the window stopped the refresh; a new run needs it again.
    if (!ui_timer.IsRunning())
        ui_timer.Start(period_ms, wxTIMER_CONTINUOUS);
    return wxDialog::ShowModal();
}

void ProgressDialog::on_refresh(wxTimerEvent&)
{
    try {
        // Levels added after construction get rows of their own.
        const int levels = progress.level();
        const bool grew = levels > static_cast<int>(names.size());
        while (static_cast<int>(names.size()) < levels)
            add_row(static_cast<int>(names.size()));
        for (int i = 0; i < levels; ++i) {
            names[i]->SetLabel(from_utf8(progress.get_name(i)));
            fractions[i]->SetLabel(
                from_utf8(std::to_string(progress.get_progress(i)) + " / " + std::to_string(progress.get_subtotal(i))));
            // Range first, so that a value up to the new total is accepted; a
            // value beyond the total (or below 0) is held at the gauge's ends.
            const int range = to_gauge(progress.get_subtotal(i));
            gauges[i]->SetRange(range);
            gauges[i]->SetValue(std::min(to_gauge(progress.get_progress(i)), range));
        }
        if (grew)
            progress_sizer->Fit(this);
        Layout();
    } catch (const std::exception&) {
        // A level that vanished between two reads is shown at the next tick.
    }

    const auto status = progress.status();
    if (status != ovk_handy::Progress::Status::Running)
        end_with(status == ovk_handy::Progress::Status::Done ? wxID_OK : wxID_CANCEL);
}

void ProgressDialog::end_with(int code)
{
    ui_timer.Stop();
    ended_code = code;
    end_run(code);
}

void ProgressDialog::end_run(int code)
{
    // A tick queued behind the end of the run finds nothing left to end.
    if (IsModal())
        EndModal(code);
    else if (IsShown()) {
        SetReturnCode(code);
        EndDialog(code);
    }
}

void ProgressDialog::on_close(wxCloseEvent&)
{
    ui_timer.Stop();
    end_run(wxID_CANCEL);
}

}  // namespace ovk_wxtools
