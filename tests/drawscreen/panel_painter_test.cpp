#include "drawscreen/panel_painter.h"

#include <QtTest>

using drawscreen::PanelGeometry;
using drawscreen::PanelPainter;

class PanelPainterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fullScaleWindowOfAFullHdScreen() {
        const PanelGeometry g = PanelPainter::geometry(QSize(1535, 917), 1.0f);
        QCOMPARE(g.pw, 1074);
        QCOMPARE(g.ph, 458);
        QCOMPARE(g.px, 230);
        QVERIFY(qAbs(g.py - 187.7) < 1e-9);
        QCOMPARE(g.P, 12);
        QCOMPARE(g.yTop, 181);
        QCOMPARE(g.xLeft, 218);
        QCOMPARE(g.xRight, 1316);
        QCOMPARE(g.yBottom, 651);
        QCOMPARE(g.thinPen, 4);
        QCOMPARE(g.titleSize, 120);
    }

    void reducedScaleShrinksPanelFrameAndTitle() {
        // A 1024 x 768 screen: window 102, 76 to 921, 729.
        const PanelGeometry g = PanelPainter::geometry(QSize(819, 653), 0.8f);
        QCOMPARE(g.pw, 515);
        QCOMPARE(g.ph, 260);
        QCOMPARE(g.px, 152);
        QVERIFY(qAbs(g.py - 167.9) < 1e-9);
        QCOMPARE(g.P, 9);
        QCOMPARE(g.yTop, 163);
        QCOMPARE(g.xLeft, 143);
        QCOMPARE(g.xRight, 676);
        QCOMPARE(g.yBottom, 432);
        QCOMPARE(g.thinPen, 3);
        QCOMPARE(g.titleSize, 76);
    }

    void titles() {
        QCOMPARE(PanelPainter::title(drawscreen::ScreenKind::Ready), QStringLiteral("准备抽奖！"));
        QCOMPARE(PanelPainter::title(drawscreen::ScreenKind::Finished),
                 QStringLiteral("抽奖结束！"));
    }
};

QTEST_MAIN(PanelPainterTest)
#include "panel_painter_test.moc"
