#pragma once
// COMPortList: an object list of the machine's serial ports, shown by device
// name, with the first port selected.
#include "wxtools/controls/combo_list.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class wxTimer;

namespace ovk_wxtools {

// The device names of the machine's serial ports (/dev/ttyS0, /dev/ttyUSB0),
// from libserialport, ordered by name with numbers compared as numbers
// (ttyS2 before ttyS10). Throws std::runtime_error when the system refuses
// to list them.
std::vector<wxString> serial_port_names();

// The order of serial_port_names: piece by piece, runs of digits by their value.
bool port_name_less(const wxString& a, const wxString& b);

// What the system tells about one serial port.
struct SerialPortInfo {
    // Device name, such as /dev/ttyUSB0.
    wxString name;
    // libserialport's description, such as "FT232R USB UART".
    wxString description;
    // USB vendor and product id; -1 for a port not on USB.
    int usb_vid = -1;
    int usb_pid = -1;
    // The USB device's serial number; empty when it has none.
    wxString serial_number;
};

// One line about a port for people: its description, then the USB ids and
// serial number when known ("FT232R USB UART (USB 0403:6001, serial A50285BI)").
wxString describe_port(const SerialPortInfo& port);

// Every serial port with its details, in the order of serial_port_names.
// Throws std::runtime_error when the system refuses to list them.
std::vector<SerialPortInfo> serial_ports();

class COMPortList : public ComboList<wxString> {
public:
    // Where the port names come from; tests hand in a fixed list.
    using PortLister = std::function<std::vector<wxString>()>;
    // Where the ports and their details come from, for `Options::describe`.
    using PortInfoLister = std::function<std::vector<SerialPortInfo>()>;

    // Additions to the plain list; each is off by default.
    struct Options {
        // Lists the ports again every this many milliseconds (0: never), so
        // plugged and unplugged adapters show up; the selected port stays selected.
        int refresh_ms = 0;
        // Shows each port as "name — description" (see describe_port), or as
        // its name alone when that says nothing more. The objects stay the
        // device names.
        bool describe = false;
        // The ports with their details when describing them; empty: serial_ports().
        PortInfoLister port_info = {};
    };

    // Lists the ports of `comports` in `control` and selects the first one.
    explicit COMPortList(wxItemContainer* control, PortLister comports = serial_port_names);
    // The same with the additions `options` turns on.
    COMPortList(wxItemContainer* control, Options options, PortLister comports = serial_port_names);
    ~COMPortList() override;
    // A moved list keeps refreshing itself, at its new place.
    COMPortList(COMPortList&& other) noexcept;
    COMPortList& operator=(COMPortList&& other) noexcept;

    // The details of port `name` as last listed; nullptr unless the list
    // describes its ports and has that one.
    const SerialPortInfo* GetPortInfo(const wxString& name) const;

    // Lists the ports again, for when ports come and go. The selected port
    // stays selected while it is still there; otherwise the first port is.
    // Returns false, changing nothing, when the same ports are there.
    bool RefreshPorts();

private:
    using Details = std::map<wxString, SerialPortInfo>;
    class RefreshTimer;

    COMPortList(wxItemContainer* control, const Options& options, PortLister comports,
                std::shared_ptr<Details> details);
    // The current port names; with `describe` also refreshes `details`.
    std::vector<wxString> list_ports(bool* details_changed = nullptr);

    PortLister comports;
    PortInfoLister port_info;
    // Shared with the text callback, which outlives moves of this list.
    std::shared_ptr<Details> details;
    std::unique_ptr<RefreshTimer> refresh_timer;
};

}  // namespace ovk_wxtools
