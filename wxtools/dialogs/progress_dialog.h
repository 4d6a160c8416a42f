#pragma once
// Shows a multi-level Progress that other threads update: one row per level
// with its name, "done / total" and a gauge, refreshed on a timer.
#include "platform/handy/progress.h"

#include <wx/dialog.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/timer.h>

#include <memory>
#include <optional>
#include <vector>

namespace ovk_wxtools {

// The timer runs from construction at `interval` seconds, truncated to whole
// milliseconds and held within 1 ms .. INT_MAX ms. The first refresh that finds the progress no longer Running
// stops it and ends the modal run: wxID_OK for Done, wxID_CANCEL otherwise.
// Closing the window also stops it and ends with wxID_CANCEL; the dialog never
// changes the progress itself (the caller may cancel the work on that code).
//
// The dialog reads the progress only while its timer runs: from construction
// until the run ends, and again while it is shown. The timer stops whenever
// the dialog is hidden (the end of a modal run included) and on destruction.
// Given a reference, the progress must stay alive until the modal run has
// ended (or the dialog is destroyed, if that comes first); given a
// shared_ptr, the dialog keeps it alive itself.
class ProgressDialog : public wxDialog {
public:
    ProgressDialog(wxWindow* parent, ovk_handy::Progress& progress, double interval = 0.2);
    // Shows `progress`, refreshed every `interval` seconds, and keeps it alive as long as the dialog.
    ProgressDialog(wxWindow* parent, std::shared_ptr<ovk_handy::Progress> progress, double interval = 0.2);

    // When a refresh already saw the work end before the dialog was shown,
    // the run ends as soon as it begins, with that outcome.
    int ShowModal() override;

    void on_refresh(wxTimerEvent& event);

    wxBoxSizer* progress_sizer;
    std::vector<wxStaticText*> names;
    std::vector<wxStaticText*> fractions;
    std::vector<wxGauge*> gauges;
    ovk_handy::Progress& progress;
    wxTimer ui_timer;

private:
    void add_row(int i);
    void end_with(int code);
    void end_run(int code);
    void on_close(wxCloseEvent& event);
    void on_show(wxShowEvent& event);

    // Keeps a progress given by shared_ptr alive as long as the dialog.
    std::shared_ptr<ovk_handy::Progress> progress_owner;

    int period_ms = 0;
    // The outcome once a refresh saw the work end.
    std::optional<int> ended_code;
};

}  // namespace ovk_wxtools
