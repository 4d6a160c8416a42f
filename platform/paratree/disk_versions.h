#pragma once
// The three versions a save home has to reconcile for each book or directory
// someone else changed on disk since the tree was last loaded or saved: what
// the tree held then (base), what it holds now (mine) and what the folder
// holds now (theirs).
#include "platform/paratree/parameter_directory.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace ovk_paratree {

struct DiskVersions {
    // As ParameterDirectory::changed_on_disk names it: "dir/name.pbook", "dir/sub/".
    std::string path;
    // The tree held it when last loaded or saved.
    bool in_base = false;
    // What the tree holds there now, and what the folder holds; nullptr for nothing.
    std::shared_ptr<ParaTreeEntity> mine;
    std::shared_ptr<ParaTreeEntity> theirs;

    // Mine differs from the base: changed, added or removed here.
    bool changed_here() const { return in_base ? !mine || mine->modified() : mine != nullptr; }
};

// The paths of every book and directory of `tree`, named as changed_on_disk names them.
std::set<std::string> tree_paths(const ParameterDirectory& tree);

// The entry of `tree` at `path` ("a/b.pbook", "a/b/"), or nullptr.
std::shared_ptr<ParaTreeEntity> entry_at(const ParameterDirectory& tree, const std::string& path);

// For each path of tree.changed_on_disk(): base (`base`, the tree_paths() of
// the tree as last loaded or saved), mine (in `tree`) and theirs (in `disk`,
// the same folder loaded now).
std::vector<DiskVersions> disk_versions(const ParameterDirectory& tree, const ParameterDirectory& disk,
                                        const std::set<std::string>& base);

}  // namespace ovk_paratree
