// ovk-paratree-editor [FOLDER]: edit a parameter tree on disk. Without a
// folder the editor opens the folder of the last run, else the user's own
// copy of the sample tree.
#include "demo/paratree_editor/editor_frame.h"
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
                 "Opens the parameter tree stored in FOLDER for editing (without one, the folder\n"
                 "of the last run, else the user's own copy of the sample tree).\n"
                 "  -h, --help     show this help\n"
                 "  -V, --version  show the version\n");
}

}  // namespace

int main(int argc, char** argv)
{
    wxString folder;
    if (argc > 2) {
        print_usage(stderr);
        return 2;
    }
    if (argc == 2) {
        // Options are looked up in one table, so a new one is one more row.
        const struct {
            const char* names[2];
            void (*run)();
        } options[] = {
            {{"-h", "--help"}, [] { print_usage(stdout); }},
            {{"-V", "--version"}, [] { std::printf("ovk-paratree-editor %s\n", OVK_VERSION); }},
        };
        for (const auto& option : options)
            for (const char* name : option.names)
                if (std::strcmp(argv[1], name) == 0) {
                    option.run();
                    return 0;
                }
        if (argv[1][0] == '-') {
            print_usage(stderr);
            return 2;
        }
        folder = ovk_wxtools::from_utf8(argv[1]);
    }

    try {
        // A folder that cannot be loaded is reported in the window, which
        // stays open so that another folder can be chosen.
        ovk_wxtools::run_wxapp([&]() -> wxWindow* { return new ovk_paratree_editor::EditorFrame(folder); });
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ovk-paratree-editor: %s\n", error.what());
        return 1;
    }
    return 0;
}
