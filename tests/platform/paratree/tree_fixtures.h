#pragma once
// Two versions of one tree for the storage tests: the old one, and the edit
// that turns it into the new one touching every kind of change; plus whole
// trees as text.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/paratree/paratree.h"
#include "tests/platform/paratree/temp_folder.h"

namespace ovk_wxtest::trees {

using namespace ovk_paratree;
namespace fs = std::filesystem;

inline std::shared_ptr<ParameterDirectory> dir_with(std::vector<std::pair<std::string, std::shared_ptr<ParaTreeEntity>>> items)
{
    auto dir = std::make_shared<ParameterDirectory>();
    for (auto& [name, child] : items) dir->set(name, child);
    return dir;
}

// The old tree: books keep, change, gone, swap_b (becomes a directory);
// directories moving (renamed), swap_d (becomes a book), dropped.
inline std::shared_ptr<ParameterDirectory> old_tree()
{
    return dir_with({{"keep", book_with("k", 1)},
                     {"change", book_with("c", "旧")},
                     {"gone", book_with("g", 2)},
                     {"swap_b", book_with("s", 3)},
                     {"moving", dir_with({{"inner", book_with("i", 4)}})},
                     {"swap_d", dir_with({{"x", book_with("x", 5)}})},
                     {"dropped", dir_with({{"deep", dir_with({{"y", book_with("y", 6)}})}})}});
}

// Turns a loaded old tree into the new one: adds, replaces, deletes, renames
// and swaps books and directories.
inline void make_new(ParameterDirectory& tree)
{
    tree.get_book("change")->get("c")->set("value", "新");
    tree.remove("gone");
    tree.set("added", book_with("a", 7));
    tree.set("swap_b", dir_with({{"b", book_with("b", 8)}}));
    tree.set("swap_d", book_with("d", 9));
    auto moving = tree.get_directory("moving");
    tree.remove("moving");
    tree.set("moved", moving);
    tree.remove("dropped");
    tree.set("fresh", dir_with({{"sub", dir_with({{"z", book_with("z", 10)}})}}));
}

// The tree as text, for comparing whole trees.
inline std::string describe(const ParameterDirectory& dir)
{
    std::vector<std::string> lines;
    for (const auto& [name, child] : dir.items()) {
        if (auto d = std::dynamic_pointer_cast<ParameterDirectory>(child)) lines.push_back(name + "/{" + describe(*d) + "}");
        else lines.push_back(name + ":" + std::dynamic_pointer_cast<ParameterBook>(child)->to_text());
    }
    std::sort(lines.begin(), lines.end());
    std::string out;
    for (const auto& line : lines) out += line + ";";
    return out;
}

inline bool has_protocol_files(const fs::path& root)
{
    for (const auto& entry : listing(root))
        if (entry.find(".ovk~") != std::string::npos || entry.find(".ovk:") != std::string::npos) return true;
    return false;
}

struct Versions {
    std::string old_text, new_text;
};

inline Versions versions()
{
    TempFolder scratch;
    old_tree()->save(scratch.path());
    auto tree = ParameterDirectory::load(scratch.path());
    Versions v{describe(*tree), ""};
    make_new(*tree);
    v.new_text = describe(*tree);
    return v;
}

}  // namespace ovk_wxtest::trees
