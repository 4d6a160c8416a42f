#include "wxtools/paratree/detail/unsaved_guard.h"

#include "wxtools/app/show_errors.h"

#include <wx/msgdlg.h>
#include <wx/toplevel.h>


namespace ovk_wxtools::detail {

namespace {

const wxString kTitleMarker = wxS("* ");

}  // namespace

UnsavedGuard::UnsavedGuard(wxWindow& window, bool asks) : window_(window), asks_(asks)
{
}

bool UnsavedGuard::modified(const ovk_paratree::ParameterDirectory* root)
{
    return root && root->modified();
}

bool UnsavedGuard::confirm_discard(const wxString& doing, bool modified, const std::function<bool()>& save) const
{
    if (!asks_ || !modified)
        return true;
    wxMessageDialog question(&window_,
                             wxS("The parameter tree has unsaved changes. Save them before ") + doing + wxS("?"),
                             wxS("Unsaved changes"), wxYES_NO | wxCANCEL | wxICON_QUESTION);
    question.SetYesNoCancelLabels(wxS("Save"), wxS("Discard"), wxS("Cancel"));
    switch (question.ShowModal()) {
    case wxID_YES: {
        bool saved = false;
        show_errors([&] { saved = save(); });
        return saved;
    }
    case wxID_NO:
        return true;
    default:
        return false;
    }
}

bool UnsavedGuard::update(bool now)
{
    if (now == last_modified_)
        return false;
    last_modified_ = now;
    set_title_marker(now);
    return true;
}

void UnsavedGuard::set_title_marker(bool modified) const
{
    auto* top = dynamic_cast<wxTopLevelWindow*>(wxGetTopLevelParent(&window_));
    if (!top)
        return;
    wxString title = top->GetTitle();
    if (title.StartsWith(kTitleMarker))
        title = title.Mid(kTitleMarker.length());
    top->SetTitle(modified ? kTitleMarker + title : title);
}

}  // namespace ovk_wxtools::detail
