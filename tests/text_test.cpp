#include "wxtools/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
    for (double v : {0.1 + 0.2, 1.0 / 3, 6.02214076e23, 5e-324})
        EXPECT_EQ(std::strtod(format_real(v).ToStdString().c_str(), nullptr), v);
}
