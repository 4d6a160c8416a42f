#pragma once
#include <wx/window.h>

namespace ovk_wxtools {

// Lays `window` out, fits it to its sizer's minimal size, then centres and/or
// maximises it. A window without a sizer is laid out and then TypeError is
// thrown before anything is centred or maximised.
void window_fit_layout(wxWindow* window, bool center = true, bool maximize = false);

}  // namespace ovk_wxtools
