#include "gbk_fake_services.h"
#include "lottery/file_text.h"
#include "lottery/gbk_text.h"
#include "lottery/numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace std::string_literals;

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

TEST(TakeLine, HandlesEveryLineEnd) {
    const auto lines = [](std::string_view text) {
        std::vector<std::string> out;
        std::string_view line;
        while (lottery::takeLine(text, line))
            out.emplace_back(line);
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(lines("a\r\nb\r\n"), (V{"a", "b"}));
    EXPECT_EQ(lines("a\nb"), (V{"a", "b"}));
    EXPECT_EQ(lines("a\r"), (V{"a"}));
    EXPECT_EQ(lines("a\r\r\n\n"), (V{"a\r", ""}));
    EXPECT_EQ(lines("x\0y\n"s), (V{"x\0y"s}));
    EXPECT_EQ(lines(""), V{});
}

TEST(ToGbkFileText, ConvertsOnlyUtf8Files) {
    GbkFakeServices services;
    const auto gbk = lottery::toGbkFileText("\xD5\xC5\xC8\xFD\r\n", services);
    EXPECT_FALSE(gbk.fromUtf8);
    EXPECT_EQ(gbk.gbk, "\xD5\xC5\xC8\xFD\r\n");

    const auto utf8 = lottery::toGbkFileText("张三\n李四\n", services);
    EXPECT_TRUE(utf8.fromUtf8);
    EXPECT_EQ(utf8.gbk, "\xD5\xC5\xC8\xFD\n\xC0\xEE\xCB\xC4\n");

    const auto bom = lottery::toGbkFileText("\xEF\xBB\xBF"
                                            "abc",
                                            services);
    EXPECT_TRUE(bom.fromUtf8);
    EXPECT_EQ(bom.gbk, "abc");

    const auto lossy = lottery::toGbkFileText("王五 \xF0\x9F\x8E\x89", services);
    EXPECT_EQ(lossy.gbk, "?? ?");
    EXPECT_EQ(lossy.unmappable, 3);
    std::vector<std::string> warnings;
    lottery::addEncodingWarning(lossy, "F：", warnings);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("有 3 个字符"), std::string::npos) << warnings[0];

    const auto ascii = lottery::toGbkFileText("abc", services);
    EXPECT_FALSE(ascii.fromUtf8);
}
