#include "gbk_fake_services.h"
#include "lottery/prize_file.h"
#include "temp_event_folder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

class PrizeFileTest : public ::testing::Test {
protected:
    lottery::PrizeTable load(const std::string& bytes) {
        TempEventFolder::write(folder.paths.prizeFile, bytes);
        lottery::PrizeTable table;
        warnings.clear();
        lottery::loadPrizeFile(folder.paths.prizeFile, table, services, warnings);
        return table;
    }
    bool warned(const std::string& part) const {
        for (const auto& w : warnings)
            if (w.find(part) != std::string::npos)
                return true;
        return false;
    }
    std::vector<std::string> ids(const lottery::PrizeTable& table) const {
        std::vector<std::string> out;
        for (const auto& p : table.prizes)
            out.push_back(p.id);
        return out;
    }

    TempEventFolder folder;
    GbkFakeServices services;
    std::vector<std::string> warnings;
};

using Ids = std::vector<std::string>;

} // namespace

TEST_F(PrizeFileTest, SortsStablyByOrder) {
    const auto table = load("P1`a`x`3`1`1`\r\nP2`b`x`1`1`1`\r\nP3`c`x`2`1`1`\r\nP4`d`x`1`1`1`\r\n");
    EXPECT_EQ(ids(table), (Ids{"P2", "P4", "P3", "P1"}));
    EXPECT_TRUE(warnings.empty());

    // Enough records that a sort which is not stable would show it.
    lottery::PrizeTable many;
    for (int i = 0; i < 60; ++i)
        many.prizes.push_back({std::to_string(i), "t", "", 1, 1, (i * 7) % 3, "", 0});
    lottery::sortPrizes(many);
    for (int i = 1; i < 60; ++i) {
        const auto& a = many.prizes[i - 1];
        const auto& b = many.prizes[i];
        ASSERT_TRUE(a.order < b.order || (a.order == b.order && std::stoi(a.id) < std::stoi(b.id)))
            << i;
    }
}

TEST(PrizeRounds, AreTheCeilingOrZero) {
    EXPECT_EQ(lottery::roundsFor(7, 3), 3);
    EXPECT_EQ(lottery::roundsFor(6, 3), 2);
    EXPECT_EQ(lottery::roundsFor(1, 30), 1);
    EXPECT_EQ(lottery::roundsFor(2, 5), 1);
    EXPECT_EQ(lottery::roundsFor(5, 0), 0);
    EXPECT_EQ(lottery::roundsFor(0, 3), 0);
    EXPECT_EQ(lottery::roundsFor(-4, 2), 0);
    EXPECT_EQ(lottery::roundsFor(4, -2), 0);
    EXPECT_EQ(lottery::roundsFor(INT_MAX, 1), INT_MAX);
    // More per round than the screen lists: drawn 30 at a time.
    EXPECT_EQ(lottery::roundsFor(100, 50), 4);
}

TEST_F(PrizeFileTest, SaveAndLoadKeepAllSevenFields) {
    lottery::PrizeTable table;
    table.prizes.push_back({"A1", "\xD2\xBB\xB5\xC8\xBD\xB1", "a.png", 5, 2, -3, "B2,C3", 0});
    table.prizes.push_back({"B2", "t", "", 1, 1, 7, "", 0});
    std::string problem;
    ASSERT_TRUE(lottery::savePrizeFile(folder.paths.prizeFile, table, &problem)) << problem;
    EXPECT_EQ(TempEventFolder::read(folder.paths.prizeFile),
              "A1`\xD2\xBB\xB5\xC8\xBD\xB1`a.png`-3`5`2`B2,C3\r\nB2`t``7`1`1`\r\n");

    lottery::PrizeTable back;
    lottery::loadPrizeFile(folder.paths.prizeFile, back, services, warnings);
    ASSERT_EQ(back.count(), 2);
    const auto& a = back.prizes[0];
    EXPECT_EQ(a.id, "A1");
    EXPECT_EQ(a.title, "\xD2\xBB\xB5\xC8\xBD\xB1");
    EXPECT_EQ(a.image, "a.png");
    EXPECT_EQ(a.total, 5);
    EXPECT_EQ(a.perRound, 2);
    EXPECT_EQ(a.order, -3);
    EXPECT_EQ(a.repeatList, "B2,C3");
    EXPECT_EQ(a.rounds, 3);
    EXPECT_TRUE(warnings.empty());
}

TEST_F(PrizeFileTest, EmptyTableSavesZeroBytes) {
    TempEventFolder::write(folder.paths.prizeFile, "old contents\r\n");
    ASSERT_TRUE(lottery::savePrizeFile(folder.paths.prizeFile, {}, nullptr));
    EXPECT_EQ(std::filesystem::file_size(folder.paths.prizeFile), 0u);
    EXPECT_EQ(load("").count(), 0);
}

TEST_F(PrizeFileTest, LineEndsAndEmptyLines) {
    EXPECT_EQ(load("A`a`x`1`1`1`\r\nB`b`x`2`1`1`\r\n").count(), 2);
    EXPECT_EQ(load("A`a`x`1`1`1`\r\nB`b`x`2`1`1`").count(), 2);
    EXPECT_EQ(load("A`a`x`1`1`1`\nB`b`x`2`1`1`\n").count(), 2);
    EXPECT_EQ(load("A`a`x`1`1`1`\r\n\r\n\r\nB`b`x`2`1`1`\r\n").count(), 2);
    EXPECT_TRUE(warnings.empty());
}

TEST_F(PrizeFileTest, MissingFileLeavesTheTableEmpty) {
    lottery::PrizeTable table;
    table.prizes.resize(3);
    lottery::loadPrizeFile(folder.paths.prizeFile, table, services, warnings);
    EXPECT_EQ(table.count(), 0);
    EXPECT_TRUE(warnings.empty());
}

TEST_F(PrizeFileTest, InvalidCountsAreKeptWithoutRoundsAndNamed) {
    const std::string file =
        "Z`zero`x`1`5`0`\r\nN`neg`x`2`-1`3`\r\nS`short`x\r\nOK`ok`x`3`1`1`\r\n";
    const auto table = load(file);
    ASSERT_EQ(table.count(), 4);
    EXPECT_EQ(table.prizes[0].rounds, 0);
    EXPECT_EQ(table.prizes[1].rounds, 0);
    EXPECT_EQ(table.prizes[2].rounds, 0);
    EXPECT_EQ(table.prizes[0].id, "S"); // missing fields read as 0, order included
    EXPECT_EQ(table.prizes[3].rounds, 1);
    EXPECT_TRUE(warned("有 3 个奖项")) << warnings.size();
    EXPECT_TRUE(warned("“zero”（编号 Z）"));
    EXPECT_TRUE(warned("“neg”（编号 N）"));
    EXPECT_TRUE(warned("“short”（编号 S）"));

    ASSERT_TRUE(lottery::savePrizeFile(folder.paths.prizeFile, table, nullptr));
    EXPECT_EQ(TempEventFolder::read(folder.paths.prizeFile),
              "S`short`x`0`0`0`\r\nZ`zero`x`1`5`0`\r\nN`neg`x`2`-1`3`\r\nOK`ok`x`3`1`1`\r\n");
}

TEST_F(PrizeFileTest, CapacityCutsAreWarned) {
    std::string file;
    for (int i = 0; i < 101; ++i)
        file += "P" + std::to_string(i) + "`t`x`" + std::to_string(i) + "`1`1`\r\n";
    auto table = load(file);
    EXPECT_EQ(table.count(), 100);
    EXPECT_EQ(table.prizes.back().id, "P99");
    EXPECT_TRUE(warned("有 1 个奖项超过 100 个的上限")) << (warnings.empty() ? "" : warnings[0]);

    const std::string longId(25, 'i');
    const std::string title =
        "ab" + std::string(10, '\0') + "\xD5\xC5\xC8\xFD\xD5\xC5\xC8\xFD"; // 20 bytes
    const std::string longTitle = "a" + std::string(18, 't') + "\xD5\xC5"; // 21 bytes, cut in 张
    std::string repeat;
    for (int i = 0; i < 30; ++i)
        repeat += (i ? "," : "") + std::to_string(100 + i); // 119 bytes
    table = load(longId + "`" + longTitle + "`" + std::string(30, 'm') + "`1`1`1`" + repeat +
                 "\r\nB`" + title + "`img`2`1`1`1`extra`more\r\n");
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.prizes[0].id, std::string(20, 'i'));
    EXPECT_EQ(table.prizes[0].title, "a" + std::string(18, 't'));
    EXPECT_EQ(table.prizes[0].image, std::string(21, 'm'));
    EXPECT_EQ(table.prizes[0].repeatList.size(), 103u);
    EXPECT_EQ(table.prizes[0].repeatList.substr(99), ",125");
    EXPECT_EQ(table.prizes[1].title, title);
    EXPECT_EQ(table.prizes[1].repeatList, "1");
    EXPECT_TRUE(warned("有 1 个唯一编号超过 20 字节"));
    EXPECT_TRUE(warned("有 1 个显示标题超过 20 字节"));
    EXPECT_TRUE(warned("有 1 个图片文件名超过 21 字节"));
    EXPECT_TRUE(warned("有 1 个允许重复奖项超过 103 字节"));
    EXPECT_TRUE(warned("有 1 行多于七个字段"));
}

TEST_F(PrizeFileTest, RepeatListCutKeepsWholeNumbers) {
    const std::string repeat = std::string(100, '1') + ",2345";
    const auto table = load("A`t`x`1`1`1`" + repeat + "\r\n");
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.prizes[0].repeatList, std::string(100, '1'));
}

TEST_F(PrizeFileTest, HugeNumbersSaturate) {
    const auto table = load("A`t`x`99999999999`-99999999999`4294967297`\r\n");
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.prizes[0].order, INT_MAX);
    EXPECT_EQ(table.prizes[0].total, INT_MIN);
    EXPECT_EQ(table.prizes[0].perRound, INT_MAX);
    EXPECT_EQ(table.prizes[0].rounds, 0);
}

TEST_F(PrizeFileTest, BacktickAsSecondByteOfACharacterStaysInTheField) {
    // 0x81 0x60 is one GBK character whose second byte is the separator byte.
    const auto table = load("A`x\x81`y`img`1`1`1`\r\n");
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.prizes[0].title, "x\x81`y");
    EXPECT_EQ(table.prizes[0].image, "img");
    EXPECT_EQ(lottery::formatPrizeLine(table.prizes[0]), "A`x\x81`y`img`1`1`1`\r\n");
}

TEST_F(PrizeFileTest, Utf8FilesAreConvertedToGbk) {
    auto table = load("\xEF\xBB\xBFZ`张三`x`1`1`1`\r\n");
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.prizes[0].title, "\xD5\xC5\xC8\xFD");

    table = load("Z`李四 王`x`1`1`1`\r\n");
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.prizes[0].title, "\xC0\xEE\xCB\xC4 ?");
    EXPECT_TRUE(warned("有 1 个字符无法用 GBK 表示"));
}

TEST_F(PrizeFileTest, SaveFailureKeepsTheOldFile) {
    TempEventFolder::write(folder.paths.prizeFile, "A`t`x`1`1`1`\r\n");
    lottery::PrizeTable table;
    table.prizes.push_back({"B", "t", "", 1, 1, 1, "", 1});
    // A data path below a regular file cannot be written, not even by root.
    const auto blocked = folder.paths.prizeFile / "_prize.txt";
    std::string problem;
    EXPECT_FALSE(lottery::savePrizeFile(blocked, table, &problem));
    EXPECT_NE(problem.find("_prize.txt"), std::string::npos) << problem;
    EXPECT_EQ(TempEventFolder::read(folder.paths.prizeFile), "A`t`x`1`1`1`\r\n");
}

TEST_F(PrizeFileTest, OnlyTheFirst4096BytesOfALineAreRead) {
    std::string repeat;
    while (repeat.size() < 6000)
        repeat += "12,";
    const auto table = load("A`t`x`1`1`1`" + repeat + "\r\nB`u`y`2`1`1`\r\n");
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.prizes[0].repeatList.size(), 101u); // whole numbers within 103 bytes
    EXPECT_EQ(table.prizes[1].id, "B");
    EXPECT_TRUE(warned("有 1 行超过 4096 字节，超出的部分已忽略"));

    // A line cut inside its numbers keeps the digits read.
    EXPECT_EQ(load("A`t`x`1`1`" + std::string(5000, '9')).prizes[0].perRound, INT_MAX);
}

TEST_F(PrizeFileTest, HalfCharacterAtTheEndOfATextIsDroppedSoTheTableReadsBack) {
    // A lead byte before the separator would pair with it when written back.
    const auto table = load("A`b\x81\r\nI\x81`x`t`" + std::string(20, 'm') + "\x81 `1`1`1`\r\n");
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.prizes[0].title, "b");
    EXPECT_EQ(table.prizes[1].id, "I\x81`x"); // 0x81 0x60 is one character
    EXPECT_EQ(table.prizes[1].image, std::string(20, 'm'));
    ASSERT_TRUE(lottery::savePrizeFile(folder.paths.prizeFile, table, nullptr));
    const auto reread = load(TempEventFolder::read(folder.paths.prizeFile));
    ASSERT_EQ(reread.count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(reread.prizes[i].id, table.prizes[i].id);
        EXPECT_EQ(reread.prizes[i].title, table.prizes[i].title);
        EXPECT_EQ(reread.prizes[i].image, table.prizes[i].image);
    }
}

TEST_F(PrizeFileTest, ReadingFromBytesMatchesReadingTheFile) {
    const std::string file = "\xEF\xBB\xBF"
                             "B`张三`x`2`1`1`\r\nA`t`x`1`1`1`\n";
    const auto fromFile = load(file);
    lottery::PrizeTable fromBytes;
    std::vector<std::string> byteWarnings;
    lottery::readPrizeText(file, "x", fromBytes, services, byteWarnings);
    EXPECT_EQ(ids(fromBytes), ids(fromFile));
    EXPECT_EQ(ids(fromBytes), (Ids{"A", "B"}));
    EXPECT_EQ(fromBytes.prizes[1].title, "\xD5\xC5\xC8\xFD");
}

TEST_F(PrizeFileTest, CarriageReturnsAloneEndNoLine) {
    // CR LF and LF end lines; a file with CR alone is one line with extra fields.
    const auto table = load("A`t`x`1`1`1`\rB`u`y`2`2`2`\r");
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.prizes[0].repeatList, "\rB");
    EXPECT_TRUE(warned("有 1 行多于七个字段"));
}
