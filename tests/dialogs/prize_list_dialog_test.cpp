#include "dialogs/prize_list_dialog.h"

#include "core/ccore.h"
#include "core/gbk_codec.h"
#include "core/message_box.h"
#include "core/message_box_hook.h"
#include "dialogs/prize_edit_dialog.h"
#include "modal_driver.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

std::string gbk(const QString& text) {
    return core::GbkCodec::fromQString(text);
}

lottery::PrizeRecord prize(const char* id, const QString& title, int order) {
    lottery::PrizeRecord p;
    p.id = id;
    p.title = gbk(title);
    p.image = "gift.png";
    p.total = 6;
    p.perRound = 3;
    p.order = order;
    p.repeatList = "X9";
    return p;
}

// Stands in for the desktop: records the files it is asked to open.
class OpenedFiles : public QObject {
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};

} // namespace

class PrizeListDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        QVERIFY(folder_.isValid());
        data_ = lottery::LotteryData{};
        data_.prizeTable.prizes = {prize("A1", QStringLiteral("一等奖"), 1),
                                   prize("B2", QStringLiteral("二等奖"), 2),
                                   prize("C3", QStringLiteral("三等奖"), 3)};
        resets_ = 0;
        hook_ = std::make_unique<core::MessageBoxHook>(
            [this](core::MessageKind, const QString&) { return answer_; });
        answer_ = core::kAnswerYes;
        dialog_ = std::make_unique<dialogs::PrizeListDialog>(data_, participantFile(), core_,
                                                             [this] { ++resets_; });
        dialog_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
    }

    void cleanup() {
        dialog_.reset();
        hook_.reset();
    }

    void listShowsEveryRecordInItsRow() {
        QTableWidget* list = table();
        QCOMPARE(dialog_->windowTitle(), QStringLiteral("奖项列表"));
        QCOMPARE(list->columnCount(), 7);
        const QStringList headers{"唯一编号",   "显示标题",     "图片文件名",  "抽奖顺序",
                                  "抽取总人数", "单次抽取人数", "允许重复奖项"};
        const QList<int> widths{80, 80, 90, 60, 90, 90, 100};
        for (int c = 0; c < 7; ++c) {
            QCOMPARE(list->horizontalHeaderItem(c)->text(), headers[c]);
            QCOMPARE(list->columnWidth(c), widths[c]);
        }
        QCOMPARE(list->rowCount(), 3);
        QCOMPARE(rowTexts(1),
                 (QStringList{"B2", QStringLiteral("二等奖"), "gift.png", "2", "6", "3", "X9"}));
        QVERIFY(!dialog_->participantFileOpened());
        QVERIFY(!dialog_->prizesChanged());
    }

    void modifyAndDeleteNeedASelectedRow() {
        press("modifyButton");
        press("deleteButton");
        const QString none = QStringLiteral("没有选中任何记录！");
        QCOMPARE(hook_->texts(), (QStringList{none, none}));
        QCOMPARE(data_.prizeTable.count(), 3);
        QVERIFY(!dialog_->prizesChanged());
    }

    void addedPrizeShowsAsTheLastRow() {
        bool ran = false;
        whenModalShows<dialogs::PrizeEditDialog>([&ran](dialogs::PrizeEditDialog* edit) {
            ran = true;
            edit->findChild<QLineEdit*>("idEdit")->setText("Z0");
            edit->findChild<QLineEdit*>("titleEdit")->setText(QStringLiteral("特等奖"));
            edit->findChild<QLineEdit*>("orderEdit")->setText("0");
            edit->findChild<QLineEdit*>("totalEdit")->setText("1");
            edit->findChild<QLineEdit*>("perRoundEdit")->setText("1");
            edit->findChild<QPushButton*>("okButton")->click();
        });
        press("addButton");
        QVERIFY(ran);
        QCOMPARE(data_.prizeTable.count(), 4);
        QCOMPARE(table()->rowCount(), 4);
        QCOMPARE(rowTexts(3), (QStringList{"Z0", QStringLiteral("特等奖"), "", "0", "1", "1", ""}));
        QCOMPARE(rowTexts(0)[0], QStringLiteral("A1"));
        QVERIFY(dialog_->prizesChanged());
    }

    void cancelledAddStillAsksForASort() {
        whenModalShows<dialogs::PrizeEditDialog>(
            [](dialogs::PrizeEditDialog* edit) { edit->reject(); });
        press("addButton");
        QCOMPARE(data_.prizeTable.count(), 3);
        QCOMPARE(table()->rowCount(), 3);
        QVERIFY(dialog_->prizesChanged());
    }

    void fullTableRefusesTheAdd() {
        data_.prizeTable.prizes.resize(lottery::kPrizeCapacity);
        bool opened = false;
        whenModalShows<dialogs::PrizeEditDialog>(
            [&opened](dialogs::PrizeEditDialog* edit) {
                opened = true;
                edit->reject();
            },
            20);
        press("addButton");
        QTest::qWait(300);
        QVERIFY(!opened);
        QCOMPARE(hook_->texts(), QStringList{QStringLiteral("奖项已满，最多只能设置100个奖项！")});
        QCOMPARE(data_.prizeTable.count(), lottery::kPrizeCapacity);
    }

    void modifyRefreshesTheSelectedRow() {
        table()->selectRow(2);
        whenModalShows<dialogs::PrizeEditDialog>([](dialogs::PrizeEditDialog* edit) {
            QCOMPARE(edit->findChild<QLineEdit*>("idEdit")->text(), QStringLiteral("C3"));
            edit->findChild<QLineEdit*>("totalEdit")->setText("9");
            edit->findChild<QPushButton*>("okButton")->click();
        });
        press("modifyButton");
        QCOMPARE(data_.prizeTable.prizes[2].total, 9);
        QCOMPARE(rowTexts(2)[4], QStringLiteral("9"));
        QVERIFY(dialog_->prizesChanged());
    }

    void doubleClickOnARowModifiesIt() {
        QTableWidget* list = table();
        const QRect cell = list->visualRect(list->model()->index(1, 1));
        QString shown;
        whenModalShows<dialogs::PrizeEditDialog>([&shown](dialogs::PrizeEditDialog* edit) {
            shown = edit->findChild<QLineEdit*>("titleEdit")->text();
            edit->reject();
        });
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(shown, QStringLiteral("二等奖"));
        QVERIFY(dialog_->prizesChanged());
    }

    void doubleClickBelowTheRowsDoesNothing() {
        QTableWidget* list = table();
        bool opened = false;
        whenModalShows<dialogs::PrizeEditDialog>(
            [&opened](dialogs::PrizeEditDialog* edit) {
                opened = true;
                edit->reject();
            },
            20);
        const QPoint below(20, list->viewport()->height() - 5);
        QVERIFY(!list->indexAt(below).isValid());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, below);
        QTest::qWait(300);
        QVERIFY(!opened);
        QVERIFY(hook_->messages().empty());
        QVERIFY(!dialog_->prizesChanged());
    }

    void deleteAfterConfirmMovesTheRestUp() {
        table()->selectRow(0);
        press("deleteButton");
        QCOMPARE(hook_->texts(), QStringList{QStringLiteral("确定要删除奖项【一等奖】吗？")});
        QCOMPARE(hook_->messages()[0].kind, core::MessageKind::Confirm);
        QCOMPARE(data_.prizeTable.count(), 2);
        QCOMPARE(data_.prizeTable.prizes[0].id, std::string("B2"));
        QCOMPARE(data_.prizeTable.prizes[1].id, std::string("C3"));
        QCOMPARE(table()->rowCount(), 2);
        QCOMPARE(rowTexts(0)[0], QStringLiteral("B2"));
        QCOMPARE(rowTexts(1)[0], QStringLiteral("C3"));
        QVERIFY(dialog_->prizesChanged());

        table()->clearSelection();
        table()->selectRow(1);
        press("deleteButton");
        QCOMPARE(data_.prizeTable.count(), 1);
        QCOMPARE(rowTexts(0)[0], QStringLiteral("B2"));
    }

    void deleteNotConfirmedChangesNothing() {
        answer_ = core::kAnswerNo;
        table()->selectRow(1);
        press("deleteButton");
        QCOMPARE(hook_->texts(), QStringList{QStringLiteral("确定要删除奖项【二等奖】吗？")});
        QCOMPARE(data_.prizeTable.count(), 3);
        QCOMPARE(table()->rowCount(), 3);
        QVERIFY(!dialog_->prizesChanged());
    }

    void confirmedResetRestartsTheDrawAndCloses() {
        data_.options.prizeIndex = 2;
        data_.options.roundIndex = 1;
        data_.options.setState(lottery::DrawState::Rolling);
        press("resetButton");
        QCOMPARE(hook_->texts(), QStringList{QStringLiteral("确定要重置抽奖吗？")});
        QCOMPARE(resets_, 1);
        QCOMPARE(data_.options.prizeIndex, 0);
        QCOMPARE(data_.options.roundIndex, 0);
        QCOMPARE(data_.options.state(), lottery::DrawState::Ready);
        QCOMPARE(dialog_->result(), int(QDialog::Accepted));
        QVERIFY(!dialog_->isVisible());
        QCOMPARE(data_.prizeTable.count(), 3);
        QVERIFY(!dialog_->prizesChanged());
    }

    void resetNotConfirmedKeepsTheDraw() {
        answer_ = core::kAnswerNo;
        data_.options.prizeIndex = 2;
        data_.options.setState(lottery::DrawState::ShowingResult);
        press("resetButton");
        QCOMPARE(resets_, 0);
        QCOMPARE(data_.options.prizeIndex, 2);
        QCOMPARE(data_.options.state(), lottery::DrawState::ShowingResult);
        QVERIFY(dialog_->isVisible());
    }

    void participantFileIsOpenedOnlyWhenItExists() {
        OpenedFiles desktop;
        QDesktopServices::setUrlHandler("file", &desktop, "open");
        press("participantsButton");
        QVERIFY(desktop.urls.isEmpty());
        QVERIFY(hook_->messages().empty());
        QVERIFY(!dialog_->participantFileOpened());

        QVERIFY(QDir(folder_.path()).mkpath("data"));
        QFile file(folder_.filePath("data/_items.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("0001\r\n");
        file.close();
        press("participantsButton");
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(desktop.urls, QList<QUrl>{QUrl::fromLocalFile(file.fileName())});
        QVERIFY(dialog_->participantFileOpened());
        QVERIFY(!dialog_->prizesChanged());
    }

    void tabOrderFollowsTheForm() {
        QStringList order;
        QWidget* w = table();
        for (int i = 0; i < 7; ++i, w = w->nextInFocusChain()) {
            while (!(w->focusPolicy() & Qt::TabFocus))
                w = w->nextInFocusChain();
            order << w->objectName();
        }
        QCOMPARE(order, (QStringList{"prizeList", "addButton", "modifyButton", "deleteButton",
                                     "participantsButton", "resetButton", "closeButton"}));
    }

private:
    std::filesystem::path participantFile() const {
        return lottery::EventPaths::forFolder(folder_.path().toStdString()).participantFile;
    }
    QTableWidget* table() const { return dialog_->findChild<QTableWidget*>("prizeList"); }
    void press(const char* name) { dialog_->findChild<QPushButton*>(name)->click(); }
    QStringList rowTexts(int row) const {
        QStringList texts;
        for (int c = 0; c < table()->columnCount(); ++c)
            texts << table()->item(row, c)->text();
        return texts;
    }

    QTemporaryDir folder_;
    core::CCore core_{QString()};
    lottery::LotteryData data_;
    std::unique_ptr<core::MessageBoxHook> hook_;
    std::unique_ptr<dialogs::PrizeListDialog> dialog_;
    int answer_ = core::kAnswerYes;
    int resets_ = 0;
};

QTEST_MAIN(PrizeListDialogTest)
#include "prize_list_dialog_test.moc"
