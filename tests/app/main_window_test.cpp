// The main window: start-up, keys, menu, a stop in the middle of a draw and failing writes;
// what the operator is asked and told, and what the files keep.
#include "app/draw_session.h"
#include "app/main_window.h"
#include "console/console_window.h"
#include "core/message_box.h"
#include "core/message_box_hook.h"
#include "dialogs/dialog_driver.h"
#include "dialogs/prize_list_dialog.h"
#include "dialogs/results_dialog.h"
#include "drawscreen/draw_window.h"
#include "event_files.h"
#include "support/tmpfs_mount.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

const QString kAsk = QStringLiteral("上次抽奖尚未结束，是否继续？");
const QString kStart = QStringLiteral("抽奖开始日期：2026-01-01 10:00:00\r\n");
const QString kEnd = QStringLiteral("抽奖结束日期：2026-01-01 10:01:00\r\n");

// A: two rounds of one, B: one round of two; four entries, music off.
void writeEvent(const QString& folder, bool entries = true) {
    writeGbk(folder + "/data/_prize.txt",
             QStringLiteral("A`一等奖`a.png`1`2`1`\r\nB`二等奖`b.png`2`2`2`\r\n"));
    if (entries)
        writeGbk(folder + "/data/_items.txt", QStringLiteral("张三\r\n李四\r\n王五\r\n赵六\r\n"));
    writeGbk(folder + "/prizedraw.ini", QStringLiteral("[General]\nhide=0\nprint=1\nmuse=1\n"));
}

QString winnerLine(const char* prize, int round, const char* raw) {
    return QStringLiteral("2026-01-01 10:00:0%1\t%2\tT\t%1\t1\t%3\r\n")
        .arg(round)
        .arg(QString::fromUtf8(prize), QString::fromUtf8(raw));
}

// The names on the draw window, as its machine shows them.
QStringList shownWinners(app::MainWindow& window) {
    QStringList names;
    for (const lottery::ShownEntry& entry : window.session()->machine().picture().selection)
        names << core::GbkCodec::fromGbk(entry.raw);
    names.sort();
    return names;
}

enum Fault { MissingDataFolder, ReadOnlyFolder, FullDisk };

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startUpWithoutEntries();
    void keysBeforeTheLoadDoNothingAndNeverClose();
    void prizeListClosedUnchangedSortsAndSavesNothing();
    void keyboardMenuOpensNearTheTopLeftCorner();
    void unfinishedDrawAtStartUp_data();
    void unfinishedDrawAtStartUp();
    void onlyExitClosesTheConsole();
    void prizeFileAlteredByTheLoadIsKept_data();
    void prizeFileAlteredByTheLoadIsKept();
    void failedWritesAreToldAndTheDrawGoesOn_data();
    void failedWritesAreToldAndTheDrawGoesOn();
};

// A start-up with everything is the other cases' first step.
void MainWindowTest::startUpWithoutEntries() {
    QTemporaryDir dir;
    writeEvent(dir.path(), false);
    core::MessageBoxHook hook;
    const auto window = startedWindow(dir.path());
    QCOMPARE(hook.texts().size(), 1);
    QVERIFY2(hook.texts().first().startsWith(QStringLiteral("抽奖数据文件不能为空！\n\n")),
             qPrintable(hook.texts().first()));
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
    const QString prizes = readGbk(dir.path() + "/data/_prize.txt");
    core::MessageBoxHook hook;
    // Closed before the load, the empty table must not overwrite the prize file.
    app::MainWindow(dir.path(), QSize(1024, 768)).close();
    QCOMPARE(readGbk(dir.path() + "/data/_prize.txt"), prizes);

    app::MainWindow window(dir.path(), QSize(1024, 768));
    QCOMPARE(window.displayScale(), 0.8f);
    window.show();
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Escape, Qt::Key_Return})
        QTest::keyClick(&window, key);
    QVERIFY(window.isVisible());
    QTest::qWait(300);
    QCOMPARE(window.drawWindow()->geometry(),
             drawscreen::DrawWindow::windowRectFor(QSize(1024, 768)));
    QCOMPARE(window.data().options.state(), lottery::DrawState::Ready);
    QVERIFY(!QFile::exists(dir.path() + "/data/_result.txt"));
    // Once loaded, a space on the main window starts the roll, once.
    QTest::keyClick(&window, Qt::Key_Space);
    QCOMPARE(window.data().options.state(), lottery::DrawState::Rolling);
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
}

void MainWindowTest::prizeListClosedUnchangedSortsAndSavesNothing() {
    QTemporaryDir dir;
    writeEvent(dir.path());
    core::MessageBoxHook hook;
    const auto window = startedWindow(dir.path());
    const auto before = filesBelow(dir.path());
    window->data().prizeTable.prizes.at(0).order = 5; // A behind B once sorted
    whenModalShows<dialogs::PrizeListDialog>(
        [](dialogs::PrizeListDialog* dialog) { dialog->done(QDialog::Accepted); });
    window->OnPrizeList();
    QVERIFY(window->data().prizeTable.prizes.at(0).id == "A");
    QCOMPARE(filesBelow(dir.path()), before);
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
    QCOMPARE(items.join(' '), QStringLiteral("奖项... 抽奖结果 选择奖项… - 选项 关于 - 退出"));
}

void MainWindowTest::unfinishedDrawAtStartUp_data() {
    QTest::addColumn<QString>("recorded");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("told"); // the one message, in part; empty for none
    const QString twoRounds = kStart + winnerLine("A", 1, "李四") + winnerLine("A", 2, "王五");
    QTest::newRow("continued") << twoRounds << true << kAsk;
    QTest::newRow("declined") << twoRounds << false << kAsk;
    QTest::newRow("prize gone") << kStart + winnerLine("A", 1, "李四") + winnerLine("C", 1, "王五")
                                << false << QStringLiteral("编号 C");
    QTest::newRow("finished") << kStart + winnerLine("A", 1, "李四") + kEnd << true << QString();
}

void MainWindowTest::unfinishedDrawAtStartUp() {
    QFETCH(QString, recorded);
    QFETCH(bool, yes);
    QFETCH(QString, told);
    QTemporaryDir dir;
    writeEvent(dir.path());
    writeGbk(dir.path() + "/data/_result.txt", recorded);
    core::MessageBoxHook hook([yes](core::MessageKind, const QString&) {
        return yes ? QMessageBox::Yes : QMessageBox::No;
    });
    const auto window = startedWindow(dir.path());
    QCOMPARE(hook.texts().size(), told.isEmpty() ? 0 : 1);
    if (!told.isEmpty())
        QVERIFY2(hook.texts().first().contains(told), qPrintable(hook.texts().first()));
    const lottery::LotteryData& data = window->data();
    QVERIFY(window->drawWindow()->isVisible());
    QVERIFY(!window->session()->isTicking());
    if (!yes || told != kAsk) {
        // The next press starts a new draw; the recorded one goes to a backup whole.
        QCOMPARE(data.options.state(), lottery::DrawState::Ready);
        QTest::keyClick(window.get(), Qt::Key_Space);
        const QStringList backups = QDir(dir.path() + "/data").entryList({"bak_result*"});
        QCOMPARE(backups.size(), 1);
        QCOMPARE(readGbk(dir.path() + "/data/" + backups.first()), recorded);
        return;
    }
    QCOMPARE(data.options.state(), lottery::DrawState::ShowingResult);
    QCOMPARE(data.options.roundIndex, 1);
    QCOMPARE(shownWinners(*window), QStringList{QStringLiteral("王五")});
    // B: the winners of A, whose marks came back, are no candidates.
    QTest::keyClick(window.get(), Qt::Key_Space);
    QTest::keyClick(window.get(), Qt::Key_Space);
    QCOMPARE(data.options.prizeIndex, 1);
    QCOMPARE(shownWinners(*window), (QStringList{QStringLiteral("张三"), QStringLiteral("赵六")}));
}

// A dialog over the console and no menu on the audience's screen are the two-screen run's;
// the console's own close button must not end the draw, only 退出 does.
void MainWindowTest::onlyExitClosesTheConsole() {
    QTemporaryDir dir;
    writeEvent(dir.path());
    core::MessageBoxHook hook;
    app::MainWindow window(dir.path(), QSize(1920, 1080));
    window.useScreens(true);
    QTRY_VERIFY(window.console() && window.console()->isVisible());
    window.console()->close();
    QVERIFY(window.console()->isVisible());
    window.OnExit();
    QVERIFY(!window.console());
}

void MainWindowTest::prizeFileAlteredByTheLoadIsKept_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("kept");
    const QByteArray gbk = QByteArray::fromStdString(
        core::GbkCodec::toGbkStrict(
            QStringLiteral("B`二等奖`b.png`2`2`2`\r\nA`一等奖`a.png`1`2`1`\r\n"))
            .value());
    QTest::newRow("only out of order") << gbk << false;
    QTest::newRow("a title cut") << gbk + "C`" + QByteArray(30, 'T') + "``3`1`1`\r\n" << true;
    static const char16_t utf16[] = u"A`一等奖`a.png`1`2`1`\r\n";
    QTest::newRow("UTF-16") << QByteArray("\xFF\xFE", 2) +
                                   QByteArray(reinterpret_cast<const char*>(utf16),
                                              sizeof utf16 - sizeof utf16[0])
                            << true;
}

// What the load cut or converted would be lost by the first rewrite: the file as it was moves
// to a backup first, and the start-up warning names it.
void MainWindowTest::prizeFileAlteredByTheLoadIsKept() {
    QFETCH(QByteArray, file);
    QFETCH(bool, kept);
    QTemporaryDir dir;
    writeEvent(dir.path());
    QFile prizes(dir.filePath(QStringLiteral("data/_prize.txt")));
    QVERIFY(prizes.open(QIODevice::WriteOnly) && prizes.write(file) == file.size());
    prizes.close();
    core::MessageBoxHook hook;
    startedWindow(dir.path()).reset();
    const QStringList backups =
        QDir(dir.filePath(QStringLiteral("data"))).entryList({QStringLiteral("bak_prize*")});
    QCOMPARE(backups.size(), kept ? 1 : 0);
    QCOMPARE(hook.texts().join('\n').contains(QStringLiteral("bak_prize")), kept);
    // Rewritten at the end in draw order, whatever the order of its lines.
    QVERIFY(readGbk(prizes.fileName()).startsWith(QStringLiteral("A`一等奖`")));
    if (kept) {
        QFile backup(dir.filePath(QStringLiteral("data/") + backups.first()));
        QVERIFY(backup.open(QIODevice::ReadOnly));
        QCOMPARE(backup.readAll(), file);
    }
}

void MainWindowTest::failedWritesAreToldAndTheDrawGoesOn_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<bool>("atShutdown"); // else from the first press of the draw on
    const char* faults[] = {"missing folder", "read-only folder", "full disk"};
    for (int fault = 0; fault < 3; ++fault) {
        QTest::addRow("%s, prize and settings save", faults[fault]) << fault << true;
        QTest::addRow("%s, rotation and recording", faults[fault]) << fault << false;
    }
}

void MainWindowTest::failedWritesAreToldAndTheDrawGoesOn() {
    QFETCH(int, fault);
    QFETCH(bool, atShutdown);
    QTemporaryDir dir;
    const QString event = dir.path();
    // The whole event folder on a disk of its own, settings included.
    std::unique_ptr<testsupport::TmpfsMount> disk;
    if (fault != MissingDataFolder) {
        disk = std::make_unique<testsupport::TmpfsMount>(event.toStdString(),
                                                         fault == FullDisk ? "64k" : "1m");
        if (!disk->mounted())
            QSKIP("no tmpfs can be mounted here");
    }
    writeEvent(event);
    // A finished earlier draw filling its block, so that any line more needs a new one.
    const QString earlier = kStart + winnerLine("A", 1, "李四");
    const auto bytes = static_cast<int>(core::GbkCodec::toGbkStrict(earlier + kEnd)->size());
    writeGbk(event + "/data/_result.txt",
             earlier + QString(4096 - bytes - 2, QLatin1Char('#')) + "\r\n" + kEnd);
    const auto before = filesBelow(event);

    core::MessageBoxHook hook;
    auto window = startedWindow(event);
    QVERIFY(hook.texts().isEmpty());
    if (fault == MissingDataFolder)
        QVERIFY(QDir(event + "/data").removeRecursively());
    else if (fault == ReadOnlyFolder)
        QVERIFY(disk->makeReadOnly());
    else
        QVERIFY(disk->fill() > 0);
    const lottery::DrawOptions& options = window->data().options;
    if (atShutdown) {
        window->data().options.print = 0;
        window->OnExit();
        // Without the data folder the settings beside it are saved.
        QCOMPARE(hook.texts().size(), fault == MissingDataFolder ? 1 : 2);
        if (fault != MissingDataFolder)
            QVERIFY2(hook.texts().first().startsWith(QStringLiteral("选项保存失败")),
                     qPrintable(hook.texts().first()));
    } else {
        // Rotation fails at the first press, recording at every stop: told each time.
        for (int press = 0; press < 6; ++press)
            QTest::keyClick(window.get(), Qt::Key_Space);
        QCOMPARE(options.prizeIndex, 1);
        QCOMPARE(options.state(), lottery::DrawState::ShowingResult);
        // Without the data folder the prizes cannot be saved before the fingerprints either.
        QCOMPARE(hook.texts().size(), fault == MissingDataFolder ? 5 : 4);
        QVERIFY2(hook.texts().last().contains(QStringLiteral("尚有 3 轮")),
                 qPrintable(hook.texts().last()));
        QVERIFY(window->drawWindow()->isVisible());
    }
    const QString told = hook.texts().last();
    const QString file = atShutdown ? QStringLiteral("_prize.txt") : QStringLiteral("_result.txt");
    QVERIFY2(told.contains(QStringLiteral("无法")) && told.contains(file), qPrintable(told));

    if (!atShutdown) {
        // The four winners shown are listed as not saved, and at exit they go elsewhere.
        int unsaved = 0;
        whenModalShows<dialogs::ResultsDialog>([&unsaved](dialogs::ResultsDialog* dialog) {
            const auto* list = dialog->findChild<QTableWidget*>(QStringLiteral("winnerList"));
            for (int row = 0; row < list->rowCount(); ++row)
                unsaved += list->item(row, 0)->text().endsWith(QStringLiteral("（未保存）"));
            dialog->reject();
        });
        window->OnResults();
        QCOMPARE(unsaved, 4);
        QTemporaryDir elsewhere;
        const QString rescue = elsewhere.filePath(QStringLiteral("rescued.txt"));
        window->setSavePathAsker([&rescue](QWidget*, const QString&) { return rescue; });
        window->OnExit();
        const QString saved = readGbk(rescue);
        QVERIFY2(saved.startsWith(QStringLiteral("抽奖开始日期：")) &&
                     saved.count(QStringLiteral("\tA\t一等奖\t")) +
                             saved.count(QStringLiteral("\tB\t二等奖\t")) ==
                         4 &&
                     saved.contains(QStringLiteral("抽奖结束日期：")),
                 qPrintable(saved));
    }
    window.reset(); // its shutdown writes too
    const auto after = filesBelow(event);
    if (fault == MissingDataFolder) {
        QCOMPARE(QSettings(event + "/prizedraw.ini", QSettings::IniFormat).value("print").toInt(),
                 atShutdown ? 0 : 1);
        return;
    }
    // Every file as it was; the old results may have moved aside whole.
    for (auto it = before.begin(); it != before.end(); ++it)
        QVERIFY2(after.value(it.key()) == it.value() ||
                     (it.key().endsWith("/_result.txt") && after.values().contains(it.value())),
                 qPrintable(it.key() + " changed"));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
