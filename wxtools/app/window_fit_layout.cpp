#include "wxtools/app/window_fit_layout.h"

#include "wxtools/errors.h"

#include <wx/sizer.h>
#include <wx/toplevel.h>

namespace ovk_wxtools {

void window_fit_layout(wxWindow* window, bool center, bool maximize)
{
    wxSizer* sizer = window->GetSizer();
    window->Layout();
    if (!sizer)
        throw TypeError("window_fit_layout: the window has no sizer.");
    sizer->Fit(window);
    if (center)
        window->Centre(wxBOTH);
    if (maximize) {
        if (auto* top = dynamic_cast<wxTopLevelWindow*>(window))
            top->Maximize();
    }
}

}  // namespace ovk_wxtools
