#include "wxtools/controls/com_port_list.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <wx/choice.h>
#include <wx/frame.h>
#include <wx/listbox.h>

using namespace ovk_wxtools;

namespace {

using Names = std::vector<wxString>;

class COMPortListTest : public ::testing::Test {
protected:
    COMPortListTest() : frame(new wxFrame(nullptr, wxID_ANY, "ports")), choice(new wxChoice(frame, wxID_ANY)) {}
    ~COMPortListTest() override { frame->Destroy(); }

    static Names shown(const wxItemContainer* control)
    {
        Names texts;
        for (unsigned i = 0; i < control->GetCount(); ++i)
            texts.push_back(control->GetString(i));
        return texts;
    }

    wxFrame* frame;
    wxChoice* choice;
};

TEST_F(COMPortListTest, NoPortsGiveAnEmptyListWithNothingSelected)
{
    COMPortList ports(choice, [] { return Names{}; });
    EXPECT_EQ(ports.size(), 0u);
    EXPECT_EQ(choice->GetCount(), 0u);
    EXPECT_EQ(ports.GetSelection(), nullptr);
    EXPECT_EQ(ports.GetSelectionIndex(), -1);
}

TEST_F(COMPortListTest, PortsAreListedInTheirOrderWithTheFirstSelected)
{
    COMPortList ports(choice, [] { return Names{"/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyACM0"}; });
    EXPECT_EQ(ports.objects, (Names{"/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyACM0"}));
    EXPECT_EQ(shown(choice), ports.objects);
    EXPECT_EQ(choice->GetSelection(), 0);
    EXPECT_EQ(*ports.GetSelection(), "/dev/ttyUSB1");
}

TEST_F(COMPortListTest, RefreshKeepsTheSelectedPortWhileItIsThere)
{
    Names machine{"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1"};
    COMPortList ports(choice, [&] { return machine; });
    ports.SetSelection(2);
    EXPECT_FALSE(ports.RefreshPorts());
    EXPECT_EQ(choice->GetSelection(), 2);

    machine = {"/dev/ttyS0", "/dev/ttyUSB1"};  // ttyUSB0 unplugged
    EXPECT_TRUE(ports.RefreshPorts());
    EXPECT_EQ(shown(choice), machine);
    EXPECT_EQ(*ports.GetSelection(), "/dev/ttyUSB1");

    machine = {"/dev/ttyS0"};  // the selected one goes: back to the first
    EXPECT_TRUE(ports.RefreshPorts());
    EXPECT_EQ(*ports.GetSelection(), "/dev/ttyS0");

    machine.clear();
    EXPECT_TRUE(ports.RefreshPorts());
    EXPECT_EQ(ports.size(), 0u);
    EXPECT_EQ(ports.GetSelectionIndex(), -1);

    machine = {"/dev/ttyACM0"};
    EXPECT_TRUE(ports.RefreshPorts());
    EXPECT_EQ(*ports.GetSelection(), "/dev/ttyACM0");
}

TEST(PortNameOrderTest, NumbersCompareByValue)
{
    Names names{"/dev/ttyUSB0", "/dev/ttyS10", "/dev/ttyS2", "/dev/ttyACM1", "/dev/ttyS1", "/dev/ttyS02"};
    std::sort(names.begin(), names.end(), port_name_less);
    EXPECT_EQ(names, (Names{"/dev/ttyACM1", "/dev/ttyS1", "/dev/ttyS02", "/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0"}));
    EXPECT_FALSE(port_name_less("/dev/ttyS1", "/dev/ttyS1"));
    EXPECT_TRUE(port_name_less("/dev/ttyS", "/dev/ttyS0"));
}

TEST_F(COMPortListTest, ByDefaultThePortsComeFromTheSystem)
{
    const Names names = serial_port_names();
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), port_name_less));
    auto* list = new wxListBox(frame, wxID_ANY);
    COMPortList ports(list);
    EXPECT_EQ(ports.objects, names);
    EXPECT_EQ(ports.GetSelectionIndex(), names.empty() ? -1 : 0);
}

}  // namespace
