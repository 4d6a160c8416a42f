#include "wxtools/paratree/name_rule.h"

#include "platform/paratree/invalid_name_characters.h"

#include <gtest/gtest.h>

using ovk_wxtools::is_valid_name;

TEST(NameRule, AcceptsOrdinaryNamesBlanksAndOtherScripts)
{
    for (const wxString name : {wxString("gain"), wxString(" "), wxString("..."), wxString(".hidden"),
                                wxString("a.b"), wxString::FromUTF8("温度 上限")})
        EXPECT_TRUE(is_valid_name(name)) << name.utf8_string();
}

TEST(NameRule, RefusesEmptyDotsAndEveryInvalidCharacterAnywhere)
{
    EXPECT_FALSE(is_valid_name(""));
    EXPECT_FALSE(is_valid_name("."));
    EXPECT_FALSE(is_valid_name(".."));
    for (const std::string ch : ovk_paratree::InvalidNameCharacters) {
        const wxString c = wxString::FromUTF8(ch.data(), ch.size());
        EXPECT_FALSE(is_valid_name(c)) << int(ch[0]);
        EXPECT_FALSE(is_valid_name("front" + c)) << int(ch[0]);
        EXPECT_FALSE(is_valid_name(c + "back")) << int(ch[0]);
        EXPECT_FALSE(is_valid_name(wxString::FromUTF8("中") + c + wxString::FromUTF8("间"))) << int(ch[0]);
    }
}
