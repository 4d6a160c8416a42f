#include "wxtools/app/simple_input_dialog.h"

#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>

using namespace ovk_wxtools;
using namespace ovk_wxtest;

TEST(SimpleInputDialog, HasChineseDefaultsAndLargeFont)
{
    SimpleInputDialog dialog(nullptr);
    EXPECT_EQ(dialog.GetTitle(), wxString::FromUTF8("请输入"));
    EXPECT_EQ(dialog.m_staticText1->GetLabel(), wxString::FromUTF8("请输入信息："));
    EXPECT_EQ(dialog.m_button1->GetLabel(), wxString::FromUTF8("确定"));
    EXPECT_EQ(dialog.m_button2->GetLabel(), wxString::FromUTF8("取消"));
    EXPECT_EQ(dialog.m_button1->GetId(), wxID_OK);
    EXPECT_EQ(dialog.m_button2->GetId(), wxID_CANCEL);
    EXPECT_EQ(dialog.GetDefaultItem(), dialog.m_button1);
    for (wxWindow* w : {static_cast<wxWindow*>(dialog.m_staticText1), static_cast<wxWindow*>(dialog.InputField),
                        static_cast<wxWindow*>(dialog.m_button1), static_cast<wxWindow*>(dialog.m_button2)})
        EXPECT_EQ(w->GetFont().GetPointSize(), 20);
    EXPECT_EQ(dialog.InputField->GetValue(), "");
    EXPECT_FALSE(dialog.InputField->HasFlag(wxTE_PASSWORD));
    EXPECT_GE(dialog.InputField->GetSize().GetWidth(), 400);
}

TEST(SimpleInputDialog, OkAndCancelEndTheModalRun)
{
    SimpleInputDialog dialog(nullptr, "Name:", "Who");
    EXPECT_EQ(run_modal(dialog, [&] {
        type_into(dialog.InputField, "Ada");
        click(dialog.m_button1);
    }), wxID_OK);
    EXPECT_EQ(dialog.GetInputString(), "Ada");
    EXPECT_EQ(run_modal(dialog, [&] { click(dialog.m_button2); }), wxID_CANCEL);
}

TEST(SimpleInputDialog, PasswordHidesTheTextButReturnsIt)
{
    SimpleInputDialog dialog(nullptr, "Password:", "Login", true);
    EXPECT_TRUE(dialog.InputField->HasFlag(wxTE_PASSWORD));
    dialog.InputField->SetValue("s3cret ");
    EXPECT_EQ(dialog.GetInputString(), "s3cret");
    EXPECT_EQ(dialog.GetInputString(false), "s3cret ");
}

TEST(SimpleInputDialog, GetInputStringStripsUnicodeWhiteSpaceOnRequest)
{
    SimpleInputDialog dialog(nullptr);
    const wxString padded = wxString::FromUTF8("\u3000 值 a\u3000\t");
    dialog.InputField->SetValue(padded);
    EXPECT_EQ(dialog.GetInputString(), wxString::FromUTF8("值 a"));
    EXPECT_EQ(dialog.GetInputString(false), padded);
}
