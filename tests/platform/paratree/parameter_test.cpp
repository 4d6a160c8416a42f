#include "platform/paratree/paratree.h"

#include <gtest/gtest.h>

#include "tests/platform/paratree/temp_folder.h"

#include <cmath>
#include <limits>

using namespace ovk_paratree;

TEST(Parameter, NewOneHasNoAttributesAndEmptyDefaultLocales)
{
    Parameter p;
    EXPECT_EQ(p.class_name(), "Parameter");
    EXPECT_TRUE(p.empty());
    EXPECT_EQ(p.size(), 0u);
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(p.all_descriptions(), (Pairs{{"en_US", ""}, {"zh_CN", ""}}));
    EXPECT_EQ(p.description(), "");
}

TEST(Parameter, AttributesKeepInsertionOrderAndReplaceInPlace)
{
    Parameter p;
    p.set("b", 1);
    p.set("a", "text");
    p.set("c", Value::array({1, 2}));
    p.set("a", 2.5);  // replaced, stays second
    ASSERT_EQ(p.names(), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(p.get("a"), Value(2.5));
    EXPECT_TRUE(p.get("a").is_number_float());
    const auto items = p.items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[2].second, Value::array({1, 2}));

    EXPECT_TRUE(p.remove("b"));
    EXPECT_FALSE(p.remove("b"));
    EXPECT_FALSE(p.contains("b"));
    EXPECT_EQ(p.names(), (std::vector<std::string>{"a", "c"}));
    EXPECT_THROW(p.get("b"), ParaTreeError);
}

TEST(Parameter, RefusesNamesAndValuesThatCouldNotBeSaved)
{
    Parameter p;
    for (const std::string& bad : std::vector<std::string>{"", ".", "..", "a/b", "a\\b", "x:y", "tab\there", std::string("nul\0x", 5),
                                  std::string("\xff\xfe")}) {
        EXPECT_THROW(p.set(bad, 1), ParaTreeError) << bad;
    }
    EXPECT_THROW(p.set("nan", std::numeric_limits<double>::quiet_NaN()), ParaTreeError);
    EXPECT_THROW(p.set("inf", Value::array({1, std::numeric_limits<double>::infinity()})), ParaTreeError);
    EXPECT_THROW(p.set("bytes", Value::binary({1, 2, 3})), ParaTreeError);
    EXPECT_THROW(p.set("latin1", std::string("caf\xe9")), ParaTreeError);
    Value deep = 1;
    for (int i = 0; i < 300; ++i) deep = Value::array({std::move(deep)});
    EXPECT_THROW(p.set("deep", deep), ParaTreeError);
    EXPECT_TRUE(p.empty());

    try {
        p.set("a/b", 1);
    } catch (const ParaTreeError& e) {
        EXPECT_NE(std::string(e.what()).find("a/b"), std::string::npos) << e.what();
    }
    // Leading and trailing blanks and dots inside names are fine.
    p.set(" speed ", 1);
    p.set(".hidden", 2);
    p.set("名字", 3);
    EXPECT_EQ(p.size(), 3u);
}

TEST(Parameter, DescriptionFollowsTheCurrentLocaleWithFallback)
{
    Parameter p;
    p.set_description("en_US", "Speed");
    EXPECT_EQ(p.description(), "Speed");

    Parameter::set_current_locale("zh_CN");
    EXPECT_EQ(p.description(), "Speed");  // no Chinese text yet: English
    p.set_description("速度");
    EXPECT_EQ(p.get_description("zh_CN"), "速度");
    EXPECT_EQ(p.description(), "速度");

    Parameter::set_current_locale("de_DE");
    EXPECT_EQ(p.description(), "Speed");
    p.set_description("Geschwindigkeit");  // a new locale goes to the end
    EXPECT_EQ(p.all_descriptions().back(), (std::pair<std::string, std::string>{"de_DE", "Geschwindigkeit"}));
    EXPECT_EQ(p.get_description("fr_FR"), "");
    EXPECT_FALSE(p.has_description("fr_FR"));

    p.set_description("en_US", "");
    Parameter::set_current_locale("fr_FR");
    EXPECT_EQ(p.description(), "速度");  // first non-empty text
    EXPECT_THROW(p.set_description("", "x"), ParaTreeError);
    EXPECT_THROW(Parameter::set_current_locale(""), ParaTreeError);
    EXPECT_TRUE(p.remove_description("de_DE"));
    EXPECT_EQ(p.all_descriptions().size(), 2u);
}

TEST(Parameter, CloneIsDeep)
{
    Parameter p;
    p.set("map", Value{{"k", Value::array({1, 2})}});
    p.set_description("en_US", "one");
    auto copy = p.clone();
    copy->set("map", 5);
    copy->set_description("en_US", "two");
    EXPECT_EQ(p.get("map"), (Value{{"k", Value::array({1, 2})}}));
    EXPECT_EQ(p.get_description("en_US"), "one");
    EXPECT_EQ(copy->get("map"), Value(5));
}

OVK_MODEL_TEST_MAIN
