#include "wxtools/app/mb.h"
#include "wxtools/app/show_errors.h"

#include "wxtools/testing/dialog_script.h"

#include <gtest/gtest.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>

using namespace ovk_wxtools;
using ovk_wxtest::dialogs;
using ovk_wxtest::DialogKind;

TEST(MB, ErrorNoticeAndConfirmShowTheirTextTitleAndStyle)
{
    dialogs().answer(wxID_OK).answer(wxID_OK).answer(wxID_OK).answer(wxID_OK);
    MB::Error("Disk full.");
    MB::Notice("Saved.", "Done");
    MB::Error("x", "Own title");
    MB::Notice(wxString::FromUTF8("已保存"));

    const auto& shown = dialogs().shown();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].kind, DialogKind::Message);
    EXPECT_EQ(shown[0].message, "Disk full.");
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].style & (wxOK | wxICON_ERROR), wxOK | wxICON_ERROR);
    EXPECT_EQ(shown[1].caption, "Done");
    EXPECT_EQ(shown[1].style & (wxOK | wxICON_INFORMATION), wxOK | wxICON_INFORMATION);
    EXPECT_EQ(shown[2].caption, "Own title");
    EXPECT_EQ(shown[3].message, wxString::FromUTF8("已保存"));
    EXPECT_EQ(shown[3].caption, "Info");
}

TEST(MB, ConfirmAnswersYesOrNo)
{
    dialogs().answer(wxID_YES).answer(wxID_NO);
    EXPECT_EQ(MB::Confirm("Delete?"), wxYES);
    EXPECT_EQ(MB::Confirm("Delete?", "Really"), wxNO);
    EXPECT_EQ(dialogs().shown()[0].caption, "Confirm");
    EXPECT_EQ(dialogs().shown()[1].caption, "Really");
    EXPECT_EQ(dialogs().last().style & (wxYES_NO | wxICON_QUESTION), wxYES_NO | wxICON_QUESTION);
}

TEST(MBInput, ReturnsTheTypedTextExactly)
{
    dialogs().answer_text("  two words  ").answer_text("").answer_text("typed but cancelled", wxID_CANCEL);
    EXPECT_EQ(MB::Input("Name:"), wxString("  two words  "));
    const auto empty = MB::Input("Name:");
    ASSERT_TRUE(empty.has_value()) << "an empty field is an answer, not no value";
    EXPECT_EQ(*empty, "");
    EXPECT_EQ(MB::Input("Name:"), std::nullopt);

    EXPECT_EQ(dialogs().last().kind, DialogKind::TextEntry);
    EXPECT_EQ(dialogs().last().message, "Name:");
    EXPECT_EQ(dialogs().last().caption, "Input Dialog");
}

TEST(MBInput, DefaultValueIsPrefilled)
{
    dialogs().answer_text("1").answer_text("1").answer_text("1").answer_text("1");
    MB::Input("n", MB::ToInt, "Count", 5);
    EXPECT_EQ(dialogs().last().value, "5");
    EXPECT_EQ(dialogs().last().caption, "Count");
    MB::Input("n");
    EXPECT_EQ(dialogs().last().value, "");
    MB::Input("x", MB::ToDouble, "Input Dialog", 2.5);
    EXPECT_EQ(dialogs().last().value, "2.5");
    MB::Input("t", "Input Dialog", wxString::FromUTF8("默认"));
    EXPECT_EQ(dialogs().last().value, wxString::FromUTF8("默认"));
}

TEST(MBInput, FailedConversionShowsOneErrorAndGivesNoValue)
{
    dialogs().answer_text("abc").answer(wxID_OK);
    EXPECT_EQ(MB::Input("Count:", MB::ToInt), std::nullopt);
    ASSERT_EQ(dialogs().shown().size(), 2u);
    EXPECT_EQ(dialogs().last().kind, DialogKind::Message);
    EXPECT_EQ(dialogs().last().message, "Invalid input format.");
    EXPECT_EQ(dialogs().last().caption, "Error");
}

TEST(MBInput, SuccessfulConversionGivesTheValueWithoutABox)
{
    dialogs().answer_text("12").answer_text(" 2.5 ");
    EXPECT_EQ(MB::Input("Count:", MB::ToInt), 12);
    EXPECT_EQ(MB::Input("Limit:", MB::ToDouble), 2.5);
    EXPECT_EQ(dialogs().shown().size(), 2u);
}

TEST(MBInput, AnyThrowingConversionCounts)
{
    dialogs().answer_text("x").answer(wxID_OK).answer_text("y", wxID_CANCEL);
    auto refuse = [](const wxString&) -> int { throw 42; };
    EXPECT_EQ(MB::Input("?", refuse), std::nullopt);
    EXPECT_EQ(dialogs().last().message, "Invalid input format.");
    // A cancelled dialog never reaches the conversion, so no box follows.
    EXPECT_EQ(MB::Input("?", refuse), std::nullopt);
    EXPECT_EQ(dialogs().shown().size(), 3u);
}

TEST(MBConversions, WholeNumbers)
{
    EXPECT_EQ(MB::ToInt("12"), 12);
    EXPECT_EQ(MB::ToInt(" -7\t"), -7);
    EXPECT_EQ(MB::ToInt("+3"), 3);
    EXPECT_EQ(MB::ToInt(wxString::FromUTF8("\u30008\u3000")), 8);
    for (const char* bad : {"", " ", "abc", "1.5", "12a", "1 2", "+-1", "0x10", "--1"})
        EXPECT_THROW(MB::ToInt(bad), std::invalid_argument) << bad;
    EXPECT_THROW(MB::ToInt("99999999999999999999"), std::out_of_range);
    EXPECT_THROW(MB::ToInt(wxString::FromUTF8("１２")), std::invalid_argument);
}

TEST(MBConversions, RealNumbers)
{
    EXPECT_EQ(MB::ToDouble("2.5"), 2.5);
    EXPECT_EQ(MB::ToDouble("-1e-3"), -0.001);
    EXPECT_EQ(MB::ToDouble("+.5"), 0.5);
    EXPECT_EQ(MB::ToDouble("7"), 7.0);
    EXPECT_TRUE(std::isinf(MB::ToDouble("inf")));
    EXPECT_TRUE(std::isnan(MB::ToDouble("nan")));
    for (const char* bad : {"", "abc", "1,5", "2.5.1", "e5", "1e"})
        EXPECT_THROW(MB::ToDouble(bad), std::invalid_argument) << bad;
}

TEST(ShowErrors, AnErrorBecomesOneBoxAndFalse)
{
    dialogs().answer(wxID_OK).answer(wxID_OK);
    EXPECT_TRUE(show_errors([] {}));
    EXPECT_FALSE(show_errors([] { throw std::runtime_error("books/a.pbook: not a parameter book"); }));
    EXPECT_EQ(dialogs().last().message, "books/a.pbook: not a parameter book");
    EXPECT_EQ(dialogs().last().caption, "Error");
    EXPECT_FALSE(show_errors([] { throw 7; }));
    EXPECT_EQ(dialogs().last().message, "Unexpected error.");
}

TEST(MBInput, NarrowDefaultsAreReadAsUtf8)
{
    dialogs().answer_text("1").answer_text("1");
    MB::Input("t", "Input Dialog", "默认");
    EXPECT_EQ(dialogs().last().value, wxString::FromUTF8("默认"));
    MB::Input("t", "Input Dialog", std::string("默认\xff"));
    EXPECT_EQ(dialogs().last().value, wxString::FromUTF8("默认\uFFFD"));
}
