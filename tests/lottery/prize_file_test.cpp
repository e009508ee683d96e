#include "lottery/prize_file.h"
#include "support/fake_core_services.h"
#include "support/table_rows.h"
#include "temp_event_folder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using testsupport::repeated;
using Texts = std::vector<std::string>;

// ASCII text as UTF-16LE after its byte-order mark.
std::string utf16le(std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii)
        bytes += {c, '\0'};
    return bytes;
}

// One prize per line, "P<i>`t`x`<i>`1`1`".
std::string numberedPrizes(int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += "P" + std::to_string(i) + "`t`x`" + std::to_string(i) + "`1`1`\r\n";
    return out;
}

struct Case {
    const char* name;
    std::string file;
    std::string saved;    // what saving the loaded table writes
    Texts warnings = {};  // a part of each warning, in order
    bool altered = false; // saving would lose or change something of the file
};

const std::string kAB = "A`a`x`1`1`1`\r\nB`b`x`2`1`1`\r\n";
const std::string kFirst = "\xD2\xBB\xB5\xC8\xBD\xB1"; // 一等奖 in GBK
const std::string kTitle = "ab" + std::string(10, '\0') + "\xD5\xC5\xC8\xFD\xD5\xC5\xC8\xFD";
const std::string kRepeat119 = "100,101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,"
                               "116,117,118,119,120,121,122,123,124,125,126,127,128,129";

const Case kCases[] = {
    {"empty", "", ""},
    {"sorted stably by order", "P1`a`x`3`1`1`\r\nP2`b`x`1`1`1`\r\nP3`c`x`2`1`1`\r\nP4`d`x`1`1`1`",
     "P2`b`x`1`1`1`\r\nP4`d`x`1`1`1`\r\nP3`c`x`2`1`1`\r\nP1`a`x`3`1`1`\r\n"},
    {"all seven fields",
     "A1`" + kFirst + "`a.png`-3`5`2`B2,C3\r\nB2`t``7`1`1`\r\n",
     "A1`" + kFirst + "`a.png`-3`5`2`B2,C3\r\nB2`t``7`1`1`\r\n",
     {"奖项文件 _prize.txt：有 1 个允许重复奖项的编号没有对应的奖项（如“一等奖”（编号 "
      "A1）列出的“C3”），"
      "这些编号不起作用"}},
    {"no last line end", "A`a`x`1`1`1`\r\nB`b`x`2`1`1`", kAB},
    {"LF line ends", "A`a`x`1`1`1`\nB`b`x`2`1`1`\n", kAB},
    {"empty lines", "A`a`x`1`1`1`\r\n\r\n\r\nB`b`x`2`1`1`\r\n", kAB},
    {"backticks in a title refuse the line",
     "A`a`x`1`1`1`\r\n\r\nP1`Mac`Pro`img`1`7`7`\r\nP2`Mac`Pro`img`1`7`7`B\r\n",
     "A`a`x`1`1`1`\r\n",
     {"有 2 行多于七个字段（第 3 行），无法确定各字段，未载入"},
     true},
    {"CR alone ends no line",
     "A`t`x`1`1`1`\rB`u`y`2`2`2`\r",
     "",
     {"有 1 行多于七个字段（第 1 行）"},
     true},
    {"empty fields beyond seven",
     "A`a`x`1`1`1```\r\n",
     "A`a`x`1`1`1`\r\n",
     {"有 1 行多于七个字段，多余的字段已忽略"}},
    {"unknown repeat ids",
     "A`a`x`1`1`1` B, Z ,,Y\r\nB`b`x`2`1`1`\r\n",
     "A`a`x`1`1`1` B, Z ,,Y\r\nB`b`x`2`1`1`\r\n",
     {"有 2 个允许重复奖项的编号没有对应的奖项（如“a”（编号 A）列出的“Z”）"}},
    {"shared ids are all kept",
     "A`a`x`1`1`1`\r\nA `b`x`2`1`1`\r\nC`c`x`3`1`1`\r\nA`d`x`3`1`1`\r\nC`c`x`3`1`1`\r\n",
     "A`a`x`1`1`1`\r\nA `b`x`2`1`1`\r\nC`c`x`3`1`1`\r\nA`d`x`3`1`1`\r\nC`c`x`3`1`1`\r\n",
     {"有 2 个编号被多个奖项使用（如编号 A 共 3 个奖项），仍全部载入"}},
    {"a number that reads back otherwise", "A`a`x`01`1`1`\r\n", "A`a`x`1`1`1`\r\n", {}, true},
    {"GBK", "A`\xD2\xBB`x`1`1`1`\r\n", "A`\xD2\xBB`x`1`1`1`\r\n"},
    {"UTF-8 beyond GBK",
     "A`一`x`1`1`1`\r\n",
     "A`?`x`1`1`1`\r\n",
     {"有 1 个字符无法用 GBK 表示"},
     true},
    {"UTF-16", utf16le("A`a``1`1`1`"), "A`a``1`1`1`\r\n", {}, true},
    {"invalid counts are kept, missing fields read as 0",
     "Z`zero`x`1`5`0`\r\nN`neg`x`2`-1`3`\r\nS`short`x\r\nOK`ok`x`3`1`1`\r\n",
     "S`short`x`0`0`0`\r\nZ`zero`x`1`5`0`\r\nN`neg`x`2`-1`3`\r\nOK`ok`x`3`1`1`\r\n",
     {"有 3 个奖项的抽取总人数或单次抽取人数小于 1，不会抽取：“short”（编号 S）、“zero”（编号 Z）、"
      "“neg”（编号 N）"}},
    {"more than 100 prizes",
     numberedPrizes(101),
     numberedPrizes(100),
     {"有 1 个奖项超过 100 个的上限"},
     true},
    // The title ends inside 张; the repeat list keeps whole numbers within 103 bytes.
    {"fields cut to their bytes",
     std::string(25, 'i') + "`a" + std::string(18, 't') + "\xD5\xC5`" + std::string(30, 'm') +
         "`1`1`1`" + kRepeat119 + "\r\nB`" + kTitle + "`img`2`1`1`1``\r\n",
     std::string(20, 'i') + "`a" + std::string(18, 't') + "`" + std::string(21, 'm') + "`1`1`1`" +
         kRepeat119.substr(0, 103) + "\r\nB`" + kTitle + "`img`2`1`1`1\r\n",
     {"有 1 行多于七个字段", "有 1 个唯一编号超过 20 字节", "有 1 个显示标题超过 20 字节",
      "有 1 个图片文件名超过 21 字节", "有 1 个允许重复奖项超过 103 字节",
      "有 27 个允许重复奖项的编号没有对应的奖项"},
     true},
    {"long line",
     "A`t`x`1`1`1`" + repeated("12,", 2000) + "\r\nB`u`y`2`1`1`\r\n",
     "A`t`x`1`1`1`" + repeated("12,", 34).substr(0, 101) + "\r\nB`u`y`2`1`1`\r\n",
     {"有 1 行超过 4096 字节，超出的部分已忽略", "有 1 个允许重复奖项超过 103 字节",
      "有 34 个允许重复奖项的编号没有对应的奖项"},
     true},
    {"a line cut inside its numbers",
     "A`t`x`1`1`" + std::string(5000, '9'),
     "A`t`x`1`1`2147483647`\r\n",
     {"有 1 行超过 4096 字节", "有 1 个奖项的单次抽取人数超过 30，每轮按 30 人抽取"},
     true},
    {"huge numbers saturate",
     "A`t`x`99999999999`-99999999999`4294967297`\r\n",
     "A`t`x`2147483647`-2147483648`2147483647`\r\n",
     {"小于 1，不会抽取"},
     true},
    // 0x81 0x60 is one character; a lone lead byte before a separator is dropped, since it
    // would pair with the separator when written back.
    {"double-byte characters around separators",
     "A`x\x81`y`img`1`1`1`\r\nB`b\x81\r\nI\x81`x`t`" + std::string(20, 'm') + "\x81 `1`1`1`\r\n",
     "B`b``0`0`0`\r\nA`x\x81`y`img`1`1`1`\r\nI\x81`x`t`" + std::string(20, 'm') + "`1`1`1`\r\n",
     {"有 1 个图片文件名超过 21 字节", "小于 1，不会抽取：“b”（编号 B）"},
     true},
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class PrizeFileTest : public ::testing::TestWithParam<Case> {
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

    TempEventFolder folder;
    testsupport::FakeCoreServices services;
    Texts warnings;
    lottery::PrizeLoadReport report;
};

} // namespace

TEST_P(PrizeFileTest, LoadsWarnsAndSavesBack) {
    const Case& c = GetParam();
    const lottery::PrizeTable table = load(c.file);
    ASSERT_EQ(warnings.size(), c.warnings.size()) << testing::PrintToString(warnings);
    for (std::size_t i = 0; i < warnings.size(); ++i)
        EXPECT_NE(warnings[i].find(c.warnings[i]), std::string::npos) << warnings[i];
    EXPECT_EQ(report.altered, c.altered);
    for (const lottery::PrizeRecord& p : table.prizes)
        EXPECT_EQ(p.rounds, lottery::roundsFor(p.total, p.perRound)) << p.id;
    EXPECT_EQ(saved(table), c.saved);
    load(c.saved); // what was saved reads back the same
    EXPECT_EQ(saved(table), c.saved);
}

INSTANTIATE_TEST_SUITE_P(Files, PrizeFileTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return testsupport::testName(info.param.name); });

// Rounds are the ceiling, at most 30 winners a round; zero without a valid count.
TEST(PrizeRounds, AreTheCeiling) {
    const int cases[][3] = {{7, 3, 3}, {6, 3, 2},  {1, 30, 1}, {2, 5, 1},    {5, 0, 0},
                            {0, 3, 0}, {-4, 2, 0}, {4, -2, 0}, {100, 50, 4}, {INT_MAX, 1, INT_MAX}};
    for (const auto& [total, perRound, rounds] : cases)
        EXPECT_EQ(lottery::roundsFor(total, perRound), rounds) << total << "/" << perRound;
}
