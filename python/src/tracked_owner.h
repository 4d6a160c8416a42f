#pragma once
// Keeps a helper object alive as long as the window it serves, as a handler
// bound to a window would be kept alive by the window.
#include <wx/tracker.h>
#include <wx/window.h>
#include <memory>

namespace ovk_python {
template <class T>
class OwnedByWindow : public wxTrackerNode {
public:
    static void attach(wxWindow* window, std::shared_ptr<T> helper) { window->AddNode(new OwnedByWindow(std::move(helper))); }
    void OnObjectDestroy() override { delete this; }

private:
    explicit OwnedByWindow(std::shared_ptr<T> helper) : helper_(std::move(helper)) {}
    std::shared_ptr<T> helper_;
};
}  // namespace ovk_python
