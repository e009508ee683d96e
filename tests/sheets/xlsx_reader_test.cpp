#include "sheets/cell_text.h"
#include "sheets/sheet_file.h"
#include "sheets/xlsx_reader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

QString workbook(const char* name) {
    return QDir(QStringLiteral(PRIZEDRAW_WORKBOOKS_DIR)).filePath(QString::fromUtf8(name));
}

struct ReadCase {
    const char* name;
    int sheet;
    Rows rows;
};

const ReadCase kOpenpyxl[] = {
    {"名单",
     0,
     {{"姓名", "电话", "备注"},
      {"张三", "13800138000", "0.3"},
      {"李四", "13800138000", "TRUE"},
      {},
      {"", "", "只有C列"},
      {""}}},
    {"第二页", 1, {{}, {"", "-12.5"}, {"1e-07"}}},
};

Rows readRows(sheets::XlsxReader& reader, int sheet) {
    Rows rows;
    QString problem;
    EXPECT_TRUE(reader.readSheet(
        sheet,
        [&rows](const auto& cells) {
            rows.push_back(cells);
            return true;
        },
        &problem))
        << problem.toStdString();
    return rows;
}

// From openpyxl, and made by hand as other writers leave them.
TEST(XlsxReader, ReadsWorkbooksOfOtherWriters) {
    sheets::XlsxReader reader;
    QString problem;
    ASSERT_TRUE(reader.open(workbook("openpyxl.xlsx"), &problem)) << problem.toStdString();
    ASSERT_EQ(reader.sheetNames(), (QStringList{"名单", "第二页"}));
    for (const ReadCase& c : kOpenpyxl)
        EXPECT_EQ(readRows(reader, c.sheet), c.rows) << c.name;
    ASSERT_TRUE(reader.open(workbook("rich_inline.xlsx"), &problem)) << problem.toStdString();
    EXPECT_EQ(readRows(reader, 0),
              (Rows{{"张三", "", "13800138000"}, {}, {"", "2.5", "", "FALSE"}, {"王五"}, {"ab"}}));
}

struct RefusalCase {
    const char* name;
    QByteArray bytes;
    const char* problem; // part of the message
};

QByteArray fileBytes(const char* name) {
    QFile file(workbook(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kOle("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

TEST(XlsxReader, RefusesWhatIsNoWorkbook) {
    const RefusalCase cases[] = {
        {"Encrypted",
         kOle + QByteArray(504, '\0') +
             QByteArray("E\0n\0c\0r\0y\0p\0t\0i\0o\0n\0I\0n\0f\0o\0", 28),
         "已加密"},
        {"LegacyXls", kOle + QByteArray(504, '\0'), ".xls"},
        {"Text", "name,phone\n", "不是 Excel 工作簿"},
        {"Truncated", fileBytes("truncated.xlsx"), "已损坏"},
        {"ZipWithoutWorkbook", fileBytes("not_a_workbook.xlsx"), "不是 Excel 工作簿"},
    };
    for (const RefusalCase& c : cases) {
        QByteArray bytes = c.bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        sheets::XlsxReader reader;
        QString problem;
        EXPECT_FALSE(reader.open(&buffer, &problem)) << c.name;
        EXPECT_TRUE(problem.contains(QString::fromUtf8(c.problem)))
            << c.name << ": " << problem.toStdString();
    }
}

// A file saved again while it is read may give half of each version: refused.
TEST(SheetFile, RefusesAFileChangedDuringTheRead) {
    QTemporaryDir dir;
    QFile file(dir.filePath("list.csv"));
    const auto append = [&file](const char* bytes) {
        return file.open(QIODevice::Append) && file.write(bytes) > 0 && (file.close(), true);
    };
    ASSERT_TRUE(append("a\r\nb\r\n"));
    sheets::SheetFile sheet;
    QString problem;
    ASSERT_TRUE(sheet.open(file.fileName(), &problem)) << problem.toStdString();
    EXPECT_FALSE(sheet.read(
        0, [&](const auto&) { return append("c\r\n"); }, &problem));
    EXPECT_TRUE(problem.contains(QStringLiteral("读取期间被改动"))) << problem.toStdString();
}

TEST(CellText, NumbersReadInFull) {
    const std::pair<const char*, const char*> cases[] = {
        {"13800138000", "13800138000"},
        {" 42 ", "42"},
        {"007", "7"},
        {"1234567890123456789", "1234567890123456768"}, // past a double's digits
        {"1.3800138E10", "13800138000"},
        {"1.3800138e+10", "13800138000"},
        {"0.30000000000000004", "0.30000000000000004"},
        {"-0", "0"},
        {"2.50", "2.5"},
        {"1E+25", "1e+25"},
        {"abc", "abc"},
    };
    for (const auto& [stored, shown] : cases)
        EXPECT_EQ(sheets::numberText(QString::fromLatin1(stored)), shown) << stored;
}

} // namespace
