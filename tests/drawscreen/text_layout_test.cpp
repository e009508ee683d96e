#include "draw_fixture.h"
#include "drawscreen/font_chooser.h"
#include "drawscreen/name_font.h"
#include "drawscreen/panel_painter.h"
#include "drawscreen/status_lines.h"
#include "drawscreen/text_outline.h"

#include <QtTest>

#include <cmath>
#include <utility>

using drawfixture::prize;
using drawscreen::PanelPainter;

// Sizes, places and texts of the draw screen, without painting.
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

    void panelGeometry() {
        // pw, ph, px, py in tenths, P, yTop, xLeft, xRight, yBottom, thin pen, title size
        const auto of = [](QSize window, float scale) {
            const drawscreen::PanelGeometry g = PanelPainter::geometry(window, scale);
            return QList<int>{g.pw,      g.ph,      g.px,       int(std::lround(g.py * 10)),
                              g.P,       g.yTop,    g.xLeft,    g.xRight,
                              g.yBottom, g.thinPen, g.titleSize};
        };
        // The windows of a 1920 x 1080 and of a 1024 x 768 screen.
        QCOMPARE(of({1535, 917}, 1.0f),
                 (QList<int>{1074, 458, 230, 1877, 12, 181, 218, 1316, 651, 4, 120}));
        QCOMPARE(of({819, 653}, 0.8f),
                 (QList<int>{515, 260, 152, 1679, 9, 163, 143, 676, 432, 3, 76}));
        QCOMPARE(PanelPainter::title(lottery::DrawPicture::Screen::Ready),
                 QStringLiteral("准备抽奖！"));
        QCOMPARE(PanelPainter::title(lottery::DrawPicture::Screen::Finished),
                 QStringLiteral("抽奖结束！"));
    }
};

QTEST_MAIN(TextLayoutTest)
#include "text_layout_test.moc"
