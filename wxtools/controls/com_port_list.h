#pragma once
// COMPortList: an object list of the machine's serial ports, shown by device
// name, with the first port selected.
#include "wxtools/controls/combo_list.h"

#include <functional>
#include <vector>

namespace ovk_wxtools {

// The device names of the machine's serial ports (/dev/ttyS0, /dev/ttyUSB0),
// from libserialport, ordered by name with numbers compared as numbers
// (ttyS2 before ttyS10). Throws std::runtime_error when the system refuses
// to list them.
std::vector<wxString> serial_port_names();

// The order of serial_port_names: piece by piece, runs of digits by their value.
bool port_name_less(const wxString& a, const wxString& b);

class COMPortList : public ComboList<wxString> {
public:
    // Where the port names come from; tests hand in a fixed list.
    using PortLister = std::function<std::vector<wxString>()>;

    explicit COMPortList(wxItemContainer* control, PortLister comports = serial_port_names);

    // Lists the ports again, for when ports come and go. The selected port
    // stays selected while it is still there; otherwise the first port is.
    // Returns false, changing nothing, when the same ports are there.
    bool RefreshPorts();

private:
    PortLister comports;
};

}  // namespace ovk_wxtools
