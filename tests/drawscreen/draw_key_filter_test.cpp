#include "drawscreen/draw_key_filter.h"

#include <QKeyEvent>
#include <QTest>
#include <QWidget>

using drawscreen::DrawKeyFilter;

namespace {

// Counts the key-downs that get past the filters.
class KeyCountingWidget : public QWidget {
public:
    using QWidget::QWidget;
    int seen = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        ++seen;
        event->ignore(); // lets it travel on to the parent, as an unhandled key does
    }
};

} // namespace

class DrawKeyFilterTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void spaceAdvancesOncePerKeyDownAutoRepeatIncluded() {
        int advances = 0;
        KeyCountingWidget widget;
        DrawKeyFilter filter([&] { ++advances; }, DrawKeyFilter::SystemKeys::Swallow);
        widget.installEventFilter(&filter);

        QTest::sendKeyEvent(QTest::Press, &widget, Qt::Key_Space, ' ', Qt::NoModifier);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                         true);
        QCoreApplication::sendEvent(&widget, &repeat);
        QTest::sendKeyEvent(QTest::Release, &widget, Qt::Key_Space, ' ', Qt::NoModifier);
        QCOMPARE(advances, 2);
    }

    void keyDownSeenByBothWindowsAdvancesOnce() {
        int advances = 0;
        KeyCountingWidget mainWindow;
        auto* drawWindow = new KeyCountingWidget(&mainWindow);
        DrawKeyFilter mainFilter([&] { ++advances; }, DrawKeyFilter::SystemKeys::PassOn);
        DrawKeyFilter drawFilter([&] { ++advances; }, DrawKeyFilter::SystemKeys::Swallow);
        mainWindow.installEventFilter(&mainFilter);
        drawWindow->installEventFilter(&drawFilter);

        // Delivered the way the application delivers a key: to the focus widget, then up
        // the parents while it stays unaccepted.
        QTest::keyClick(drawWindow, Qt::Key_Space);
        QCOMPARE(advances, 1);
        QTest::keyClick(&mainWindow, Qt::Key_Space);
        QCOMPARE(advances, 2);
        QTest::keyClick(drawWindow, Qt::Key_A); // other keys travel on untouched
        QCOMPARE(mainWindow.seen, 1);
    }

    void returnEscapeAndSystemKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("swallowedOnDrawWindow");
        QTest::addColumn<bool>("swallowedOnMainWindow");
        QTest::newRow("Return") << int(Qt::Key_Return) << 0 << true << true;
        QTest::newRow("Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << true << true;
        QTest::newRow("Alt+F4") << int(Qt::Key_F4) << int(Qt::AltModifier) << true << false;
        QTest::newRow("Alt") << int(Qt::Key_Alt) << int(Qt::AltModifier) << true << false;
        QTest::newRow("Alt+Space") << int(Qt::Key_Space) << int(Qt::AltModifier) << true << false;
        QTest::newRow("F10") << int(Qt::Key_F10) << 0 << true << false;
        QTest::newRow("A") << int(Qt::Key_A) << 0 << false << false;
    }

    void returnEscapeAndSystemKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, swallowedOnDrawWindow);
        QFETCH(bool, swallowedOnMainWindow);
        int advances = 0;
        for (const auto mode :
             {DrawKeyFilter::SystemKeys::Swallow, DrawKeyFilter::SystemKeys::PassOn}) {
            KeyCountingWidget widget;
            DrawKeyFilter filter([&] { ++advances; }, mode);
            widget.installEventFilter(&filter);
            QTest::keyPress(&widget, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            const bool swallowed = widget.seen == 0;
            QCOMPARE(swallowed, mode == DrawKeyFilter::SystemKeys::Swallow ? swallowedOnDrawWindow
                                                                           : swallowedOnMainWindow);
        }
        QCOMPARE(advances, 0);
    }
};

QTEST_MAIN(DrawKeyFilterTest)
#include "draw_key_filter_test.moc"
