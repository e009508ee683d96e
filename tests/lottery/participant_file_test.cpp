#include "gbk_fake_services.h"
#include "lottery/participant_file.h"
#include "temp_event_folder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
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
        for (int i = 0; i < list.count(); ++i)
            out.emplace_back(list.rawText(i));
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
        {"abcd", 1, -5, 2, "**cd", 1}, // no byte before the first
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
        list.append(c.raw);
        lottery::DrawOptions options;
        options.hide = c.hide;
        options.hstart = c.hstart;
        options.hend = c.hend;
        lottery::maskParticipants(list, options);
        EXPECT_EQ(list.displayText(0), c.shown);
        EXPECT_EQ(options.hide, c.hideAfter);
    }
}

TEST_F(ParticipantFileTest, OneEntryPerNonEmptyLine) {
    const std::string blank = "个条目只有空白字符（如第 ";
    const std::vector<std::tuple<std::string, Texts, std::string>> cases = {
        {"a\r\nb\r\n", {"a", "b"}, ""},
        {"a\nb", {"a", "b"}, ""},
        {"a\r\n\r\n  \nb\r", {"a", "  ", "b"}, "有 1 " + blank + "3 行），仍作为抽奖条目"},
        {"\r\n\n\r", {}, ""},
        {"", {}, ""},
        {"a\rb\rc", {"a\rb\rc"}, ""}, // CR alone ends no line
        {"a\0b\r\n\0\n \t\xA1\xA1\n"s, {"a\0b"s, "\0"s, " \t\xA1\xA1"}, "有 2 " + blank + "2 行）"},
        {"a\nb\na\nc\nb\na\n",
         {"a", "b", "a", "c", "b", "a"},
         "有 2 个条目文本重复出现（如“a”共 3 次）；同一文本的条目中奖后，其余副本不再参加抽取"},
    };
    for (const auto& [bytes, expected, warning] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        load(bytes);
        EXPECT_EQ(raws(), expected);
        EXPECT_EQ(warnings.size(), warning.empty() ? 0u : 1u);
        EXPECT_TRUE(warning.empty() || warned(warning));
    }
    EXPECT_EQ(lottery::duplicateTexts(list),
              (std::vector<std::pair<std::string, int>>{{"a", 3}, {"b", 2}}));
    options.hide = 1;
    options.hstart = 3;
    options.hend = 5;
    load("12345678\r\n");
    EXPECT_EQ(list.displayText(0), "12***678");
}

TEST_F(ParticipantFileTest, Utf8AndUtf16AreConverted) {
    const std::string gbkAlsoUtf8 =
        "\xD0\xA4\xC3\xB7\xD3\xA2\r\n\xD0\xBB\xC7\xBF\r\n"; // 肖梅英 谢强
    const std::vector<std::pair<std::string, Texts>> cases = {
        {"张三\r\n李四\r\n", {kZhangSan, kLiSi}},
        {"\xEF\xBB\xBF张三\nabc\n", {kZhangSan, "abc"}},
        {"\xEF\xBB\xBF\x9B\x9B\r\nabc\r\n", {"abc"}}, // converts to an empty line
        {kZhangSan + "\r\n", {kZhangSan}},            // GBK is not valid UTF-8
        {gbkAlsoUtf8, {"\xD0\xA4\xC3\xB7\xD3\xA2", "\xD0\xBB\xC7\xBF"}},
        {"\xC5\xAE\r\n", {"\xC5\xAE"}}, // 女, or a lone Latin letter
        {"Jos\xC3\xA9 M\xC3\xBCller\n", {"Jos? M?ller"}},
        {"\xFF\xFE\x20\x5F\x09\x4E\n\0\x4E\x67\xDB\x56\r\0"s, {kZhangSan, kLiSi}},
        {"\xFE\xFF\x5F\x20\x4E\x09\0\n\xD8\x3C\xDF\x89\xD8\x3C\0a\xDC\0"s, {kZhangSan, "??a?"}},
    };
    for (const auto& [bytes, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        load(bytes);
        EXPECT_EQ(raws(), expected);
    }
    load("\xEF\xBB\xBF王五\n");
    EXPECT_EQ(raws(), (Texts{"??"}));
    EXPECT_TRUE(warned("有 2 个字符无法用 GBK 表示"));
    load("\xFF\xFE\x3C\xD8\x89\xDF"s); // one character beyond the BMP
    EXPECT_EQ(warnings, (Texts{"抽奖数据文件 _items.txt：按 UTF-16 读取，有 1 个字符无法用 GBK "
                               "表示，已替换为“?”"}));
}

TEST_F(ParticipantFileTest, CapacityCutsAreWarned) {
    // UTF-8 large enough that characters straddle the reader's 64 KiB pieces.
    std::string file;
    for (int i = 0; i < lottery::kParticipantCapacity + 1; ++i)
        file += "张三" + std::to_string(i) + "\r\n";
    load(file);
    ASSERT_EQ(list.count(), lottery::kParticipantCapacity);
    for (int i = 0; i < list.count(); ++i)
        ASSERT_EQ(list.rawText(i), kZhangSan + std::to_string(i));
    EXPECT_TRUE(warned("有 1 行超过 1000000 个条目的上限，已忽略"));
    EXPECT_EQ(warnings.size(), 1u);

    // Lines alike in their first bytes stay different entries.
    const std::string alike = "Zhang San, Sales, Shanghai branch " + std::string(60, '-');
    load(std::string(140, 'x') + "\r\n" + std::string(127, 'y') + kZhangSan + "\r\n" +
         std::string(128, 'z') + "\n" + alike + "1\n" + alike + "2\n");
    EXPECT_EQ(raws(), (Texts{std::string(128, 'x'), std::string(127, 'y'), std::string(128, 'z'),
                             alike + "1", alike + "2"}));
    EXPECT_EQ(list.displayText(0), std::string(30, 'x'));
    EXPECT_TRUE(warned("有 2 个抽奖条目超过 128 字节，已截断"));
    EXPECT_TRUE(warned("有 5 个抽奖条目的显示文本超过 30 字节"));

    // A UTF-8 line is cut on whole characters; the cut is no lost character.
    std::string zhangSan40;
    for (int i = 0; i < 40; ++i)
        zhangSan40 += "张三";
    load("ab" + zhangSan40 + "\r\n");
    std::string expected = "ab";
    while (expected.size() + kZhangSan.size() <= 128)
        expected += kZhangSan;
    EXPECT_EQ(raws(), (Texts{expected + "\xD5\xC5"}));
    EXPECT_FALSE(warned("无法用 GBK 表示"));
}
