// An outside tool's tests, built against the installed testing kit: dialogs
// answered by what a person does, their texts checked afterwards.
#include <wxtools/testing/gtest.h>
#include <wxtools/wxtools.h>

#include <gtest/gtest-spi.h>

using namespace ovk_wxtools;
using namespace ovk_wxtest;

TEST(Kit, AnswersLibraryDialogsAndRecordsTheirTexts)
{
    dialogs().press(L"No");
    EXPECT_EQ(MB::Confirm(wxString::FromUTF8("删除？")), wxNO);
    EXPECT_EQ(dialogs().last().message, wxString::FromUTF8("删除？"));

    TrueOrFalseDialog question(nullptr, L"Pump", L"Start the pump?", L"Start", L"Wait");
    dialogs().press(L"Start");
    EXPECT_EQ(question.ShowModal(), wxID_OK);
    EXPECT_EQ(dialogs().last_opened().message, L"Start the pump?");
    EXPECT_EQ(dialogs().last_opened().buttons, (std::vector<wxString>{L"Start", L"Wait"}));

    MultipleInputDialog form(nullptr, std::vector<wxString>{L"Name", L"Port"}, L"Device");
    dialogs().act(type_into(L"Name", L"pump 1").type_into(L"Port", L"COM2").press(L"OK"));
    EXPECT_EQ(form.ShowModal(), wxID_OK);
    EXPECT_EQ(form.get(L"Port"), L"COM2");
    EXPECT_EQ(dialogs().last_opened().caption, L"Device");

    SingleChoiceTimeoutDialog choice(nullptr, L"Port to use:", L"Pick", {L"COM1", L"COM2"}, 30, 1);
    dialogs().run_out();
    EXPECT_EQ(choice.ShowModal(), wxID_OK);
    EXPECT_EQ(choice.GetSelection(), L"COM2");
    EXPECT_EQ(dialogs().last_opened().caption, L"Pick 30.0");
    EXPECT_EQ(dialogs().last_opened().message, L"Port to use:");
}

TEST(Kit, AnUnexpectedDialogFailsWithItsText)
{
    TrueOrFalseDialog question(nullptr, L"Pump", L"Start the pump?");
    EXPECT_NONFATAL_FAILURE(question.ShowModal(), "unexpected dialog \"Pump\" saying \"Start the pump?\"");
}

int main(int argc, char** argv)
{
    return run_all_tests(argc, argv);
}
