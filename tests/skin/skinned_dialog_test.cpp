#include "skin/skinned_dialog.h"

#include <QMenu>
#include <QMouseEvent>
#include <QTest>

// A window whose placeholder sits stripHeight pixels down, as a subclass builds it.
class StripWindow : public skin::SkinnedDialog {
public:
    explicit StripWindow(int stripHeight) {
        auto* placeholder = new QWidget(this);
        placeholder->setGeometry(5, stripHeight, 15, 15);
        setSkinFlags(kClientAreaMode);
        setPlaceholder(placeholder);
        initSkin();
    }

    void send(QEvent::Type type, Qt::MouseButton button, const QPoint& at) {
        QMouseEvent event(type, at, mapToGlobal(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button, {});
        QCoreApplication::sendEvent(this, &event);
    }
};

class SkinnedDialogTest : public QObject {
    Q_OBJECT

private slots:
    void pressInTheStripDragsTheWindow_data() {
        QTest::addColumn<int>("strip");
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<bool>("drags");
        QTest::newRow("30-pixel strip") << 30 << QPoint(40, 10) << true;
        QTest::newRow("below the strip") << 30 << QPoint(40, 30) << false;
        QTest::newRow("placeholder at the top") << 0 << QPoint(10, 0) << false;
    }

    void pressInTheStripDragsTheWindow() {
        QFETCH(int, strip);
        QFETCH(QPoint, press);
        QFETCH(bool, drags);
        StripWindow window(strip);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint end = window.pos() + (drags ? QPoint(50, 20) : QPoint());
        window.send(QEvent::MouseButtonPress, Qt::LeftButton, press);
        window.send(QEvent::MouseMove, Qt::LeftButton, press + QPoint(50, 20));
        window.send(QEvent::MouseButtonRelease, Qt::LeftButton, press);
        // Released: a later move with the button held elsewhere leaves the window.
        window.send(QEvent::MouseMove, Qt::LeftButton, QPoint(80, 80));
        QCOMPARE(window.pos(), end);
        // The window menu opens from the strip alone.
        window.send(QEvent::MouseButtonPress, Qt::RightButton, press);
        QCOMPARE(window.windowMenu()->isVisible(), drags);
        window.windowMenu()->hide();
    }
};

QTEST_MAIN(SkinnedDialogTest)
#include "skinned_dialog_test.moc"
