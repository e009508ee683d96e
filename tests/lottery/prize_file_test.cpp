#include "lottery/prize_file.h"
#include "support/fake_core_services.h"
#include "temp_event_folder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

// ASCII text as UTF-16LE after its byte-order mark.
std::string utf16le(std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii)
        bytes += {c, '\0'};
    return bytes;
}

class PrizeFileTest : public ::testing::Test {
protected:
    lottery::PrizeTable load(const std::string& bytes) {
        TempEventFolder::write(folder.paths.prizeFile, bytes);
        lottery::PrizeTable table;
        warnings.clear();
        lottery::loadPrizeFile(folder.paths.prizeFile, table, services, warnings, &report);
        return table;
    }
    std::string saved(const lottery::PrizeTable& table) {
        std::string problem;
        EXPECT_TRUE(lottery::savePrizeFile(folder.paths.prizeFile, table, &problem)) << problem;
        return TempEventFolder::read(folder.paths.prizeFile);
    }
    bool warned(const std::string& part) const { return anyWarningContains(warnings, part); }

    TempEventFolder folder;
    testsupport::FakeCoreServices services;
    std::vector<std::string> warnings;
    lottery::PrizeLoadReport report;
};

} // namespace

// Rounds are the ceiling or zero; the last round draws the rest, none past the rounds.
TEST(PrizeRounds, AreTheCeilingAndTheLastDrawsTheRest) {
    const std::vector<std::vector<int>> cases = {
        // total, perRound, rounds, winners of the first and of the last round
        {7, 3, 3, 3, 1},     {6, 3, 2, 3, 3},  {1, 30, 1, 1, 1},
        {2, 5, 1, 2, 2},     {5, 0, 0, 0, 0},  {0, 3, 0, 0, 0},
        {-4, 2, 0, 0, 0},    {4, -2, 0, 0, 0}, {INT_MAX, 1, INT_MAX, 1, 1},
        {100, 50, 4, 30, 10}}; // drawn 30 at a time
    for (const auto& c : cases) {
        const lottery::PrizeRecord prize{"A",  "A", "", c[0],
                                         c[1], 0,   "", lottery::roundsFor(c[0], c[1])};
        EXPECT_EQ(prize.rounds, c[2]) << c[0] << "/" << c[1];
        EXPECT_EQ(lottery::winnersInRound(prize, 0), c[3]) << c[0] << "/" << c[1];
        EXPECT_EQ(lottery::winnersInRound(prize, c[2] - 1), c[4]) << c[0] << "/" << c[1];
        EXPECT_EQ(lottery::winnersInRound(prize, c[2]), 0) << c[0] << "/" << c[1];
    }
}

TEST_F(PrizeFileTest, SaveAndLoadKeepAllSevenFields) {
    lottery::PrizeTable table;
    table.prizes.push_back({"A1", "\xD2\xBB\xB5\xC8\xBD\xB1", "a.png", 5, 2, -3, "B2,C3", 0});
    table.prizes.push_back({"B2", "t", "", 1, 1, 7, "", 0});
    const std::string file = "A1`\xD2\xBB\xB5\xC8\xBD\xB1`a.png`-3`5`2`B2,C3\r\nB2`t``7`1`1`\r\n";
    EXPECT_EQ(saved(table), file);
    const auto back = load(file);
    EXPECT_EQ(back.prizes.at(0).rounds, 3);
    EXPECT_EQ(saved(back), file);
    EXPECT_EQ(warnings, (std::vector<std::string>{"奖项文件 _prize.txt：有 1 "
                                                  "个允许重复奖项的编号没有对应的奖项（如“一等奖”（"
                                                  "编号 A1）列出的“C3”），这些编号不起作用"}));

    EXPECT_EQ(saved({}), ""); // replaces the old file with 0 bytes
    EXPECT_EQ(load("").count(), 0);
}

// Prizes in draw order, ties as in the file, whatever the line ends; a line is refused rather
// than read as another prize; a prize whose counts allow no round is kept and named; the report
// tells whether saving would lose anything of the file.
TEST_F(PrizeFileTest, LinesAreReadWarnedAndAlterationsReported) {
    const struct {
        std::string file;
        const char* ids;
        std::vector<std::string> warned; // parts of the warnings; none when empty
        bool altered;
    } cases[] = {
        // clang-format off
        {"P1`a`x`3`1`1`\r\nP2`b`x`1`1`1`\r\nP3`c`x`2`1`1`\r\nP4`d`x`1`1`1`\r\n", "P2 P4 P3 P1", {},
         false},
        {"A`a`x`1`1`1`\nB`b`x`2`1`1`\n", "A B", {}, false},
        {"A`a`x`1`1`1`\r\n\r\n\r\nB`b`x`2`1`1`\r\n", "A B", {}, false},
        {"A`a`x`1`1`1`\r\n\r\nP1`Mac`Pro`img`1`7`7`\r\nP2`Mac`Pro`img`1`7`7`B\r\n", "A",
         {"有 2 行多于七个字段（第 3 行），无法确定各字段，未载入"}, true},
        {"A`t`x`1`1`1`\rB`u`y`2`2`2`\r", "", {"有 1 行多于七个字段（第 1 行）"}, true}, // CR alone
        {"A`a`x`1`1`1```\r\n", "A", {"有 1 行多于七个字段，多余的字段已忽略"}, false},
        {"A`a`x`1`1`1` B, Z ,,Y\r\nB`b`x`2`1`1`\r\n", "A B",
         {"有 2 个允许重复奖项的编号没有对应的奖项（如“a”（编号 A）列出的“Z”）"}, false},
        {"A`a`x`1`1`1`\r\nA `b`x`2`1`1`\r\nC`c`x`3`1`1`\r\nA`d`x`3`1`1`\r\nC`c`x`3`1`1`\r\n",
         "A A  C A C", {"有 2 个编号被多个奖项使用（如编号 A 共 3 个奖项），仍全部载入"}, false},
        {"B`b`x`2`1`1`\r\nA`a`x`1`1`1`", "A B", {}, false},
        {"A`a`x`01`1`1`\r\n", "A", {"第 1 行的抽取顺序“01”读作 1"}, true},
        {"A`a`x`1`3.5`1`\r\nB`b`x`2`2147483648`1`\r\n", "A B",
         {"有 2 个数字不是普通的整数（或超出 -2147483648 到 2147483647），已改读：",
          "第 1 行的抽取总人数“3.5”读作 3；第 2 行的抽取总人数“2147483648”读作 2147483647"}, true},
        {"Z`zero`x`1`5`0`\r\nN`neg`x`2`-1`3`\r\nS`short`x\r\nOK`ok`x`3`1`1`\r\n", "S Z N OK",
         {"有 3 个奖项", "“zero”（编号 Z）", "“neg”（编号 N）", "“short”（编号 S）"}, false},
        {"A`\xD2\xBB`x`1`1`1`\r\n", "A", {}, false},
        {"A`一`x`1`1`1`\r\n", "A", {"有 1 个字符无法用 GBK 表示"}, true},
        {utf16le("A`a``1`1`1`"), "A", {}, true},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.file));
        std::string ids;
        for (const auto& p : load(c.file).prizes)
            ids += (ids.empty() ? "" : " ") + p.id;
        EXPECT_EQ(ids, c.ids);
        EXPECT_EQ(warnings.empty(), c.warned.empty());
        for (const std::string& part : c.warned)
            EXPECT_TRUE(warned(part)) << part;
        EXPECT_EQ(report.altered, c.altered);
    }
}

TEST_F(PrizeFileTest, CapacityCutsAreWarned) {
    std::string file;
    for (int i = 0; i < 101; ++i)
        file += "P" + std::to_string(i) + "`t`x`" + std::to_string(i) + "`1`1`\r\n";
    auto table = load(file);
    EXPECT_EQ(table.count(), 100);
    EXPECT_EQ(table.prizes.back().id, "P99");
    EXPECT_TRUE(warned("有 1 个奖项超过 100 个的上限"));
    EXPECT_TRUE(report.altered);

    const std::string title = "ab" + std::string(10, '\0') + "\xD5\xC5\xC8\xFD\xD5\xC5\xC8\xFD";
    std::string repeat;
    for (int i = 0; i < 30; ++i)
        repeat += (i ? "," : "") + std::to_string(100 + i); // 119 bytes
    // The 21-byte title ends inside 张.
    table =
        load(std::string(25, 'i') + "`a" + std::string(18, 't') + "\xD5\xC5`" +
             std::string(30, 'm') + "`1`1`1`" + repeat + "\r\nB`" + title + "`img`2`1`1`1``\r\n");
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.prizes[0].id, std::string(20, 'i'));
    EXPECT_EQ(table.prizes[0].title, "a" + std::string(18, 't'));
    EXPECT_EQ(table.prizes[0].image, std::string(21, 'm'));
    EXPECT_EQ(table.prizes[0].repeatList, repeat.substr(0, 103));
    EXPECT_EQ(table.prizes[1].title, title);
    EXPECT_EQ(table.prizes[1].repeatList, "1");
    for (const char* w : {"有 1 个唯一编号超过 20 字节", "有 1 个显示标题超过 20 字节",
                          "有 1 个图片文件名超过 21 字节", "有 1 个允许重复奖项超过 103 字节",
                          "有 1 行多于七个字段"})
        EXPECT_TRUE(warned(w)) << w;
    EXPECT_TRUE(report.altered);
}

TEST_F(PrizeFileTest, LongLinesAreCutAndHugeNumbersSaturate) {
    std::string repeat;
    while (repeat.size() < 6000)
        repeat += "12,";
    const auto table = load("A`t`x`1`1`1`" + repeat + "\r\nB`u`y`2`1`1`\r\n");
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.prizes[0].repeatList.size(), 101u); // whole numbers within 103 bytes
    EXPECT_EQ(table.prizes[1].id, "B");
    EXPECT_TRUE(warned("有 1 行超过 4096 字节，超出的部分已忽略"));
    // A line cut inside its numbers keeps the digits read, saturated.
    EXPECT_EQ(load("A`t`x`1`1`" + std::string(5000, '9')).prizes[0].perRound, INT_MAX);
    const auto p = load("A`t`x`99999999999`-99999999999`4294967297`\r\n").prizes.at(0);
    EXPECT_EQ(std::make_tuple(p.order, p.total, p.perRound, p.rounds),
              std::make_tuple(INT_MAX, INT_MIN, INT_MAX, 0));
}

TEST_F(PrizeFileTest, DoubleByteCharactersAroundSeparatorsReadBack) {
    // 0x81 0x60 is one character; a lone lead byte before a separator is dropped, since it
    // would pair with the separator when written back.
    const std::string file =
        "A`x\x81`y`img`1`1`1`\r\nB`b\x81\r\nI\x81`x`t`" + std::string(20, 'm') + "\x81 `1`1`1`\r\n";
    const auto table = load(file);
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table.prizes[1].title, "x\x81`y");
    EXPECT_EQ(table.prizes[1].image, "img");
    EXPECT_EQ(table.prizes[0].title, "b");
    EXPECT_EQ(table.prizes[2].id, "I\x81`x");
    EXPECT_EQ(table.prizes[2].image, std::string(20, 'm'));
    const auto reread = load(saved(table));
    ASSERT_EQ(reread.count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(lottery::formatPrizeLine(reread.prizes[i]),
                  lottery::formatPrizeLine(table.prizes[i]));
}
