#include "wxtools/controls/com_port_list.h"

#include "wxtools/text.h"

#include <libserialport.h>
#include <wx/timer.h>

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

wxString describe_port(const SerialPortInfo& port)
{
    wxString text = port.description;
    wxString ids;
    if (port.usb_vid >= 0 && port.usb_pid >= 0)
        ids = wxString::Format(wxS("USB %04x:%04x"), port.usb_vid, port.usb_pid);
    if (!port.serial_number.empty())
        ids += (ids.empty() ? wxS("serial ") : wxS(", serial ")) + port.serial_number;
    if (!ids.empty())
        text += (text.empty() ? wxS("(") : wxS(" (")) + ids + wxS(")");
    return text;
}

std::vector<SerialPortInfo> serial_ports()
{
    sp_port** ports = nullptr;
    if (sp_list_ports(&ports) != SP_OK)
        serial_port_names();  // throws with the system's reason
    std::unique_ptr<sp_port*, void (*)(sp_port**)> owned(ports, sp_free_port_list);
    std::vector<SerialPortInfo> result;
    // libserialport hands out NULL for what a port does not have.
    auto text = [](const char* s) { return s ? from_utf8(s) : wxString(); };
    for (sp_port** port = ports; ports && *port; ++port) {
        SerialPortInfo info;
        info.name = text(sp_get_port_name(*port));
        info.description = text(sp_get_port_description(*port));
        if (sp_get_port_transport(*port) == SP_TRANSPORT_USB) {
            int vid = -1, pid = -1;
            if (sp_get_port_usb_vid_pid(*port, &vid, &pid) == SP_OK) {
                info.usb_vid = vid;
                info.usb_pid = pid;
            }
            info.serial_number = text(sp_get_port_usb_serial(*port));
        }
        result.push_back(std::move(info));
    }
    std::sort(result.begin(), result.end(),
              [](const SerialPortInfo& a, const SerialPortInfo& b) { return port_name_less(a.name, b.name); });
    return result;
}

class COMPortList::RefreshTimer : public wxTimer {
public:
    explicit RefreshTimer(COMPortList* owner) : owner(owner) {}
    void Notify() override
    {
        // A port list that cannot be read now may be readable at the next tick.
        try {
            owner->RefreshPorts();
        } catch (const std::exception&) {
        }
    }
    COMPortList* owner;
};

COMPortList::COMPortList(wxItemContainer* control, PortLister comports)
    : COMPortList(control, Options{}, std::move(comports))
{
}

COMPortList::COMPortList(wxItemContainer* control, Options options, PortLister comports)
    : COMPortList(control, options, std::move(comports), options.describe ? std::make_shared<Details>() : nullptr)
{
}

COMPortList::COMPortList(wxItemContainer* control, const Options& options, PortLister comports,
                         std::shared_ptr<Details> shared_details)
    : ComboList<wxString>(shared_details
                              ? ComboList<wxString>(control,
                                                    [shared_details](const wxString& name) {
                                                        auto it = shared_details->find(name);
                                                        if (it == shared_details->end())
                                                            return name;
                                                        const wxString about = describe_port(it->second);
                                                        // Native ports are described by their own name (ttyS0).
                                                        if (about.empty() || about == name.AfterLast('/'))
                                                            return name;
                                                        return name + wxString(L" \u2014 ") + about;
                                                    })
                              : ComboList<wxString>(control)),
      comports(std::move(comports)),
      port_info(options.port_info ? options.port_info : PortInfoLister(serial_ports)),
      details(std::move(shared_details))
{
    const std::vector<wxString> names = list_ports();
    if (!names.empty()) {
        AppendItems(names);
        SetSelection(0);
    }
    if (options.refresh_ms > 0) {
        refresh_timer = std::make_unique<RefreshTimer>(this);
        refresh_timer->Start(options.refresh_ms);
    }
}

COMPortList::~COMPortList() = default;

COMPortList::COMPortList(COMPortList&& other) noexcept
    : ComboList<wxString>(std::move(other)),
      comports(std::move(other.comports)),
      port_info(std::move(other.port_info)),
      details(std::move(other.details)),
      refresh_timer(std::move(other.refresh_timer))
{
    if (refresh_timer)
        refresh_timer->owner = this;
}

COMPortList& COMPortList::operator=(COMPortList&& other) noexcept
{
    ComboList<wxString>::operator=(std::move(other));
    comports = std::move(other.comports);
    port_info = std::move(other.port_info);
    details = std::move(other.details);
    refresh_timer = std::move(other.refresh_timer);
    if (refresh_timer)
        refresh_timer->owner = this;
    return *this;
}

const SerialPortInfo* COMPortList::GetPortInfo(const wxString& name) const
{
    if (!details)
        return nullptr;
    auto it = details->find(name);
    return it == details->end() ? nullptr : &it->second;
}

std::vector<wxString> COMPortList::list_ports(bool* details_changed)
{
    if (!details)
        return comports();
    Details fresh;
    std::vector<wxString> names;
    for (SerialPortInfo& port : port_info()) {
        names.push_back(port.name);
        fresh.emplace(port.name, std::move(port));
    }
    std::sort(names.begin(), names.end(), port_name_less);
    if (details_changed) {
        *details_changed = fresh.size() != details->size() ||
            !std::equal(fresh.begin(), fresh.end(), details->begin(), [](const auto& a, const auto& b) {
                return a.first == b.first && describe_port(a.second) == describe_port(b.second);
            });
    }
    *details = std::move(fresh);
    return names;
}

bool COMPortList::RefreshPorts()
{
    bool details_changed = false;
    std::vector<wxString> names = list_ports(&details_changed);
    if (names == objects) {
        if (!details_changed)
            return false;
        for (std::size_t i = 0; i < objects.size(); ++i)
            Update(static_cast<int>(i));
        return true;
    }
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
