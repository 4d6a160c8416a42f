#pragma once
// The ordered (name, object) lists of a book's parameters and a directory's
// children: lookups by name, replace in place or append, erase.
#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ovk_paratree::detail {

template <class T>
using NamedList = std::vector<std::pair<std::string, std::shared_ptr<T>>>;

// The object stored under `name`, or null.
template <class T>
std::shared_ptr<T> find_named(const NamedList<T>& list, const std::string& name)
{
    for (const auto& [key, item] : list)
        if (key == name) return item;
    return nullptr;
}

// Replaces the object stored under `name`, or appends it.
template <class T>
void put_named(NamedList<T>& list, const std::string& name, std::shared_ptr<T> item)
{
    for (auto& [key, stored] : list)
        if (key == name) {
            stored = std::move(item);
            return;
        }
    list.emplace_back(name, std::move(item));
}

// Erases the entry `name`; false when there was none.
template <class T>
bool erase_named(NamedList<T>& list, const std::string& name)
{
    const auto it = std::find_if(list.begin(), list.end(), [&](const auto& entry) { return entry.first == name; });
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}

template <class T>
std::vector<std::string> names_of(const NamedList<T>& list)
{
    std::vector<std::string> out;
    out.reserve(list.size());
    for (const auto& entry : list) out.push_back(entry.first);
    return out;
}

}  // namespace ovk_paratree::detail
