#include "wxtools/controls/auto_popup_combo_box.h"

#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/uiaction.h>

using namespace std::chrono_literals;

using namespace ovk_wxtools;
using namespace ovk_wxtest;

namespace {

// Real key presses: the caret the handler reads must already stand after
// the typed character.
TEST(AutoPopupComboBoxSimulatedTest, RealTypingAtTheEndOpensTheList)
{
    auto* frame = new wxFrame(nullptr, wxID_ANY, "combo");
    const wxString items[] = {"apple", "banana"};
    auto* combo = new wxComboBox(frame, wxID_ANY, "", wxDefaultPosition, wxDefaultSize, 2, items);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(combo, 0, wxALL, 5);
    frame->SetSizerAndFit(sizer);
    frame->Show();
    frame->Raise();
    int popups = 0;
    combo->Bind(wxEVT_COMBOBOX_DROPDOWN, [&](wxCommandEvent&) { ++popups; });
    AutoPopupComboBox auto_popup(combo);
    combo->SetFocus();
    ASSERT_TRUE(wait_until([&] { return combo->HasFocus(); }, 3s));

    wxUIActionSimulator sim;
    sim.Char('b');
    EXPECT_TRUE(wait_until([&] { return popups > 0; }, 3s));
    EXPECT_EQ(auto_popup.old_value, "b");
    combo->Dismiss();
    frame->Destroy();
}

}  // namespace
