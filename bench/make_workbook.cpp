// Writes a workbook of a big event: make_workbook FILE.xlsx ROWS
// A header row (姓名, 部门, 手机), then one participant a row with the phone number stored as
// a number, as spreadsheets keep them. Every 1000th name repeats the one before.
#include <xlsxwriter.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_workbook FILE.xlsx ROWS\n");
        return 2;
    }
    const long rows = std::strtol(argv[2], nullptr, 10);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // rows go to disk as they are written
    lxw_workbook* book = workbook_new_opt(argv[1], &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "名单");
    worksheet_write_string(sheet, 0, 0, "姓名", nullptr);
    worksheet_write_string(sheet, 0, 1, "部门", nullptr);
    worksheet_write_string(sheet, 0, 2, "手机", nullptr);
    static const char* const departments[] = {"销售部", "市场部", "研发部", "财务部"};
    for (long i = 1; i <= rows; ++i) {
        const long person = i % 1000 == 0 ? i - 1 : i;
        const std::string name = "参与者" + std::to_string(person);
        const auto row = static_cast<lxw_row_t>(i);
        worksheet_write_string(sheet, row, 0, name.c_str(), nullptr);
        worksheet_write_string(sheet, row, 1, departments[person % 4], nullptr);
        worksheet_write_number(sheet, row, 2, 13800000000.0 + static_cast<double>(person), nullptr);
    }
    return workbook_close(book) == LXW_NO_ERROR ? 0 : 1;
}
