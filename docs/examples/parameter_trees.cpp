// The complete parameter-tree editor on the folder given on the command line.
#include <wxtools/wxtools.h>

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    const wxString folder = argc > 1 ? ovk_wxtools::from_utf8(argv[1]) : wxString();
    try {
        ovk_wxtools::run_wxapp<ovk_wxtools::ParameterTreeDialog>(nullptr, folder);
    } catch (const std::exception& error) {  // the folder holds no readable tree
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
