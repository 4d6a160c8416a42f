#include "wxtools/controls/com_port_list.h"

#include <libserialport.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace ovk_wxtools {

bool port_name_less(const wxString& a, const wxString& b)
{
    std::size_t i = 0, j = 0;
    while (i < a.length() && j < b.length()) {
        if (wxIsdigit(a[i]) && wxIsdigit(b[j])) {
            std::size_t ie = i, je = j;
            while (ie < a.length() && wxIsdigit(a[ie]))
                ++ie;
            while (je < b.length() && wxIsdigit(b[je]))
                ++je;
            wxString na = a.Mid(i, ie - i), nb = b.Mid(j, je - j);
            na.erase(0, std::min(na.find_first_not_of('0'), na.length() - 1));
            nb.erase(0, std::min(nb.find_first_not_of('0'), nb.length() - 1));
            if (na.length() != nb.length())
                return na.length() < nb.length();
            if (na != nb)
                return na < nb;
            i = ie;
            j = je;
        } else {
            if (a[i] != b[j])
                return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    if (a.length() - i != b.length() - j)
        return a.length() - i < b.length() - j;
    // Equal but for leading zeros: plain text order keeps the order strict.
    return a < b;
}

std::vector<wxString> serial_port_names()
{
    sp_port** ports = nullptr;
    const sp_return result = sp_list_ports(&ports);
    if (result != SP_OK) {
        std::string reason = "error " + std::to_string(static_cast<int>(result));
        if (result == SP_ERR_FAIL) {
            char* message = sp_last_error_message();
            reason = message ? message : reason;
            sp_free_error_message(message);
        }
        throw std::runtime_error("The serial ports could not be listed: " + reason);
    }
    std::unique_ptr<sp_port*, void (*)(sp_port**)> owned(ports, sp_free_port_list);
    std::vector<wxString> names;
    for (sp_port** port = ports; *port; ++port)
        names.push_back(from_utf8(sp_get_port_name(*port)));
    std::sort(names.begin(), names.end(), port_name_less);
    return names;
}

COMPortList::COMPortList(wxItemContainer* control, PortLister comports)
    : ComboList<wxString>(control), comports(std::move(comports))
{
    const std::vector<wxString> names = this->comports();
    if (!names.empty()) {
        AppendItems(names);
        SetSelection(0);
    }
}

bool COMPortList::RefreshPorts()
{
    std::vector<wxString> names = comports();
    if (names == objects)
        return false;
    std::optional<wxString> selected;
    if (const wxString* port = GetSelection())
        selected = *port;
    Clear();
    if (names.empty())
        return true;
    AppendItems(names);
    const auto kept = selected ? std::find(objects.begin(), objects.end(), *selected) : objects.end();
    SetSelection(kept == objects.end() ? 0 : static_cast<int>(kept - objects.begin()));
    return true;
}

}  // namespace ovk_wxtools
