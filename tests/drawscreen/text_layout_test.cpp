#include "core/ccore.h"
#include "draw_fixture.h"
#include "drawscreen/font_chooser.h"
#include "drawscreen/name_font.h"
#include "drawscreen/panel_painter.h"
#include "drawscreen/status_lines.h"
#include "drawscreen/text_outline.h"
#include "lottery/status_texts.h"

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
        lottery::LotteryData data;
        data.prizeTable.prizes = {prize("一等奖", 1, 1), prize("二等奖", perRound * 2, perRound)};
        data.options.prizeIndex = 1;
        for (const auto& [scale, size] : {std::pair(1.0f, full), std::pair(0.8f, reduced)}) {
            drawscreen::NameFont::computeNameFont(data, scale, family);
            QCOMPARE(data.options.fontSize, size);
            // Lines are spaced by the glyph outlines of "一二三", which are lower than the em.
            const int h =
                drawscreen::TextOutline::measureText(family, size, QStringLiteral("一二三"))
                    .height();
            QVERIFY2(h > size / 2 && h < size, qPrintable(QString::number(h)));
            QCOMPARE(data.options.lineHeight, static_cast<int>(h * static_cast<double>(1.2f)));
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
        QCOMPARE(PanelPainter::title(drawscreen::ScreenKind::Ready), QStringLiteral("准备抽奖！"));
        QCOMPARE(PanelPainter::title(drawscreen::ScreenKind::Finished),
                 QStringLiteral("抽奖结束！"));
    }

    void statusTexts_data() {
        QTest::addColumn<int>("skipped"); // prizes taken off the front of the table
        QTest::addColumn<int>("prizeIndex");
        QTest::addColumn<int>("roundIndex");
        QTest::addColumn<bool>("ready");
        QTest::addColumn<QStringList>("texts"); // left, right
        QTest::newRow("ready") << 0 << 0 << 0 << true
                               << QStringList{"", "下一步：一等奖，第1轮/共4轮"};
        QTest::newRow("first round")
            << 0 << 0 << 0 << false
            << QStringList{"当前：一等奖，第1轮/共4轮", "下一步：一等奖，第2轮/共4轮"};
        QTest::newRow("middle round")
            << 0 << 0 << 2 << false
            << QStringList{"当前：一等奖，第3轮/共4轮", "下一步：一等奖，第4轮/共4轮"};
        QTest::newRow("last round")
            << 0 << 0 << 3 << false
            << QStringList{"当前：一等奖，第4轮/共4轮", "下一步：二等奖，第1轮/共1轮"};
        QTest::newRow("0-round prize skipped")
            << 0 << 1 << 0 << false
            << QStringList{"当前：二等奖，第1轮/共1轮", "下一步：三等奖%1，第1轮/共1轮"};
        QTest::newRow("ready skips a 0-round prize")
            << 2 << 0 << 0 << true << QStringList{"", "下一步：三等奖%1，第1轮/共1轮"};
        QTest::newRow("end before a 0-round prize")
            << 0 << 3 << 0 << false << QStringList{"当前：三等奖%1，第1轮/共1轮", "抽奖结束！"};
        QTest::newRow("outside the table") << 0 << 7 << 0 << false << QStringList{"", ""};
    }

    void statusTexts() {
        QFETCH(int, skipped);
        QFETCH(int, prizeIndex);
        QFETCH(int, roundIndex);
        QFETCH(bool, ready);
        QFETCH(QStringList, texts);
        // A title holding an argument marker is shown as typed.
        lottery::PrizeTable table;
        table.prizes = {prize("一等奖", 10, 3), prize("二等奖", 2, 5), prize("空奖", 0, 5),
                        prize("三等奖%1", 4, 4), prize("空奖", 0, 1)};
        table.prizes.erase(table.prizes.begin(), table.prizes.begin() + skipped);
        lottery::DrawOptions options;
        options.prizeIndex = prizeIndex;
        options.roundIndex = roundIndex;
        options.setState(ready ? lottery::DrawState::Ready : lottery::DrawState::ShowingResult);
        core::CCore services;
        const lottery::StatusTexts shown = lottery::statusTexts(table, options, services);
        QCOMPARE((QStringList{QString::fromStdString(shown.current),
                              QString::fromStdString(shown.next)}),
                 texts);
    }
};

QTEST_MAIN(TextLayoutTest)
#include "text_layout_test.moc"
