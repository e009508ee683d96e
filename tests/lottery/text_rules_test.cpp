#include "lottery/gbk_text.h"
#include "lottery/numbers.h"
#include "lottery/utf8_check.h"

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

// Pieces split a character anywhere: the file reader feeds 64 KiB pieces.
bool validInPieces(std::string_view bytes, std::size_t pieceBytes) {
    lottery::Utf8Check check;
    for (std::size_t pos = 0; pos < bytes.size(); pos += pieceBytes)
        check.feed(bytes.substr(pos, pieceBytes));
    return check.valid();
}

TEST(Utf8Check, AcceptsWellFormedAndRejectsGbkInAnyPieces) {
    for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{100}}) {
        EXPECT_TRUE(validInPieces("plain text longer than eight bytes", piece));
        EXPECT_TRUE(validInPieces("张三 \xF0\x9F\x8E\x89 abcdefgh", piece));
        EXPECT_FALSE(validInPieces("\xD5\xC5\xC8\xFD", piece)); // 张三 in GBK
        EXPECT_FALSE(validInPieces("\xC0\xAF", piece));         // overlong
        EXPECT_FALSE(validInPieces("\xED\xA0\x80", piece));     // surrogate
        EXPECT_FALSE(validInPieces("\xF4\x90\x80\x80", piece)); // above U+10FFFF
        EXPECT_FALSE(validInPieces("abcdefgh\xE5\xBC", piece)); // cut short
        EXPECT_FALSE(validInPieces("abcdefgh\x80", piece));     // stray continuation
    }
    lottery::Utf8Check ascii;
    ascii.feed("only ASCII here");
    EXPECT_TRUE(ascii.valid());
    EXPECT_FALSE(ascii.sawNonAscii());
}
