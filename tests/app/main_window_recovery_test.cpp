// The main window after a stop in the middle of a draw, and under failing writes: what the
// operator is asked and told, and what the files keep.
#include "app/main_window.h"
#include "core/gbk_codec.h"
#include "core/message_box.h"
#include "drawscreen/draw_window.h"
#include "support/tmpfs_mount.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QSize kScreen(1920, 1080);
const QString kAsk = QStringLiteral("上次抽奖尚未结束，是否继续？");

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

// A: two rounds of one, B: one round of two.
void writeEvent(const QString& folder) {
    writeGbk(folder + "/data/_prize.txt",
             QStringLiteral("A`一等奖`a.png`1`2`1`\r\nB`二等奖`b.png`2`2`2`\r\n"));
    writeGbk(folder + "/data/_items.txt", QStringLiteral("张三\r\n李四\r\n王五\r\n赵六\r\n"));
    writeGbk(folder + "/prizedraw.ini", QStringLiteral("[General]\nhide=0\nprint=1\nmuse=1\n"));
}

QString winnerLine(const QString& prize, int round, int position, const QString& raw) {
    const QString title = prize == "A" ? QStringLiteral("一等奖") : QStringLiteral("二等奖");
    return QStringLiteral("2026-01-01 10:00:0%1\t%2\t%3\t%4\t%5\t%6\r\n")
        .arg(round)
        .arg(prize, title)
        .arg(round)
        .arg(position)
        .arg(raw);
}

const QString kStartLine = QStringLiteral("抽奖开始日期：2026-01-01 10:00:00\r\n");

std::unique_ptr<app::MainWindow> startedWindow(const QString& folder) {
    auto window = std::make_unique<app::MainWindow>(folder, kScreen);
    window->show();
    QTest::qWait(300);
    return window;
}

QStringList shownWinners(const lottery::LotteryData& data) {
    QStringList names;
    for (int i = 0; i < data.pool.winnerCount; ++i)
        names << core::GbkCodec::fromGbk(
            data.participants.entries.at(data.pool.winnerAt(i)).rawText);
    return names;
}

// Every file below folder with its bytes, the filler of a full disk left out.
QMap<QString, QByteArray> filesBelow(const QString& folder) {
    QMap<QString, QByteArray> files;
    for (const QString& sub : {QString(), QStringLiteral("data")}) {
        const QDir dir(folder + "/" + sub);
        for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Hidden)) {
            if (info.fileName() == "filler")
                continue;
            QFile file(info.filePath());
            if (file.open(QIODevice::ReadOnly))
                files[QDir(folder).relativeFilePath(info.filePath())] = file.readAll();
        }
    }
    return files;
}

enum class Fault { MissingDataFolder, ReadOnlyFolder, FullDisk };
enum class Write { PrizeAndSettingsSave, Rotation, WinnerRecording };

} // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Write)

class MainWindowRecoveryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void continuingShowsTheLastResultAndGoesOn();
    void decliningStartsANewDraw();
    void changedPrizesOfferOnlyANewDraw();
    void finishedDrawIsNotOffered();
    void failedWritesAreToldAndTheDrawGoesOn_data();
    void failedWritesAreToldAndTheDrawGoesOn();
};

void MainWindowRecoveryTest::continuingShowsTheLastResultAndGoesOn() {
    QTemporaryDir dir;
    writeEvent(dir.path());
    const QString recorded = kStartLine + winnerLine("A", 1, 1, QStringLiteral("李四")) +
                             winnerLine("A", 2, 1, QStringLiteral("王五"));
    writeGbk(dir.path() + "/data/_result.txt", recorded);
    core::MessageBoxHook hook; // answers Yes
    const auto window = startedWindow(dir.path());
    QCOMPARE(hook.texts(), QStringList{kAsk});
    QCOMPARE(hook.messages().front().kind, core::MessageKind::Confirm);
    drawscreen::DrawWindow* draw = window->drawWindow();
    QVERIFY(draw && draw->isVisible());
    QVERIFY(!draw->isFrameTimerRunning());
    const lottery::DrawOptions& options = window->data().options;
    QCOMPARE(options.state(), lottery::DrawState::ShowingResult);
    QCOMPARE(options.prizeIndex, 0);
    QCOMPARE(options.roundIndex, 1);
    QCOMPARE(shownWinners(window->data()), QStringList{QStringLiteral("王五")});
    QVERIFY(options.fontSize > 0);

    // B: the winners of A are no candidates; the results file goes on, no backup appears.
    QTest::keyClick(window.get(), Qt::Key_Space);
    QCOMPARE(options.prizeIndex, 1);
    QCOMPARE(options.state(), lottery::DrawState::Rolling);
    QTest::keyClick(window.get(), Qt::Key_Space);
    QStringList winnersOfB = shownWinners(window->data());
    winnersOfB.sort();
    QCOMPARE(winnersOfB, (QStringList{QStringLiteral("张三"), QStringLiteral("赵六")}));
    const QString results = readGbk(dir.path() + "/data/_result.txt");
    QVERIFY2(results.startsWith(recorded), qPrintable(results));
    QCOMPARE(results.count(QStringLiteral("\t二等奖\t1\t")), 2);
    QVERIFY(results.contains(QStringLiteral("抽奖结束日期：")));
    QVERIFY(QDir(dir.path() + "/data").entryList({"bak_result*"}).isEmpty());
    QCOMPARE(hook.texts().size(), 1);
}

void MainWindowRecoveryTest::decliningStartsANewDraw() {
    QTemporaryDir dir;
    writeEvent(dir.path());
    const QString recorded = kStartLine + winnerLine("A", 1, 1, QStringLiteral("李四"));
    writeGbk(dir.path() + "/data/_result.txt", recorded);
    core::MessageBoxHook hook([](core::MessageKind, const QString&) { return core::kAnswerNo; });
    const auto window = startedWindow(dir.path());
    QCOMPARE(hook.texts(), QStringList{kAsk});
    QCOMPARE(window->data().options.state(), lottery::DrawState::Ready);
    QTest::keyClick(window.get(), Qt::Key_Space);
    const QStringList backups = QDir(dir.path() + "/data").entryList({"bak_result*"});
    QCOMPARE(backups.size(), 1);
    QCOMPARE(readGbk(dir.path() + "/data/" + backups.first()), recorded);
    QCOMPARE(window->data().options.roundIndex, 0);
}

void MainWindowRecoveryTest::changedPrizesOfferOnlyANewDraw() {
    QTemporaryDir dir;
    writeEvent(dir.path());
    writeGbk(dir.path() + "/data/_result.txt", kStartLine +
                                                   winnerLine("A", 1, 1, QStringLiteral("李四")) +
                                                   winnerLine("C", 1, 1, QStringLiteral("王五")));
    core::MessageBoxHook hook;
    const auto window = startedWindow(dir.path());
    QCOMPARE(hook.texts().size(), 1);
    QCOMPARE(hook.messages().front().kind, core::MessageKind::Warning);
    QVERIFY2(hook.texts().first().contains(QStringLiteral("编号 C")),
             qPrintable(hook.texts().first()));
    QCOMPARE(window->data().options.state(), lottery::DrawState::Ready);
    QVERIFY(window->drawWindow()->isVisible());
}

void MainWindowRecoveryTest::finishedDrawIsNotOffered() {
    QTemporaryDir dir;
    writeEvent(dir.path());
    writeGbk(dir.path() + "/data/_result.txt",
             kStartLine + winnerLine("A", 1, 1, QStringLiteral("李四")) +
                 QStringLiteral("抽奖结束日期：2026-01-01 10:01:00\r\n"));
    core::MessageBoxHook hook;
    const auto window = startedWindow(dir.path());
    QVERIFY(hook.texts().isEmpty());
    QCOMPARE(window->data().options.state(), lottery::DrawState::Ready);
}

void MainWindowRecoveryTest::failedWritesAreToldAndTheDrawGoesOn_data() {
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<Write>("write");
    const std::pair<Fault, const char*> faults[] = {{Fault::MissingDataFolder, "missing folder"},
                                                    {Fault::ReadOnlyFolder, "read-only folder"},
                                                    {Fault::FullDisk, "full disk"}};
    const std::pair<Write, const char*> writes[] = {
        {Write::PrizeAndSettingsSave, "prize and settings save"},
        {Write::Rotation, "rotation"},
        {Write::WinnerRecording, "winner recording"}};
    for (const auto& [fault, faultName] : faults)
        for (const auto& [write, writeName] : writes)
            QTest::addRow("%s, %s", faultName, writeName) << fault << write;
}

void MainWindowRecoveryTest::failedWritesAreToldAndTheDrawGoesOn() {
    QFETCH(Fault, fault);
    QFETCH(Write, write);
    QTemporaryDir dir;
    const QString event = dir.path() + "/event";
    QVERIFY(QDir().mkpath(event));
    // The whole event folder on a disk of its own, settings included.
    std::unique_ptr<testsupport::TmpfsMount> disk;
    if (fault != Fault::MissingDataFolder) {
        disk = std::make_unique<testsupport::TmpfsMount>(event.toStdString(),
                                                         fault == Fault::FullDisk ? "64k" : "1m");
        if (!disk->mounted())
            QSKIP("no tmpfs can be mounted here");
    }
    writeEvent(event);
    // A finished earlier draw filling its block, so that any line more needs a new one.
    QString earlier = kStartLine + winnerLine("A", 1, 1, QStringLiteral("李四"));
    const QString end = QStringLiteral("抽奖结束日期：2026-01-01 10:01:00\r\n");
    const int endBytes = static_cast<int>(core::GbkCodec::toGbkStrict(earlier + end)->size());
    earlier += QString(4096 - endBytes - 2, QLatin1Char('#')) + "\r\n" + end;
    writeGbk(event + "/data/_result.txt", earlier);
    writeGbk(event + "/data/bak_result20251231120000.txt", QStringLiteral("an earlier draw\r\n"));
    const QMap<QString, QByteArray> before = filesBelow(event);

    core::MessageBoxHook hook;
    auto window = startedWindow(event);
    QVERIFY(hook.texts().isEmpty());
    const auto breakDisk = [&] {
        switch (fault) {
        case Fault::MissingDataFolder:
            QVERIFY(QDir(event + "/data").removeRecursively());
            break;
        case Fault::ReadOnlyFolder:
            QVERIFY(disk->makeReadOnly());
            break;
        case Fault::FullDisk:
            QVERIFY(disk->fill() > 0);
            break;
        }
    };
    const lottery::DrawOptions& options = window->data().options;
    QString expected;
    switch (write) {
    case Write::PrizeAndSettingsSave:
        breakDisk();
        window->data().options.print = 0;
        window->OnExit();
        expected = QStringLiteral("_prize.txt");
        QCOMPARE(hook.texts().size(), fault == Fault::MissingDataFolder ? 1 : 2);
        if (fault != Fault::MissingDataFolder)
            QVERIFY2(hook.texts().first().startsWith(QStringLiteral("选项保存失败")),
                     qPrintable(hook.texts().first()));
        break;
    case Write::Rotation:
        breakDisk();
        QTest::keyClick(window.get(), Qt::Key_Space);
        QCOMPARE(options.state(), lottery::DrawState::Rolling);
        expected = QStringLiteral("_result.txt");
        break;
    case Write::WinnerRecording:
        QTest::keyClick(window.get(), Qt::Key_Space);
        QVERIFY(hook.texts().isEmpty());
        if (fault == Fault::FullDisk) {
            // The new results file fills its block too (the reader skips the line).
            QFile results(event + "/data/_result.txt");
            QVERIFY(results.open(QIODevice::Append));
            results.write(QByteArray(4096 - results.size() - 2, '#') + "\r\n");
        }
        breakDisk();
        QTest::keyClick(window.get(), Qt::Key_Space);
        QCOMPARE(options.state(), lottery::DrawState::ShowingResult);
        QCOMPARE(window->data().pool.winnerCount, 1);
        expected = QStringLiteral("_result.txt");
        break;
    }
    QVERIFY(!hook.texts().isEmpty());
    const QString told = hook.texts().last();
    QVERIFY2(told.contains(QStringLiteral("无法")) && told.contains(expected), qPrintable(told));

    if (write != Write::PrizeAndSettingsSave) {
        // The draw goes on to its end, told once.
        for (int press = 0; press < 5; ++press)
            QTest::keyClick(window.get(), Qt::Key_Space);
        QCOMPARE(options.prizeIndex, 1);
        QCOMPARE(options.state(), lottery::DrawState::ShowingResult);
        QCOMPARE(hook.texts().size(), 1);
        QVERIFY(window->drawWindow()->isVisible());
    }

    window.reset(); // its shutdown writes too
    const QMap<QString, QByteArray> after = filesBelow(event);
    for (auto it = before.begin(); it != before.end(); ++it) {
        // Without the data folder the settings beside it are saved as usual.
        if (fault == Fault::MissingDataFolder)
            continue;
        if (after.value(it.key()) == it.value())
            continue;
        // Rotation may have moved the old results aside whole.
        bool moved = false;
        for (auto other = after.begin(); other != after.end(); ++other)
            moved |= it.key() == "data/_result.txt" && !before.contains(other.key()) &&
                     other.key().startsWith("data/bak_result") && other.value() == it.value();
        QVERIFY2(moved, qPrintable(it.key() + " changed"));
    }
    if (fault == Fault::MissingDataFolder) {
        QVERIFY(!QDir(event + "/data").exists());
        const QSettings settings(event + "/prizedraw.ini", QSettings::IniFormat);
        QCOMPARE(settings.value("print").toInt(), write == Write::PrizeAndSettingsSave ? 0 : 1);
    }
}

QTEST_MAIN(MainWindowRecoveryTest)
#include "main_window_recovery_test.moc"
