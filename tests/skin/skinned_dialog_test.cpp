#include "skin/skinned_dialog.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>

namespace {

// A window whose placeholder sits stripHeight pixels down, as a subclass builds it.
class StripWindow : public skin::SkinnedDialog {
public:
    explicit StripWindow(int stripHeight) {
        resize(300, 200);
        auto* placeholder = new QWidget(this);
        placeholder->setGeometry(5, stripHeight, 15, 15);
        placeholder->hide();
        setSkinFlags(kClientAreaMode);
        setPlaceholder(placeholder);
        setCaptionText(QStringLiteral("抽奖"));
        initSkin();
    }
};

void sendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, const QPoint& local) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(local), QPointF(w->mapToGlobal(local)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

class SkinnedDialogTest : public QObject {
    Q_OBJECT

private slots:
    void startUpTakesTheRectanglesFromThePlaceholder() {
        StripWindow window(30);
        QCOMPARE(window.getClientRect(), QRect(0, 0, 300, 200));
        QCOMPARE(window.getContentRect(), QRect(5, 30, 15, 15));
        QCOMPARE(window.getDragRect(), QRect(0, 0, 300, 30));
        QCOMPARE(window.windowTitle(), QStringLiteral("抽奖"));
        QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));

        window.setContentRect(-2, -2, 300, 200);
        QCOMPARE(window.getContentRect(), QRect(-2, -2, 302, 202));
    }

    void pressInTheStripDragsTheWindow() {
        StripWindow window(30);
        window.move(100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint start = window.pos();

        sendMouse(&window, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(40, 10));
        sendMouse(&window, QEvent::MouseMove, Qt::LeftButton, QPoint(90, 30));
        QCOMPARE(window.pos(), start + QPoint(50, 20));
        sendMouse(&window, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(40, 10));

        // Released: moving the cursor no longer moves the window.
        sendMouse(&window, QEvent::MouseMove, Qt::NoButton, QPoint(80, 80));
        QCOMPARE(window.pos(), start + QPoint(50, 20));

        // Below the strip no drag starts.
        sendMouse(&window, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(40, 30));
        sendMouse(&window, QEvent::MouseMove, Qt::LeftButton, QPoint(90, 60));
        QCOMPARE(window.pos(), start + QPoint(50, 20));
        sendMouse(&window, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(90, 60));
    }

    void rightPressInTheStripOpensTheWindowMenu() {
        StripWindow window(30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        sendMouse(&window, QEvent::MouseButtonPress, Qt::RightButton, QPoint(10, 40));
        QVERIFY(!window.windowMenu()->isVisible());
        sendMouse(&window, QEvent::MouseButtonPress, Qt::RightButton, QPoint(10, 10));
        QVERIFY(window.windowMenu()->isVisible());
        window.windowMenu()->hide();
    }

    void placeholderAtTheTopLeavesNoStrip() {
        StripWindow window(0);
        window.move(100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint start = window.pos();
        sendMouse(&window, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(10, 0));
        sendMouse(&window, QEvent::MouseMove, Qt::LeftButton, QPoint(60, 20));
        QCOMPARE(window.pos(), start);
        sendMouse(&window, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(60, 20));
        sendMouse(&window, QEvent::MouseButtonPress, Qt::RightButton, QPoint(10, 0));
        QVERIFY(!window.windowMenu()->isVisible());
    }

    void faceIsRenderedAgainOnlyAfterAFrameChange() {
        StripWindow window(30);
        paint::PaintElement face(0, 0, 300, 200);
        face.addColour(0xFF336699);
        window.faceList().addElement(face);
        window.faceList().at(0).cached = 1; // stale until start-up renders it
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int shown = window.faceList().at(0).renderCount();
        QVERIFY(shown <= 1);

        const QImage first = window.grab().toImage();
        QCOMPARE(first.pixel(150, 100), 0xFF336699u);
        window.grab();
        QCOMPARE(window.faceList().at(0).renderCount(), 1);

        window.resize(310, 200);
        window.grab();
        QCOMPARE(window.faceList().at(0).renderCount(), 2);
    }
};

QTEST_MAIN(SkinnedDialogTest)
#include "skinned_dialog_test.moc"
