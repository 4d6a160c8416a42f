// The parameter-tree model without a window: build a tree, save it, load it
// back with its report, edit a value and save again, also over a change
// someone else made on disk meanwhile.
#include <wxtools/wxtools.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

using namespace ovk_paratree;
namespace fs = std::filesystem;

int main()
{
    const fs::path folder = fs::temp_directory_path() / "ovk-model-example";
    fs::remove_all(folder);
    try {
        // oven/profile.pbook holding one parameter, "speed".
        auto speed = std::make_shared<Parameter>();
        speed->set("value", 120);
        speed->set("unit", "mm/s");
        speed->set_description("en_US", "Belt speed");
        speed->set_description("zh_CN", "传送带速度");
        auto profile = std::make_shared<ParameterBook>();
        profile->set("speed", speed);
        auto oven = std::make_shared<ParameterDirectory>();
        oven->set("profile", profile);
        auto tree = std::make_shared<ParameterDirectory>();
        tree->set("oven", oven);
        tree->save(folder);

        // A file no tree could have written ('?' is not allowed in a name).
        std::ofstream(folder / "oven" / "draft?.pbook") << "{}";

        auto [loaded, report] = ParameterDirectory::load_with_report(folder);
        for (const std::string& entry : report.skipped)
            std::printf("skipped: %s\n", entry.c_str());  // oven/draft?.pbook

        loaded->get_directory("oven")->get_book("profile")->get("speed")->set("value", 150);
        // Saving home writes only the books that changed.
        for (const std::string& file : loaded->save(folder).written)
            std::printf("written: %s\n", file.c_str());  // oven/profile.pbook

        // Someone else rewrites the book; the next save home would undo that
        // unseen, so it refuses and changes nothing...
        auto theirs = ParameterBook::load(folder / "oven" / "profile.pbook");
        theirs->get("speed")->set("value", 90);
        theirs->save(folder / "oven" / "profile.pbook");
        loaded->get_directory("oven")->get_book("profile")->get("speed")->set("value", 160);
        try {
            loaded->save(folder);
        } catch (const ParaTreeError& refused) {
            std::printf("refused: %s\n", refused.what());
        }
        // ...unless the caller decides that the tree in memory wins.
        const SaveReport saved = loaded->save(folder, {.overwrite_changes_on_disk = true});
        std::printf("written over their change: %zu book(s)\n", saved.written.size());
    } catch (const ParaTreeError& error) {  // names the file or folder and what is wrong
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    fs::remove_all(folder);
}
