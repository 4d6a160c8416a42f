#include "wxtools/controls/combo_list.h"
#include "wxtools/errors.h"

#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/listbox.h>

using namespace ovk_wxtools;

namespace {

struct Channel {
    wxString name;
    int volts;
};

wxString channel_text(const Channel& c)
{
    return wxString::Format(wxS("%s: %d V"), c.name, c.volts);
}

class ComboListUpdateTest : public ::testing::TestWithParam<int> {
protected:
    ComboListUpdateTest() : frame(new wxFrame(nullptr, wxID_ANY, wxS("update"))) {}
    ~ComboListUpdateTest() override { frame->Destroy(); }

    wxItemContainer* make_control(int kind)
    {
        switch (kind) {
        case 0: return new wxChoice(frame, wxID_ANY);
        case 1: return new wxListBox(frame, wxID_ANY);
        case 2: return new wxListBox(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, nullptr, wxLB_MULTIPLE);
        default: return new wxComboBox(frame, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, 0, nullptr, wxCB_READONLY);
        }
    }

    wxFrame* frame;
};

TEST_P(ComboListUpdateTest, UpdateShowsTheChangedObjectAndKeepsTheSelection)
{
    wxItemContainer* control = make_control(GetParam());
    ComboList<Channel> list(control, channel_text);
    list.AppendItems({{wxString::FromUTF8("通道一"), 5}, {wxS("B"), 12}, {wxS("C"), 3}});
    list.SetSelection(1);

    list.objects[1].volts = 24;
    list.objects[0].name = wxString::FromUTF8("通道甲");
    list.Update(1);
    EXPECT_EQ(control->GetString(1), wxS("B: 24 V"));
    EXPECT_EQ(control->GetString(0), wxString::FromUTF8("通道一: 5 V"));  // not updated yet
    EXPECT_EQ(list.GetSelectionIndexes(), std::vector<int>{1});
    list.Update(0);
    EXPECT_EQ(control->GetString(0), wxString::FromUTF8("通道甲: 5 V"));
    EXPECT_EQ(list.GetSelectionIndexes(), std::vector<int>{1});

    EXPECT_THROW(list.Update(3), LookupError);
    EXPECT_THROW(list.Update(-1), LookupError);
    EXPECT_EQ(control->GetCount(), 3u);
}

INSTANTIATE_TEST_SUITE_P(EveryControl, ComboListUpdateTest, ::testing::Values(0, 1, 2, 3));

TEST(ComboListFindIfTest, FindsTheFirstMatchOrNothing)
{
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, wxS("find"));
    ComboList<Channel> list(new wxChoice(frame, wxID_ANY), channel_text);
    EXPECT_EQ(list.FindIf([](const Channel&) { return true; }), -1);
    list.AppendItems({{wxS("A"), 5}, {wxString::FromUTF8("电源"), 12}, {wxS("C"), 12}});
    EXPECT_EQ(list.FindIf([](const Channel& c) { return c.volts == 12; }), 1);
    EXPECT_EQ(list.FindIf([](const Channel& c) { return c.name == wxString::FromUTF8("电源"); }), 1);
    EXPECT_EQ(list.FindIf([](const Channel& c) { return c.volts > 100; }), -1);
    frame->Destroy();
}

}  // namespace
