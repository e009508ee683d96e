#include "lottery/gbk_text.h"
#include "lottery/numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

TEST(ParseLeadingInt, FollowsTheDecimalPrefixRule) {
    EXPECT_EQ(lottery::parseLeadingInt("42"), 42);
    EXPECT_EQ(lottery::parseLeadingInt("  \t-17abc"), -17);
    EXPECT_EQ(lottery::parseLeadingInt("+8"), 8);
    EXPECT_EQ(lottery::parseLeadingInt("abc"), 0);
    EXPECT_EQ(lottery::parseLeadingInt(""), 0);
    EXPECT_EQ(lottery::parseLeadingInt("- 5"), 0);
    EXPECT_EQ(lottery::parseLeadingInt("12 34"), 12);
}

TEST(ParseLeadingInt, SaturatesAtThe32BitLimits) {
    EXPECT_EQ(lottery::parseLeadingInt("2147483647"), INT_MAX);
    EXPECT_EQ(lottery::parseLeadingInt("2147483648"), INT_MAX);
    EXPECT_EQ(lottery::parseLeadingInt("-2147483648"), INT_MIN);
    EXPECT_EQ(lottery::parseLeadingInt("-2147483649"), INT_MIN);
    EXPECT_EQ(lottery::parseLeadingInt(std::string(5000, '9')), INT_MAX);
    EXPECT_EQ(lottery::parseLeadingInt("-" + std::string(5000, '9')), INT_MIN);
}

TEST(CutToBytes, NeverSplitsADoubleByteCharacter) {
    const std::string text = "a\xD5\xC5\xC8\xFD"; // a张三
    EXPECT_EQ(lottery::cutToBytes(text, 5), text);
    EXPECT_EQ(lottery::cutToBytes(text, 4), "a\xD5\xC5");
    EXPECT_EQ(lottery::cutToBytes(text, 2), "a");
    EXPECT_EQ(lottery::cutToBytes(text, 0), "");
    // A lead byte without a valid trail stands alone.
    EXPECT_EQ(lottery::cutToBytes("\xD5 b", 1), "\xD5");
    // A trail byte may be a backtick: the pair still counts as one character.
    EXPECT_EQ(lottery::cutToBytes("\x81`x", 1), "");
}

TEST(IsValidUtf8, AcceptsWellFormedAndRejectsGbk) {
    EXPECT_TRUE(lottery::isValidUtf8("plain"));
    EXPECT_TRUE(lottery::isValidUtf8("张三 \xF0\x9F\x8E\x89"));
    EXPECT_FALSE(lottery::isValidUtf8("\xD5\xC5\xC8\xFD")); // 张三 in GBK
    EXPECT_FALSE(lottery::isValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(lottery::isValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(lottery::isValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(lottery::isValidUtf8("\xE5\xBC"));         // cut short
}
