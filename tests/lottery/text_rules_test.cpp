#include "core/leading_int.h"
#include "lottery/column_list.h"
#include "lottery/gbk_text.h"
#include "lottery/text_encoding.h"
#include "lottery/utf8_check.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

TEST(ParseLeadingInt, FollowsTheDecimalPrefixRuleAndSaturates) {
    // clang-format off
    const std::pair<const char*, int> cases[] = {
        {"42", 42}, {"  \t-17abc", -17}, {"+8", 8}, {"abc", 0}, {"", 0},
        {"- 5", 0}, {"12 34", 12}, {"2147483648", INT_MAX}, {"-2147483649", INT_MIN}};
    // clang-format on
    for (const auto& [text, value] : cases)
        EXPECT_EQ(core::parseLeadingInt(text), value) << text;
    EXPECT_EQ(core::parseLeadingInt(std::string(5000, '9')), INT_MAX);
    EXPECT_EQ(core::parseLeadingInt("-" + std::string(5000, '9')), INT_MIN);
}

// The command line and the import dialog read column lists with this one rule.
TEST(ParseColumnList, TakesBothCommasAndRefusesWhatIsNoColumn) {
    using Columns = std::optional<std::vector<int>>;
    const std::vector<int> oneThree = {1, 3};
    // clang-format off
    const std::pair<const char*, Columns> cases[] = {
        {"1,3", oneThree}, {"1，3", oneThree}, {" 2 , 1 ,", std::vector<int>{2, 1}},
        {"16384", std::vector<int>{16384}}, {"16385", std::nullopt}, {"0", std::nullopt},
        {"1,x", std::nullopt}, {"", std::nullopt}, {" , ", std::nullopt}, {"-1", std::nullopt}};
    // clang-format on
    for (const auto& [text, columns] : cases)
        EXPECT_EQ(lottery::parseColumnList(text), columns) << text;
}

TEST(CutToBytes, NeverSplitsADoubleByteCharacter) {
    const std::string text = "a\xD5\xC5\xC8\xFD"; // a张三
    EXPECT_EQ(lottery::cutToBytes(text, 5), text);
    EXPECT_EQ(lottery::cutToBytes(text, 4), "a\xD5\xC5");
    EXPECT_EQ(lottery::cutToBytes(text, 2), "a");
    EXPECT_EQ(lottery::cutToBytes("\xD5 b", 1), "\xD5"); // a lead byte without a valid trail
    EXPECT_EQ(lottery::cutToBytes("\x81`x", 1), "");     // a backtick may be a trail byte
}

// The file reader feeds 64 KiB pieces, which may split a character anywhere.
TEST(Utf8Check, AcceptsWellFormedAndRejectsGbkInAnyPieces) {
    const std::pair<std::string_view, bool> cases[] = {
        {"plain text longer than eight bytes", true}, {"张三 \xF0\x9F\x8E\x89 abcdefgh", true},
        {"\xD5\xC5\xC8\xFD", false} /* GBK */,        {"\xC0\xAF", false} /* overlong */,
        {"\xED\xA0\x80", false} /* surrogate */,      {"\xF4\x90\x80\x80", false} /* too high */,
        {"abcdefgh\xE5\xBC", false} /* cut short */,  {"abcdefgh\x80", false} /* stray */};
    for (const std::size_t piece : {1, 2, 100})
        for (const auto& [bytes, valid] : cases) {
            lottery::Utf8Check check;
            for (std::size_t pos = 0; pos < bytes.size(); pos += piece)
                check.feed(bytes.substr(pos, piece));
            EXPECT_EQ(check.valid(), valid) << bytes << " in pieces of " << piece;
            EXPECT_EQ(check.sawNonAscii(), bytes != cases[0].first); // only the first is ASCII
        }
}

TEST(Utf16Decoder, DecodesPairsAndReplacesBrokenOnesInAnyPieces) {
    struct Case {
        bool bigEndian;
        std::string_view bytes;
        std::string_view utf8;
    };
    using namespace std::string_view_literals;
    const Case cases[] = {
        {false, "a\0\x20\x5F"sv, "a张"},
        {true, "\x5F\x20\0a"sv, "张a"},
        {false, "\x3C\xD8\x89\xDF"sv, "\xF0\x9F\x8E\x89"},                   // a pair
        {false, "\x3C\xD8\x61\0\x89\xDF"sv, "\xEF\xBF\xBD\x61\xEF\xBF\xBD"}, // halves alone
        {false, "a\0\x3C\xD8"sv, "a\xEF\xBF\xBD"}, // a high half at the end
        {false, "a\0b"sv, "a\xEF\xBF\xBD"},        // an odd last byte
    };
    for (const std::size_t piece : {1, 3, 100})
        for (const Case& c : cases) {
            lottery::Utf16Decoder decoder(c.bigEndian);
            std::string utf8;
            for (std::size_t pos = 0; pos < c.bytes.size(); pos += piece)
                decoder.feed(c.bytes.substr(pos, piece), utf8);
            decoder.finish(utf8);
            EXPECT_EQ(utf8, c.utf8)
                << testing::PrintToString(std::string(c.bytes)) << " in pieces of " << piece;
        }
}
