#include "sheets/xlsx_reader.h"
#include "sheets/xlsx_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows readBack(sheets::XlsxReader& reader, int sheet) {
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
        EXPECT_EQ(readBack(reader, s), written[s].rows) << s;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"导出 结果.xlsx"});
}

TEST(XlsxWriter, AFailedWriteLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("结果.xlsx"));
    struct Case {
        const char* name;
        QString path;
        QString sheetName;
    };
    const Case cases[] = {
        {"BadSheetName", path, QStringLiteral("a/b")},
        {"MissingFolder", dir.filePath(QStringLiteral("无/结果.xlsx")), QStringLiteral("表")},
    };
    for (const Case& c : cases) {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        QString problem;
        EXPECT_FALSE(sheets::writeTextWorkbook(c.path, {{c.sheetName, {{"x"}}}}, &problem))
            << c.name;
        EXPECT_TRUE(problem.startsWith(QStringLiteral("无法写入"))) << problem.toStdString();
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), "old") << c.name;
        old.close();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"结果.xlsx"}) << c.name;
    }
}

} // namespace
