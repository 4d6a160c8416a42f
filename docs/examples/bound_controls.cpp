// Instruments shown in a list box and a grid: selections come back as the
// instruments themselves, not as row numbers.
#include <wxtools/wxtools.h>

#include <wx/frame.h>
#include <wx/grid.h>
#include <wx/listbox.h>
#include <wx/sizer.h>

using namespace ovk_wxtools;

struct Instrument {
    wxString name;
    wxString port;
    double range_volts;
};

class MainFrame : public wxFrame {
public:
    MainFrame() : wxFrame(nullptr, wxID_ANY, wxS("Instruments"), wxDefaultPosition, wxSize(560, 360))
    {
        auto* list = new wxListBox(this, wxID_ANY);
        auto* grid = new wxGrid(this, wxID_ANY);
        grid->CreateGrid(0, 3);
        grid->SetColLabelValue(0, wxS("Name"));
        grid->SetColLabelValue(1, wxS("Port"));
        grid->SetColLabelValue(2, wxS("Range (V)"));

        names_ = std::make_unique<ComboList<Instrument>>(list, [](const Instrument& i) { return i.name; });
        rows_ = std::make_unique<RowGrid<Instrument>>(grid, [](const Instrument& i) -> RowValues {
            return {i.name, i.port, i.range_volts};
        });
        const std::vector<Instrument> bench = {{wxS("DMM"), wxS("/dev/ttyUSB0"), 1000},
                                               {from_utf8("电源"), wxS("/dev/ttyUSB1"), 30}};
        names_->AppendItems(bench);
        rows_->AppendItems(bench);

        list->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) {
            if (const Instrument* chosen = names_->GetSelection())
                SetTitle(chosen->name + wxS(" on ") + chosen->port);
        });

        auto* sizer = new wxBoxSizer(wxHORIZONTAL);
        sizer->Add(list, 1, wxEXPAND | wxALL, 5);
        sizer->Add(grid, 2, wxEXPAND | wxALL, 5);
        SetSizer(sizer);
    }

private:
    std::unique_ptr<ComboList<Instrument>> names_;
    std::unique_ptr<RowGrid<Instrument>> rows_;
};

int main()
{
    run_wxapp<MainFrame>();
}
