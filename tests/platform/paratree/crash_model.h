#pragma once
// A model of a file system after a crash, replaying the operations a save
// made (file_io::testing::record_operations). Two models: a journaled file
// system keeps every operation made before the crash in order; a strict one
// keeps only what was flushed (a file's content by its flush, a folder's
// names by the folder's flush, everything by a flush of the whole file
// system). The state a model keeps is written out as a real folder.
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/paratree/detail/tree_journal.h"

namespace ovk_wxtest {

class CrashModel {
public:
    // Starts from the folder `root` as it is now, all of it on disk.
    explicit CrashModel(const std::filesystem::path& root) : root_(root)
    {
        top_ = read(root);
        durable_ = live_;
    }

    void apply(const ovk_paratree::file_io::testing::Operation& op)
    {
        const std::string& kind = op.kind;
        if (kind == "create" || kind == "lock") {
            auto [parent, name] = locate(op.path);
            if (parent >= 0 && !live_[parent].entries.count(name)) live_[parent].entries[name] = make(false);
        } else if (kind == "mkdir") {
            auto [parent, name] = locate(op.path);
            if (parent >= 0) live_[parent].entries[name] = make(true);
        } else if (kind == "write") {
            if (const int id = find(op.path); id >= 0) live_[id].data = op.data;
        } else if (kind == "rename") {
            auto [from_parent, from_name] = locate(op.path);
            auto [to_parent, to_name] = locate(op.to);
            if (from_parent >= 0 && to_parent >= 0 && live_[from_parent].entries.count(from_name)) {
                const int id = live_[from_parent].entries[from_name];
                live_[from_parent].entries.erase(from_name);
                live_[to_parent].entries[to_name] = id;
            }
        } else if (kind == "unlink" || kind == "rmdir") {
            auto [parent, name] = locate(op.path);
            if (parent >= 0) live_[parent].entries.erase(name);
        } else if (kind == "flush") {
            if (const int id = find(op.path); id >= 0) durable_[id].data = live_[id].data;
        } else if (kind == "flush-folder") {
            if (const int id = find(op.path); id >= 0) durable_[id].entries = live_[id].entries, durable_[id].dir = true;
        } else if (kind == "flush-all") {
            durable_ = live_;
        }
    }

    // Writes what the journaled model (`all`) or the strict one keeps into
    // the new folder `out`.
    void write(const std::filesystem::path& out, bool all) const { write_node(out, top_, all ? live_ : durable_); }

private:
    struct Node {
        bool dir = false;
        std::string data;
        std::map<std::string, int> entries;
    };
    using Nodes = std::map<int, Node>;

    int make(bool dir)
    {
        const int id = next_++;
        live_[id].dir = dir;
        return id;
    }
    int read(const std::filesystem::path& path)
    {
        const int id = make(std::filesystem::is_directory(path));
        if (live_[id].dir) {
            for (const auto& entry : std::filesystem::directory_iterator(path))
                live_[id].entries[entry.path().filename().string()] = read(entry.path());
        } else {
            std::ifstream in(path, std::ios::binary);
            live_[id].data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        return id;
    }
    // The folder holding `path` in the live state, and the last name.
    std::pair<int, std::string> locate(const std::filesystem::path& path) const
    {
        return {find(path.parent_path()), path.filename().string()};
    }
    int find(const std::filesystem::path& path) const
    {
        const auto rel = path.lexically_relative(root_);
        int id = top_;
        for (const auto& part : rel) {
            if (part == ".") continue;
            const auto node = live_.find(id);
            if (node == live_.end() || !node->second.entries.count(part.string())) return -1;
            id = node->second.entries.at(part.string());
        }
        return id;
    }
    void write_node(const std::filesystem::path& at, int id, const Nodes& nodes) const
    {
        const auto it = nodes.find(id);
        const bool dir = it != nodes.end() ? it->second.dir : live_.at(id).dir;
        if (!dir) {
            std::ofstream out(at, std::ios::binary);
            if (it != nodes.end()) out << it->second.data;  // never flushed: empty
            return;
        }
        std::filesystem::create_directory(at);
        if (it == nodes.end()) return;
        for (const auto& [name, child] : it->second.entries) write_node(at / name, child, nodes);
    }

    std::filesystem::path root_;
    Nodes live_, durable_;
    int top_ = 0, next_ = 0;
};

}  // namespace ovk_wxtest
