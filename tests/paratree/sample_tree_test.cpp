// The sample tree shipped for the gallery and the editor program must load
// and show every kind of value and both description locales.
#include "platform/paratree/paratree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

using namespace ovk_paratree;

TEST(SampleTree, LoadsWithEveryValueKindAndBothLocales)
{
    // tests/paratree/ -> the repository
    const std::filesystem::path repository = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
    auto top = ParameterDirectory::load(repository / "demo" / "sample_tree");

    std::set<std::string> kinds;
    int directories = 0, books = 0, parameters = 0, max_depth = 0;
    std::function<void(const ParameterDirectory&, int)> walk = [&](const ParameterDirectory& dir, int depth) {
        max_depth = std::max(max_depth, depth);
        for (const auto& [name, child] : dir.items()) {
            if (auto sub = std::dynamic_pointer_cast<ParameterDirectory>(child)) {
                ++directories;
                walk(*sub, depth + 1);
                continue;
            }
            ++books;
            for (const auto& [pname, parameter] : std::dynamic_pointer_cast<ParameterBook>(child)->items()) {
                ++parameters;
                EXPECT_FALSE(parameter->get_description("en_US").empty()) << pname;
                EXPECT_FALSE(parameter->get_description("zh_CN").empty()) << pname;
                for (const auto& [attribute, value] : parameter->items())
                    kinds.insert(value.is_number_integer() ? "integer" : value.is_number_float() ? "real"
                                 : value.is_string() ? "text" : value.is_boolean() ? "bool"
                                 : value.is_array() ? "list" : value.is_object() ? "mapping" : "other");
            }
        }
    };
    walk(*top, 0);
    EXPECT_EQ(kinds, (std::set<std::string>{"integer", "real", "text", "bool", "list", "mapping"}));
    EXPECT_GE(directories, 3);
    EXPECT_GE(books, 5);
    EXPECT_GE(parameters, 20);
    EXPECT_GE(max_depth, 2) << "a directory inside a directory";
}
