#pragma once
// The editor's watch over unsaved changes: whether the tree holds any, the
// Save / Discard / Cancel question before they would be lost, the "* " before
// the window title.
#include "platform/paratree/parameter_directory.h"

#include <wx/window.h>

#include <functional>

namespace ovk_wxtools::detail {

class UnsavedGuard {
public:
    // `window` is the panel: questions are parented on it and the title
    // marker goes on its top-level window. `asks` turns on the discard
    // question and the marker.
    UnsavedGuard(wxWindow& window, bool asks);

    // True when `root` holds changes not yet saved to its folder.
    static bool modified(const ovk_paratree::ParameterDirectory* root);

    // With unsaved changes, asks Save / Discard / Cancel before `doing`;
    // Save runs `save`. True when the caller may go on.
    bool confirm_discard(const wxString& doing, bool modified, const std::function<bool()>& save) const;

    // Brings the title marker in line with `now`; true when the state
    // differs from the one last seen (the caller tells its listeners).
    bool update(bool now);

    bool asks() const { return asks_; }

private:
    void set_title_marker(bool modified) const;

    wxWindow& window_;
    bool asks_;
    // modified() as last seen by update().
    bool last_modified_ = false;
};

}  // namespace ovk_wxtools::detail
