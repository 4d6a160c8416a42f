#include "wxtools/paratree/detail/tree_search.h"

#include "wxtools/text.h"

#include <algorithm>
#include <functional>

namespace ovk_wxtools::detail {

using ovk_paratree::ParameterBook;
using ovk_paratree::ParameterDirectory;

namespace {

bool contains_folded(const wxString& text, const wxString& folded_needle)
{
    return text.Lower().find(folded_needle) != wxString::npos;
}

}  // namespace

void TreeSearch::search(const wxString& text, const ParameterDirectory* root)
{
    text_ = text;
    hits_.clear();
    next_ = 0;
    const wxString needle = text.Lower();
    if (!needle.empty() && root)
        walk(*root, needle);
}

void TreeSearch::walk(const ParameterDirectory& directory, const wxString& needle)
{
    for (const auto& [name, child] : directory.items()) {
        if (contains_folded(from_utf8(name), needle))
            hits_.push_back({child.get(), wxString()});
        if (auto sub = std::dynamic_pointer_cast<ParameterDirectory>(child)) {
            walk(*sub, needle);
            continue;
        }
        const auto book = std::dynamic_pointer_cast<ParameterBook>(child);
        if (!book)
            continue;
        for (const auto& [key, parameter] : book->items()) {
            bool hit = contains_folded(from_utf8(key), needle);
            for (const auto& [locale, description] : parameter->all_descriptions())
                hit = hit || contains_folded(from_utf8(description), needle);
            if (hit)
                hits_.push_back({child.get(), from_utf8(key)});
        }
    }
}

void TreeSearch::count(const ParameterDirectory& root, std::size_t& directories, std::size_t& books,
                       std::size_t& parameters)
{
    for (const auto& [name, child] : root.items()) {
        if (auto sub = std::dynamic_pointer_cast<ParameterDirectory>(child)) {
            ++directories;
            count(*sub, directories, books, parameters);
        } else if (auto book = std::dynamic_pointer_cast<ParameterBook>(child)) {
            ++books;
            parameters += book->size();
        }
    }
}

std::vector<std::string> TreeSearch::description_locales(const ParameterDirectory& root)
{
    std::vector<std::string> locales;
    const std::function<void(const ParameterDirectory&)> walk = [&](const ParameterDirectory& directory) {
        for (const auto& [name, child] : directory.items()) {
            if (auto sub = std::dynamic_pointer_cast<ParameterDirectory>(child)) {
                walk(*sub);
                continue;
            }
            if (auto book = std::dynamic_pointer_cast<ParameterBook>(child))
                for (const auto& [key, parameter] : book->items())
                    for (const auto& [locale, text] : parameter->all_descriptions())
                        if (std::find(locales.begin(), locales.end(), locale) == locales.end())
                            locales.push_back(locale);
        }
    };
    walk(root);
    return locales;
}

std::size_t TreeSearch::advance()
{
    if (hits_.empty())
        return 0;
    const std::size_t at = next_ % hits_.size();
    next_ = (at + 1) % hits_.size();
    return at;
}

}  // namespace ovk_wxtools::detail
