#include "lottery/import_guess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

struct GuessCase {
    const char* name;
    Rows rows;
    bool header;
    std::vector<int> columns;
};

const GuessCase kCases[] = {
    {"header words, id first",
     {{"工号", "姓名", "部门"}, {"1001", "张三", "销售部"}, {"1002", "李四", "销售部"}},
     true,
     {2, 1}},
    {"english header", {{"No.", "Name"}, {"A-17", "Ann Lee"}, {"A-18", "Bo Chen"}}, true, {2, 1}},
    {"员工编号 is an id",
     {{"员工编号", "员工姓名"}, {"E01", "王五"}, {"E02", "赵六"}},
     true,
     {2, 1}},
    {"no header, names then phones",
     {{"张三", "13800138000"}, {"李四", "13900139000"}},
     false,
     {1, 2}},
    {"unknown header word over codes",
     {{"序列", "名单"}, {"7788", "张三"}, {"7789", "李四"}},
     true,
     {2, 1}},
    {"department repeats, the name column differs",
     {{"销售部", "张三"}, {"销售部", "李四"}, {"财务部", "王五"}},
     false,
     {2}},
    {"a row count is the id only without another",
     {{"1", "8001", "张三"}, {"2", "8002", "李四"}, {"3", "8003", "王五"}},
     false,
     {3, 2}},
    {"row count alone", {{"1", "张三"}, {"2", "李四"}}, false, {2, 1}},
    {"one column of names", {{"张三"}, {"李四"}, {"阿依·买买提"}}, false, {1}},
    {"nothing recognisable", {{"a@b.c, x", "!!"}, {"?", "#"}}, false, {1}},
    {"empty sheet", {}, false, {1}},
};

TEST(ImportGuess, Table) {
    for (const GuessCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const lottery::ImportGuess guess = lottery::guessImport(c.rows);
        EXPECT_EQ(guess.options.headerRow, c.header);
        EXPECT_EQ(guess.options.columns, c.columns);
    }
}

} // namespace
