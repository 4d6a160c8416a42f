#pragma once
// A message that closes itself after a time-out.
#include "wxtools/dialogs/wait_for_dialog.h"

namespace ovk_wxtools {

// A WaitForDialog polled every CheckInterval seconds by its own counter; the
// modal run ends with 0 at the first tick on which the counted time reaches
// `timeout`, or with wxID_CANCEL when the user closes the window.
class AutoCloseMessageBox : public WaitForDialog {
public:
    // Polling period and time counted per tick, in seconds, for every box.
    // The timer's period is this in whole milliseconds, held within 1 .. INT_MAX.
    static inline double CheckInterval = 0.1;

    AutoCloseMessageBox(wxWindow* parent, const wxString& title, const wxString& text, double timeout = 2.0,
                        std::optional<int> font_size = std::nullopt);

    // One tick: adds CheckInterval to the counted time and answers whether
    // the time-out is reached. The steps are summed in floating point, so a
    // time-out of 1.0 is reached at the 11th tick (ten steps fall just short).
    bool counter();

private:
    double elapse = 0;
    double timeout;
};

}  // namespace ovk_wxtools
