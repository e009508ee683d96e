#include "dialogs/import_list_dialog.h"

#include "core/ccore.h"
#include "core/message_box_hook.h"
#include "dialog_driver.h"
#include "support/file_bytes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>

using dialogs::ImportListDialog;

namespace {

bool waitForReading(const ImportListDialog& dialog) {
    return QTest::qWaitFor([&dialog] { return !dialog.reading(); }, 5000);
}

QPushButton* importButton(ImportListDialog& dialog) {
    return child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok);
}

const QByteArray kSheet("\xEF\xBB\xBF姓名,电话\r\n张三,13800138000\r\n,\r\n张三,13800138000\r\n"
                        "李四,139\r\n");

} // namespace

class ImportListDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        writeBytes(folder_.filePath("data/_items.txt"), "old\r\n");
        writeBytes(folder_.filePath("list.csv"), kSheet);
        writeBytes(folder_.filePath("broken.xlsx"), "PK\x03\x04 not really");
    }

    // Each choice reads the file again: the summary and the import button follow it.
    void summaryFollowsTheChoices_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("header");
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<bool>("importable");

        // clang-format off
        QTest::newRow("defaults") << "list.csv" << false << "1" << "将写入 4 个条目，1 个文本重复（“张三”2 次）；跳过空行 1 行；截断 0 个" << true;
        QTest::newRow("header, phone first") << "list.csv" << true << "2,1" << "将写入 3 个条目，1 个文本重复（“13800138000 张三”2 次）；跳过空行 1 行；截断 0 个" << true;
        QTest::newRow("empty column") << "list.csv" << false << "5" << "将写入 0 个条目，没有重复；跳过空行 5 行；截断 0 个" << false;
        QTest::newRow("no column") << "list.csv" << false << "" << "请填写组成条目的列号" << false;
        QTest::newRow("unreadable workbook") << "broken.xlsx" << false << "1" << "已损坏" << false;
        // clang-format on
    }

    void summaryFollowsTheChoices() {
        QFETCH(QString, file);
        QFETCH(bool, header);
        QFETCH(QString, columns);
        QFETCH(QString, summary);
        ImportListDialog dialog(folder_.filePath(file), participantFile(), core_);
        QVERIFY(waitForReading(dialog));
        child<QCheckBox>(dialog, "headerBox")->setChecked(header);
        child<QLineEdit>(dialog, "columnsEdit")->setText(columns);
        QVERIFY(waitForReading(dialog));
        QVERIFY2(child<QLabel>(dialog, "summaryLabel")->text().contains(summary),
                 qPrintable(child<QLabel>(dialog, "summaryLabel")->text()));
        QTEST(importButton(dialog)->isEnabled(), "importable");
        auto* preview = child<QTableWidget>(dialog, "previewTable");
        QCOMPARE(preview->rowCount(), file == "list.csv" ? 5 : 0);
        QVERIFY(!preview->rowCount() || preview->item(1, 1)->text() == "13800138000");
        QVERIFY(!child<QComboBox>(dialog, "sheetBox")->isVisible());
    }

    void failedWriteWarnsAndKeepsTheDialog() {
        core::MessageBoxHook hook;
        ImportListDialog dialog(folder_.filePath("list.csv"),
                                folder_.filePath("missing/_items.txt").toStdString(), core_);
        QVERIFY(waitForReading(dialog));
        importButton(dialog)->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(hook.messages().size(), std::size_t(1));
        QCOMPARE(hook.messages()[0].kind, core::MessageKind::Warning);
        QVERIFY(hook.texts()[0].startsWith(QStringLiteral("导入失败")));
    }

private:
    std::filesystem::path participantFile() const {
        return folder_.filePath("data/_items.txt").toStdString();
    }

    QTemporaryDir folder_;
    core::CCore core_{folder_.path()};
};

QTEST_MAIN(ImportListDialogTest)
#include "import_list_dialog_test.moc"
