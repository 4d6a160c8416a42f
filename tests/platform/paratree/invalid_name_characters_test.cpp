#include "platform/paratree/paratree.h"

#include <gtest/gtest.h>

#include "tests/platform/paratree/temp_folder.h"

#include <set>

using namespace ovk_paratree;

TEST(InvalidNameCharacters, ListsSeparatorsReservedAndControlCharacters)
{
    std::set<std::string> seen;
    for (const std::string& c : InvalidNameCharacters) {
        EXPECT_EQ(c.size(), 1u);
        seen.insert(c);
    }
    EXPECT_EQ(seen.size(), InvalidNameCharacters.size());
    for (const char* c : {"/", "\\", ":", "*", "?", "\"", "<", ">", "|", "\t", "\n", "\x7f"})
        EXPECT_TRUE(seen.count(c)) << c;
    EXPECT_TRUE(seen.count(std::string(1, '\0')));
    for (const char* c : {" ", ".", "-", "_", "a"}) EXPECT_FALSE(seen.count(c)) << c;

    // The text form is printable and shows every printable entry.
    const std::string text = InvalidNameCharacters.to_string();
    for (char c : text) EXPECT_GE(static_cast<unsigned char>(c), 0x20);
    for (const char* c : {"/", "\\", ":", "*", "?", "\"", "<", ">", "|"})
        EXPECT_NE(text.find(c), std::string::npos) << c;
}

TEST(InvalidNameCharacters, NameRule)
{
    EXPECT_TRUE(is_valid_name("speed"));
    EXPECT_TRUE(is_valid_name("   "));
    EXPECT_TRUE(is_valid_name("..."));
    EXPECT_TRUE(is_valid_name("a.b"));
    EXPECT_TRUE(is_valid_name("速度"));
    EXPECT_FALSE(is_valid_name(""));
    EXPECT_FALSE(is_valid_name("."));
    EXPECT_FALSE(is_valid_name(".."));
    EXPECT_FALSE(is_valid_name("/a"));
    EXPECT_FALSE(is_valid_name("a|"));
    EXPECT_FALSE(is_valid_name("a\rb"));
    EXPECT_FALSE(is_valid_name("\xc0\xaf"));  // overlong '/'
    EXPECT_FALSE(is_valid_name("\xed\xa0\x80"));  // a surrogate
    EXPECT_TRUE(InvalidNameCharacters.contains("?"));
    EXPECT_FALSE(InvalidNameCharacters.contains("??"));
    EXPECT_TRUE(InvalidNameCharacters.contains_invalid("x?y"));
}

OVK_MODEL_TEST_MAIN
