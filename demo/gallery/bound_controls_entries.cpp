// Gallery entries for the bound controls: an object list, a row grid with
// coloured rows, the auto-popup combo box, a date picker and the serial-port list.
#include "demo/gallery/gallery.h"

#include "wxtools/wxtools.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <functional>
#include <string>

using namespace ovk_wxtools;

namespace ovk_gallery {
namespace {

struct Instrument {
    wxString name;
    wxString address;
    double voltage;
    wxString status;  // OK, WARN or FAIL
};

std::vector<Instrument> sample_instruments()
{
    return {{"Power supply", "GPIB0::5", 12.0, "OK"},
            {"Multimeter", "GPIB0::22", 3.3, "OK"},
            {"Oscilloscope", "TCPIP::192.168.0.40", 0.0, "FAIL"},
            {"Load", "ASRL3", 5.02, "WARN"},
            {"Thermometer", "ASRL4", 23.5, "OK"}};
}

// A resizable dialog with a body and a row of buttons under it.
struct DemoDialog : wxDialog {
    DemoDialog(wxWindow* parent, const wxString& title)
        : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER)
    {
        SetSizer(new wxBoxSizer(wxVERTICAL));
        buttons = new wxBoxSizer(wxHORIZONTAL);
    }

    void add(wxWindow* body, int proportion = 1) { GetSizer()->Add(body, proportion, wxEXPAND | wxALL, 5); }

    // Every button reports errors in a box instead of letting them out of the handler.
    void button(const wxString& label, std::function<void()> action)
    {
        auto* b = new wxButton(this, wxID_ANY, label);
        b->Bind(wxEVT_BUTTON, [action](wxCommandEvent&) {
            try {
                action();
            } catch (const std::exception& error) {
                MB::Error(from_utf8(error.what()));
            }
        });
        buttons->Add(b, 0, wxALL, 5);
    }

    int show()
    {
        buttons->AddStretchSpacer();
        buttons->Add(new wxButton(this, wxID_CANCEL, "Close"), 0, wxALL, 5);
        GetSizer()->Add(buttons, 0, wxEXPAND);
        window_fit_layout(this);
        return ShowModal();
    }

    wxBoxSizer* buttons;
};

GalleryEntry object_list{"Bound controls", "ComboList", [](wxWindow* parent) {
    DemoDialog dialog(parent, "Instruments");
    auto* box = new wxListBox(&dialog, wxID_ANY, wxDefaultPosition, wxSize(360, 200), 0, nullptr, wxLB_MULTIPLE);
    dialog.add(new wxStaticText(&dialog, wxID_ANY, "Select instruments (several at once):"), 0);
    dialog.add(box);
    ComboList<Instrument> list(box, [](const Instrument& i) { return i.name + "  (" + i.address + ")"; });
    list.AppendItems(sample_instruments());
    list.SetSelection(0);
    int added = 0;
    dialog.button("Add", [&] { list.Append({wxString::Format("Counter %d", ++added), "USB0::0x0957", 0.0, "OK"}); });
    dialog.button("Insert at 1", [&] { list.Insert({"Relay card", "ASRL7", 0.0, "OK"}, 1); });
    dialog.button("Delete selected", [&] { list.DeleteSelections(); });
    dialog.button("Show selection", [&] {
        wxString text;
        for (const Instrument* i : list.GetSelections())
            text += i->name + " at " + i->address + "\n";
        MB::Notice(text.empty() ? wxString("Nothing is selected.") : text);
    });
    dialog.show();
}};

GalleryEntry row_grid{"Bound controls", "RowGrid", [](wxWindow* parent) {
    DemoDialog dialog(parent, "Measurements");
    auto* grid = new wxGrid(&dialog, wxID_ANY, wxDefaultPosition, wxSize(560, 240));
    grid->CreateGrid(0, 4);
    const wxString labels[] = {"Instrument", "Address", "Voltage (V)", "Status"};
    for (int c = 0; c < 4; ++c)
        grid->SetColLabelValue(c, labels[c]);
    grid->SetRowLabelSize(40);
    grid->EnableEditing(false);  // the cells show the objects; edits would not reach them
    dialog.add(grid);
    RowGrid<Instrument> rows(
        grid, [](const Instrument& i) { return RowValues{i.name, i.address, i.voltage, i.status}; },
        [](const Instrument& i) {
            if (i.status == "FAIL")
                return wxColour(255, 190, 190);
            if (i.status == "WARN")
                return wxColour(255, 240, 170);
            return wxColour(wxNullColour);
        });
    rows.AppendItems(sample_instruments());
    grid->AutoSizeColumns();
    dialog.button("Add", [&] { rows.Append({"Counter", "USB0::0x0957", 1.5, "OK"}); });
    dialog.button("Add in blue", [&] { rows.Append({"Reference", "GPIB0::9", 10.0, "OK"}, wxColour(190, 215, 255)); });
    dialog.button("Fail selected", [&] {
        const std::vector<int> selected = rows.GetSelectionIndexes();
        for (int r : selected)
            rows.objects[static_cast<std::size_t>(r)].status = "FAIL";
        rows.Update(selected);
    });
    dialog.button("Delete selected", [&] { rows.DeleteSelections(); });
    dialog.show();
}};

GalleryEntry auto_popup{"Bound controls", "AutoPopupComboBox", [](wxWindow* parent) {
    DemoDialog dialog(parent, "Auto-popup combo box");
    const wxString items[] = {"Power supply", "Multimeter", "Oscilloscope", "Load", "Thermometer", "Counter"};
    dialog.add(new wxStaticText(&dialog, wxID_ANY, "Type the start of an instrument (P, M, O, ...):"), 0);
    auto* combo = new wxComboBox(&dialog, wxID_ANY, "", wxDefaultPosition, wxSize(300, -1), 6, items);
    dialog.add(combo, 0);
    AutoPopupComboBox auto_combo(combo);
    dialog.show();
}};

GalleryEntry date_picker{"Bound controls", "DatePicker", [](wxWindow* parent) {
    DemoDialog dialog(parent, "Dates");
    auto* picker_control = new wxDatePickerCtrl(&dialog, wxID_ANY);
    auto* calendar_control = new wxCalendarCtrl(&dialog, wxID_ANY);
    dialog.add(new wxStaticText(&dialog, wxID_ANY, "Calibration due:"), 0);
    dialog.add(picker_control, 0);
    dialog.add(calendar_control, 0);
    DatePicker picker(picker_control);
    DatePicker calendar(calendar_control);
    picker.SetValue(PlainDate{2024, 1, 15});
    dialog.button("Copy to calendar", [&] { calendar.SetValue(picker.GetValue()); });
    dialog.button("Show dates", [&] {
        const PlainDate p = picker.GetValue(), c = calendar.GetDate();
        MB::Notice(wxString::Format("Picker: %04d-%02d-%02d\nCalendar: %04d-%02d-%02d", p.year, p.month, p.day, c.year,
                                    c.month, c.day));
    });
    dialog.show();
}};

GalleryEntry serial_ports{"Bound controls", "COMPortList", [](wxWindow* parent) {
    DemoDialog dialog(parent, "Serial port");
    auto* choice = new wxChoice(&dialog, wxID_ANY, wxDefaultPosition, wxSize(420, -1));
    auto* status = new wxStaticText(&dialog, wxID_ANY, "");
    dialog.add(new wxStaticText(&dialog, wxID_ANY, "Port:"), 0);
    dialog.add(choice, 0);
    dialog.add(status, 0);
    // Follows adapters being plugged in and out, and says what each port is.
    COMPortList ports(choice, COMPortList::Options{.refresh_ms = 1000, .describe = true});
    const auto show_count = [&] {
        status->SetLabel(ports.empty() ? wxString("No serial port found.")
                                       : wxString::Format("%zu serial port(s) found.", ports.size()));
    };
    show_count();
    dialog.button("Refresh", [&] {
        ports.RefreshPorts();
        show_count();
    });
    dialog.button("Use selected", [&] {
        const wxString* port = ports.GetSelection();
        MB::Notice(port ? "Opening " + *port + "." : wxString("No port is selected."));
    });
    dialog.show();
}};

}  // namespace
}  // namespace ovk_gallery
