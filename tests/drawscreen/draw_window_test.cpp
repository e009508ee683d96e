#include "drawscreen/draw_window.h"

#include "core/message_box_hook.h"
#include "core/path_conversion.h"
#include "drawscreen/font_chooser.h"
#include "drawscreen/frame_composer.h"
#include "lottery/prize_file.h"
#include "support/fake_core_services.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using drawscreen::DrawWindow;
using lottery::DrawState;

namespace {

class SilentOutput : public drawscreen::SoundOutput {
public:
    void stopAll() override {}
    void load(const QString&) override {}
    void playOnce() override { ++plays; }
    int plays = 0;
};

} // namespace

class DrawWindowTest : public QObject {
    Q_OBJECT

    // One event: a prize of two rounds of two winners, twelve entries.
    struct Event {
        QTemporaryDir dir;
        lottery::EventPaths paths;
        lottery::LotteryData data;
        testsupport::FakeCoreServices services;
        QWidget mainWindow;
        SilentOutput* sound = new SilentOutput;
        std::unique_ptr<DrawWindow> draw;

        Event() : paths(lottery::EventPaths::forFolder(core::toFsPath(dir.path()))) {
            QDir(dir.path()).mkpath(QStringLiteral("data"));
            lottery::PrizeRecord prize;
            prize.id = "1";
            prize.title = "A";
            prize.total = 4;
            prize.perRound = 2;
            prize.rounds = lottery::roundsFor(4, 2);
            data.prizeTable.prizes.push_back(prize);
            for (int i = 0; i < 12; ++i) {
                lottery::ParticipantRecord entry;
                entry.rawText = "entry" + std::to_string(i);
                entry.displayText = entry.rawText;
                data.participants.entries.push_back(entry);
            }
            mainWindow.resize(800, 600);
            draw = std::make_unique<DrawWindow>(data, paths, services, 1.0f, &mainWindow,
                                                std::unique_ptr<drawscreen::SoundOutput>(sound));
            mainWindow.show();
        }
        QRect rect() const { return DrawWindow::windowRectFor(mainWindow.size()); }
    };

    static QImage readyScreen(const lottery::LotteryData& data, QSize size) {
        drawscreen::FrameComposer composer(size, 1.0f, drawscreen::FontChooser::cjkSansFamily());
        composer.composeStatic(drawscreen::ScreenKind::Ready, data);
        return composer.canvas();
    }

private Q_SLOTS:
    void windowRectMatchesTheScreen() {
        QCOMPARE(DrawWindow::windowRectFor(QSize(1920, 1080)), QRect(192, 108, 1535, 917));
    }

    void hiddenUntilPlacedAndTransparentForTheMouse() {
        Event event;
        QVERIFY(QTest::qWaitForWindowExposed(&event.mainWindow));
        QVERIFY(!event.draw->isVisible());
        event.draw->placeWindow(event.rect());
        QVERIFY(event.draw->isVisible());
        QCOMPARE(event.draw->geometry(), event.rect());
        QCOMPARE(event.draw->statusFontSize(), 30);
        QCOMPARE(event.draw->canvas(), readyScreen(event.data, event.rect().size()));
        // A right click over the draw window reaches the main window and its menu.
        QCOMPARE(event.mainWindow.childAt(event.rect().center()), nullptr);
    }

    void frameTimerRunsExactlyWhileRolling() {
        Event event;
        event.draw->placeWindow(event.rect());
        QVERIFY(!event.draw->isFrameTimerRunning());
        for (int press = 0; press < 4; ++press) {
            event.draw->advance();
            const bool rolling = event.data.options.state() == DrawState::Rolling;
            QCOMPARE(rolling, press % 2 == 0);
            QCOMPARE(event.draw->isFrameTimerRunning(), rolling);
        }
        QCOMPARE(event.sound->plays, 4);
        event.draw->advance(); // the finished screen
        QVERIFY(!event.draw->isFrameTimerRunning());
        QCOMPARE(event.sound->plays, 4);
    }

    void rollingFramesDrawAfreshEveryTick() {
        Event event;
        event.draw->placeWindow(event.rect());
        event.draw->advance();
        QStringList seen;
        for (int i = 0; i < 20 && seen.size() < 3; ++i) {
            QTest::qWait(DrawWindow::kFramePeriodMs);
            QString names;
            for (int w = 0; w < event.data.pool.winnerCount; ++w)
                names += QString::number(event.data.pool.winnerAt(w)) + QLatin1Char(' ');
            if (!seen.contains(names))
                seen << names;
        }
        QVERIFY2(seen.size() >= 3, "the names did not change while rolling");
        const auto shown = event.data.pool.slots;
        event.draw->advance();
        QCOMPARE(event.data.pool.slots, shown); // stopping does not draw again
        QTest::qWait(3 * DrawWindow::kFramePeriodMs);
        QCOMPARE(event.data.pool.slots, shown);
    }

    void keysDoNotCloseIt_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Return") << int(Qt::Key_Return) << 0;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0;
        QTest::newRow("Alt+F4") << int(Qt::Key_F4) << int(Qt::AltModifier);
    }

    void keysDoNotCloseIt() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        Event event;
        event.draw->placeWindow(event.rect());
        event.draw->setFocus();
        QTest::keyClick(event.draw.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTest::qWait(10);
        QVERIFY(event.draw->isVisible());
        QCOMPARE(event.data.options.state(), DrawState::Ready);
        QTest::keyClick(event.draw.get(), Qt::Key_Space);
        QCOMPARE(event.data.options.state(), DrawState::Rolling);
    }

    void resetWhileRollingShowsTheReadyScreen() {
        Event event;
        event.draw->placeWindow(event.rect());
        event.draw->advance();
        QTest::qWait(2 * DrawWindow::kFramePeriodMs);
        event.draw->reset();
        QVERIFY(!event.draw->isFrameTimerRunning());
        QCOMPARE(event.data.options.state(), DrawState::Ready);
        QTest::qWait(3 * DrawWindow::kFramePeriodMs); // no rolling frame replaces it
        QCOMPARE(event.draw->geometry(), event.rect());
        QCOMPARE(event.draw->canvas(), readyScreen(event.data, event.rect().size()));
    }

    void writeFailureIsToldOnceThroughAWarning() {
        core::MessageBoxHook hook;
        Event event;
        QDir(event.dir.path()).rmdir(QStringLiteral("data"));
        QFile blocker(event.dir.filePath(QStringLiteral("data")));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // no folder can be made there
        blocker.close();
        event.draw->placeWindow(event.rect());
        for (int press = 0; press < 4; ++press)
            event.draw->advance();
        QCOMPARE(hook.messages().size(), std::size_t(1));
        QCOMPARE(hook.messages().front().kind, core::MessageKind::Warning);
        QVERIFY(hook.messages().front().text.startsWith(QStringLiteral("抽奖结果未能写入文件")));
        QCOMPARE(event.data.options.roundIndex, 1);
    }
};

QTEST_MAIN(DrawWindowTest)
#include "draw_window_test.moc"
