// Ask for a number of samples, confirm, and report: the whole program.
#include <wxtools/wxtools.h>

#include <wx/frame.h>

using namespace ovk_wxtools;

class MainFrame : public wxFrame {
public:
    MainFrame() : wxFrame(nullptr, wxID_ANY, wxS("Sampler"))
    {
        CallAfter([this] {
            if (auto samples = MB::Input(wxS("Number of samples:"), MB::ToInt, wxS("Sampler"), 100)) {
                if (MB::Confirm(wxString::Format(wxS("Take %lld samples now?"), static_cast<long long>(*samples))) == wxYES)
                    MB::Notice(from_utf8("采样完成。"), wxS("Done"));
            } else {
                MB::Error(wxS("No sample count given."));
            }
            Close();
        });
    }
};

int main()
{
    run_wxapp<MainFrame>();  // returns once the frame has closed
}
