#include "dialogs/prize_edit_dialog.h"

#include "core/gbk_codec.h"
#include "core/message_box_hook.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

std::string gbk(const QString& text) {
    return core::GbkCodec::fromQString(text);
}

QLineEdit* field(QDialog& dialog, const char* name) {
    auto* edit = dialog.findChild<QLineEdit*>(name);
    Q_ASSERT(edit);
    return edit;
}

// Types each character as an input method commits it, the way Chinese text arrives.
void type(QLineEdit* edit, const QString& text) {
    for (const QChar c : text) {
        QInputMethodEvent event;
        event.setCommitString(QString(c));
        QApplication::sendEvent(edit, &event);
    }
}

void press(QDialog& dialog, const char* button) {
    dialog.findChild<QPushButton*>(button)->click();
}

lottery::PrizeRecord prize(const char* id, const QString& title, int order) {
    lottery::PrizeRecord p;
    p.id = id;
    p.title = gbk(title);
    p.image = "car.png";
    p.total = 12;
    p.perRound = 4;
    p.order = order;
    p.repeatList = "A1,B2";
    p.rounds = 3;
    return p;
}

} // namespace

class PrizeEditDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addWritesANewRecordAtTheEnd() {
        core::MessageBoxHook hook;
        lottery::PrizeTable table;
        table.prizes.push_back(prize("A1", QStringLiteral("一等奖"), 2));
        dialogs::PrizeEditDialog dialog(table, dialogs::PrizeEditDialog::Add, 0);
        QVERIFY(field(dialog, "titleEdit")->text().isEmpty());
        QVERIFY(field(dialog, "totalEdit")->text().isEmpty());
        field(dialog, "titleEdit")->setText(QStringLiteral("特等奖"));
        field(dialog, "totalEdit")->setText("5");
        field(dialog, "perRoundEdit")->setText("5");
        field(dialog, "orderEdit")->setText("1");
        press(dialog, "okButton");

        QVERIFY(hook.messages().empty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(table.count(), 2);
        const lottery::PrizeRecord& added = table.prizes[1];
        QCOMPARE(added.title, gbk(QStringLiteral("特等奖")));
        QCOMPARE(added.id, std::string());
        QCOMPARE(added.image, std::string());
        QCOMPARE(added.repeatList, std::string());
        QCOMPARE(added.total, 5);
        QCOMPARE(added.perRound, 5);
        QCOMPARE(added.order, 1);
    }

    void validationStopsAtTheFirstFailure_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("perRound");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const QString titleMessage = QStringLiteral("奖项显示标题不能为空！");
        const QString totalMessage = QStringLiteral("抽取总人数不能小于1！");
        const QString roundMessage = QStringLiteral("单次抽取人数必须是1到30之间的整数！");
        QTest::newRow("empty title, total 0") << ""
                                              << "0"
                                              << "5" << titleMessage << "titleEdit";
        QTest::newRow("empty title, per round 31") << ""
                                                   << "5"
                                                   << "31" << titleMessage << "titleEdit";
        QTest::newRow("total empty") << "x"
                                     << ""
                                     << "5" << totalMessage << "totalEdit";
        QTest::newRow("total 0 before per round 0") << "x"
                                                    << "0"
                                                    << "0" << totalMessage << "totalEdit";
        QTest::newRow("per round 31") << "x"
                                      << "5"
                                      << "31" << roundMessage << "perRoundEdit";
        QTest::newRow("per round 0") << "x"
                                     << "5"
                                     << "0" << roundMessage << "perRoundEdit";
        QTest::newRow("per round empty") << "x"
                                         << "5"
                                         << "" << roundMessage << "perRoundEdit";
    }

    void validationStopsAtTheFirstFailure() {
        QFETCH(QString, title);
        QFETCH(QString, total);
        QFETCH(QString, perRound);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        core::MessageBoxHook hook;
        lottery::PrizeTable table;
        dialogs::PrizeEditDialog dialog(table, dialogs::PrizeEditDialog::Add, 0);
        dialog.show();
        field(dialog, "titleEdit")->setText(title);
        field(dialog, "totalEdit")->setText(total);
        field(dialog, "perRoundEdit")->setText(perRound);
        field(dialog, "idEdit")->setFocus();
        press(dialog, "okButton");

        QCOMPARE(hook.texts(), QStringList{message});
        QCOMPARE(hook.messages()[0].kind, core::MessageKind::Warning);
        QVERIFY(dialog.isVisible());
        QCOMPARE(table.count(), 0);
        QLineEdit* focused = field(dialog, focus.toLatin1().constData());
        QCOMPARE(dialog.focusWidget(), focused);
        QCOMPARE(focused->selectedText(), focused->text());
    }

    void secondPressReportsTheNextFailure() {
        core::MessageBoxHook hook;
        lottery::PrizeTable table;
        dialogs::PrizeEditDialog dialog(table, dialogs::PrizeEditDialog::Add, 0);
        dialog.show();
        field(dialog, "perRoundEdit")->setText("31");
        field(dialog, "totalEdit")->setText("3");
        press(dialog, "okButton");
        field(dialog, "titleEdit")->setText(QStringLiteral("二等奖"));
        press(dialog, "okButton");
        field(dialog, "perRoundEdit")->setText("30");
        press(dialog, "okButton");
        QCOMPARE(hook.texts(),
                 (QStringList{QStringLiteral("奖项显示标题不能为空！"),
                              QStringLiteral("单次抽取人数必须是1到30之间的整数！")}));
        QCOMPARE(table.count(), 1);
        QCOMPARE(table.prizes[0].perRound, 30);
        QCOMPARE(table.prizes[0].total, 3); // more per round than in total is allowed
    }

    void modifyShowsTheRecordAndWritesItBack() {
        core::MessageBoxHook hook;
        lottery::PrizeTable table;
        table.prizes.push_back(prize("A1", QStringLiteral("一等奖"), 1));
        table.prizes.push_back(prize("B2", QStringLiteral("二等奖"), -3));
        const lottery::PrizeRecord before = table.prizes[1];
        dialogs::PrizeEditDialog dialog(table, dialogs::PrizeEditDialog::Modify, 1);
        QCOMPARE(field(dialog, "idEdit")->text(), QStringLiteral("B2"));
        QCOMPARE(field(dialog, "titleEdit")->text(), QStringLiteral("二等奖"));
        QCOMPARE(field(dialog, "imageEdit")->text(), QStringLiteral("car.png"));
        QCOMPARE(field(dialog, "orderEdit")->text(), QStringLiteral("-3"));
        QCOMPARE(field(dialog, "totalEdit")->text(), QStringLiteral("12"));
        QCOMPARE(field(dialog, "perRoundEdit")->text(), QStringLiteral("4"));
        QCOMPARE(field(dialog, "repeatEdit")->text(), QStringLiteral("A1,B2"));
        press(dialog, "okButton");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(table.count(), 2);
        const lottery::PrizeRecord& after = table.prizes[1];
        QCOMPARE(after.id, before.id);
        QCOMPARE(after.title, before.title);
        QCOMPARE(after.image, before.image);
        QCOMPARE(after.repeatList, before.repeatList);
        QCOMPARE(after.order, before.order);
        QCOMPARE(after.total, before.total);
        QCOMPARE(after.perRound, before.perRound);
        QCOMPARE(after.rounds, 3); // left for sortPrizes

        dialogs::PrizeEditDialog change(table, dialogs::PrizeEditDialog::Modify, 0);
        field(change, "titleEdit")->setText(QStringLiteral("头奖"));
        field(change, "orderEdit")->setText("");
        press(change, "okButton");
        QCOMPARE(table.prizes[0].title, gbk(QStringLiteral("头奖")));
        QCOMPARE(table.prizes[0].order, 0);
        QVERIFY(hook.messages().empty());
    }

    void cancelWritesNothing() {
        lottery::PrizeTable table;
        table.prizes.push_back(prize("A1", QStringLiteral("一等奖"), 1));
        for (int mode : {0, 1}) {
            dialogs::PrizeEditDialog dialog(table, mode, 0);
            field(dialog, "titleEdit")->setText(QStringLiteral("改了"));
            field(dialog, "totalEdit")->setText("99");
            field(dialog, "perRoundEdit")->setText("9");
            press(dialog, "cancelButton");
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        }
        QCOMPARE(table.count(), 1);
        QCOMPARE(table.prizes[0].title, gbk(QStringLiteral("一等奖")));
        QCOMPARE(table.prizes[0].total, 12);
    }

    void typingStopsAtTheFieldsByteLength() {
        lottery::PrizeTable table;
        dialogs::PrizeEditDialog dialog(table, dialogs::PrizeEditDialog::Add, 0);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QLineEdit* title = field(dialog, "titleEdit");
        type(title, QStringLiteral("a一二三四五六七八九十"));
        // 1 + 9 x 2 bytes; the tenth character would need bytes 20 and 21.
        QCOMPARE(title->text(), QStringLiteral("a一二三四五六七八九"));
        QTest::keyClicks(title, "bc");
        QCOMPARE(title->text(), QStringLiteral("a一二三四五六七八九b"));

        QLineEdit* image = field(dialog, "imageEdit");
        QTest::keyClicks(image, QString(30, QLatin1Char('x')));
        QCOMPARE(image->text().size(), 21);
        QLineEdit* repeat = field(dialog, "repeatEdit");
        type(repeat, QString(51, QChar(0x5956)) + "12");
        QCOMPARE(repeat->text(), QString(51, QChar(0x5956)) + "1");

        QLineEdit* order = field(dialog, "orderEdit");
        QTest::keyClicks(order, "-1x2");
        QCOMPARE(order->text(), QStringLiteral("12"));
    }

    void textTheRecordCannotHoldIsRefused_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const QString emoji = QString::fromUtf8("\xF0\x9F\x8E\x81"); // a wrapped present
        QTest::newRow("id unencodable")
            << "idEdit"
            << "A" + emoji
            << QStringLiteral("唯一编号中含有无法保存的字符（如表情符号），请修改！");
        QTest::newRow("title unencodable")
            << "titleEdit" << emoji + QStringLiteral("大奖")
            << QStringLiteral("显示标题中含有无法保存的字符（如表情符号），请修改！");
        QTest::newRow("repeat unencodable")
            << "repeatEdit" << emoji
            << QStringLiteral("允许重复奖项中含有无法保存的字符（如表情符号），请修改！");
        QTest::newRow("title too long")
            << "titleEdit" << QStringLiteral("一二三四五六七八九十壹")
            << QStringLiteral("显示标题不能超过20个字节（一个汉字占2个字节）！");
        QTest::newRow("image too long")
            << "imageEdit" << QString(22, QLatin1Char('p'))
            << QStringLiteral("图片文件名不能超过21个字节（一个汉字占2个字节）！");
    }

    void textTheRecordCannotHoldIsRefused() {
        QFETCH(QString, edit);
        QFETCH(QString, text);
        QFETCH(QString, message);
        core::MessageBoxHook hook;
        lottery::PrizeTable table;
        table.prizes.push_back(prize("A1", QStringLiteral("一等奖"), 1));
        const lottery::PrizeRecord before = table.prizes[0];
        dialogs::PrizeEditDialog dialog(table, dialogs::PrizeEditDialog::Modify, 0);
        dialog.show();
        // Pasted or set text can pass the typing limit; confirming must still refuse it.
        QLineEdit* target = field(dialog, edit.toLatin1().constData());
        target->setText(text);
        QCOMPARE(target->text(), text);
        press(dialog, "okButton");
        QCOMPARE(hook.texts(), QStringList{message});
        QCOMPARE(dialog.focusWidget(), target);
        QVERIFY(dialog.isVisible());
        QCOMPARE(table.prizes[0].title, before.title);
        QCOMPARE(table.prizes[0].id, before.id);
        QCOMPARE(table.prizes[0].repeatList, before.repeatList);
    }

    void checksOfTheValuesComeFirst() {
        core::MessageBoxHook hook;
        lottery::PrizeTable table;
        dialogs::PrizeEditDialog dialog(table, dialogs::PrizeEditDialog::Add, 0);
        field(dialog, "idEdit")->setText(QString::fromUtf8("\xF0\x9F\x8E\x81"));
        field(dialog, "totalEdit")->setText("1");
        field(dialog, "perRoundEdit")->setText("1");
        press(dialog, "okButton");
        QCOMPARE(hook.texts(), QStringList{QStringLiteral("奖项显示标题不能为空！")});
    }

    void fullTableTakesNoNewRecord() {
        core::MessageBoxHook hook;
        lottery::PrizeTable table;
        table.prizes.resize(lottery::kPrizeCapacity);
        dialogs::PrizeEditDialog dialog(table, dialogs::PrizeEditDialog::Add, 0);
        dialog.show();
        field(dialog, "titleEdit")->setText(QStringLiteral("加奖"));
        field(dialog, "totalEdit")->setText("1");
        field(dialog, "perRoundEdit")->setText("1");
        press(dialog, "okButton");
        QCOMPARE(hook.texts(), QStringList{QStringLiteral("奖项已满，最多只能设置100个奖项！")});
        QCOMPARE(table.count(), lottery::kPrizeCapacity);
        QVERIFY(dialog.isVisible());
    }

    void tabOrderFollowsTheForm() {
        lottery::PrizeTable table;
        dialogs::PrizeEditDialog dialog(table, dialogs::PrizeEditDialog::Add, 0);
        QStringList order;
        QWidget* w = field(dialog, "idEdit");
        for (int i = 0; i < 9; ++i, w = w->nextInFocusChain()) {
            while (!(w->focusPolicy() & Qt::TabFocus))
                w = w->nextInFocusChain();
            order << w->objectName();
        }
        QCOMPARE(order, (QStringList{"idEdit", "titleEdit", "imageEdit", "orderEdit", "totalEdit",
                                     "perRoundEdit", "repeatEdit", "okButton", "cancelButton"}));
    }
};

QTEST_MAIN(PrizeEditDialogTest)
#include "prize_edit_dialog_test.moc"
