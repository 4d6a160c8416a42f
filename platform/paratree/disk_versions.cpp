#include "platform/paratree/disk_versions.h"

namespace ovk_paratree {

namespace {

void collect(const ParameterDirectory& directory, const std::string& prefix, std::set<std::string>& paths)
{
    for (const auto& [name, child] : directory.items()) {
        if (auto sub = std::dynamic_pointer_cast<ParameterDirectory>(child)) {
            paths.insert(prefix + name + "/");
            collect(*sub, prefix + name + "/", paths);
        } else {
            paths.insert(prefix + name + "." + ParameterBook::ExtName);
        }
    }
}

}  // namespace

std::set<std::string> tree_paths(const ParameterDirectory& tree)
{
    std::set<std::string> paths;
    collect(tree, "", paths);
    return paths;
}

std::shared_ptr<ParaTreeEntity> entry_at(const ParameterDirectory& tree, const std::string& path)
{
    const ParameterDirectory* at = &tree;
    std::size_t begin = 0;
    while (true) {
        const std::size_t slash = path.find('/', begin);
        if (slash == std::string::npos) {
            const std::string suffix = "." + ParameterBook::ExtName;
            const std::string leaf = path.substr(begin);
            if (leaf.size() <= suffix.size() || leaf.compare(leaf.size() - suffix.size(), suffix.size(), suffix) != 0)
                return nullptr;
            return at->get_book(leaf.substr(0, leaf.size() - suffix.size()));
        }
        const auto sub = at->get_directory(path.substr(begin, slash - begin));
        if (!sub || slash + 1 == path.size())
            return sub;
        at = sub.get();
        begin = slash + 1;
    }
}

std::vector<DiskVersions> disk_versions(const ParameterDirectory& tree, const ParameterDirectory& disk,
                                        const std::set<std::string>& base)
{
    std::vector<DiskVersions> versions;
    for (const std::string& path : tree.changed_on_disk())
        versions.push_back({path, base.count(path) > 0, entry_at(tree, path), entry_at(disk, path)});
    return versions;
}

}  // namespace ovk_paratree
