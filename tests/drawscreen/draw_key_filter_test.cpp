#include "drawscreen/draw_key_filter.h"

#include <QKeyEvent>
#include <QTest>
#include <QWidget>

using drawscreen::DrawKeyFilter;

namespace {

// Counts the key-downs that get past the filters and lets them travel on to the parent.
struct KeyCountingWidget : QWidget {
    using QWidget::QWidget;
    int seen = 0;
    void keyPressEvent(QKeyEvent* event) override {
        ++seen;
        event->ignore();
    }
};

} // namespace

class DrawKeyFilterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void spaceAdvancesOncePerKeyDown() {
        int advances = 0;
        KeyCountingWidget mainWindow;
        auto* drawWindow = new KeyCountingWidget(&mainWindow);
        DrawKeyFilter mainFilter([&] { ++advances; }, DrawKeyFilter::SystemKeys::PassOn);
        DrawKeyFilter drawFilter([&] { ++advances; }, DrawKeyFilter::SystemKeys::Swallow);
        mainWindow.installEventFilter(&mainFilter);
        drawWindow->installEventFilter(&drawFilter);
        // Delivered as the application delivers a key: to the focus widget, then up the
        // parents while it stays unaccepted. Both windows filter it; it counts once.
        QTest::keyClick(drawWindow, Qt::Key_Space);
        QCOMPARE(advances, 1);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                         true);
        QCoreApplication::sendEvent(drawWindow, &repeat);
        QCOMPARE(advances, 2);
        QTest::keyClick(&mainWindow, Qt::Key_Space);
        QCOMPARE(advances, 3);
        QTest::keyClick(drawWindow, Qt::Key_A); // other keys travel on untouched
        QCOMPARE(mainWindow.seen, 1);
    }

    void returnEscapeAndSystemKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("swallowedOnMainWindow"); // the draw window swallows them all
        QTest::newRow("Return") << int(Qt::Key_Return) << 0 << true;
        QTest::newRow("Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << true;
        QTest::newRow("Alt+F4") << int(Qt::Key_F4) << int(Qt::AltModifier) << false;
        QTest::newRow("Alt") << int(Qt::Key_Alt) << int(Qt::AltModifier) << false;
        QTest::newRow("Alt+Space") << int(Qt::Key_Space) << int(Qt::AltModifier) << false;
        QTest::newRow("F10") << int(Qt::Key_F10) << 0 << false;
    }

    void returnEscapeAndSystemKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, swallowedOnMainWindow);
        int advances = 0;
        for (const auto mode :
             {DrawKeyFilter::SystemKeys::Swallow, DrawKeyFilter::SystemKeys::PassOn}) {
            KeyCountingWidget widget;
            DrawKeyFilter filter([&] { ++advances; }, mode);
            widget.installEventFilter(&filter);
            QTest::keyPress(&widget, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            QCOMPARE(widget.seen == 0,
                     mode == DrawKeyFilter::SystemKeys::Swallow || swallowedOnMainWindow);
        }
        QCOMPARE(advances, 0);
    }
};

QTEST_MAIN(DrawKeyFilterTest)
#include "draw_key_filter_test.moc"
