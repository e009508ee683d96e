#include "sheets/xlsx_reader.h"
#include "sheets/xlsx_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::vector<std::string>>;

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
    for (int s = 0; s < 2; ++s) {
        Rows rows;
        EXPECT_TRUE(reader.readSheet(
            s,
            [&rows](const auto& cells) {
                rows.push_back(cells);
                return true;
            },
            &problem));
        EXPECT_EQ(rows, written[s].rows) << s;
    }
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
