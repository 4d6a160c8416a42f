// Tests of a tool's own settings dialog and of the library's dialogs it uses,
// every dialog answered from a script as a person would answer it.
#include <wxtools/testing/gtest.h>
#include <wxtools/wxtools.h>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/dirdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace ovk_wxtools;
using namespace ovk_wxtest;
using namespace std::chrono_literals;

// The tool's dialog: a port name and a baud rate; Save refuses a bad number.
class SettingsDialog : public wxDialog {
public:
    SettingsDialog(wxString& port, long& baud) : wxDialog(nullptr, wxID_ANY, L"Settings"), port_(port), baud_(baud)
    {
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(new wxStaticText(this, wxID_ANY, L"Port:"));
        sizer->Add(port_field_ = new wxTextCtrl(this, wxID_ANY, port));
        sizer->Add(new wxStaticText(this, wxID_ANY, L"Baud rate:"));
        sizer->Add(baud_field_ = new wxTextCtrl(this, wxID_ANY, wxString() << baud));
        auto* save = new wxButton(this, wxID_SAVE, L"Save");
        sizer->Add(save);
        sizer->Add(new wxButton(this, wxID_CANCEL, L"Cancel"));
        SetSizerAndFit(sizer);
        save->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
            long baud = 0;
            if (!baud_field_->GetValue().ToLong(&baud))
                return MB::Error(L"Baud rate must be a number.");
            port_ = port_field_->GetValue();
            baud_ = baud;
            EndModal(wxID_OK);
        });
    }

private:
    wxString& port_;
    long& baud_;
    wxTextCtrl* port_field_;
    wxTextCtrl* baud_field_;
};

TEST(SettingsDialog, SavesWhatWasTyped)
{
    wxString port = L"COM1";
    long baud = 9600;
    SettingsDialog dialog(port, baud);
    dialogs().act(type_into(L"Port", from_utf8("串口 2")).type_into(L"Baud rate", L"115200").press(L"Save"));
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(port, from_utf8("串口 2"));
    EXPECT_EQ(baud, 115200);
}

TEST(SettingsDialog, ABadNumberIsRefusedAndNothingChanges)
{
    wxString port = L"COM1";
    long baud = 9600;
    SettingsDialog dialog(port, baud);
    dialogs().act(type_into(L"Baud rate", L"fast").press(L"Save").press(L"Cancel"))
             .answer(wxID_OK);  // the error box that Save shows
    EXPECT_EQ(dialog.ShowModal(), wxID_CANCEL);
    EXPECT_EQ(dialogs().last().message, L"Baud rate must be a number.");
    EXPECT_EQ(baud, 9600);
}

TEST(LibraryDialogs, AnswersForStandardAndTimedDialogs)
{
    dialogs().press(L"Yes").answer_text(L"pump 1").answer_path(L"/tmp");
    EXPECT_EQ(MB::Confirm(L"Start the pump?"), wxYES);
    EXPECT_EQ(MB::Input(L"Name:").value_or(L""), L"pump 1");
    wxDirDialog folder(nullptr, L"Export to");
    EXPECT_EQ(folder.ShowModal(), wxID_OK);
    EXPECT_EQ(folder.GetPath(), L"/tmp");

    // Nobody answers: the countdown runs out at once and the preselected entry is taken.
    SingleChoiceTimeoutDialog choice(nullptr, L"Port to use:", L"Pick", {"COM1", "COM2"}, 30, 1);
    dialogs().run_out();
    EXPECT_EQ(choice.ShowModal(), wxID_OK);
    EXPECT_EQ(choice.GetSelection(), L"COM2");

    bool done = false;
    wxTheApp->CallAfter([&done] { done = true; });
    EXPECT_TRUE(wait_until([&done] { return done; }, 2s));
}

int main(int argc, char** argv) { return run_all_tests(argc, argv); }
