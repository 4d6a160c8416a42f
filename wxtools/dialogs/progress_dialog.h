#pragma once
// Shows a multi-level Progress that other threads update: one row per level
// with its name, "done / total" and a gauge, refreshed on a timer.
#include "platform/handy/progress.h"

#include <wx/dialog.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/timer.h>

#include <optional>
#include <vector>

namespace ovk_wxtools {

// The timer runs from construction at `interval` seconds (truncated to whole
// milliseconds). The first refresh that finds the progress no longer Running
// stops it and ends the modal run: wxID_OK for Done, wxID_CANCEL otherwise.
// Closing the window also stops it and ends with wxID_CANCEL; the dialog never
// changes the progress itself (the caller may cancel the work on that code).
// `progress` must outlive the dialog.
class ProgressDialog : public wxDialog {
public:
    ProgressDialog(wxWindow* parent, ovk_handy::Progress& progress, double interval = 0.2);

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

    int period_ms = 0;
    // The outcome once a refresh saw the work end.
    std::optional<int> ended_code;
};

}  // namespace ovk_wxtools
