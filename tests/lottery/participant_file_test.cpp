#include "gbk_fake_services.h"
#include "lottery/participant_file.h"
#include "lottery/results_log.h"
#include "temp_event_folder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

// 张三 and 李四 in GBK.
const std::string kZhangSan = "\xD5\xC5\xC8\xFD";
const std::string kLiSi = "\xC0\xEE\xCB\xC4";

std::string masked(const std::string& raw, int hide, int hstart, int hend,
                   int* hideAfter = nullptr) {
    lottery::ParticipantList list;
    list.entries.push_back({"", raw, 0, {}});
    lottery::DrawOptions options;
    options.hide = hide;
    options.hstart = hstart;
    options.hend = hend;
    lottery::maskParticipants(list, options);
    if (hideAfter)
        *hideAfter = options.hide;
    return list.entries[0].displayText;
}

class ParticipantFileTest : public ::testing::Test {
protected:
    void load(const std::string& bytes) {
        TempEventFolder::write(folder.paths.participantFile, bytes);
        reload();
    }
    void reload() {
        warnings.clear();
        lottery::loadParticipantFile(folder.paths, list, options, services, warnings);
    }
    std::vector<std::string> raws() const {
        std::vector<std::string> out;
        for (const auto& e : list.entries)
            out.push_back(e.rawText);
        return out;
    }
    bool warned(const std::string& part) const {
        for (const auto& w : warnings)
            if (w.find(part) != std::string::npos)
                return true;
        return false;
    }

    TempEventFolder folder;
    GbkFakeServices services;
    lottery::ParticipantList list;
    lottery::DrawOptions options;
    std::vector<std::string> warnings;
};

using Texts = std::vector<std::string>;

} // namespace

TEST(Masking, HidesTheChosenBytesEverywhere) {
    EXPECT_EQ(masked("12345678", 1, 3, 5), "12***678");
    EXPECT_EQ(masked("abab", 1, 1, 2), "****");
    EXPECT_EQ(masked("abc", 1, 2, 5), "a****");
    EXPECT_EQ(masked("abc", 1, 10, 12), "abc");
    EXPECT_EQ(masked(kZhangSan, 1, 3, 4), "\xD5\xC5**");
    EXPECT_EQ(masked("12345678", 0, 3, 5), "12345678");
    EXPECT_EQ(masked("a``b", 0, 1, 1), "a``b");
}

TEST(Masking, ReversedRangeTurnsHideOff) {
    int hide = 1;
    EXPECT_EQ(masked("12345678", 1, 5, 3, &hide), "12345678");
    EXPECT_EQ(hide, 0);
    EXPECT_EQ(masked("12345678", 1, 5, 4, &hide), "12345678"); // empty range, hide stays
    EXPECT_EQ(hide, 1);

    lottery::ParticipantList empty;
    lottery::DrawOptions options;
    options.hide = 1;
    options.hstart = 5;
    options.hend = 3;
    lottery::maskParticipants(empty, options);
    EXPECT_EQ(options.hide, 1); // no entry, no masking pass
}

TEST(Masking, BacktickPairsFollowTheMarkerRule) {
    EXPECT_EQ(masked("a``b", 1, 10, 11), "a**b");
    EXPECT_EQ(masked("a``b", 1, 4, 3), "ab"); // n = 0: the empty star string removes pairs
    // The entry's own backtick pairs with the first half of the marker.
    EXPECT_EQ(masked("`x", 1, 2, 2), "*`");
}

TEST(Masking, OrphanedHalvesBecomeAsterisks) {
    // Range 2..3 takes the trail of 张 and the lead of 三.
    EXPECT_EQ(masked(kZhangSan, 1, 2, 3), "****");
    // Range 2..2 masks the lead of 张; its trail is orphaned, 三 stays.
    EXPECT_EQ(masked("a" + kZhangSan, 1, 2, 2), "a**\xC8\xFD");
    // The same two bytes also occur across the boundary of 张 and 三.
    EXPECT_EQ(masked("\xC5\xC8x" + kZhangSan, 1, 1, 2), "**x****");
}

TEST(Masking, DisplayTextIsCutTo30BytesOnWholeCharacters) {
    const std::string raw = std::string(28, 'a') + kZhangSan; // 32 bytes
    lottery::ParticipantList list;
    list.entries.push_back({"", raw, 0, {}});
    list.entries.push_back({"", "abc", 0, {}});
    lottery::DrawOptions options;
    EXPECT_EQ(lottery::maskParticipants(list, options), 1);
    EXPECT_EQ(list.entries[0].displayText, std::string(28, 'a') + "\xD5\xC5");

    EXPECT_EQ(masked("abc", 1, 2, INT_MAX), "a" + std::string(29, '*'));
    EXPECT_EQ(masked(std::string(29, 'a') + kZhangSan, 0, 0, 0), std::string(29, 'a'));
    EXPECT_EQ(masked("x", 1, INT_MIN, INT_MAX), std::string(30, '*'));
}

TEST_F(ParticipantFileTest, ReadsOneEntryPerNonEmptyLine) {
    options.hide = 1;
    options.hstart = 3;
    options.hend = 5;
    load("12345678\r\n\r\n  \nabc\r");
    EXPECT_EQ(raws(), (Texts{"12345678", "  ", "abc"}));
    EXPECT_EQ(list.entries[0].displayText, "12***678");
    EXPECT_TRUE(warnings.empty());

    load("a\r\nb\r\n");
    EXPECT_EQ(raws(), (Texts{"a", "b"}));
    load("a\nb");
    EXPECT_EQ(raws(), (Texts{"a", "b"}));
}

TEST_F(ParticipantFileTest, NulBytesAreText) {
    load("a\0b\r\n\0\n"s);
    EXPECT_EQ(raws(), (Texts{"a\0b"s, "\0"s}));
    EXPECT_EQ(list.entries[0].displayText, "a\0b"s);
}

TEST_F(ParticipantFileTest, MissingFileGivesAnEmptyListAndNoMasking) {
    list.entries.push_back({"x", "x", 1, {"P"}});
    options.hide = 1;
    options.hstart = 5;
    options.hend = 3;
    reload();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(options.hide, 1);
}

TEST_F(ParticipantFileTest, CapacityCutsAreWarned) {
    std::string file;
    for (int i = 0; i < 10001; ++i)
        file += "n" + std::to_string(i) + "\r\n";
    file += std::string(40, 'x') + "\r\n" + std::string(31, 'y') + kZhangSan + "\r\n";
    load(file);
    EXPECT_EQ(list.count(), 10000);
    EXPECT_EQ(list.entries.back().rawText, "n9999");
    EXPECT_TRUE(warned("有 3 行超过 10000 个条目的上限，已忽略"));

    load(std::string(40, 'x') + "\r\n" + std::string(31, 'y') + kZhangSan + "\r\n" +
         std::string(32, 'z') + "\n");
    EXPECT_EQ(raws(), (Texts{std::string(32, 'x'), std::string(31, 'y'), std::string(32, 'z')}));
    EXPECT_TRUE(warned("有 2 个抽奖条目超过 32 字节，已截断"));
    EXPECT_TRUE(warned("有 3 个抽奖条目的显示文本超过 30 字节"));
    EXPECT_EQ(list.entries[0].displayText, std::string(30, 'x'));
}

TEST_F(ParticipantFileTest, Utf8FilesAreConvertedWithAndWithoutBom) {
    load("张三\r\n李四\r\n");
    EXPECT_EQ(raws(), (Texts{kZhangSan, kLiSi}));
    EXPECT_TRUE(warnings.empty());

    load("\xEF\xBB\xBF"
         "张三\nabc\n");
    EXPECT_EQ(raws(), (Texts{kZhangSan, "abc"}));

    load("\xEF\xBB\xBF"
         "王五\n");
    EXPECT_EQ(raws(), (Texts{"??"}));
    EXPECT_TRUE(warned("有 2 个字符无法用 GBK 表示"));

    // GBK bytes are not valid UTF-8 and stay as they are.
    load(kZhangSan + "\r\n");
    EXPECT_EQ(raws(), (Texts{kZhangSan}));
}

TEST_F(ParticipantFileTest, Utf8FileLargerThanOneReadPieceConvertsEveryLine) {
    std::string file;
    for (int i = 0; i < lottery::kParticipantCapacity; ++i)
        file += "张三" + std::to_string(i) + "\r\n";
    ASSERT_GT(file.size(), 1u << 16); // characters straddle the 64 KiB pieces
    load(file + "李四\r\n");
    ASSERT_EQ(list.count(), lottery::kParticipantCapacity);
    for (int i = 0; i < list.count(); ++i)
        ASSERT_EQ(list.entries[i].rawText, kZhangSan + std::to_string(i));
    EXPECT_TRUE(warned("有 1 行超过 10000 个条目的上限"));
    EXPECT_EQ(warnings.size(), 1u);
}

TEST_F(ParticipantFileTest, LongUtf8LineIsCutOnWholeCharacters) {
    std::string zhangSan40;
    for (int i = 0; i < 40; ++i)
        zhangSan40 += "张三";
    // The bytes kept of the line end inside a character, which must not count as lost.
    load("ab" + zhangSan40 + "\r\n" + std::string(200, 'x') + "\r\n");
    ASSERT_EQ(list.count(), 2);
    std::string expected = "ab";
    while (expected.size() + kZhangSan.size() <= 32)
        expected += kZhangSan;
    EXPECT_EQ(list.entries[0].rawText, expected + "\xD5\xC5");
    EXPECT_EQ(list.entries[1].rawText.size(), 32u);
    EXPECT_TRUE(warned("有 2 个抽奖条目超过 32 字节，已截断"));
    EXPECT_FALSE(warned("无法用 GBK 表示"));
}

TEST_F(ParticipantFileTest, ALeadByteThatStartsNoCharacterShowsAsAQuestionMark) {
    load("ab\x81\r\na\x81 b\r\n" + std::string(29, 'y') + "\x81 z\r\n");
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.entries[0].rawText, "ab\x81");
    EXPECT_EQ(list.entries[0].displayText, "ab?");
    EXPECT_EQ(list.entries[1].displayText, "a? b");
    EXPECT_EQ(list.entries[2].displayText, std::string(29, 'y') + "?");
}

TEST_F(ParticipantFileTest, LinesOfOnlyBrokenUtf8AfterAByteOrderMarkAreEmpty) {
    // The fake codec drops stray continuation bytes, so the line converts to nothing.
    load("\xEF\xBB\xBF\x9B\x9B\r\nabc\r\n");
    EXPECT_EQ(raws(), (Texts{"abc"}));
}

TEST_F(ParticipantFileTest, EmptyAndCarriageReturnOnlyFiles) {
    load("");
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(warnings.empty());
    load("\r\n\n\r");
    EXPECT_EQ(list.count(), 0);

    // CR alone ends no line: the file is one entry, cut.
    load("a1\rb2\rc3\rd4\re5\rf6\rg7\rh8\ri9\rj10\rk11\r");
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.entries[0].rawText, "a1\rb2\rc3\rd4\re5\rf6\rg7\rh8\ri9\rj10\rk");
    EXPECT_TRUE(warned("有 1 个抽奖条目超过 32 字节"));
}
