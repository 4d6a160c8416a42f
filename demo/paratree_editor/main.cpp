// ovk-paratree-editor [FOLDER]: edit a parameter tree on disk. Without a
// folder the editor starts empty and the user loads one from it.
#include "wxtools/wxtools.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace {

void print_usage(std::FILE* to)
{
    std::fprintf(to,
                 "usage: ovk-paratree-editor [FOLDER]\n"
                 "Opens the parameter tree stored in FOLDER for editing (an empty editor without one).\n");
}

// A load that fails while the dialog is built: the user has seen the error
// box, main() only turns it into the exit status.
struct LoadFailed {};

}  // namespace

int main(int argc, char** argv)
{
    wxString folder;
    if (argc > 2) {
        print_usage(stderr);
        return 2;
    }
    if (argc == 2) {
        if (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0) {
            print_usage(stdout);
            return 0;
        }
        folder = wxString::FromUTF8(argv[1]);
    }

    try {
        ovk_wxtools::run_wxapp([&]() -> wxWindow* {
            try {
                return new ovk_wxtools::ParameterTreeDialog(nullptr, folder);
            } catch (const std::exception& error) {
                // The toolkit is still running here, so the user can be told.
                ovk_wxtools::MB::Error(wxString::FromUTF8(error.what()));
                std::fprintf(stderr, "ovk-paratree-editor: %s\n", error.what());
                throw LoadFailed{};
            }
        });
    } catch (const LoadFailed&) {
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ovk-paratree-editor: %s\n", error.what());
        return 1;
    }
    return 0;
}
