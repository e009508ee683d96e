#include "draw_fixture.h"
#include "drawscreen/font_chooser.h"
#include "drawscreen/name_font.h"
#include "drawscreen/panel_painter.h"
#include "drawscreen/status_lines.h"
#include "drawscreen/text_outline.h"

#include <QtTest>

#include <utility>

using drawfixture::prize;
using drawscreen::PanelPainter;

class TextLayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void nameSizesFollowWinnersPerRound_data() {
        QTest::addColumn<int>("perRound");
        QTest::addColumn<int>("full");
        QTest::addColumn<int>("reduced");
        QTest::newRow("1") << 1 << 160 << 128;
        QTest::newRow("4") << 4 << 160 << 128;
        QTest::newRow("5") << 5 << 128 << 102;
        QTest::newRow("8") << 8 << 80 << 64;
        QTest::newRow("10") << 10 << 64 << 51;
        QTest::newRow("30") << 30 << 21 << 16;
    }

    void nameSizesFollowWinnersPerRound() {
        QFETCH(int, perRound);
        QFETCH(int, full);
        QFETCH(int, reduced);
        const QString family = drawscreen::FontChooser::cjkSansFamily();
        QVERIFY2(!family.isEmpty(), "a CJK sans face must be installed (scripts/setup)");
        for (const auto& [scale, size] : {std::pair(1.0f, full), std::pair(0.8f, reduced)}) {
            const drawscreen::NameFontSize sized =
                drawscreen::NameFont::compute(perRound, scale, family);
            QCOMPARE(sized.fontSize, size);
            // Lines are spaced by the glyph outlines of "一二三", which are lower than the em.
            const int h =
                drawscreen::TextOutline::measureText(family, size, QStringLiteral("一二三"))
                    .height();
            QVERIFY2(h > size / 2 && h < size, qPrintable(QString::number(h)));
            QCOMPARE(sized.lineHeight, static_cast<int>(h * static_cast<double>(1.2f)));
        }
    }

    void panelFitsItsWindow_data() {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<float>("scale");
        // The windows of a 1920 x 1080, a 1024 x 768 and a 1366 x 768 screen.
        QTest::newRow("full") << QSize(1535, 917) << 1.0f;
        QTest::newRow("reduced") << QSize(819, 653) << 0.8f;
        QTest::newRow("wide reduced") << QSize(1092, 614) << 0.8f;
    }

    // The gold frame encloses the centred card and fits the window; the reduced look is
    // smaller than the full one in the same window, yet its lines stay visible.
    void panelFitsItsWindow() {
        QFETCH(QSize, window);
        QFETCH(float, scale);
        const drawscreen::PanelGeometry g = PanelPainter::geometry(window, scale);
        QVERIFY(qAbs(2 * g.px + g.pw - window.width()) <= 1);
        QVERIFY(0 <= g.xLeft && g.xLeft + g.P == g.px && g.px + g.pw + g.P == g.xRight);
        QVERIFY(g.xRight <= window.width());
        QVERIFY(0 <= g.yTop && g.yTop < g.py && g.py < g.yTop + g.P);
        QVERIFY(g.py + g.ph <= g.yBottom && g.yBottom <= window.height());
        QVERIFY(g.thinPen >= 1 && 3 * g.thinPen <= g.P);
        QVERIFY(5 * g.titleSize <= g.pw && 2 * g.titleSize < g.ph); // five characters fit
        const drawscreen::PanelGeometry full = PanelPainter::geometry(window, 1.0f);
        QCOMPARE(g.pw < full.pw && g.ph < full.ph && g.titleSize < full.titleSize, scale < 1.0f);
    }
};

QTEST_MAIN(TextLayoutTest)
#include "text_layout_test.moc"
