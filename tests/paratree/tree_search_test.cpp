// The editor's search and whole-tree walks, on the model alone: no window.
#include "wxtools/paratree/detail/tree_search.h"

#include "platform/paratree/paratree.h"
#include "wxtools/text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using ovk_paratree::Parameter;
using ovk_paratree::ParameterBook;
using ovk_paratree::ParameterDirectory;
using ovk_wxtools::from_utf8;
using ovk_wxtools::detail::TreeSearch;

namespace {

std::shared_ptr<Parameter> parameter(const std::string& en, const std::string& zh)
{
    auto made = std::make_shared<Parameter>();
    made->set_description("en_US", en);
    if (!zh.empty())
        made->set_description("zh_CN", zh);
    return made;
}

// axis/ (limits: Speed "Top speed" 最高速度, accel), Speed/ (empty), notes (empty book)
std::shared_ptr<ParameterDirectory> tree()
{
    auto limits = std::make_shared<ParameterBook>();
    limits->set("Speed", parameter("Top speed", "最高速度"));
    limits->set("accel", parameter("Acceleration", ""));
    auto axis = std::make_shared<ParameterDirectory>();
    axis->set("limits", limits);
    auto top = std::make_shared<ParameterDirectory>();
    top->set("axis", axis);
    top->set("Speed", std::make_shared<ParameterDirectory>());
    top->set("notes", std::make_shared<ParameterBook>());
    return top;
}

}  // namespace

TEST(TreeSearch, FindsNamesAndDescriptionsInTreeOrderAndCyclesThroughThem)
{
    const auto top = tree();
    const auto limits = top->get_directory("axis")->get_book("limits");
    TreeSearch search;
    search.search(wxS("SPEED"), top.get());
    ASSERT_EQ(search.hits().size(), 2u);
    EXPECT_EQ(search.hits()[0].holder, limits.get());
    EXPECT_EQ(search.hits()[0].parameter, wxS("Speed"));
    EXPECT_EQ(search.hits()[1].holder, top->get("Speed").get());
    EXPECT_TRUE(search.hits()[1].parameter.empty());

    search.search(from_utf8("速度"), top.get());
    ASSERT_EQ(search.hits().size(), 1u);
    EXPECT_EQ(search.hits()[0].parameter, wxS("Speed"));

    search.search(wxS("e"), top.get());
    const std::size_t n = search.hits().size();
    ASSERT_GT(n, 2u);
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i <= n; ++i)
        order.push_back(search.advance());
    EXPECT_EQ(order.front(), 0u);
    EXPECT_EQ(order[n - 1], n - 1);
    EXPECT_EQ(order.back(), 0u);  // round the end

    search.search(wxString(), top.get());
    EXPECT_TRUE(search.hits().empty());
    search.search(wxS("speed"), nullptr);
    EXPECT_TRUE(search.hits().empty());
}

TEST(TreeSearch, CountsAndLocalesWalkEveryLevel)
{
    const auto top = tree();
    std::size_t directories = 0, books = 0, parameters = 0;
    TreeSearch::count(*top, directories, books, parameters);
    EXPECT_EQ(directories, 2u);
    EXPECT_EQ(books, 2u);
    EXPECT_EQ(parameters, 2u);
    EXPECT_EQ(TreeSearch::description_locales(*top), (std::vector<std::string>{"en_US", "zh_CN"}));
}
