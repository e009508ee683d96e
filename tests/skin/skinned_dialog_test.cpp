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
        initSkin();
    }

    void send(QEvent::Type type, Qt::MouseButton button, const QPoint& local) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent event(type, QPointF(local), QPointF(mapToGlobal(local)), button, held, {});
        QApplication::sendEvent(this, &event);
    }
};

} // namespace

class SkinnedDialogTest : public QObject {
    Q_OBJECT

private slots:
    void pressInTheStripDragsTheWindow_data() {
        QTest::addColumn<int>("strip");
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<bool>("inStrip");
        QTest::newRow("30-pixel strip") << 30 << QPoint(40, 10) << true;
        QTest::newRow("below the strip") << 30 << QPoint(40, 30) << false;
        QTest::newRow("placeholder at the top") << 0 << QPoint(10, 0) << false;
    }

    void pressInTheStripDragsTheWindow() {
        QFETCH(int, strip);
        QFETCH(QPoint, press);
        QFETCH(bool, inStrip);
        StripWindow window(strip);
        window.move(100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint start = window.pos();
        const QPoint moved = inStrip ? QPoint(50, 20) : QPoint();

        window.send(QEvent::MouseButtonPress, Qt::LeftButton, press);
        window.send(QEvent::MouseMove, Qt::LeftButton, press + QPoint(50, 20));
        QCOMPARE(window.pos(), start + moved);
        window.send(QEvent::MouseButtonRelease, Qt::LeftButton, press);
        window.send(QEvent::MouseMove, Qt::NoButton, QPoint(80, 80));
        QCOMPARE(window.pos(), start + moved); // released

        window.send(QEvent::MouseButtonPress, Qt::RightButton, press);
        QCOMPARE(window.windowMenu()->isVisible(), inStrip);
        window.windowMenu()->hide();
    }
};

QTEST_MAIN(SkinnedDialogTest)
#include "skinned_dialog_test.moc"
