#include "core/message_box.h"
#include "core/message_box_hook.h"
#include "dialog_driver.h"
#include "dialogs/absent_dialog.h"
#include "dialogs/choose_prize_dialog.h"

#include <QTableWidget>

class LiveDialogsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void absentDialogConfirmsTheTickedPositions_data() {
        QTest::addColumn<QList<int>>("tickedRows");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QList<int>>("positions"); // empty: stays open
        const QString confirm = QStringLiteral("确定将选中的 2 名中奖者记为缺席并补抽吗？");
        QTest::newRow("是") << QList<int>{0, 2} << int(QMessageBox::Yes) << confirm
                            << QList<int>{3, 7};
        QTest::newRow("否") << QList<int>{0, 2} << int(QMessageBox::No) << confirm << QList<int>{};
        QTest::newRow("none ticked") << QList<int>{} << int(QMessageBox::Yes)
                                     << QStringLiteral("请先勾选缺席的中奖者。") << QList<int>{};
    }

    void absentDialogConfirmsTheTickedPositions() {
        QFETCH(QList<int>, tickedRows);
        QFETCH(int, answer);
        QFETCH(QString, message);
        QFETCH(QList<int>, positions);
        core::MessageBoxHook hook([answer](core::MessageKind, const QString&) {
            return QMessageBox::StandardButton(answer);
        });
        dialogs::AbsentDialog dialog({{3, "张*", "张三"}, {5, "李*", "李四"}, {7, "王*", "王五"}});
        dialog.show();
        auto* list = child<QTableWidget>(dialog, "winnerList");
        QCOMPARE(list->item(1, 2)->text() + list->item(1, 3)->text(), QStringLiteral("李*李四"));
        for (const int row : tickedRows)
            list->item(row, 0)->setCheckState(Qt::Checked);
        press(dialog, "okButton");
        QCOMPARE(hook.texts(), QStringList{message});
        QCOMPARE(hook.messages()[0].defaultAnswer, QMessageBox::No);
        QCOMPARE(dialog.isVisible(), positions.isEmpty());
        const std::vector<int> absent = dialog.absentPositions();
        QCOMPARE(QList<int>(absent.begin(), absent.end()), positions);
    }

    void choosePrizeDialogReturnsASelectableRow_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("chosen"); // -1: stays open
        QTest::newRow("确定 at once: the first with rounds left") << "" << 0 << 1;
        QTest::newRow("click a row, 确定") << "click" << 2 << 2;
        QTest::newRow("click a greyed row, 确定") << "click" << 0 << 1;
        QTest::newRow("double-click a row") << "double-click" << 2 << 2;
        QTest::newRow("double-click a greyed row") << "double-click" << 0 << -1;
    }

    void choosePrizeDialogReturnsASelectableRow() {
        QFETCH(QString, action);
        QFETCH(int, row);
        QFETCH(int, chosen);
        dialogs::ChoosePrizeDialog dialog({{"A", "特等奖", 1, 1, 1, 1, false},
                                           {"B", "一等奖", 1, 3, 2, 6, true},
                                           {"C", "二等奖", 0, 2, 0, 10, true}});
        dialog.show();
        auto* list = child<QTableWidget>(dialog, "prizeList");
        QCOMPARE(list->item(1, 1)->text() + list->item(1, 2)->text(), QStringLiteral("1/32/6"));
        const QPoint point = list->visualItemRect(list->item(row, 0)).center();
        // A view takes a double click only on the item its press went to.
        if (!action.isEmpty())
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
        if (action == "double-click")
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, point);
        else
            press(dialog, "okButton");
        QCOMPARE(dialog.isVisible(), chosen < 0);
        QCOMPARE(dialog.chosenRow(), chosen);
    }
};

QTEST_MAIN(LiveDialogsTest)
#include "live_dialogs_test.moc"
