#include "lottery/list_import.h"

#include "lottery/safe_file.h"
#include "support/fake_core_services.h"
#include "support/table_rows.h"
#include "support/temp_event_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::repeated;

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Duplicates = std::vector<std::pair<std::string, int>>;

const std::string kZhangSan = "\xD5\xC5\xC8\xFD";
const std::string kLiSi = "\xC0\xEE\xCB\xC4";

// "x" then hanzi past the limit: the cut falls inside a double-byte character.
const std::size_t kHanziPairs = lottery::kRawTextBytes / 4 + 1;
const std::string kCutEntry =
    "x" + repeated(kZhangSan, kHanziPairs).substr(0, (lottery::kRawTextBytes - 1) / 2 * 2);

struct ImportCase {
    const char* name;
    Rows rows;
    bool header;
    std::vector<int> columns;
    lottery::CellEncoding encoding;
    std::string file;
    int emptyRows;
    int cut;
    Duplicates duplicates;
};

const lottery::CellEncoding kUtf8 = lottery::CellEncoding::Utf8;

// One case a line: rows, header row, columns, cell encoding, written file, empty rows, cuts,
// duplicates.
// clang-format off
const std::vector<ImportCase> kCases = {
    {"HeaderAndColumnOrder", {{"name", "phone"}, {"张三", "13800138000"}, {"李四", "139"}},
     true, {2, 1}, kUtf8, "13800138000 " + kZhangSan + "\r\n139 " + kLiSi + "\r\n", 0, 0, {}},
    {"EmptyCellsLeftOutEmptyRowsSkipped", {{"a", "", " c "}, {}, {"  ", ""}, {"x"}, {"", "", "z"}},
     false, {1, 2, 3}, kUtf8, "a c\r\nx\r\nz\r\n", 2, 0, {}},
    {"Duplicates", {{"a"}, {"b"}, {"a"}, {"a"}, {"b"}, {"c"}},
     false, {1}, kUtf8, "a\r\nb\r\na\r\na\r\nb\r\nc\r\n", 0, 0, {{"a", 3}, {"b", 2}}},
    {"CutOnWholeCharacters", {{"x" + repeated("张三", kHanziPairs)}},
     false, {1}, kUtf8, kCutEntry + "\r\n", 0, 1, {}},
    {"LineBreakInCellBecomesBlank", {{"a\r\nb"}}, false, {1}, kUtf8, "a  b\r\n", 0, 0, {}},
    {"GbkCellsKeptFullwidthBlanksTrimmed", {{"\xA1\xA1" + kZhangSan + "\xA1\xA1"}, {"\xA1\xA1"}},
     false, {1}, lottery::CellEncoding::Gbk, kZhangSan + "\r\n", 1, 0, {}},
    {"ColumnsOutsideTheRowIgnored", {{"a"}}, false, {0, 5, 1}, kUtf8, "a\r\n", 0, 0, {}},
};
// clang-format on

class ListImportTest : public testing::TestWithParam<ImportCase> {};

TEST_P(ListImportTest, WritesEntries) {
    const ImportCase& c = GetParam();
    testsupport::FakeCoreServices services;
    lottery::ListImport import({c.header, c.columns}, c.encoding, services);
    for (const auto& row : c.rows)
        import.addRow(row);
    EXPECT_EQ(import.fileBytes(), c.file);
    EXPECT_EQ(import.emptyRows(), c.emptyRows);
    EXPECT_EQ(import.cut(), c.cut);
    EXPECT_EQ(import.duplicates(), c.duplicates);
    EXPECT_EQ(import.preview().size(), c.rows.size());
}

INSTANTIATE_TEST_SUITE_P(Cases, ListImportTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The old list is kept as a backup first; when no backup can be made nothing is written.
TEST(WriteImportedList, KeepsTheOldListOrWritesNothing) {
    TempEventFolder folder;
    testsupport::FakeCoreServices services;
    const std::filesystem::path& list = folder.paths.participantFile;
    TempEventFolder::write(list, "old\r\n");
    std::filesystem::path backup;
    ASSERT_TRUE(lottery::writeImportedList(list, "new\r\n", services, &backup, nullptr));
    EXPECT_EQ(backup, folder.data() / "bak_items20260101000000.txt");
    EXPECT_EQ(TempEventFolder::read(backup), "old\r\n");
    lottery::setWriteStepProbe(
        [](lottery::WriteStep step) { return step != lottery::WriteStep::Create; });
    std::string problem;
    EXPECT_FALSE(lottery::writeImportedList(list, "newer\r\n", services, nullptr, &problem));
    lottery::setWriteStepProbe(nullptr);
    EXPECT_NE(problem.find("bak_items"), std::string::npos) << problem;
    EXPECT_EQ(TempEventFolder::read(list), "new\r\n");
}

} // namespace
