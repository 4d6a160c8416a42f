// A serial-port picker: the machine's ports in a choice that follows adapters
// being plugged in and out, each with what it is (description, USB ids,
// serial number); "Connect" answers with the chosen device name.
#include <wxtools/wxtools.h>

#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <cstdio>
#include <exception>
#include <memory>

using namespace ovk_wxtools;

namespace {

class PortPickerDialog : public wxDialog {
public:
    PortPickerDialog() : wxDialog(nullptr, wxID_ANY, wxS("Connect to the instrument"))
    {
        auto* choice = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxSize(460, -1));
        ports_ = std::make_unique<COMPortList>(choice, COMPortList::Options{.refresh_ms = 1000, .describe = true});

        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(new wxStaticText(this, wxID_ANY, wxS("Serial port:")), 0, wxLEFT | wxRIGHT | wxTOP, 10);
        sizer->Add(choice, 0, wxALL | wxEXPAND, 10);
        sizer->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxALL | wxEXPAND, 10);
        SetSizerAndFit(sizer);
        if (wxWindow* ok = FindWindow(wxID_OK))
            ok->SetLabel(wxS("Connect"));
    }

    // The chosen device name; empty when there is no port.
    wxString port() const
    {
        const wxString* chosen = ports_->GetSelection();
        return chosen ? *chosen : wxString();
    }

private:
    std::unique_ptr<COMPortList> ports_;
};

}  // namespace

int main()
{
    wxString port;
    try {
        // The dialog reports its port before it goes.
        const auto code = run_wxapp([&]() -> wxWindow* {
            auto* dialog = new PortPickerDialog;
            dialog->Bind(wxEVT_BUTTON, [dialog, &port](wxCommandEvent& e) {
                port = dialog->port();
                e.Skip();
            }, wxID_OK);
            return dialog;
        });
        if (code != wxID_OK || port.empty())
            return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "serial_port_picker: %s\n", error.what());
        return 1;
    }
    std::printf("%s\n", port.utf8_string().c_str());
    return 0;
}
