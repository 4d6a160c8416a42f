#include "wxtools/paratree/value_display_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using ovk_wxtools::value_display_text;
using Value = nlohmann::ordered_json;

TEST(ValueDisplayText, ScalarsReadAsLiterals)
{
    EXPECT_EQ(value_display_text(Value("plain 'text'")), "plain 'text'");
    EXPECT_EQ(value_display_text(Value(std::string("温度"))), wxString::FromUTF8("温度"));
    EXPECT_EQ(value_display_text(Value(-12)), "-12");
    EXPECT_EQ(value_display_text(Value(std::uint64_t{18446744073709551615ULL})), "18446744073709551615");
    EXPECT_EQ(value_display_text(Value(true)), "True");
    EXPECT_EQ(value_display_text(Value(false)), "False");
    EXPECT_EQ(value_display_text(Value(nullptr)), "None");
}

TEST(ValueDisplayText, RealsUseTheShortestFormThatReadsBack)
{
    EXPECT_EQ(value_display_text(Value(1.0)), "1.0");
    EXPECT_EQ(value_display_text(Value(0.1)), "0.1");
    EXPECT_EQ(value_display_text(Value(1e-05)), "1e-05");
    EXPECT_EQ(value_display_text(Value(1e16)), "1e+16");
    EXPECT_EQ(value_display_text(Value(std::numeric_limits<double>::infinity())), "inf");
    EXPECT_EQ(value_display_text(Value(std::nan(""))), "nan");
    EXPECT_EQ(value_display_text(Value(0.1 + 0.2)), "0.30000000000000004");
}

TEST(ValueDisplayText, ListsAndMappingsQuoteTheirTexts)
{
    EXPECT_EQ(value_display_text(Value::array()), "[]");
    EXPECT_EQ(value_display_text(Value::object()), "{}");
    EXPECT_EQ(value_display_text(Value::parse(R"([1, "a", null, true, 2.0, [], {"k": [false]}])")),
              "[1, 'a', None, True, 2.0, [], {'k': [False]}]");
    // Mappings keep the order their keys were stored in.
    EXPECT_EQ(value_display_text(Value::parse(R"({"z": 1, "a": "x y", "名": 0.5})")),
              wxString::FromUTF8("{'z': 1, 'a': 'x y', '名': 0.5}"));
}

TEST(ValueDisplayText, NestedTextsAreEscapedSoTheyReadAsOneLiteral)
{
    EXPECT_EQ(value_display_text(Value::array({"it's"})), "[\"it's\"]");
    EXPECT_EQ(value_display_text(Value::array({"it's \"x\""})), "['it\\'s \"x\"']");
    EXPECT_EQ(value_display_text(Value::array({"a\\b\nc\td\x01"})), "['a\\\\b\\nc\\td\\x01']");
}

TEST(ValueJsonText, ValuesReadAsTheBookFileWritesThem)
{
    using ovk_wxtools::value_json_text;
    const std::pair<Value, const char*> cases[] = {
        {Value("a \"b\""), "a \"b\""},  // a text as it is
        {Value(true), "true"},
        {Value(nullptr), "null"},
        {Value(2.0), "2.0"},
        {Value(std::numeric_limits<double>::infinity()), "inf"},
        {Value::parse(R"([1,"轴",null,{"k":false}])"), R"([1,"轴",null,{"k":false}])"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(value_json_text(value), wxString::FromUTF8(text)) << value.dump();
}
