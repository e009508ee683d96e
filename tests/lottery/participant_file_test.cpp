#include "gbk_fake_services.h"
#include "lottery/participant_file.h"
#include "temp_event_folder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

const std::string kZhangSan = "\xD5\xC5\xC8\xFD"; // 张三 in GBK
const std::string kLiSi = "\xC0\xEE\xCB\xC4";     // 李四 in GBK
using Texts = std::vector<std::string>;

class ParticipantFileTest : public ::testing::Test {
protected:
    void load(const std::string& bytes) {
        TempEventFolder::write(folder.paths.participantFile, bytes);
        warnings.clear();
        lottery::loadParticipantFile(folder.paths, list, options, services, warnings);
    }
    Texts raws() const {
        Texts out;
        for (const auto& e : list.entries)
            out.push_back(e.rawText);
        return out;
    }
    bool warned(const std::string& part) const { return anyWarningContains(warnings, part); }

    TempEventFolder folder;
    GbkFakeServices services;
    lottery::ParticipantList list;
    lottery::DrawOptions options;
    std::vector<std::string> warnings;
};

} // namespace

TEST(Masking, Examples) {
    struct Case {
        std::string raw;
        int hide, hstart, hend;
        std::string shown;
        int hideAfter;
    };
    const std::vector<Case> cases = {
        {"12345678", 1, 3, 5, "12***678", 1},
        {"abab", 1, 1, 2, "****", 1},
        {"abc", 1, 2, 5, "a****", 1},
        {"abc", 1, 10, 12, "abc", 1},
        {kZhangSan, 1, 3, 4, "\xD5\xC5**", 1},
        {"12345678", 0, 3, 5, "12345678", 0},
        {"12345678", 1, 5, 3, "12345678", 0},
        {kZhangSan, 1, 2, 3, "****", 1},                       // both halves orphaned
        {"a" + kZhangSan, 1, 2, 2, "a**\xC8\xFD", 1},          // trail of 张 orphaned
        {"a``b", 1, 10, 11, "a**b", 1},                        // the entry's own marker
        {"abc", 1, 2, INT_MAX, "a" + std::string(29, '*'), 1}, // cut to 30 bytes
        {std::string(29, 'a') + kZhangSan, 0, 0, 0, std::string(29, 'a'), 0},
        {"ab\x81", 0, 0, 0, "ab?", 0}, // a lead byte that starts no character
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raw + " " + std::to_string(c.hstart) + ".." + std::to_string(c.hend));
        lottery::ParticipantList list;
        list.entries.push_back({"", c.raw, 0, {}});
        lottery::DrawOptions options;
        options.hide = c.hide;
        options.hstart = c.hstart;
        options.hend = c.hend;
        lottery::maskParticipants(list, options);
        EXPECT_EQ(list.entries[0].displayText, c.shown);
        EXPECT_EQ(options.hide, c.hideAfter);
    }
}

TEST_F(ParticipantFileTest, OneEntryPerNonEmptyLine) {
    const std::vector<std::pair<std::string, Texts>> cases = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r\n\r\n  \nb\r", {"a", "  ", "b"}},
        {"\r\n\n\r", {}},
        {"", {}},
        {"a\rb\rc", {"a\rb\rc"}}, // CR alone ends no line
        {"a\0b\r\n\0\n"s, {"a\0b"s, "\0"s}},
    };
    for (const auto& [bytes, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        load(bytes);
        EXPECT_EQ(raws(), expected);
        EXPECT_TRUE(warnings.empty());
    }
    options.hide = 1;
    options.hstart = 3;
    options.hend = 5;
    load("12345678\r\n");
    EXPECT_EQ(list.entries[0].displayText, "12***678");
}

TEST_F(ParticipantFileTest, Utf8IsConvertedWithAndWithoutBom) {
    const std::vector<std::pair<std::string, Texts>> cases = {
        {"张三\r\n李四\r\n", {kZhangSan, kLiSi}},
        {"\xEF\xBB\xBF张三\nabc\n", {kZhangSan, "abc"}},
        {"\xEF\xBB\xBF\x9B\x9B\r\nabc\r\n", {"abc"}}, // converts to an empty line
        {kZhangSan + "\r\n", {kZhangSan}},            // GBK is not valid UTF-8
    };
    for (const auto& [bytes, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        load(bytes);
        EXPECT_EQ(raws(), expected);
    }
    load("\xEF\xBB\xBF王五\n");
    EXPECT_EQ(raws(), (Texts{"??"}));
    EXPECT_TRUE(warned("有 2 个字符无法用 GBK 表示"));
}

TEST_F(ParticipantFileTest, CapacityCutsAreWarned) {
    // UTF-8 large enough that characters straddle the reader's 64 KiB pieces.
    std::string file;
    for (int i = 0; i < lottery::kParticipantCapacity + 1; ++i)
        file += "张三" + std::to_string(i) + "\r\n";
    load(file);
    ASSERT_EQ(list.count(), lottery::kParticipantCapacity);
    for (int i = 0; i < list.count(); ++i)
        ASSERT_EQ(list.entries[i].rawText, kZhangSan + std::to_string(i));
    EXPECT_TRUE(warned("有 1 行超过 10000 个条目的上限，已忽略"));
    EXPECT_EQ(warnings.size(), 1u);

    load(std::string(40, 'x') + "\r\n" + std::string(31, 'y') + kZhangSan + "\r\n" +
         std::string(32, 'z') + "\n");
    EXPECT_EQ(raws(), (Texts{std::string(32, 'x'), std::string(31, 'y'), std::string(32, 'z')}));
    EXPECT_EQ(list.entries[0].displayText, std::string(30, 'x'));
    EXPECT_TRUE(warned("有 2 个抽奖条目超过 32 字节，已截断"));
    EXPECT_TRUE(warned("有 3 个抽奖条目的显示文本超过 30 字节"));

    // A UTF-8 line is cut on whole characters; the cut is no lost character.
    std::string zhangSan40;
    for (int i = 0; i < 40; ++i)
        zhangSan40 += "张三";
    load("ab" + zhangSan40 + "\r\n");
    std::string expected = "ab";
    while (expected.size() + kZhangSan.size() <= 32)
        expected += kZhangSan;
    EXPECT_EQ(raws(), (Texts{expected + "\xD5\xC5"}));
    EXPECT_FALSE(warned("无法用 GBK 表示"));
}
