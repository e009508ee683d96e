#include "app/main_window.h"
#include "core/message_box_hook.h"
#include "dialogs/dialog_driver.h"
#include "dialogs/prize_list_dialog.h"
#include "drawscreen/draw_window.h"
#include "event_files.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// Prizes listed out of draw order, and three entries.
void writeEvent(const QString& folder, bool prizes = true, bool entries = true) {
    if (prizes)
        writeGbk(folder + "/data/_prize.txt",
                 QStringLiteral("B`二等奖`b.png`2`3`3`\r\nA`一等奖`a.png`1`1`1`\r\n"));
    if (entries)
        writeGbk(folder + "/data/_items.txt", QStringLiteral("张三\r\n李四\r\n王五\r\n"));
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void displayScaleAndDrawWindowRect();
    void startUp_data();
    void startUp();
    void keysBeforeTheLoadDoNothingAndNeverClose();
    void shutdownWritesSettingsAndPrizesInDrawOrder();
    void closedBeforeTheLoadKeepsThePrizeFile();
    void prizeListChangeSortsAndSavesAtOnce();
    void keyboardMenuOpensNearTheTopLeftCorner();
};

void MainWindowTest::displayScaleAndDrawWindowRect() {
    QCOMPARE(app::MainWindow::displayScaleFor(1120), 0.8f);
    QCOMPARE(app::MainWindow::displayScaleFor(1121), 1.0f);
    QTemporaryDir dir;
    core::MessageBoxHook hook;
    app::MainWindow window(dir.path(), QSize(1024, 768));
    QCOMPARE(window.drawWindowRect(), QRect(QPoint(102, 76), QPoint(921 - 1, 729 - 1)));
    QCOMPARE(window.displayScale(), 0.8f);
}

void MainWindowTest::startUp_data() {
    QTest::addColumn<bool>("prizes");
    QTest::addColumn<bool>("entries");
    QTest::addColumn<QString>("warning");
    QTest::newRow("everything") << true << true << QString();
    QTest::newRow("no prizes, no entries") << false << false << QStringLiteral("奖项没有设置！");
    QTest::newRow("no prizes") << false << true << QStringLiteral("奖项没有设置！");
    QTest::newRow("no entries") << true << false << QStringLiteral("抽奖数据文件不能为空！\n\n");
}

void MainWindowTest::startUp() {
    QFETCH(bool, prizes);
    QFETCH(bool, entries);
    QFETCH(QString, warning);
    QTemporaryDir dir;
    writeEvent(dir.path(), prizes, entries);
    core::MessageBoxHook hook;
    const auto window = startedWindow(dir.path());
    if (warning.isEmpty()) {
        QVERIFY(hook.texts().isEmpty());
        QVERIFY(window->drawWindow() && window->drawWindow()->isVisible());
        QCOMPARE(window->drawWindow()->geometry(), QRect(192, 108, 1535, 917));
        QVERIFY(window->data().prizeTable.prizes.at(0).id == "A"); // sorted at load
        QCOMPARE(window->data().participants.count(), 3);
        return;
    }
    QCOMPARE(hook.texts().size(), 1);
    QVERIFY2(hook.texts().first().startsWith(warning), qPrintable(hook.texts().first()));
    QVERIFY(!window->drawWindow());
    // Without a draw window the menu's reset still sets the draw back.
    window->data().options.roundIndex = 2;
    whenModalShows<dialogs::PrizeListDialog>(
        [](dialogs::PrizeListDialog* dialog) { press(*dialog, QStringLiteral("resetButton")); });
    window->OnPrizeList();
    QCOMPARE(window->data().options.roundIndex, 0);
}

void MainWindowTest::keysBeforeTheLoadDoNothingAndNeverClose() {
    QTemporaryDir dir;
    writeEvent(dir.path());
    core::MessageBoxHook hook;
    app::MainWindow window(dir.path(), QSize(1920, 1080));
    window.show();
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Escape, Qt::Key_Return})
        QTest::keyClick(&window, key);
    QVERIFY(window.isVisible());
    QTest::qWait(300);
    QVERIFY(window.drawWindow());
    QCOMPARE(window.data().options.state(), lottery::DrawState::Ready);
    QVERIFY(!QFile::exists(dir.path() + "/data/_result.txt"));

    // Once loaded, a space on the main window starts the roll, once.
    QTest::keyClick(&window, Qt::Key_Space);
    QCOMPARE(window.data().options.state(), lottery::DrawState::Rolling);
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
}

void MainWindowTest::shutdownWritesSettingsAndPrizesInDrawOrder() {
    QTemporaryDir dir;
    writeEvent(dir.path());
    core::MessageBoxHook hook;
    {
        const auto window = startedWindow(dir.path());
        window->data().options.print = 1;
        window->data().options.hstart = 4;
        window->OnExit();
    }
    QVERIFY(hook.texts().isEmpty());
    QCOMPARE(readGbk(dir.path() + "/data/_prize.txt"),
             QStringLiteral("A`一等奖`a.png`1`1`1`\r\nB`二等奖`b.png`2`3`3`\r\n"));
    QSettings settings(dir.path() + "/prizedraw.ini", QSettings::IniFormat);
    QCOMPARE(settings.value("print").toInt(), 1);
    QCOMPARE(settings.value("hstart").toInt(), 4);
}

void MainWindowTest::closedBeforeTheLoadKeepsThePrizeFile() {
    QTemporaryDir dir;
    writeEvent(dir.path());
    const QString before = readGbk(dir.path() + "/data/_prize.txt");
    core::MessageBoxHook hook;
    app::MainWindow(dir.path(), QSize(1920, 1080)).close();
    QCOMPARE(readGbk(dir.path() + "/data/_prize.txt"), before);
}

void MainWindowTest::prizeListChangeSortsAndSavesAtOnce() {
    QTemporaryDir dir;
    writeEvent(dir.path());
    core::MessageBoxHook hook; // confirms the delete
    const auto window = startedWindow(dir.path());
    window->data().prizeTable.prizes.at(0).order = 5; // A behind B once sorted
    whenModalShows<dialogs::PrizeListDialog>(
        [](dialogs::PrizeListDialog* dialog) { dialog->done(QDialog::Accepted); });
    window->OnPrizeList();
    QVERIFY(window->data().prizeTable.prizes.at(0).id == "A"); // nothing changed, none sorted

    whenModalShows<dialogs::PrizeListDialog>([](dialogs::PrizeListDialog* dialog) {
        auto* list = dialog->findChild<QAbstractItemView*>();
        list->setCurrentIndex(list->model()->index(1, 0));
        press(*dialog, QStringLiteral("deleteButton"));
        dialog->done(QDialog::Accepted);
    });
    window->OnPrizeList();
    QCOMPARE(window->data().prizeTable.count(), 1);
    QCOMPARE(readGbk(dir.path() + "/data/_prize.txt"), QStringLiteral("A`一等奖`a.png`5`1`1`\r\n"));
}

void MainWindowTest::keyboardMenuOpensNearTheTopLeftCorner() {
    QTemporaryDir dir;
    writeEvent(dir.path());
    core::MessageBoxHook hook;
    const auto window = startedWindow(dir.path());
    QPoint shownAt;
    QStringList items;
    QTimer::singleShot(100, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            shownAt = menu->pos();
            for (const QAction* action : menu->actions())
                items << (action->isSeparator() ? QStringLiteral("-") : action->text());
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(-1, -1), QPoint(-1, -1));
    QApplication::sendEvent(window.get(), &event);
    QCOMPARE(shownAt, window->mapToGlobal(QPoint(3, 3)));
    QCOMPARE(items.join(' '), QStringLiteral("奖项... 抽奖结果 - 选项 关于 - 退出"));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
