#include "wxtools/dialogs/auto_close_message_box.h"

#include "wxtools/dialogs/detail/timer_period.h"

namespace ovk_wxtools {

AutoCloseMessageBox::AutoCloseMessageBox(wxWindow* parent, const wxString& title, const wxString& text,
                                         double timeout_, std::optional<int> font_size)
    : WaitForDialog(parent, title, text, [this]() -> Answer { return counter(); },
                    timer_period_ms(CheckInterval * 1000), font_size),
      timeout(timeout_)
{
}

bool AutoCloseMessageBox::counter()
{
    elapse += CheckInterval;
    return elapse >= timeout;
}

}  // namespace ovk_wxtools
