#include "dialogs/prize_edit_dialog.h"

#include "core/message_box_hook.h"
#include "dialog_driver.h"

#include <QInputMethodEvent>

namespace {
const std::string kHeldTotal = "这个奖项在本次抽奖中已有 4 名中奖者，抽取总人数不能少于这个数。";
const std::string kHeldId = "这个奖项在本次抽奖中已有中奖者，不能修改唯一编号。";
} // namespace

class PrizeEditDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void confirm_data() {
        QTest::addColumn<int>("existing");
        QTest::addColumn<QStringList>("edits"); // over a valid title, total and per round
        QTest::addColumn<QString>("message");   // empty: accepted
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("modified"); // the record of A1 B2 C3 changed; -1: one is added
        auto row = [](const char* name, const QStringList& edits, const QString& message = {},
                      const char* focus = "", int existing = 1, int modified = -1) {
            QTest::newRow(name) << existing << edits << message << QString(focus) << modified;
        };
        // The draw holds 4 winners of B2 (record 1).
        auto modify = [&row](const char* name, int record, const QStringList& edits,
                             const QString& message = {}, const char* focus = "") {
            row(name, edits, message, focus, 3, record);
        };
        const QString title = QStringLiteral("奖项显示标题不能为空！");
        const QString total = QStringLiteral("抽取总人数不能小于1！");
        const QString round = QStringLiteral("单次抽取人数必须是1到30之间的整数！");
        const QString emoji = QString::fromUtf8("\xF0\x9F\x8E\x81");
        const QString tenHan = QStringLiteral("一二三四五六七八九十");
        row("empty title first",
            {"titleEdit=", "totalEdit=0", "perRoundEdit=31", "idEdit=" + emoji}, title,
            "titleEdit");
        row("blank title", {"titleEdit= "});
        row("total 0 before per round 0", {"totalEdit=0", "perRoundEdit=0"}, total, "totalEdit");
        row("per round 0 before emoji id", {"perRoundEdit=0", "idEdit=" + emoji}, round,
            "perRoundEdit");
        row("per round 31", {"perRoundEdit=31"}, round, "perRoundEdit");
        row("per round 30 above total", {"totalEdit=3", "perRoundEdit=30"});
        row("title of 20 bytes", {"titleEdit=" + tenHan});
        row("id of 21 bytes", {"idEdit=" + tenHan + "a"},
            QStringLiteral("唯一编号不能超过20个字节（一个汉字占2个字节）！"), "idEdit");
        row("image of 22 bytes", {"imageEdit=" + QString(22, 'p')},
            QStringLiteral("图片文件名不能超过21个字节（一个汉字占2个字节）！"), "imageEdit");
        row("title not GBK", {"titleEdit=" + emoji},
            QStringLiteral("显示标题中含有无法保存的字符（如表情符号），请修改！"), "titleEdit");
        row("repeat list not GBK", {"repeatEdit=A1," + emoji},
            QStringLiteral("允许重复奖项中含有无法保存的字符（如表情符号），请修改！"),
            "repeatEdit");
        auto separator = [](const char* field) {
            return QString::fromUtf8(field) + QStringLiteral("不能包含字符 ` 或换行。");
        };
        row("backtick in title", {"titleEdit=Mac`Pro"}, separator("显示标题"), "titleEdit");
        row("line feed in id", {"idEdit=A\n1"}, separator("唯一编号"), "idEdit");
        row("carriage return in image", {"imageEdit=a.png\r"}, separator("图片文件名"),
            "imageEdit");
        row("backtick in repeat list", {"repeatEdit=A`B"}, separator("允许重复奖项"), "repeatEdit");
        row("repeat list not GBK before backtick title", {"titleEdit=`", "repeatEdit=" + emoji},
            QStringLiteral("允许重复奖项中含有无法保存的字符（如表情符号），请修改！"),
            "repeatEdit");
        row("full table before backtick title", {"idEdit=", "titleEdit=`"},
            QStringLiteral("奖项已满，最多只能设置100个奖项！"), "idEdit", lottery::kPrizeCapacity);
        const QString held = QString::fromStdString(kHeldTotal);
        modify("total below the draw's winners", 1, {"totalEdit=3"}, held, "totalEdit");
        modify("total at the draw's winners", 1, {"totalEdit=4", "perRoundEdit=2"});
        modify("backtick title before total below winners", 1, {"titleEdit=`", "totalEdit=3"},
               separator("显示标题"), "titleEdit");
        modify("total below winners before new id", 1, {"totalEdit=3", "idEdit=B9"}, held,
               "totalEdit");
        modify("new id of a prize with winners", 1, {"idEdit=B9"}, QString::fromStdString(kHeldId),
               "idEdit");
        modify("other edits of a prize with winners", 1,
               {"imageEdit=car.png", "orderEdit=9", "repeatEdit=A1"});
        modify("new id of a prize without winners", 2, {"idEdit=C9", "totalEdit=1"});
    }

    void confirm() {
        QFETCH(int, existing);
        QFETCH(QStringList, edits);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(int, modified);
        core::MessageBoxHook hook;
        lottery::PrizeTable table;
        table.prizes.resize(std::size_t(existing));
        if (modified >= 0)
            table.prizes = {prize("A1", "a", 1), prize("B2", "b", 2), prize("C3", "c", 3)};
        dialogs::DrawGuard guard;
        guard.whyNotTotal = [](int i, int total) {
            return i == 1 && total < 4 ? kHeldTotal : std::string();
        };
        guard.whyNotChangeId = [](int i) { return i == 1 ? kHeldId : std::string(); };
        dialogs::PrizeEditDialog dialog(
            table, modified < 0 ? dialogs::PrizeEditDialog::Add : dialogs::PrizeEditDialog::Modify,
            modified, guard);
        dialog.show();
        setEdits(dialog, {"titleEdit=x", "totalEdit=5", "perRoundEdit=5"});
        setEdits(dialog, edits);
        child<QLineEdit>(dialog, "idEdit")->setFocus();
        press(dialog, "okButton");

        QCOMPARE(hook.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(message.isEmpty() || hook.messages()[0].kind == core::MessageKind::Warning);
        QCOMPARE(table.count(), existing + (message.isEmpty() && modified < 0 ? 1 : 0));
        if (modified >= 0) // refused: the record as it was
            QCOMPARE(table.prizes[std::size_t(modified)].title,
                     std::string(message.isEmpty() ? "x" : "b"));
        QCOMPARE(dialog.isVisible(), !message.isEmpty());
        QVERIFY(message.isEmpty() || focusedAndSelected(dialog, focus));
    }

    void typingStopsAtTheByteLimit() {
        lottery::PrizeTable table;
        dialogs::PrizeEditDialog dialog(table, dialogs::PrizeEditDialog::Add, 0);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* title = child<QLineEdit>(dialog, "titleEdit");
        // Each character arrives as an input method commits it, the way Chinese text does.
        for (const QChar c : QStringLiteral("a一二三四五六七八九十bc")) {
            QInputMethodEvent event;
            event.setCommitString(QString(c));
            QApplication::sendEvent(title, &event);
        }
        // 1 + 9 x 2 bytes: the tenth character would need bytes 20 and 21, a letter fits.
        QCOMPARE(title->text(), QStringLiteral("a一二三四五六七八九b"));
    }
};

QTEST_MAIN(PrizeEditDialogTest)
#include "prize_edit_dialog_test.moc"
