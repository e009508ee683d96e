#include "app/main_window.h"
#include "core/gbk_codec.h"
#include "core/message_box_hook.h"
#include "dialogs/modal_driver.h"
#include "dialogs/prize_list_dialog.h"
#include "drawscreen/draw_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QSize kScreen(1920, 1080);

void writeGbk(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(*core::GbkCodec::toGbkStrict(text)));
}

QString readGbk(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return core::GbkCodec::fromGbk(file.readAll().toStdString());
}

// Prizes listed out of draw order, and three entries.
void writeEvent(const QString& folder, bool prizes = true, bool entries = true) {
    if (prizes)
        writeGbk(folder + "/data/_prize.txt",
                 QStringLiteral("B`二等奖`b.png`2`3`3`\r\nA`一等奖`a.png`1`1`1`\r\n"));
    if (entries)
        writeGbk(folder + "/data/_items.txt", QStringLiteral("张三\r\n李四\r\n王五\r\n"));
}

// A main window past its start-up load.
std::unique_ptr<app::MainWindow> startedWindow(const QString& folder) {
    auto window = std::make_unique<app::MainWindow>(folder, kScreen);
    window->show();
    QTest::qWait(300);
    return window;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void displayScaleAndDrawWindowRect();
    void startUpWithEverythingShowsTheReadyScreen();
    void startUpWarnsInOrder_data();
    void startUpWarnsInOrder();
    void keysBeforeTheLoadDoNothingAndNeverClose();
    void shutdownWritesSettingsAndPrizesInDrawOrder();
    void closedBeforeTheLoadKeepsThePrizeFile();
    void prizeListChangeSortsAndSavesAtOnce();
    void keyboardMenuOpensNearTheTopLeftCorner();
    void failedPrizeSaveIsReported();
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

void MainWindowTest::startUpWithEverythingShowsTheReadyScreen() {
    QTemporaryDir dir;
    writeEvent(dir.path());
    core::MessageBoxHook hook;
    const auto window = startedWindow(dir.path());
    QVERIFY(hook.texts().isEmpty());
    QVERIFY(window->drawWindow());
    QVERIFY(window->drawWindow()->isVisible());
    QCOMPARE(window->drawWindow()->geometry(), QRect(192, 108, 1535, 917));
    // Sorted by draw order at load.
    QCOMPARE(QString::fromStdString(window->data().prizeTable.prizes.at(0).id),
             QStringLiteral("A"));
    QCOMPARE(window->data().participants.count(), 3);
}

void MainWindowTest::startUpWarnsInOrder_data() {
    QTest::addColumn<bool>("prizes");
    QTest::addColumn<bool>("entries");
    QTest::addColumn<QString>("warning");
    QTest::newRow("no prizes, no entries") << false << false << QStringLiteral("奖项没有设置！");
    QTest::newRow("no prizes") << false << true << QStringLiteral("奖项没有设置！");
    QTest::newRow("no entries") << true << false << QStringLiteral("抽奖数据文件不能为空！\n\n");
}

void MainWindowTest::startUpWarnsInOrder() {
    QFETCH(bool, prizes);
    QFETCH(bool, entries);
    QFETCH(QString, warning);
    QTemporaryDir dir;
    writeEvent(dir.path(), prizes, entries);
    core::MessageBoxHook hook;
    const auto window = startedWindow(dir.path());
    QCOMPARE(hook.texts().size(), 1);
    QVERIFY2(hook.texts().first().startsWith(warning), qPrintable(hook.texts().first()));
    QVERIFY(!window->drawWindow());
    // Without a draw window the menu's reset still sets the draw back.
    window->data().options.roundIndex = 2;
    whenModalShows<dialogs::PrizeListDialog>([](dialogs::PrizeListDialog* dialog) {
        dialog->findChild<QPushButton*>(QStringLiteral("resetButton"))->click();
    });
    window->OnPrizeList();
    QCOMPARE(window->data().options.roundIndex, 0);
}

void MainWindowTest::keysBeforeTheLoadDoNothingAndNeverClose() {
    QTemporaryDir dir;
    writeEvent(dir.path());
    core::MessageBoxHook hook;
    app::MainWindow window(dir.path(), kScreen);
    window.show();
    QTest::keyClick(&window, Qt::Key_Space);
    QTest::keyClick(&window, Qt::Key_Escape);
    QTest::keyClick(&window, Qt::Key_Return);
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
    {
        app::MainWindow window(dir.path(), kScreen);
        window.close();
    }
    QCOMPARE(readGbk(dir.path() + "/data/_prize.txt"), before);
}

void MainWindowTest::prizeListChangeSortsAndSavesAtOnce() {
    QTemporaryDir dir;
    writeEvent(dir.path());
    core::MessageBoxHook hook; // confirms the delete
    const auto window = startedWindow(dir.path());
    auto& prizes = window->data().prizeTable.prizes;
    prizes.at(0).order = 5; // A behind B once sorted
    whenModalShows<dialogs::PrizeListDialog>(
        [](dialogs::PrizeListDialog* dialog) { dialog->done(QDialog::Accepted); });
    window->OnPrizeList();
    QCOMPARE(QString::fromStdString(prizes.at(0).id), QStringLiteral("A")); // nothing changed

    whenModalShows<dialogs::PrizeListDialog>([](dialogs::PrizeListDialog* dialog) {
        auto* list = dialog->findChild<QAbstractItemView*>();
        list->setCurrentIndex(list->model()->index(1, 0));
        dialog->findChild<QPushButton*>(QStringLiteral("deleteButton"))->click();
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
    QCOMPARE(items,
             QStringList({QStringLiteral("奖项..."), QStringLiteral("抽奖结果"),
                          QStringLiteral("-"), QStringLiteral("选项"), QStringLiteral("关于"),
                          QStringLiteral("-"), QStringLiteral("退出")}));
}

void MainWindowTest::failedPrizeSaveIsReported() {
    QTemporaryDir dir;
    writeEvent(dir.path());
    core::MessageBoxHook hook;
    const auto window = startedWindow(dir.path());
    // The data folder replaced by a file: nothing can be written below it.
    QVERIFY(QDir(dir.path() + "/data").removeRecursively());
    writeGbk(dir.path() + "/data", QStringLiteral("x"));
    window->OnExit();
    QCOMPARE(hook.texts().size(), 1);
    QVERIFY2(hook.texts().first().contains(QStringLiteral("_prize.txt")),
             qPrintable(hook.texts().first()));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
