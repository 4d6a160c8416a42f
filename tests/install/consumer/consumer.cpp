// An outside program using the installed library: runs a dialog that closes
// itself with a known code and checks that code comes back.
#include <wxtools/wxtools.h>

#include <wx/dialog.h>
#include <wx/timer.h>

#include <cstdio>

namespace {

class ClosingDialog : public wxDialog {
public:
    ClosingDialog() : wxDialog(nullptr, wxID_ANY, "consumer")
    {
        CallAfter([this] { EndModal(wxID_APPLY); });
    }
};

}  // namespace

int main()
{
    const std::optional<int> code = ovk_wxtools::run_wxapp<ClosingDialog>();
    if (code != wxID_APPLY) {
        std::fprintf(stderr, "run_wxapp gave the wrong code\n");
        return 1;
    }
    std::puts("consumer ok");
    return 0;
}
