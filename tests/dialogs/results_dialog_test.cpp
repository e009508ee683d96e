#include "dialogs/results_dialog.h"

#include "core/ccore.h"
#include "core/message_box_hook.h"
#include "core/path_conversion.h"
#include "dialog_driver.h"
#include "sheets/xlsx_reader.h"
#include "support/file_bytes.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

class ScriptedResultsDialog : public dialogs::ResultsDialog {
public:
    using ResultsDialog::ResultsDialog;
    QString answer;

protected:
    QString askExportPath(const QString&) override { return answer; }
};

const QStringList kWinners{"时间|唯一编号|奖项|轮次|序号|状态|中奖条目",
                           "2026-02-02 10:01:07|A1|一等奖|1|1|中奖|+86 张三",
                           "2026-02-02 10:01:07|A1|一等奖|1|2|缺席|李四,\"王\"",
                           "2026-02-02 10:02:00|A1|一等奖|1|2|补抽|王五",
                           "2026-02-02 10:05:30|B2|二等奖|2|1|中奖|=1+1",
                           "2026-02-02 10:05:30|B2|二等奖|2|2|中奖|-1+cmd|'/C calc'!A0",
                           "2026-02-02 10:05:30|B2|二等奖|2|3|中奖|-12.5"};

} // namespace

class ResultsDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        // Two draws: only the one after the last start line is listed.
        writeBytes(
            folder_.filePath("data/_result.txt"),
            core::GbkCodec::fromQString(
                QStringLiteral("抽奖开始日期：2026-01-01 09:00:00\r\n"
                               "2026-01-01 09:01:00\tOLD\t旧奖项\t1\t1\t上次的人\r\n"
                               "抽奖结束日期：2026-01-01 09:30:00\r\n"
                               "抽奖开始日期：2026-02-02 10:00:00\r\n"
                               "2026-02-02 10:01:07\tA1\t一等奖\t1\t1\t+86 张三\r\n"
                               "不是一条中奖记录\r\n"
                               "2026-02-02 10:01:07\tA1\t一等奖\t1\t2\t李四,\"王\"\r\n"
                               "2026-02-02 10:02:00\tA1\t一等奖\t1\t2A\t李四,\"王\"\r\n"
                               "2026-02-02 10:02:00\tA1\t一等奖\t1\t2R\t王五\r\n"
                               "2026-02-02 10:05:30\tB2\t二等奖\t2\t1\t=1+1\r\n"
                               "2026-02-02 10:05:30\tB2\t二等奖\t2\t2\t-1+cmd|'/C calc'!A0\r\n"
                               "2026-02-02 10:05:30\tB2\t二等奖\t2\t3\t-12.5\r\n"))
                .c_str());
    }

    // Listed as read, the absent mark and the replacement beside the winner they concern.
    void listsTheWinnersOfTheLastDraw() {
        ScriptedResultsDialog dialog(paths(), core_);
        QCOMPARE(rowsOf(*child<QTableWidget>(dialog, "winnerList")), kWinners.mid(1));
        QCOMPARE(
            child<QLabel>(dialog, "summaryLabel")->text(),
            QStringLiteral("抽奖开始日期：2026-02-02 10:00:00，已记录 5 名中奖者，另有 1 人缺席，"
                           "抽奖进行中"));
    }

    // 重印奖券 hands on the selected winners and replacements in the order of the file; an
    // absent mark has no ticket.
    void reprintsTheSelectedWinners() {
        core::MessageBoxHook hook;
        ScriptedResultsDialog dialog(paths(), core_);
        auto* button = child<QPushButton>(dialog, "reprintButton");
        QVERIFY(button->isHidden());
        QStringList handed;
        dialog.setReprint([&handed](const std::vector<lottery::WinnerRecord>& winners) {
            for (const lottery::WinnerRecord& w : winners)
                handed << QString::number(w.position) + core::GbkCodec::fromGbk(w.rawText);
        });
        dialog.show();
        QVERIFY(button->isVisible() && !button->isEnabled());
        auto* list = child<QTableWidget>(dialog, "winnerList");
        for (const int row : {2, 0, 1})
            list->selectionModel()->select(list->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        press(dialog, "reprintButton");
        QCOMPARE(handed, QStringList({QStringLiteral("1+86 张三"), QStringLiteral("2王五")}));
        list->clearSelection();
        list->selectRow(1); // the absent winner
        press(dialog, "reprintButton");
        QCOMPARE(handed.size(), 2);
        QCOMPARE(hook.texts().size(), 1);
    }

    // CSV as UTF-8 with a byte-order mark, CR LF, quoted where needed, formulas defused; the
    // workbook every cell a text, so phone-like and formula-like entries stay as written.
    void exportsTheWinners_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("rows"); // as read back; none: the export fails
        QTest::newRow("CSV") << "导出.csv"
                             << QStringList{
                                    "时间,唯一编号,奖项,轮次,序号,状态,中奖条目",
                                    "2026-02-02 10:01:07,A1,一等奖,1,1,中奖,'+86 张三",
                                    "2026-02-02 10:01:07,A1,一等奖,1,2,缺席,\"李四,\"\"王\"\"\"",
                                    "2026-02-02 10:02:00,A1,一等奖,1,2,补抽,王五",
                                    "2026-02-02 10:05:30,B2,二等奖,2,1,中奖,'=1+1",
                                    "2026-02-02 10:05:30,B2,二等奖,2,2,中奖,'-1+cmd|'/C calc'!A0",
                                    "2026-02-02 10:05:30,B2,二等奖,2,3,中奖,-12.5"};
        QTest::newRow("workbook") << "导出.xlsx" << kWinners;
        QTest::newRow("missing folder") << "没有的文件夹/结果.csv" << QStringList();
    }

    void exportsTheWinners() {
        QFETCH(QString, file);
        QFETCH(QStringList, rows);
        core::MessageBoxHook hook;
        ScriptedResultsDialog dialog(paths(), core_);
        dialog.answer = folder_.filePath(file);
        press(dialog, file.endsWith(".xlsx") ? "exportXlsxButton" : "exportButton");
        QCOMPARE(hook.messages().size(), std::size_t(1));
        QVERIFY2(hook.texts()[0].contains(QFileInfo(file).fileName()), qPrintable(hook.texts()[0]));
        if (rows.isEmpty()) {
            QVERIFY(!QFile::exists(dialog.answer));
            QCOMPARE(hook.messages()[0].kind, core::MessageKind::Warning);
            QVERIFY(hook.texts()[0].startsWith(QStringLiteral("导出失败")));
            return;
        }
        QCOMPARE(hook.messages()[0].kind, core::MessageKind::Info);
        QStringList read;
        if (file.endsWith(".csv")) {
            QFile csv(dialog.answer);
            QVERIFY(csv.open(QIODevice::ReadOnly));
            QCOMPARE(csv.read(3), QByteArray("\xEF\xBB\xBF"));
            read = QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"));
            QCOMPARE(read.takeLast(), QString());
        } else {
            sheets::XlsxReader reader;
            QString problem;
            QVERIFY2(reader.open(dialog.answer, &problem), qPrintable(problem));
            QVERIFY(reader.readSheet(
                0,
                [&read](const std::vector<std::string>& cells) {
                    QStringList row;
                    for (const std::string& cell : cells)
                        row << QString::fromStdString(cell);
                    read << row.join('|');
                    return true;
                },
                &problem));
        }
        QCOMPARE(read, rows);
    }

private:
    lottery::EventPaths paths() const {
        return lottery::EventPaths::forFolder(core::toFsPath(folder_.path()));
    }

    QTemporaryDir folder_;
    core::CCore core_{folder_.path()};
};

QTEST_MAIN(ResultsDialogTest)
#include "results_dialog_test.moc"
