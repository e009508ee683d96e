// Writes a test workbook with libxlsxwriter: shared strings, a rich string, a formula with
// its text, numbers and a boolean; with "inline" the constant-memory mode's inline strings.
//   make_libxlsxwriter_book OUT.xlsx [inline]
extern "C" {
#include <xlsxwriter.h>
}

#include <cstring>

int main(int argc, char* argv[]) {
    if (argc < 2)
        return 2;
    const bool inlineStrings = argc > 2 && std::strcmp(argv[2], "inline") == 0;
    lxw_workbook_options options = {};
    options.constant_memory = inlineStrings ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* book = workbook_new_opt(argv[1], &options);
    lxw_worksheet* first = workbook_add_worksheet(book, "甲");
    lxw_worksheet* second = workbook_add_worksheet(book, "乙");
    worksheet_write_string(first, 0, 0, "张三", nullptr);
    worksheet_write_number(first, 0, 2, 13800138000.0, nullptr);
    worksheet_write_number(first, 2, 1, 2.5, nullptr);
    worksheet_write_boolean(first, 2, 3, 0, nullptr);
    if (!inlineStrings) {
        lxw_format* bold = workbook_add_format(book);
        format_set_bold(bold);
        char wang[] = "王";
        char wu[] = "五";
        lxw_rich_string_tuple boldRun = {bold, wang};
        lxw_rich_string_tuple plainRun = {nullptr, wu};
        lxw_rich_string_tuple* runs[] = {&boldRun, &plainRun, nullptr};
        worksheet_write_rich_string(first, 3, 0, runs, nullptr);
    }
    worksheet_write_formula_str(second, 0, 0, "=\"a\"&\"b\"", nullptr, "ab");
    return workbook_close(book) == LXW_NO_ERROR ? 0 : 1;
}
