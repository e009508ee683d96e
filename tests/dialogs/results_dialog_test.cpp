#include "dialogs/results_csv.h"
#include "dialogs/results_dialog.h"

#include "core/ccore.h"
#include "core/gbk_codec.h"
#include "core/message_box_hook.h"
#include "core/path_conversion.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

namespace {

// The results file of two draws: only the one after the last start line is listed.
const char* const kTwoDraws = "抽奖开始日期：2026-01-01 09:00:00\r\n"
                              "2026-01-01 09:01:00\tOLD\t旧奖项\t1\t1\t上次的人\r\n"
                              "抽奖结束日期：2026-01-01 09:30:00\r\n"
                              "抽奖开始日期：2026-02-02 10:00:00\r\n"
                              "2026-02-02 10:01:07\tA1\t一等奖\t1\t1\t张三 13800000000\r\n"
                              "不是一条中奖记录\r\n"
                              "2026-02-02 10:01:07\tA1\t一等奖\t1\t2\t李四,\"王\"\r\n"
                              "2026-02-02 10:05:30\tB2\t二等奖\t2\t1\t=1+1\r\n";

class ScriptedResultsDialog : public dialogs::ResultsDialog {
public:
    using ResultsDialog::ResultsDialog;

    QString answer;
    QStringList asked;

protected:
    QString askExportPath(const QString& suggestedPath) override {
        asked << suggestedPath;
        return answer;
    }
};

class DesktopRecorder : public QObject {
    Q_OBJECT

public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }

public:
    QList<QUrl> urls;
};

template <typename T> T* child(QDialog& dialog, const char* name) {
    auto* widget = dialog.findChild<T*>(name);
    Q_ASSERT(widget);
    return widget;
}

QStringList rowTexts(QTableWidget* list, int row) {
    QStringList cells;
    for (int column = 0; column < list->columnCount(); ++column)
        cells << list->item(row, column)->text();
    return cells;
}

std::string gbk(const char* utf8) {
    return core::GbkCodec::fromUtf8(utf8);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ResultsDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(folder_->path()).mkpath("data"));
        core_ = std::make_unique<core::CCore>(folder_->path());
        paths_ = lottery::EventPaths::forFolder(core::toFsPath(folder_->path()));
        hook_ = std::make_unique<core::MessageBoxHook>();
    }

    void cleanup() {
        hook_.reset();
        core_.reset();
        folder_.reset();
    }

    void listsTheWinnersOfTheLastDraw() {
        writeResults(kTwoDraws);
        dialogs::ResultsDialog dialog(paths_, *core_);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("抽奖结果"));
        auto* list = child<QTableWidget>(dialog, "winnerList");
        QCOMPARE(list->rowCount(), 3);
        QCOMPARE(rowTexts(list, 0), QStringList({"2026-02-02 10:01:07", "A1", "一等奖", "1", "1",
                                                 "张三 13800000000"}));
        QCOMPARE(rowTexts(list, 1),
                 QStringList({"2026-02-02 10:01:07", "A1", "一等奖", "1", "2", "李四,\"王\""}));
        QCOMPARE(rowTexts(list, 2),
                 QStringList({"2026-02-02 10:05:30", "B2", "二等奖", "2", "1", "=1+1"}));
        QCOMPARE(
            child<QLabel>(dialog, "summaryLabel")->text(),
            QStringLiteral("抽奖开始日期：2026-02-02 10:00:00，已记录 3 名中奖者，抽奖进行中"));
        QVERIFY(child<QPushButton>(dialog, "openButton")->isEnabled());
        QVERIFY(child<QPushButton>(dialog, "exportButton")->isEnabled());
    }

    void aFinishedDrawSaysSo() {
        writeResults(std::string(kTwoDraws) + "抽奖结束日期：2026-02-02 11:00:00\r\n");
        dialogs::ResultsDialog dialog(paths_, *core_);
        QCOMPARE(
            child<QLabel>(dialog, "summaryLabel")->text(),
            QStringLiteral("抽奖开始日期：2026-02-02 10:00:00，已记录 3 名中奖者，抽奖已结束"));
    }

    void noResultsWithoutAFileOrAStartLine() {
        {
            dialogs::ResultsDialog dialog(paths_, *core_);
            QCOMPARE(child<QLabel>(dialog, "summaryLabel")->text(),
                     QStringLiteral("还没有抽奖结果"));
            QCOMPARE(child<QTableWidget>(dialog, "winnerList")->rowCount(), 0);
            QVERIFY(!child<QPushButton>(dialog, "openButton")->isEnabled());
            QVERIFY(!child<QPushButton>(dialog, "exportButton")->isEnabled());
        }
        writeResults("2026-02-02 10:01:07\tA1\t一等奖\t1\t1\t张三\r\n");
        dialogs::ResultsDialog dialog(paths_, *core_);
        QCOMPARE(child<QLabel>(dialog, "summaryLabel")->text(), QStringLiteral("还没有抽奖结果"));
        QCOMPARE(child<QTableWidget>(dialog, "winnerList")->rowCount(), 0);
        QVERIFY(child<QPushButton>(dialog, "openButton")->isEnabled());
    }

    void opensTheResultsFile() {
        writeResults(kTwoDraws);
        DesktopRecorder desktop;
        QDesktopServices::setUrlHandler("file", &desktop, "open");
        dialogs::ResultsDialog dialog(paths_, *core_);
        child<QPushButton>(dialog, "openButton")->click();
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(desktop.urls, QList<QUrl>{QUrl::fromLocalFile(resultPath())});
        QVERIFY(hook_->messages().empty());
    }

    void exportsToTheChosenFile() {
        writeResults(kTwoDraws);
        ScriptedResultsDialog dialog(paths_, *core_);
        const QString target = QDir(folder_->path()).filePath("导出.csv");
        dialog.answer = target;
        child<QPushButton>(dialog, "exportButton")->click();

        QCOMPARE(dialog.asked, QStringList{QDir(folder_->path()).filePath("data/抽奖结果.csv")});
        const QByteArray bytes = fileBytes(target);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(bytes.count("\r\n"), 4);
        QVERIFY(bytes.contains(QStringLiteral("张三 13800000000").toUtf8()));
        QVERIFY(!bytes.contains("上次的人"));
        QCOMPARE(hook_->messages().size(), std::size_t(1));
        QCOMPARE(hook_->messages()[0].kind, core::MessageKind::Info);
        QVERIFY(hook_->texts()[0].contains(QDir::toNativeSeparators(target)));
        QVERIFY(QDir(folder_->path()).entryList({"*.saving"}, QDir::Files).isEmpty());
    }

    void aFailedExportWarnsNamingTheFile() {
        writeResults(kTwoDraws);
        ScriptedResultsDialog dialog(paths_, *core_);
        const QString target = QDir(folder_->path()).filePath("没有的文件夹/结果.csv");
        dialog.answer = target;
        child<QPushButton>(dialog, "exportButton")->click();

        QVERIFY(!QFile::exists(target));
        QCOMPARE(hook_->messages().size(), std::size_t(1));
        QCOMPARE(hook_->messages()[0].kind, core::MessageKind::Warning);
        QVERIFY(hook_->texts()[0].startsWith(QStringLiteral("导出失败")));
        QVERIFY(hook_->texts()[0].contains(QStringLiteral("结果.csv")));
    }

    void aCancelledExportDoesNothing() {
        writeResults(kTwoDraws);
        ScriptedResultsDialog dialog(paths_, *core_);
        child<QPushButton>(dialog, "exportButton")->click();
        QCOMPARE(dialog.asked.size(), 1);
        QVERIFY(hook_->messages().empty());
        QVERIFY(!QFile::exists(QDir(folder_->path()).filePath("data/抽奖结果.csv")));
    }

    void csvBytes() {
        lottery::ResultsLog log;
        log.started = true;
        log.winners.push_back(
            {"2026-02-02 10:01:07", gbk("A1"), gbk("一等奖"), 1, 1, gbk("张三 13800000000")});
        log.winners.push_back(
            {"2026-02-02 10:01:07", gbk("A,1"), gbk("一\"等\"奖"), 1, 2, gbk("=HYPERLINK(\"x\")")});
        log.winners.push_back(
            {"2026-02-02 10:05:30", gbk("B2"), gbk("二等奖"), 12, 30, gbk("-138 0000 0000")});
        QCOMPARE(QByteArray::fromStdString(dialogs::resultsCsv(log)),
                 QByteArray("\xEF\xBB\xBF"
                            "时间,唯一编号,奖项,轮次,序号,中奖条目\r\n"
                            "2026-02-02 10:01:07,A1,一等奖,1,1,张三 13800000000\r\n"
                            "2026-02-02 10:01:07,\"A,1\",\"一\"\"等\"\"奖\",1,2,"
                            "\"'=HYPERLINK(\"\"x\"\")\"\r\n"
                            "2026-02-02 10:05:30,B2,二等奖,12,30,-138 0000 0000\r\n"));
        QCOMPARE(QByteArray::fromStdString(dialogs::resultsCsv({})),
                 QByteArray("\xEF\xBB\xBF时间,唯一编号,奖项,轮次,序号,中奖条目\r\n"));
    }

    void csvField_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("plain") << QByteArray("张三") << QByteArray("张三");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("comma") << QByteArray("a,b") << QByteArray("\"a,b\"");
        QTest::newRow("quote") << QByteArray("a\"b") << QByteArray("\"a\"\"b\"");
        QTest::newRow("CR") << QByteArray("a\rb") << QByteArray("\"a\rb\"");
        QTest::newRow("LF") << QByteArray("a\nb") << QByteArray("\"a\nb\"");
        QTest::newRow("equals") << QByteArray("=1+1") << QByteArray("'=1+1");
        QTest::newRow("plus") << QByteArray("+86 138") << QByteArray("'+86 138");
        QTest::newRow("at") << QByteArray("@SUM(A1)") << QByteArray("'@SUM(A1)");
        QTest::newRow("leading tab") << QByteArray("\t=1") << QByteArray("'\t=1");
        QTest::newRow("guarded and quoted") << QByteArray("=a,b") << QByteArray("\"'=a,b\"");
        QTest::newRow("minus word") << QByteArray("-abc") << QByteArray("'-abc");
        QTest::newRow("negative number") << QByteArray("-12.5") << QByteArray("-12.5");
        QTest::newRow("phone") << QByteArray("-138-0000-0000") << QByteArray("-138-0000-0000");
        QTest::newRow("minus digit formula")
            << QByteArray("-1+cmd|' /C calc'!A0") << QByteArray("'-1+cmd|' /C calc'!A0");
        QTest::newRow("inner equals") << QByteArray("a=b") << QByteArray("a=b");
    }

    void csvField() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, field);
        QCOMPARE(QByteArray::fromStdString(dialogs::csvField(text.toStdString())), field);
    }

private:
    QString resultPath() const { return core::toQString(paths_.resultFile); }

    void writeResults(const std::string& utf8) {
        QFile file(resultPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        const std::string bytes = gbk(utf8.c_str());
        QCOMPARE(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
    }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<core::CCore> core_;
    lottery::EventPaths paths_;
    std::unique_ptr<core::MessageBoxHook> hook_;
};

QTEST_MAIN(ResultsDialogTest)
#include "results_dialog_test.moc"
