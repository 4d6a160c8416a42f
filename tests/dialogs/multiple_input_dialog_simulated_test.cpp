// Enter typed into a text box presses the dialog's OK button, through GTK's
// own handling of the default button.
#include "wxtools/dialogs/multiple_input_dialog.h"

#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>

#include <wx/uiaction.h>

using namespace std::chrono_literals;

using namespace ovk_wxtools;
using namespace ovk_wxtest;

TEST(MultipleInputDialogSimulated, EnterInAFieldPressesOk)
{
    MultipleInputDialog::FieldMap values;
    values["Port"] = "COM1";
    values["Baud"] = "9600";
    MultipleInputDialog dialog(nullptr, values);
    wxTextCtrl* baud = nullptr;
    for (wxWindow* child : dialog.GetChildren())
        if (auto* box = dynamic_cast<wxTextCtrl*>(child))
            baud = box;
    ASSERT_NE(baud, nullptr);

    const int code = run_modal(dialog, [&] {
        wxUIActionSimulator sim;
        // Without a window manager the keyboard follows the pointer.
        sim.MouseMove(baud->GetScreenRect().GetPosition() + wxPoint(5, 5));
        baud->SetFocus();
        flush_events();
        baud->ChangeValue("19200");
        sim.Char(WXK_RETURN);
        if (!wait_until([&] { return !dialog.IsModal(); }, 5s))
            dialog.EndModal(wxID_ABORT);
    });
    EXPECT_EQ(code, wxID_OK);
    EXPECT_EQ(values["Baud"], "19200");
    EXPECT_EQ(values["Port"], "COM1");
}
