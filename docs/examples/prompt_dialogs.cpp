// Ask before a run, let the operator pick a fixture (the first one is taken
// after ten seconds), then collect the batch details.
#include <wxtools/wxtools.h>

#include <wx/frame.h>

using namespace ovk_wxtools;

class MainFrame : public wxFrame {
public:
    MainFrame() : wxFrame(nullptr, wxID_ANY, wxS("Batch start"))
    {
        CallAfter([this] { ask(); Close(); });
    }

private:
    void ask()
    {
        TrueOrFalseDialog calibrate(this, wxS("Calibration"), wxS("Calibrate the probe first?"),
                                    wxS("Calibrate"), wxS("Skip"));
        const bool wants_calibration = calibrate.ShowModal() == wxID_OK;

        SingleChoiceTimeoutDialog fixture(this, wxS("Fixture in use:"), wxS("Fixture"),
                                          {wxS("Fixture A"), wxS("Fixture B"), from_utf8("夹具 C")}, 10);
        if (fixture.ShowModal() != wxID_OK)
            return;

        MultipleInputDialog::FieldMap batch{{wxS("Batch"), wxS("B-0001")}, {wxS("Operator"), wxS("")}};
        MultipleInputDialog details(this, batch, wxS("Batch details"));
        if (details.ShowModal() == wxID_OK)
            MB::Notice(batch[wxS("Batch")] + wxS(" on ") + fixture.GetSelection() +
                       (wants_calibration ? wxS(", calibrated") : wxS("")));
    }
};

int main()
{
    run_wxapp<MainFrame>();
}
