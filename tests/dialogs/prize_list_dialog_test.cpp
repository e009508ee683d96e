#include "dialogs/prize_list_dialog.h"

#include "core/ccore.h"
#include "core/message_box.h"
#include "core/message_box_hook.h"
#include "dialog_driver.h"
#include "dialogs/prize_edit_dialog.h"
#include "support/file_bytes.h"

#include <QDesktopServices>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUrl>

using dialogs::PrizeEditDialog;

namespace {
const QString kHeldText = QStringLiteral("这个奖项在本次抽奖中已有中奖者，不能删除。");
}

class PrizeListDialogTest : public QObject {
    Q_OBJECT

public Q_SLOTS:
    // Stands in for the desktop's file handler.
    void open(const QUrl& url) { opened_ << url; }

private Q_SLOTS:
    void init() {
        data_ = lottery::LotteryData{};
        data_.prizeTable.prizes = {prize("A1", QStringLiteral("一等奖"), 1),
                                   prize("B2", QStringLiteral("二等奖"), 2),
                                   prize("C3", QStringLiteral("三等奖"), 3)};
        data_.options.prizeIndex = 2;
        data_.options.roundIndex = 1;
        data_.options.setState(lottery::DrawState::Rolling);
        resets_ = 0;
        answer_ = QMessageBox::Yes;
        hook_ = std::make_unique<core::MessageBoxHook>([this](core::MessageKind, const QString&) {
            return QMessageBox::StandardButton(answer_);
        });
        const auto paths = lottery::EventPaths::forFolder(folder_.path().toStdString());
        // The draw holds winners of C3 (row 2) only.
        dialogs::DrawGuard guard;
        guard.whyNotDelete = [](int i) { return i == 2 ? kHeldText.toStdString() : std::string(); };
        guard.whyNotTotal = [](int i, int total) {
            return i == 2 && total < 4 ? std::string("4") : std::string();
        };
        dialog_ = std::make_unique<dialogs::PrizeListDialog>(
            data_, paths.participantFile, core_, [this] { ++resets_; }, guard);
        dialog_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
    }

    void cleanup() {
        dialog_.reset();
        hook_.reset();
    }

    void editDialogFillsTheRow_data() {
        QTest::addColumn<QString>("how");       // a button, or a double-click on row 2
        QTest::addColumn<QStringList>("edits"); // empty: cancelled
        QTest::addColumn<QString>("shown");     // unique number in the edit dialog
        QTest::addColumn<QString>("last");      // the last row afterwards
        const QString c3 = QStringLiteral("C3|三等奖|gift.png|3|6|3|X9");
        // Added last although its draw order is the smallest.
        QTest::newRow("add") << "addButton"
                             << QStringList{"idEdit=Z0",         QStringLiteral("titleEdit=特等奖"),
                                            "imageEdit=car.png", "orderEdit=0",
                                            "totalEdit=1",       "perRoundEdit=1"}
                             << "1" << QStringLiteral("Z0|特等奖|car.png|0|1|1|");
        QTest::newRow("add cancelled") << "addButton" << QStringList() << "1" << c3;
        // A modified prize keeps what the edit dialog showed of it.
        QTest::newRow("modify") << "modifyButton" << QStringList{QStringLiteral("titleEdit=头奖")}
                                << "C3" << QStringLiteral("C3|头奖|gift.png|3|6|3|X9");
        QTest::newRow("double-click cancelled") << "" << QStringList() << "C3" << c3;
        QTest::newRow("modify, total below the draw's winners")
            << "modifyButton" << QStringList{"totalEdit=3"} << "C3" << c3;
    }

    void editDialogFillsTheRow() {
        QFETCH(QString, how);
        QFETCH(QStringList, edits);
        QFETCH(QString, last);
        QString seen = "none";
        whenModalShows<PrizeEditDialog>([&seen, edits](PrizeEditDialog* edit) {
            seen = child<QLineEdit>(*edit, "idEdit")->text();
            setEdits(*edit, edits);
            press(*edit, edits.isEmpty() ? "cancelButton" : "okButton");
            if (edit->isVisible()) // refused
                press(*edit, "cancelButton");
        });
        const QPoint cell = list()->visualRect(list()->model()->index(2, 1)).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, cell);
        if (how.isEmpty())
            QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, cell);
        else
            press(*dialog_, how);
        QTEST(seen, "shown");
        QCOMPARE(rowsOf(*list()).last(), last);
        QCOMPARE(list()->rowCount(), data_.prizeTable.count());
        // 取消, or an edit refused, changes nothing.
        QCOMPARE(dialog_->prizesChanged(), last != QStringLiteral("C3|三等奖|gift.png|3|6|3|X9"));
    }

    void noEditDialogBelowTheRowsOrWhenFull() {
        const QPoint below(20, list()->viewport()->height() - 5);
        QVERIFY(!list()->indexAt(below).isValid());
        QVERIFY(!opensModal<PrizeEditDialog>(
            [&] { QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, below); }));
        QVERIFY(hook_->messages().empty() && !dialog_->prizesChanged());

        data_.prizeTable.prizes.resize(lottery::kPrizeCapacity);
        QVERIFY(!opensModal<PrizeEditDialog>([this] { press(*dialog_, "addButton"); }));
        QCOMPARE(hook_->texts(), QStringList{QStringLiteral("奖项已满，最多只能设置100个奖项！")});
        QCOMPARE(data_.prizeTable.count(), lottery::kPrizeCapacity);
    }

    void buttonsAsk_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("row"); // selected; -1 none
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("left"); // the rows afterwards
        auto row = [](const char* name, const char* button, int row, int answer,
                      const QString& message, const char* left) {
            QTest::newRow(name) << QString(button) << row << answer << message << QString(left);
        };
        const int yes = QMessageBox::Yes, no = QMessageBox::No;
        const QString none = QStringLiteral("没有选中任何记录！");
        const QString reset = QStringLiteral("确定要重置抽奖吗？");
        const QString remove = QStringLiteral("确定要删除奖项【%1】吗？");
        // Deleting the last row is the end-to-end crash run's prize change.
        row("modify, none selected", "modifyButton", -1, yes, none, "A1 B2 C3");
        row("delete, none selected", "deleteButton", -1, yes, none, "A1 B2 C3");
        row("delete first", "deleteButton", 0, yes, remove.arg("一等奖"), "B2 C3");
        row("delete refused", "deleteButton", 1, no, remove.arg("二等奖"), "A1 B2 C3");
        row("delete refused by the draw", "deleteButton", 2, yes, kHeldText, "A1 B2 C3");
        row("reset", "resetButton", -1, yes, reset, "A1 B2 C3");
        row("reset refused", "resetButton", -1, no, reset, "A1 B2 C3");
    }

    void buttonsAsk() {
        QFETCH(QString, button);
        QFETCH(int, row);
        QFETCH(int, answer);
        QFETCH(QString, message);
        QFETCH(QString, left);
        answer_ = answer;
        list()->selectRow(row);
        press(*dialog_, button);
        QCOMPARE(hook_->texts(), QStringList{message});
        QStringList stored, shown;
        for (const lottery::PrizeRecord& p : data_.prizeTable.prizes)
            stored << QString::fromStdString(p.id);
        for (int r = 0; r < list()->rowCount(); ++r)
            shown << list()->item(r, 0)->text();
        QCOMPARE(stored.join(' '), left);
        QCOMPARE(shown, stored);
        QCOMPARE(dialog_->prizesChanged(), left != "A1 B2 C3");
        // A confirmed reset sets the draw back to its start, re-places the window and closes.
        const bool reset = button == "resetButton" && answer == QMessageBox::Yes;
        const lottery::DrawOptions& o = data_.options;
        QCOMPARE(QString("%1 %2 %3").arg(o.prizeIndex).arg(o.roundIndex).arg(int(o.state())),
                 reset ? "0 0 0" : "2 1 1");
        QCOMPARE(resets_, reset ? 1 : 0);
        QCOMPARE(dialog_->isVisible(), !reset);
    }

    void participantFileIsOpenedOnlyWhenItExists() {
        QDesktopServices::setUrlHandler("file", this, "open");
        press(*dialog_, "participantsButton");
        QVERIFY(opened_.isEmpty() && !dialog_->participantFileOpened());

        writeBytes(folder_.filePath("data/_items.txt"), {});
        press(*dialog_, "participantsButton");
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(opened_, QList<QUrl>{QUrl::fromLocalFile(folder_.filePath("data/_items.txt"))});
        QVERIFY(dialog_->participantFileOpened() && !dialog_->prizesChanged());
        QVERIFY(hook_->messages().empty());
    }

private:
    QTableWidget* list() const { return dialog_->findChild<QTableWidget*>("prizeList"); }

    QTemporaryDir folder_;
    core::CCore core_{QString()};
    lottery::LotteryData data_;
    std::unique_ptr<core::MessageBoxHook> hook_;
    std::unique_ptr<dialogs::PrizeListDialog> dialog_;
    QList<QUrl> opened_;
    int answer_ = QMessageBox::Yes;
    int resets_ = 0;
};

QTEST_MAIN(PrizeListDialogTest)
#include "prize_list_dialog_test.moc"
