// The kit answering dialogs by what a person does, recording what they
// showed, and failing at once (never hanging) when a step cannot be done.
#include "wxtools/app/mb.h"
#include "wxtools/dialogs/auto_close_message_box.h"
#include "wxtools/dialogs/multiple_input_dialog.h"
#include "wxtools/dialogs/single_choice_timeout_dialog.h"
#include "wxtools/dialogs/true_or_false_dialog.h"
#include "wxtools/testing/dialog_script.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace ovk_wxtools;
using namespace ovk_wxtest;

namespace {

wxString u8(const char* text) { return wxString::FromUTF8(text); }

const std::vector<wxString> ports{L"COM1", L"COM2", L"COM3"};

// A tool's own dialog: Save refuses a bad number with an error box and stays open.
class SettingsDialog : public wxDialog {
public:
    explicit SettingsDialog(long& baud) : wxDialog(nullptr, wxID_ANY, L"Settings")
    {
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(new wxStaticText(this, wxID_ANY, u8("波特率：")));
        auto* field = new wxTextCtrl(this, wxID_ANY, L"9600");
        sizer->Add(field);
        auto* save = new wxButton(this, wxID_ANY, L"&Save");
        sizer->Add(save);
        sizer->Add(new wxButton(this, wxID_CANCEL, L"Cancel"));
        SetSizerAndFit(sizer);
        save->Bind(wxEVT_BUTTON, [this, field, &baud](wxCommandEvent&) {
            long value = 0;
            if (!field->GetValue().ToLong(&value))
                return MB::Error(L"Baud rate must be a number.");
            baud = value;
            EndModal(wxID_OK);
        });
    }
};

}  // namespace

TEST(Actions, ConfirmIsAnsweredByTheButtonPressed)
{
    const struct { const char* label; int id; int result; } cases[] = {
        {"Yes", wxID_NONE, wxYES}, {"No", wxID_NONE, wxNO}, {"", wxID_NO, wxNO}};
    for (const auto& c : cases) {
        dialogs().reset();
        if (c.id == wxID_NONE)
            dialogs().press(u8(c.label));
        else
            dialogs().press(c.id);
        EXPECT_EQ(MB::Confirm(u8("删除“甲”？"), u8("确认")), c.result) << c.label;
        EXPECT_EQ(dialogs().last().message, u8("删除“甲”？"));
        EXPECT_EQ(dialogs().last().caption, u8("确认"));
        EXPECT_EQ(dialogs().last().buttons, (std::vector<wxString>{L"Yes", L"No"}));
    }
}

TEST(Actions, ButtonsArePressedByLabelOrId)
{
    const struct { Actions act; int code; } cases[] = {
        {press(u8("是")), wxID_OK}, {press(u8("否")), wxID_CANCEL}, {press(wxID_CANCEL), wxID_CANCEL}};
    for (const auto& c : cases) {
        TrueOrFalseDialog dialog(nullptr, u8("标题"), u8("继续吗？"), u8("是"), u8("否"));
        dialogs().act(c.act);
        EXPECT_EQ(dialog.ShowModal(), c.code) << c.act.to_text();
        const ShownDialog& seen = dialogs().last_opened();
        EXPECT_EQ(seen.caption, u8("标题"));
        EXPECT_EQ(seen.message, u8("继续吗？"));
        EXPECT_EQ(seen.buttons, (std::vector<wxString>{u8("是"), u8("否")}));
        EXPECT_EQ(seen.answer, c.code);
    }
}

TEST(Actions, AButtonThatIsNotThereFailsAndCancels)
{
    TrueOrFalseDialog dialog(nullptr, u8("标题"), u8("继续吗？"));
    dialogs().press(L"Maybe");
    int code = 0;
    EXPECT_NONFATAL_FAILURE(code = dialog.ShowModal(), "no button \"Maybe\" to press in the dialog \"标题\" saying \"继续吗？\", buttons [\"Yes\", \"No\"]");
    EXPECT_EQ(code, wxID_CANCEL);
}

TEST(Actions, FieldsAreTypedIntoByTheirLabels)
{
    MultipleInputDialog::FieldMap fields{{u8("姓名"), L""}, {L"Port", L"COM1"}};
    MultipleInputDialog dialog(nullptr, fields, u8("输入"));
    dialogs().act(type_into(u8("姓名"), u8("张三")).type_into(L"Port:", L"COM2").press(L"OK"));
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(fields.at(u8("姓名")), u8("张三"));
    EXPECT_EQ(fields.at(L"Port"), L"COM2");
    const ShownDialog& seen = dialogs().last_opened();
    EXPECT_EQ(seen.fields, (std::vector<ShownField>{{u8("姓名"), L""}, {L"Port", L"COM1"}}));
    EXPECT_EQ(seen.field(L"Port"), L"COM1");
    EXPECT_EQ(seen.message, L"");
}

TEST(Actions, StepsThatCannotBeDoneFailWithWhatTheDialogShowed)
{
    const struct { Actions act; const char* failure; } cases[] = {
        {type_into(L"Age", L"3").press(L"OK"), "no field labelled \"Age\""},
        {choose(L"COM9"), "no entry \"COM9\""},
        {type_into(L"Port", L"COM2"), "was still open after the script's steps"},
        {press(L"Cancel").press(L"OK"), "had already ended"},
    };
    for (const auto& c : cases) {
        MultipleInputDialog dialog(nullptr, std::vector<wxString>{L"Port"});
        dialogs().act(c.act);
        int code = 0;
        EXPECT_NONFATAL_FAILURE(code = dialog.ShowModal(), c.failure);
        EXPECT_EQ(code, wxID_CANCEL) << c.failure;
    }
}

TEST(Actions, ACountdownRunsOutWithThePreselectedEntry)
{
    SingleChoiceTimeoutDialog dialog(nullptr, u8("端口："), L"Pick", ports, 5, 1);
    dialogs().run_out();
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(dialog.GetSelection(), L"COM2");
    EXPECT_EQ(dialogs().last_opened().caption, L"Pick 5.0");
    EXPECT_EQ(dialogs().last_opened().message, u8("端口："));
    EXPECT_EQ(dialogs().last_opened().choices, ports);
    EXPECT_EQ(dialog.GetTitle(), L"Pick 0.0");  // every tick was delivered
}

TEST(Actions, ChoosingAnEntryStopsTheCountdown)
{
    SingleChoiceTimeoutDialog dialog(nullptr, L"Port:", L"Pick", ports, 5, 1);
    dialogs().act(choose(L"COM3").run_out());
    int code = 0;
    EXPECT_NONFATAL_FAILURE(code = dialog.ShowModal(), "countdown did not end the dialog");
    EXPECT_EQ(code, wxID_CANCEL);

    dialogs().act(choose(L"COM3").press(wxID_OK));
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(dialog.GetSelection(), L"COM3");
}

TEST(Actions, SelfClosingMessageRunsOutWithoutWaiting)
{
    AutoCloseMessageBox box(nullptr, u8("提示"), u8("已保存"), 600.0);
    dialogs().run_out();
    EXPECT_EQ(box.ShowModal(), 0);
    EXPECT_EQ(dialogs().last_opened().message, u8("已保存"));
}

TEST(Actions, AnUnexpectedDialogFailsAtOnceWithItsTexts)
{
    TrueOrFalseDialog dialog(nullptr, u8("标题"), u8("继续吗？"));
    int code = 0;
    EXPECT_NONFATAL_FAILURE(code = dialog.ShowModal(),
                            "unexpected dialog \"标题\" saying \"继续吗？\", buttons [\"Yes\", \"No\"]");
    EXPECT_EQ(code, wxID_CANCEL);
    // A message box where the script would do more than press a button.
    dialogs().act(type_into(L"Name", L"x"));
    EXPECT_NONFATAL_FAILURE(MB::Notice(u8("完成")), "message box \"Info\" saying \"完成\"");
}

TEST(Actions, UnusedStepsFailTheCheck)
{
    dialogs().answer(wxID_OK);
    EXPECT_NONFATAL_FAILURE(dialogs().verify(), "still held an answer for a message box, but no such dialog opened");
    dialogs().act(press(L"OK").press(L"Cancel"));
    EXPECT_EQ(dialogs().pending(), 1u);
    EXPECT_NONFATAL_FAILURE(dialogs().verify(), "still held a dialog in which to press \"OK\", then press \"Cancel\"");
    EXPECT_EQ(dialogs().pending(), 0u);
    EXPECT_TRUE(dialogs().verify());
}

TEST(Actions, DialogsOpenedByAStepTakeTheNextSteps)
{
    long baud = 9600;
    SettingsDialog dialog(baud);
    dialogs().act(type_into(u8("波特率"), L"fast").press(L"Save").press(L"Cancel")).answer(wxID_OK);
    EXPECT_EQ(dialog.ShowModal(), wxID_CANCEL);
    EXPECT_EQ(dialogs().last().message, L"Baud rate must be a number.");
    EXPECT_EQ(baud, 9600);
    ASSERT_EQ(dialogs().opened().size(), 2u);
    EXPECT_EQ(dialogs().opened()[0].fields, (std::vector<ShownField>{{u8("波特率："), L"9600"}}));
    EXPECT_EQ(dialogs().opened()[0].buttons, (std::vector<wxString>{L"Save", L"Cancel"}));
    EXPECT_EQ(dialogs().opened()[0].answer, wxID_CANCEL);
}

TEST(Actions, TheWatchdogEndsADialogLeftOpen)
{
    long baud = 0;
    SettingsDialog dialog(baud);
    dialogs().watchdog = std::chrono::seconds(1);
    dialogs().inside([](wxDialog&) {});
    int code = 0;
    EXPECT_NONFATAL_FAILURE(code = dialog.ShowModal(), "was still open 1 s after its scripted action");
    EXPECT_EQ(code, wxID_CANCEL);
    dialogs().watchdog = std::chrono::seconds(20);
}
