#include "console/console_window.h"
#include "core/gbk_codec.h"
#include "core/message_box_hook.h"
#include "support/draw_bench.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

namespace {

std::vector<std::string> names() {
    std::vector<std::string> gbk;
    for (const char* name : {"张三", "李四", "王五", "赵六", "孙七", "周八"})
        gbk.push_back(core::GbkCodec::fromUtf8(name));
    return gbk;
}

// A in two rounds of 2, then B in one of 1, among six entries masked on screen; the console
// is a view of the machine and records the commands it runs.
struct Draw : DrawBench {
    Draw() : DrawBench(names()) {
        for (int i = 0; i < data.participants.count(); ++i)
            data.participants.setDisplayText(i, "**");
        addPrize("A", 4, 2);
        addPrize("B", 1, 1);
        machine.addView(console);
        machine.present(); // as the program does once the window is placed
    }
    static QString name(const std::string& raw) { return core::GbkCodec::fromGbk(raw); }
    QStringList lines(const char* list) const {
        QStringList texts;
        for (const auto* item :
             console.findChild<QListWidget*>(list)->findItems("", Qt::MatchContains))
            texts << item->text();
        return texts;
    }
    QString text(const char* widget) const {
        auto* button = console.findChild<QPushButton*>(widget);
        return button ? button->text() : console.findChild<QLabel*>(widget)->text();
    }
    bool enabled(const char* widget) const {
        return console.findChild<QWidget*>(widget)->isEnabled();
    }
    console::ConsoleCommands commands() {
        const auto record = [this](const char* name) { return [this, name] { ran << name; }; };
        return {record("press"),     record("absent"),  record("choosePrize"),
                record("prizeList"), record("options"), record("results"),
                record("about"),     record("exit"),    record("swapScreens")};
    }

    QStringList ran;
    int canvasCopies = 0;
    console::ConsoleWindow console{data, machine, commands(), [this] {
                                       ++canvasCopies;
                                       return QImage(160, 90, QImage::Format_RGB32);
                                   }};
};

} // namespace

class ConsoleWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void followsTheDraw_data() {
        QTest::addColumn<int>("presses");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("progress"); // rounds and winners of 一等奖, then of 二等奖
        QTest::addColumn<bool>("absent");
        QTest::addColumn<bool>("choose");
        const auto row = [](const char* name, int presses, const char* state, const char* button,
                            const char* progress, bool absent, bool choose) {
            QTest::newRow(name) << presses << QString(state) << QString(button) << QString(progress)
                                << absent << choose;
        };
        row("ready", 0, "准备", "开始", "0/2 0/4 0/1 0/1", false, true);
        row("rolling", 1, "抽取中", "停止", "0/2 0/4 0/1 0/1", false, false);
        row("a result", 2, "显示结果", "下一轮", "1/2 2/4 0/1 0/1", true, true);
        row("next round rolls", 3, "抽取中", "停止", "1/2 2/4 0/1 0/1", false, false);
        row("last result", 6, "显示结果", "结束", "2/2 4/4 1/1 1/1", true, false);
        row("finished", 7, "已结束", "已结束", "2/2 4/4 1/1 1/1", false, false);
    }

    void followsTheDraw() {
        QFETCH(int, presses);
        QFETCH(QString, state);
        Draw d;
        d.press(presses);
        QCOMPARE(d.text("stateLabel"), "状态：" + state);
        QTEST(d.text("pressButton"), "button");
        auto* table = d.console.findChild<QTableWidget*>("prizeTable");
        QStringList cells;
        for (int row = 0; row < 2; ++row)
            cells << table->item(row, 1)->text() << table->item(row, 2)->text();
        QTEST(cells.join(' '), "progress");
        const lottery::StatusTexts& status = d.machine.picture().status;
        QCOMPARE(d.text("currentStepLabel"), QString::fromStdString(status.current));
        QCOMPARE(d.text("nextStepLabel"), QString::fromStdString(status.next));
        QTEST(d.enabled("absentButton"), "absent");
        QTEST(d.enabled("choosePrizeButton"), "choose");
        // The chain code shown is the one --verify prints last for the file on disk.
        const std::string code = d.log().chainCode;
        QCOMPARE(d.console.findChild<QLabel*>("chainLabel")->toolTip().toStdString(), code);
        QCOMPARE(code.empty(), presses == 0);
        // The preview copies the canvas at each still picture, and by the timer while rolling.
        const bool rolling = state == "抽取中";
        QCOMPARE(d.console.findChild<QTimer*>("previewTimer")->isActive(), rolling);
        const int copies = d.canvasCopies;
        d.machine.tick();
        QCOMPARE(d.canvasCopies, copies);
        d.machine.present();
        QCOMPARE(d.canvasCopies, copies + (rolling ? 0 : 1));
        QVERIFY(!d.console.findChild<QLabel*>("previewLabel")->pixmap().isNull());
    }

    void absentPositionShowsEmptyThenItsReplacement() {
        Draw d;
        d.press(2);
        const QString gone = d.name(d.machine.roundOnScreen()[0]);
        const QString kept = "2. " + d.name(d.machine.roundOnScreen()[1]);
        d.machine.declareAbsent({1});
        d.console.refreshResults(d.log());
        QCOMPARE(d.lines("roundList"), (QStringList{"1. （空缺，待补抽）　缺席：" + gone, kept}));
        QCOMPARE(d.text("pressButton"), QStringLiteral("补抽"));
        QVERIFY(!d.enabled("choosePrizeButton"));
        d.press(2);
        d.console.refreshResults(d.log());
        const QString replacement = d.name(d.machine.roundOnScreen()[0]);
        QCOMPARE(d.lines("roundList"),
                 (QStringList{"1. " + replacement + "（补抽）　缺席：" + gone, kept}));
        const QStringList results = d.lines("resultsList");
        QCOMPARE(results.size(), 3); // one line per person drawn, the latest first
        QVERIFY2(results[0].endsWith(replacement + "  补抽"), qPrintable(results[0]));
        QVERIFY2(results[2].endsWith("第1轮第1位  " + gone + "  缺席"), qPrintable(results[2]));
    }

    void problemsGoToTheListNotADialog() {
        core::MessageBoxHook hook;
        Draw d;
        // A file where the data folder should be: the results cannot be written.
        std::filesystem::remove_all(d.folder.data());
        TempEventFolder::write(d.folder.data(), "x");
        d.press(1);
        d.console.reportProblem("后来的问题");
        const QStringList problems = d.lines("problemList");
        QCOMPARE(problems.size(), 2);
        QVERIFY2(problems[0].endsWith("后来的问题"), qPrintable(problems[0]));
        QVERIFY2(problems[1].contains("抽奖结果未能写入文件"), qPrintable(problems[1]));
        QVERIFY(hook.messages().empty());
    }

    void buttonsRunTheirCommands() {
        Draw d;
        d.console.setSwapAvailable(true);
        for (const char* button : {"pressButton", "prizeListButton", "optionsButton",
                                   "resultsButton", "aboutButton", "exitButton", "swapButton"})
            d.console.findChild<QPushButton*>(button)->click();
        QCOMPARE(d.ran, (QStringList{"press", "prizeList", "options", "results", "about", "exit",
                                     "swapScreens"}));
        d.press(2); // a result is on screen: the live commands are there
        d.console.findChild<QPushButton*>("absentButton")->click();
        d.console.findChild<QPushButton*>("choosePrizeButton")->click();
        QCOMPARE(d.ran.mid(7), (QStringList{"absent", "choosePrize"}));
        d.console.setSwapAvailable(false);
        QVERIFY(!d.enabled("swapButton"));
    }

    void keys_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("presses");
        QTest::addColumn<QString>("typed"); // what a field shows after
        QTest::newRow("space on 退出") << "exitButton" << QList<int>{Qt::Key_Space} << 1 << "";
        QTest::newRow("Down on the results")
            << "resultsList" << QList<int>{Qt::Key_Down} << 1 << "";
        QTest::newRow("the clicker's other keys")
            << "pressButton"
            << QList<int>{Qt::Key_PageUp, Qt::Key_Left,   Qt::Key_Up,     Qt::Key_F5,
                          Qt::Key_B,      Qt::Key_Period, Qt::Key_Return, Qt::Key_Escape}
            << 0 << "";
        QTest::newRow("typed into a field")
            << "field" << QList<int>{Qt::Key_Space, Qt::Key_B, Qt::Key_PageDown} << 0 << " b";
        QTest::newRow("Up in a spin box") << "spin" << QList<int>{Qt::Key_Up} << 0 << "1";
    }

    void keys() {
        QFETCH(QString, focus);
        QFETCH(QList<int>, keys);
        QFETCH(int, presses);
        QFETCH(QString, typed);
        Draw d;
        (new QLineEdit(&d.console))->setObjectName("field");
        (new QSpinBox(&d.console))->setObjectName("spin");
        d.console.show();
        d.console.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d.console));
        auto* target = d.console.findChild<QWidget*>(focus);
        target->setFocus();
        for (const int key : keys)
            QTest::keyClick(target, Qt::Key(key));
        QCOMPARE(d.ran, QStringList(presses, "press"));
        QVERIFY(d.console.isVisible());
        if (auto* field = qobject_cast<QLineEdit*>(target))
            QCOMPARE(field->text(), typed);
        if (auto* spin = qobject_cast<QSpinBox*>(target))
            QCOMPARE(spin->text(), typed);
    }
};

QTEST_MAIN(ConsoleWindowTest)
#include "console_window_test.moc"
