#include "app/draw_session.h"
#include "drawscreen/draw_window.h"

#include "core/path_conversion.h"
#include "draw_fixture.h"
#include "drawscreen/font_chooser.h"
#include "support/fake_core_services.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using drawscreen::DrawKeyFilter;
using drawscreen::DrawWindow;
using SystemKeys = drawscreen::DrawKeyFilter::SystemKeys;
using lottery::DrawState;

namespace {

class RecordingOutput : public drawscreen::SoundOutput {
public:
    void stopAll() override { steps << QStringLiteral("stop"); }
    void load(const QString& path) override { steps << QStringLiteral("load ") + path; }
    void play(Playback playback) override {
        steps << (playback == Playback::Looped ? QStringLiteral("loop") : QStringLiteral("play"));
    }
    QStringList steps;
};

struct Event {
    QTemporaryDir dir;
    lottery::EventPaths paths;
    lottery::LotteryData data;
    testsupport::FakeCoreServices services;
    QWidget mainWindow;
    RecordingOutput* sound = new RecordingOutput;
    app::DrawSession session{data, paths, services};
    std::unique_ptr<DrawWindow> draw;
    QRect rect;

    Event() : paths(lottery::EventPaths::forFolder(core::toFsPath(dir.path()))) {
        QDir(dir.path()).mkpath(QStringLiteral("data"));
        data.prizeTable.prizes = {drawfixture::prize("A", 4, 2)};
        data.prizeTable.prizes[0].id = "1";
        for (int i = 0; i < 12; ++i)
            drawfixture::addEntries(data, {"entry" + std::to_string(i)});
        mainWindow.resize(800, 600);
        draw = std::make_unique<DrawWindow>(
            data, paths, session.machine(),
            [this] {
                if (!draw->takePress())
                    session.advance();
            },
            1.0f, &mainWindow, std::unique_ptr<drawscreen::SoundOutput>(sound));
        mainWindow.show();
        rect = DrawWindow::windowRectFor(mainWindow.size());
    }
};

// Counts the key-downs that get past the filters and lets them travel on to the parent;
// counts the keyboard's context-menu requests too.
struct KeyCountingWidget : QWidget {
    using QWidget::QWidget;
    int seen = 0;
    int menus = 0;
    void keyPressEvent(QKeyEvent* event) override {
        ++seen;
        event->ignore();
    }
    void contextMenuEvent(QContextMenuEvent* event) override {
        menus += event->reason() == QContextMenuEvent::Keyboard ? 1 : 0;
    }
};

// The main window and the draw window over it, each filtered as the program does.
struct FilteredWindows {
    int advances = 0;
    KeyCountingWidget mainWindow;
    KeyCountingWidget* drawWindow = new KeyCountingWidget(&mainWindow);
    DrawKeyFilter mainFilter{[this] { ++advances; }, SystemKeys::PassOn};
    DrawKeyFilter drawFilter{[this] { ++advances; }, SystemKeys::Swallow};

    FilteredWindows() {
        mainWindow.installEventFilter(&mainFilter);
        drawWindow->installEventFilter(&drawFilter);
    }
};

} // namespace

class DrawWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hiddenUntilPlacedThenKeysFiltered() {
        // Centred across the screen, lower than high, and most of it.
        for (const QSize screen : {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080)}) {
            const QRect r = DrawWindow::windowRectFor(screen);
            QVERIFY(qAbs(r.left() - (screen.width() - r.right() - 1)) <= 1);
            QVERIFY(r.top() > screen.height() - r.bottom() - 1 && r.bottom() < screen.height());
            QVERIFY(r.width() >= 0.79 * screen.width() && r.height() >= 0.84 * screen.height());
        }
        Event event;
        QVERIFY(!event.draw->isVisible());
        event.draw->placeWindow(event.rect);
        QVERIFY(event.draw->isVisible());
        QCOMPARE(event.draw->geometry(), event.rect);
        drawscreen::FrameComposer ready(event.rect.size(), 1.0f,
                                        drawscreen::FontChooser::cjkSansFamily());
        ready.composeStatic(event.session.machine().picture());
        QCOMPARE(event.draw->canvas(), ready.canvas());
        // A right click over the draw window reaches the main window and its menu.
        QCOMPARE(event.mainWindow.childAt(event.rect.center()), nullptr);
    }

    void frameTimerRunsExactlyWhileRollingAndCuesPlay() {
        Event event;
        event.draw->placeWindow(event.rect);
        QVERIFY(!event.session.isTicking());
        for (int press = 0; press < 4; ++press) {
            event.session.advance();
            const bool rolling = event.data.options.state() == DrawState::Rolling;
            QCOMPARE(rolling, press % 2 == 0);
            QCOMPARE(event.session.isTicking(), rolling);
            const auto shown = event.data.pool.winners;
            if (rolling)
                QTRY_VERIFY(event.data.pool.winners != shown); // every tick draws afresh
        }
        event.session.advance(); // the finished screen
        QVERIFY(!event.session.isTicking());
        const QString music = QDir(event.dir.path()).filePath(QStringLiteral("music/"));
        const QStringList roll{"stop", "load " + music + "rolling.wav", "play"};
        const QStringList result{"stop", "load " + music + "ok.wav", "play"};
        QCOMPARE(event.sound->steps, roll + result + roll + result);
    }

    // 大屏: the stop starts the reveal; a press during it only finishes it, and the press
    // after a reveal, cut short or not, does the next step once.
    void revealTakesOnePressToFinish_data() {
        QTest::addColumn<bool>("cutShort");
        QTest::newRow("press during the reveal") << true;
        QTest::newRow("reveal left to end") << false;
    }

    void revealTakesOnePressToFinish() {
        QFETCH(bool, cutShort);
        Event event;
        event.data.options.stage.layout = lottery::ScreenLayout::BigScreen;
        const QRect screen =
            DrawWindow::windowRectFor(event.mainWindow.size(), lottery::ScreenLayout::BigScreen);
        QCOMPARE(screen, event.mainWindow.rect());
        event.draw->placeWindow(screen);
        event.draw->setFocus();
        const auto screenShown = [&event] { return event.session.machine().picture().screen; };
        using Screen = lottery::DrawPicture::Screen;
        QTest::keyClick(event.draw.get(), Qt::Key_Space); // the first round rolls
        for (const Screen after : {Screen::Rolling, Screen::Finished}) {
            QTest::qWait(2 * app::DrawSession::kFramePeriodMs);
            QTest::keyClick(event.draw.get(), Qt::Key_Space);
            QCOMPARE(screenShown(), Screen::Result);
            QVERIFY(event.draw->isRevealing());
            if (cutShort) {
                QTest::keyClick(event.draw.get(), Qt::Key_Space);
                QVERIFY(!event.draw->isRevealing()); // all settled at once
            } else {
                QTRY_VERIFY_WITH_TIMEOUT(!event.draw->isRevealing(), 4000);
            }
            const QImage settled = event.draw->canvas().copy();
            QTest::qWait(3 * app::DrawSession::kFramePeriodMs);
            QCOMPARE(event.draw->canvas(), settled);
            QCOMPARE(screenShown(), Screen::Result);
            QVERIFY(!event.session.isTicking());
            QTest::keyClick(event.draw.get(), Qt::Key_Space);
            QCOMPARE(screenShown(), after);
        }
        QVERIFY(event.sound->steps.contains(QStringLiteral("loop"))); // the tune lasts the roll
    }

    // A key reaches both filters, the draw window's and then the main window's, as the
    // application delivers it; it acts once.
    void drawKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("swallowedBy"); // "both" windows, the "draw" window or "none"
        QTest::addColumn<int>("menus");    // keyboard menu requests at the main window, per press
        QTest::addColumn<int>("advances"); // per press, whichever window has the focus
        const auto row = [](const char* name, int key, int modifiers, const char* swallowedBy,
                            int menus, int advances) {
            QTest::newRow(name) << key << modifiers << QString(swallowedBy) << menus << advances;
        };
        row("Space", Qt::Key_Space, 0, "both", 0, 1);
        row("A", Qt::Key_A, 0, "none", 0, 0);
        row("Return", Qt::Key_Return, 0, "both", 0, 0);
        row("Enter", Qt::Key_Enter, Qt::KeypadModifier, "both", 0, 0);
        row("Escape", Qt::Key_Escape, 0, "both", 0, 0);
        row("Alt+F4", Qt::Key_F4, Qt::AltModifier, "draw", 0, 0);
        row("Alt+Space", Qt::Key_Space, Qt::AltModifier, "draw", 0, 0);
        row("F10", Qt::Key_F10, 0, "draw", 0, 0);
        row("Shift+F10", Qt::Key_F10, Qt::ShiftModifier, "both", 1, 0);
        row("Alt+Shift+F10", Qt::Key_F10, Qt::AltModifier | Qt::ShiftModifier, "draw", 0, 0);
        row("PageDown", Qt::Key_PageDown, 0, "both", 0, 1);
        row("Right", Qt::Key_Right, 0, "both", 0, 1);
        row("Down", Qt::Key_Down, 0, "both", 0, 1);
        // A clicker's other keys do nothing: the end-to-end crash run presses them mid-roll.
    }

    void drawKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, swallowedBy);
        QFETCH(int, menus);
        QFETCH(int, advances);
        FilteredWindows windows;
        const auto press = [&](QWidget* focus, bool autoRepeat) {
            QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), QString(),
                            autoRepeat);
            QApplication::sendEvent(focus, &event);
            QCoreApplication::sendPostedEvents();
        };
        press(windows.drawWindow, false);
        QCOMPARE(windows.drawWindow->seen + windows.mainWindow.seen, swallowedBy == "none" ? 2 : 0);
        QCOMPARE(windows.mainWindow.menus, menus);
        QCOMPARE(windows.advances, advances);
        const int seen = windows.mainWindow.seen;
        press(&windows.mainWindow, true); // an auto-repeated key-down acts as a fresh one
        QCOMPARE(windows.mainWindow.seen == seen, swallowedBy == "both");
        QCOMPARE(windows.mainWindow.menus, 2 * menus);
        QCOMPARE(windows.drawWindow->menus, 0);
        QCOMPARE(windows.advances, 2 * advances);
    }
};

QTEST_MAIN(DrawWindowTest)
#include "draw_window_test.moc"
