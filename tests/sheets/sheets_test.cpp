#include "sheets/cell_text.h"
#include "sheets/sheet_file.h"
#include "sheets/xlsx_reader.h"
#include "sheets/xlsx_writer.h"

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

Rows readRows(sheets::XlsxReader& reader, int sheet) {
    Rows rows;
    QString problem;
    const auto add = [&rows](const auto& cells) { return rows.push_back(cells), true; };
    EXPECT_TRUE(reader.readSheet(sheet, add, &problem)) << problem.toStdString();
    return rows;
}

// From openpyxl, and made by hand as other writers leave them: inline strings, a shared string
// in two rich runs, a number, a boolean and a formula with its text.
TEST(XlsxReader, ReadsWorkbooksOfOtherWriters) {
    const struct {
        const char* file;
        QStringList sheets;
        std::vector<Rows> rows;
    } cases[] = {
        {"openpyxl.xlsx",
         {"名单", "第二页"},
         {{{"姓名", "电话", "备注"},
           {"张三", "13800138000", "0.3"},
           {"李四", "13800138000", "TRUE"},
           {},
           {"", "", "只有C列"},
           {""}},
          {{}, {"", "-12.5"}, {"1e-07"}}}},
        {"rich_inline.xlsx",
         {"名单"},
         {{{"张三", "", "13800138000"}, {}, {"", "2.5", "", "FALSE"}, {"王五"}, {"ab"}}}},
    };
    for (const auto& c : cases) {
        sheets::XlsxReader reader;
        QString problem;
        ASSERT_TRUE(reader.open(workbook(c.file), &problem)) << problem.toStdString();
        EXPECT_EQ(reader.sheetNames(), c.sheets) << c.file;
        for (int sheet = 0; sheet < int(c.rows.size()); ++sheet)
            EXPECT_EQ(readRows(reader, sheet), c.rows[sheet]) << c.file << " " << sheet;
    }
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

TEST(XlsxWriter, WritesSeveralSheetsOfTexts) {
    QTemporaryDir dir;
    const std::vector<sheets::TextSheet> written{
        {QStringLiteral("抽奖结果"), {{"序号", "电话"}, {"1", "13800138000"}, {}, {"", "a\tb"}}},
        {QStringLiteral("最终中奖名单"), {{"张三"}, {"007"}}},
    };
    const QString path = dir.filePath(QStringLiteral("导出 结果.xlsx"));
    QString problem;
    ASSERT_TRUE(sheets::writeTextWorkbook(path, written, &problem)) << problem.toStdString();

    sheets::XlsxReader reader;
    ASSERT_TRUE(reader.open(path, &problem)) << problem.toStdString();
    ASSERT_EQ(reader.sheetNames(), (QStringList{"抽奖结果", "最终中奖名单"}));
    for (int s = 0; s < 2; ++s)
        EXPECT_EQ(readRows(reader, s), written[s].rows) << s;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"导出 结果.xlsx"});
}

TEST(XlsxWriter, AFailedWriteLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("结果.xlsx"));
    const std::pair<QString, QString> cases[] = {
        {path, QStringLiteral("a/b")}, // a name no sheet may have
        {dir.filePath(QStringLiteral("无/结果.xlsx")), QStringLiteral("表")},
    };
    for (const auto& [target, sheetName] : cases) {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QString problem;
        EXPECT_FALSE(sheets::writeTextWorkbook(target, {{sheetName, {{"x"}}}}, &problem));
        EXPECT_TRUE(problem.startsWith(QStringLiteral("无法写入"))) << problem.toStdString();
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), "old");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"结果.xlsx"});
    }
}

} // namespace
