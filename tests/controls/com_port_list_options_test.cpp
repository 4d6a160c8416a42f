#include "wxtools/controls/com_port_list.h"

#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/frame.h>

using namespace ovk_wxtools;

namespace {

using Ports = std::vector<SerialPortInfo>;

class COMPortListOptionsTest : public ::testing::Test {
protected:
    COMPortListOptionsTest() : frame(new wxFrame(nullptr, wxID_ANY, wxS("ports"))), choice(new wxChoice(frame, wxID_ANY)) {}
    ~COMPortListOptionsTest() override { frame->Destroy(); }

    wxFrame* frame;
    wxChoice* choice;
};

TEST(DescribePortTest, SaysWhatIsKnown)
{
    struct Case {
        SerialPortInfo port;
        const char* text;
    };
    const Case cases[] = {
        {{wxS("/dev/ttyS0"), wxS("ttyS0"), -1, -1, wxString()}, "ttyS0"},
        {{wxS("/dev/ttyUSB0"), wxS("FT232R USB UART"), 0x403, 0x6001, wxS("A50285BI")},
         "FT232R USB UART (USB 0403:6001, serial A50285BI)"},
        {{wxS("/dev/ttyACM0"), wxString::FromUTF8("串口"), 0x2341, 0x43, wxString()}, "串口 (USB 2341:0043)"},
        {{wxS("/dev/ttyACM1"), wxString(), -1, -1, wxS("123")}, "(serial 123)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(describe_port(c.port), wxString::FromUTF8(c.text)) << c.text;
}

TEST_F(COMPortListOptionsTest, DescribedPortsShowTheirDetailsButStayNames)
{
    Ports machine{{wxS("/dev/ttyUSB1"), wxString::FromUTF8("温度计"), 0x403, 0x6001, wxS("X1")},
                  {wxS("/dev/ttyS0"), wxS("ttyS0"), -1, -1, wxString()}};
    COMPortList ports(choice, {.describe = true, .port_info = [&] { return machine; }},
                      [] { return std::vector<wxString>{wxS("/dev/unused")}; });
    // Ordered by name; the objects stay the device names.
    EXPECT_EQ(ports.objects, (std::vector<wxString>{wxS("/dev/ttyS0"), wxS("/dev/ttyUSB1")}));
    EXPECT_EQ(choice->GetString(0), wxS("/dev/ttyS0"));
    EXPECT_EQ(choice->GetString(1), wxString::FromUTF8("/dev/ttyUSB1 — 温度计 (USB 0403:6001, serial X1)"));
    ASSERT_NE(ports.GetPortInfo(wxS("/dev/ttyUSB1")), nullptr);
    EXPECT_EQ(ports.GetPortInfo(wxS("/dev/ttyUSB1"))->serial_number, wxS("X1"));
    EXPECT_EQ(ports.GetPortInfo(wxS("/dev/none")), nullptr);

    // Same ports, new details: the texts follow and the selection stays.
    ports.SetSelection(1);
    machine[0].serial_number = wxS("X2");
    EXPECT_TRUE(ports.RefreshPorts());
    EXPECT_EQ(choice->GetString(1), wxString::FromUTF8("/dev/ttyUSB1 — 温度计 (USB 0403:6001, serial X2)"));
    EXPECT_EQ(*ports.GetSelection(), wxS("/dev/ttyUSB1"));
    EXPECT_FALSE(ports.RefreshPorts());
}

TEST_F(COMPortListOptionsTest, WithoutOptionsNothingIsDescribed)
{
    COMPortList ports(choice, COMPortList::Options{}, [] { return std::vector<wxString>{wxS("/dev/ttyS0")}; });
    EXPECT_EQ(choice->GetString(0), wxS("/dev/ttyS0"));
    EXPECT_EQ(ports.GetPortInfo(wxS("/dev/ttyS0")), nullptr);
}

TEST_F(COMPortListOptionsTest, RefreshesItselfAtTheIntervalKeepingTheSelection)
{
    std::vector<wxString> machine{wxS("/dev/ttyS0"), wxS("/dev/ttyUSB0")};
    COMPortList ports(choice, {.refresh_ms = 20}, [&] { return machine; });
    ports.SetSelection(1);
    machine = {wxS("/dev/ttyACM0"), wxS("/dev/ttyS0"), wxS("/dev/ttyUSB0")};  // an adapter plugged in
    ASSERT_TRUE(ovk_wxtest::wait_until([&] { return ports.size() == 3; }));
    EXPECT_EQ(ports.objects, machine);
    EXPECT_EQ(*ports.GetSelection(), wxS("/dev/ttyUSB0"));

    // The timer follows the list when it moves.
    COMPortList moved(std::move(ports));
    machine.pop_back();
    ASSERT_TRUE(ovk_wxtest::wait_until([&] { return moved.size() == 2; }));
    EXPECT_EQ(*moved.GetSelection(), wxS("/dev/ttyACM0"));
}

}  // namespace
