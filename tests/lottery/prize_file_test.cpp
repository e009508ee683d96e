#include "lottery/prize_file.h"
#include "support/fake_core_services.h"
#include "support/temp_event_folder.h"

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

// Rounds are the ceiling or zero, at most 30 drawn a round.
TEST(PrizeRounds, AreTheCeilingOrZero) {
    const std::vector<std::vector<int>> cases = {// total, perRound, rounds
                                                 {7, 3, 3},   {6, 3, 2},  {1, 30, 1},
                                                 {2, 5, 1},   {5, 0, 0},  {0, 3, 0},
                                                 {-4, 2, 0},  {4, -2, 0}, {INT_MAX, 1, INT_MAX},
                                                 {100, 50, 4}};
    for (const auto& c : cases)
        EXPECT_EQ(lottery::roundsFor(c[0], c[1]), c[2]) << c[0] << "/" << c[1];
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
    std::string tooMany, firstHundred; // a prize more than the table takes
    for (int i = 0; i <= lottery::kPrizeCapacity; ++i) {
        tooMany += "P" + std::to_string(i) + "`t`x`" + std::to_string(i) + "`1`1`\r\n";
        firstHundred += i < lottery::kPrizeCapacity ? (i ? " P" : "P") + std::to_string(i) : "";
    }
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
        {tooMany, firstHundred.c_str(), {"有 1 个奖项超过 100 个的上限"}, true},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.file.substr(0, 80)));
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

// Each field is cut to its bytes, on whole characters, and a long line to 4096 bytes; numbers
// saturate. What is saved reads back the same.
TEST_F(PrizeFileTest, FieldsAreCutToTheirLimits) {
    using std::string;
    string repeat; // 119 bytes
    for (int i = 0; i < 30; ++i)
        repeat += (i ? "," : "") + std::to_string(100 + i);
    string twelves; // past a line's 4096 bytes
    while (twelves.size() < 6000)
        twelves += "12,";
    const string zhangsan = "ab" + string(10, '\0') + "\xD5\xC5\xC8\xFD\xD5\xC5\xC8\xFD";
    const struct {
        string file, saved;
        const char* warned;
    } cases[] = {
        // clang-format off
        {string(25, 'i') + "`a`x`1`1`1`", string(20, 'i') + "`a`x`1`1`1`\r\n",
         "有 1 个唯一编号超过 20 字节"},
        // The 21-byte title ends inside 张.
        {"A`a" + string(18, 't') + "\xD5\xC5`x`1`1`1`", "A`a" + string(18, 't') + "`x`1`1`1`\r\n",
         "有 1 个显示标题超过 20 字节"},
        {"A`t`" + string(30, 'm') + "`1`1`1`", "A`t`" + string(21, 'm') + "`1`1`1`\r\n",
         "有 1 个图片文件名超过 21 字节"},
        {"A`t`x`1`1`1`" + repeat, "A`t`x`1`1`1`" + repeat.substr(0, 103) + "\r\n",
         "有 1 个允许重复奖项超过 103 字节"},
        {"B`" + zhangsan + "`img`2`1`1`1``", "B`" + zhangsan + "`img`2`1`1`1\r\n",
         "有 1 行多于七个字段"},
        // Whole numbers within 103 bytes; the next line is read.
        {"A`t`x`1`1`1`" + twelves + "\r\nB`u`y`2`1`1`\r\n",
         "A`t`x`1`1`1`" + twelves.substr(0, 101) + "\r\nB`u`y`2`1`1`\r\n",
         "有 1 行超过 4096 字节，超出的部分已忽略"},
        // A line cut inside its numbers keeps the digits read.
        {"A`t`x`1`1`" + string(5000, '9'), "A`t`x`1`1`2147483647`\r\n", ""},
        {"A`t`x`99999999999`-99999999999`4294967297`",
         "A`t`x`2147483647`-2147483648`2147483647`\r\n", "读作 2147483647"},
        // 0x81 0x60 is one character; a lone lead byte before a separator is dropped, since it
        // would pair with the separator when written back.
        {"A`x\x81`y`img`1`1`1`\r\nB`b\x81\r\nI\x81`x`t`" + string(20, 'm') + "\x81 `1`1`1`",
         "B`b``0`0`0`\r\nA`x\x81`y`img`1`1`1`\r\nI\x81`x`t`" + string(20, 'm') + "`1`1`1`\r\n", ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.file.substr(0, 60)));
        EXPECT_EQ(saved(load(c.file)), c.saved);
        EXPECT_TRUE(!*c.warned || warned(c.warned));
        EXPECT_EQ(saved(load(c.saved)), c.saved);
    }
}
