#include "wxtools/text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>

using namespace ovk_wxtools;

TEST(Text, StripRemovesUnicodeWhiteSpaceOnBothEnds)
{
    EXPECT_EQ(strip_whitespace("  a b  "), "a b");
    EXPECT_EQ(strip_whitespace(wxString::FromUTF8("\u3000名字\u3000\t\n")), wxString::FromUTF8("名字"));
    EXPECT_EQ(strip_whitespace(wxString::FromUTF8("\u00a0x\u2003")), "x");
    EXPECT_EQ(strip_whitespace(" \t "), "");
    EXPECT_EQ(strip_whitespace(""), "");
    // Zero-width space is not white space.
    EXPECT_EQ(strip_whitespace(wxString::FromUTF8("\u200bx")), wxString::FromUTF8("\u200bx"));
}

TEST(Text, RealsReadBackInTheirShortestForm)
{
    EXPECT_EQ(format_real(1.0), "1.0");
    EXPECT_EQ(format_real(0.1), "0.1");
    EXPECT_EQ(format_real(2.5), "2.5");
    EXPECT_EQ(format_real(-0.0), "-0.0");
    EXPECT_EQ(format_real(1e-5), "1e-05");
    EXPECT_EQ(format_real(0.0001), "0.0001");
    EXPECT_EQ(format_real(1e16), "1e+16");
    EXPECT_EQ(format_real(1e15), "1000000000000000.0");
    EXPECT_EQ(format_real(123456.789), "123456.789");
    EXPECT_EQ(format_real(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(format_real(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(format_real(std::nan("")), "nan");
    // Read back with from_chars: strtod would follow a decimal-comma LC_NUMERIC.
    for (double v : {0.1 + 0.2, 1.0 / 3, 6.02214076e23, 5e-324}) {
        const std::string text = format_real(v).utf8_string();
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(back, v);
    }
}

TEST(Text, NarrowTextIsReadAsUtf8AndBadBytesBecomeReplacementCharacters)
{
    const struct {
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {"电压 V", L"电压 V"},
        {"", L""},
        {"ab\xff" "cd", L"ab\uFFFDcd"},                    // a byte that never starts a character
        {"\xe7\x94\xb5\xe5\x8e", L"电\uFFFD"},              // a character cut short at the end
        {"\xe5\x8e" "x", L"\uFFFDx"},                       // cut short before an ASCII byte
        {"\xc0\xaf" "o", L"\uFFFD\uFFFDo"},                 // an overlong form
        {"\xed\xa0\x80", L"\uFFFD\uFFFD\uFFFD"},            // a surrogate
        {"\xf4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
        {"\xf0\x9f\x98\x80", L"\U0001F600"},
        {"\xf0\x9f\x98" "x", L"\uFFFDx"},                 // four bytes cut short after three
        {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(from_utf8(c.bytes), wxString(c.text)) << c.bytes;
    EXPECT_EQ(from_utf8(static_cast<const char*>(nullptr)), wxString());
}

TEST(Text, TextArgumentsAndToWxStringReadEveryNarrowFormAsUtf8)
{
    const wxString power = wxString::FromUTF8("电压");
    const std::string narrow = "电压";
    EXPECT_EQ(Text("电压").str(), power);
    EXPECT_EQ(Text(narrow).str(), power);
    EXPECT_EQ(Text(std::string_view(narrow)).str(), power);
    EXPECT_EQ(Text(u8"电压").str(), power);
    EXPECT_EQ(Text(L"电压").str(), power);
    EXPECT_EQ(Text(power).str(), power);
    EXPECT_EQ(to_wxstring(narrow), power);
    EXPECT_EQ(to_wxstring("电压"), power);
    EXPECT_EQ(to_wxstring(std::wstring(L"电压")), power);
}

TEST(Text, FixedNumbersKeepTheirPointUnderADecimalCommaLocale)
{
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    for (auto [value, digits, text] : {std::tuple{5.0, 1, "5.0"}, {0.04999, 1, "0.0"},
                                      {1234.5, 2, "1234.50"}, {-0.1, 1, "-0.1"}})
        EXPECT_EQ(format_fixed(value, digits), text) << value;
    EXPECT_EQ(format_real(2.5), "2.5");
    std::setlocale(LC_NUMERIC, before.c_str());
    if (!german)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/install-deps.sh generates it)";
}
