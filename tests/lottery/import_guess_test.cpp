#include "lottery/import_guess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

struct GuessCase {
    const char* name;
    bool header;
    std::vector<int> columns;
    Rows rows;
};

// clang-format off
const GuessCase kCases[] = {
    {"header words, id first", true, {2, 1},
     {{"工号", "姓名", "部门"}, {"1001", "张三", "销售部"}, {"1002", "李四", "销售部"}}},
    {"english header", true, {2, 1}, {{"No.", "Name"}, {"A-17", "Ann Lee"}, {"A-18", "Bo Chen"}}},
    {"员工编号 is an id", true, {2, 1},
     {{"员工编号", "员工姓名"}, {"E01", "王五"}, {"E02", "赵六"}}},
    {"no header, names then phones", false, {1, 2},
     {{"张三", "13800138000"}, {"李四", "13900139000"}}},
    {"unknown header word over codes", true, {2, 1},
     {{"序列", "名单"}, {"7788", "张三"}, {"7789", "李四"}}},
    {"department repeats, the name column differs", false, {2},
     {{"销售部", "张三"}, {"销售部", "李四"}, {"财务部", "王五"}}},
    {"a row count is the id only without another", false, {3, 2},
     {{"1", "8001", "张三"}, {"2", "8002", "李四"}, {"3", "8003", "王五"}}},
    {"row count alone", false, {2, 1}, {{"1", "张三"}, {"2", "李四"}}},
    {"one column of names", false, {1}, {{"张三"}, {"李四"}, {"阿依·买买提"}}},
    {"nothing recognisable", false, {1}, {{"a@b.c, x", "!!"}, {"?", "#"}}},
    {"empty sheet", false, {1}, {}},
};
// clang-format on

TEST(ImportGuess, Table) {
    for (const GuessCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const lottery::ImportGuess guess = lottery::guessImport(c.rows);
        EXPECT_EQ(guess.options.headerRow, c.header);
        EXPECT_EQ(guess.options.columns, c.columns);
    }
}

} // namespace
