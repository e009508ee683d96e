#include "lottery/gbk_text.h"
#include "lottery/participant_file.h"
#include "support/fake_core_services.h"
#include "support/table_rows.h"
#include "support/temp_event_folder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace std::string_literals;
using testsupport::repeated;
using testsupport::testName;

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
    testsupport::FakeCoreServices services;
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
        options.maskEntries = c.hide;
        options.maskStart = c.hstart;
        options.maskEnd = c.hend;
        lottery::maskParticipants(list, options);
        EXPECT_EQ(list.displayText(0), c.shown);
        EXPECT_EQ(options.maskEntries, c.hideAfter);
    }
}

namespace {

struct Case {
    const char* name;
    std::string bytes;
    Texts raws;
    Texts warnings = {}; // a part of each, in order
};

const std::string kBlank = "个条目只有空白字符（如第 ";
const std::string kAlike = "Zhang San, Sales, Shanghai branch " + std::string(60, '-');
const std::string kNotGbk = "个字符无法用 GBK 表示";

const Case kCases[] = {
    {"CR LF", "a\r\nb\r\n", {"a", "b"}},
    {"LF, no last end", "a\nb", {"a", "b"}},
    {"blank lines",
     "a\r\n\r\n  \nb\r",
     {"a", "  ", "b"},
     {"有 1 " + kBlank + "3 行），仍作为抽奖条目"}},
    {"only line ends", "\r\n\n\r", {}},
    {"empty", "", {}},
    {"CR alone ends no line", "a\rb\rc", {"a\rb\rc"}},
    {"NUL and full-width blanks",
     "a\0b\r\n\0\n \t\xA1\xA1\n"s,
     {"a\0b"s, "\0"s, " \t\xA1\xA1"},
     {"有 2 " + kBlank + "2 行）"}},
    {"copies",
     "a\nb\na\nc\nb\na\n",
     {"a", "b", "a", "c", "b", "a"},
     {"有 2 个条目文本重复出现（如“a”共 3 次）；同一文本的条目中奖后，其余副本不再参加抽取"}},
    {"UTF-8", "张三\r\n李四\r\n", {kZhangSan, kLiSi}},
    {"UTF-8 with its mark", "\xEF\xBB\xBF张三\nabc\n", {kZhangSan, "abc"}},
    {"UTF-8 that converts to an empty line", "\xEF\xBB\xBF\x9B\x9B\r\nabc\r\n", {"abc"}},
    {"GBK, not valid UTF-8", kZhangSan + "\r\n", {kZhangSan}},
    {"GBK that is also UTF-8",
     "\xD0\xA4\xC3\xB7\xD3\xA2\r\n\xD0\xBB\xC7\xBF\r\n", // 肖梅英 谢强
     {"\xD0\xA4\xC3\xB7\xD3\xA2", "\xD0\xBB\xC7\xBF"}},
    {"女, or a lone Latin letter", "\xC5\xAE\r\n", {"\xC5\xAE"}},
    {"UTF-8 beyond GBK", "\xEF\xBB\xBF王五\n", {"??"}, {"有 2 " + kNotGbk}},
    {"Latin letters", "Jos\xC3\xA9 M\xC3\xBCller\n", {"Jos? M?ller"}, {"有 2 " + kNotGbk}},
    {"UTF-16LE", "\xFF\xFE\x20\x5F\x09\x4E\n\0\x4E\x67\xDB\x56\r\0"s, {kZhangSan, kLiSi}},
    {"UTF-16BE, broken pairs",
     "\xFE\xFF\x5F\x20\x4E\x09\0\n\xD8\x3C\xDF\x89\xD8\x3C\0a\xDC\0"s,
     {kZhangSan, "??a?"},
     {"有 3 " + kNotGbk}},
    {"UTF-16 beyond the BMP",
     "\xFF\xFE\x3C\xD8\x89\xDF"s,
     {"?"},
     {"抽奖数据文件 _items.txt：按 UTF-16 读取，有 1 个字符无法用 GBK 表示，已替换为“?”"}},
    // Lines alike in their first bytes stay different entries.
    {"long entries",
     std::string(140, 'x') + "\r\n" + std::string(127, 'y') + kZhangSan + "\r\n" +
         std::string(128, 'z') + "\n" + kAlike + "1\n" + kAlike + "2\n",
     {std::string(128, 'x'), std::string(127, 'y'), std::string(128, 'z'), kAlike + "1",
      kAlike + "2"},
     {"有 2 个抽奖条目超过 128 字节，已截断", "有 5 个抽奖条目的显示文本超过 30 字节"}},
    // Cut on whole characters: the cut is no lost character.
    {"long UTF-8 entry",
     "ab" + repeated("张三", 40) + "\r\n",
     {"ab" + repeated(kZhangSan, 31) + "\xD5\xC5"},
     {"有 1 个抽奖条目超过 128 字节", "有 1 个抽奖条目的显示文本超过 30 字节"}},
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class ParticipantFileTable : public ParticipantFileTest,
                             public testing::WithParamInterface<Case> {};

} // namespace

TEST_P(ParticipantFileTable, OneEntryPerLine) {
    const Case& c = GetParam();
    load(c.bytes);
    EXPECT_EQ(raws(), c.raws);
    ASSERT_EQ(warnings.size(), c.warnings.size()) << testing::PrintToString(warnings);
    for (std::size_t i = 0; i < warnings.size(); ++i)
        EXPECT_NE(warnings[i].find(c.warnings[i]), std::string::npos) << warnings[i];
    // Unmasked, an entry shows its first bytes that fit.
    for (int i = 0; i < list.count(); ++i)
        ASSERT_EQ(list.displayText(i), lottery::cutToBytes(list.rawText(i), 30)) << i;
}

INSTANTIATE_TEST_SUITE_P(Files, ParticipantFileTable, testing::ValuesIn(kCases),
                         [](const auto& info) { return testName(info.param.name); });

TEST_F(ParticipantFileTest, KeepsAMillionEntriesAtMost) {
    // UTF-8 large enough that characters straddle the reader's 64 KiB pieces.
    std::string file;
    for (int i = 0; i <= lottery::kParticipantCapacity; ++i)
        file += "张三" + std::to_string(i) + "\r\n";
    load(file);
    ASSERT_EQ(list.count(), lottery::kParticipantCapacity);
    for (int i = 0; i < list.count(); ++i)
        ASSERT_EQ(list.rawText(i), kZhangSan + std::to_string(i));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warned("有 1 行超过 1000000 个条目的上限，已忽略"));
}
