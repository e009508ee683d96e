#include "draw_fixture.h"
#include "drawscreen/font_chooser.h"
#include "drawscreen/status_lines.h"
#include "drawscreen/text_outline.h"

#include <QPainter>
#include <QtTest>

using drawscreen::StatusLines;
using drawscreen::StatusTexts;
using lottery::DrawState;

namespace {

lottery::DrawOptions at(int prize, int round, DrawState state) {
    lottery::DrawOptions options;
    options.prizeIndex = prize;
    options.roundIndex = round;
    options.setState(state);
    return options;
}

} // namespace

class StatusLinesTest : public QObject {
    Q_OBJECT

    lottery::PrizeTable table_;

private Q_SLOTS:
    void init() {
        table_.prizes = {drawfixture::prize("一等奖", 10, 3), drawfixture::prize("二等奖", 2, 5),
                         drawfixture::prize("空奖", 0, 5), drawfixture::prize("三等奖", 4, 4)};
        QCOMPARE(table_.prizes[0].rounds, 4);
        QCOMPARE(table_.prizes[2].rounds, 0);
    }

    void readyNamesTheFirstRound() {
        const StatusTexts t = StatusLines::texts(table_, at(0, 0, DrawState::Ready));
        QVERIFY(t.left.isEmpty());
        QCOMPARE(t.right, QStringLiteral("下一步：一等奖，第1轮/共4轮"));
    }

    void middleRoundNamesTheNextRoundOfTheSamePrize() {
        StatusTexts t = StatusLines::texts(table_, at(0, 0, DrawState::ShowingResult));
        QCOMPARE(t.left, QStringLiteral("当前：一等奖，第1轮/共4轮"));
        QCOMPARE(t.right, QStringLiteral("下一步：一等奖，第2轮/共4轮"));
        t = StatusLines::texts(table_, at(0, 2, DrawState::ShowingResult));
        QCOMPARE(t.left, QStringLiteral("当前：一等奖，第3轮/共4轮"));
        QCOMPARE(t.right, QStringLiteral("下一步：一等奖，第4轮/共4轮"));
    }

    void lastRoundAnnouncesTheNextPrize() {
        const StatusTexts t = StatusLines::texts(table_, at(0, 3, DrawState::ShowingResult));
        QCOMPARE(t.left, QStringLiteral("当前：一等奖，第4轮/共4轮"));
        QCOMPARE(t.right, QStringLiteral("下一步：二等奖，第1轮/共1轮"));
    }

    void prizesWithoutRoundsAreNeverNamed() {
        StatusTexts t = StatusLines::texts(table_, at(1, 0, DrawState::ShowingResult));
        QCOMPARE(t.left, QStringLiteral("当前：二等奖，第1轮/共1轮"));
        QCOMPARE(t.right, QStringLiteral("下一步：三等奖，第1轮/共1轮"));

        table_.prizes.erase(table_.prizes.begin(), table_.prizes.begin() + 2);
        t = StatusLines::texts(table_, at(0, 0, DrawState::Ready));
        QCOMPARE(t.right, QStringLiteral("下一步：三等奖，第1轮/共1轮"));
        // The empty prize is last: the prize before it ends the draw.
        table_.prizes = {drawfixture::prize("一等奖", 1, 1), drawfixture::prize("空奖", 0, 1)};
        t = StatusLines::texts(table_, at(0, 0, DrawState::ShowingResult));
        QCOMPARE(t.right, QStringLiteral("抽奖结束！"));
    }

    void theEndOfTheDraw() {
        const StatusTexts t = StatusLines::texts(table_, at(3, 0, DrawState::ShowingResult));
        QCOMPARE(t.left, QStringLiteral("当前：三等奖，第1轮/共1轮"));
        QCOMPARE(t.right, QStringLiteral("抽奖结束！"));
    }

    void titlesAreTakenAsTheyAre() {
        table_.prizes = {drawfixture::prize("%1奖%2", 2, 1)};
        const StatusTexts t = StatusLines::texts(table_, at(0, 0, DrawState::ShowingResult));
        QCOMPARE(t.left, QStringLiteral("当前：%1奖%2，第1轮/共2轮"));
        QCOMPARE(t.right, QStringLiteral("下一步：%1奖%2，第2轮/共2轮"));
    }

    void outsideTheTableNothingIsNamed() {
        StatusTexts t = StatusLines::texts(table_, at(7, 0, DrawState::ShowingResult));
        QVERIFY(t.left.isEmpty() && t.right.isEmpty());
        table_.prizes.clear();
        t = StatusLines::texts(table_, at(0, 0, DrawState::Ready));
        QVERIFY(t.left.isEmpty() && t.right.isEmpty());
    }

    void linesSitOnTheBottomEdge() {
        const QString family = drawscreen::FontChooser::cjkSansFamily();
        QVERIFY(!family.isEmpty());
        QImage image(1000, 300, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        const StatusTexts texts{QStringLiteral("当前：一等奖"), QStringLiteral("下一步：二等奖")};
        StatusLines::draw(painter, texts, image.size(), 30, family);
        painter.end();
        const QSize r = drawscreen::TextOutline::measureText(family, 30, texts.right);
        const int top = image.height() - r.height();
        using drawfixture::countPixels;
        using drawfixture::isYellow;
        // Lifted at most a little above the rule's place, so that the feet of the glyphs and
        // their outline stay on the canvas.
        QCOMPARE(countPixels(image, QRect(0, 0, 1000, top - 30 / 5), drawfixture::isTouched), 0);
        QCOMPARE(countPixels(image, QRect(0, 299, 1000, 1), drawfixture::isTouched), 0);
        QVERIFY(countPixels(image, QRect(0, top, 150, 300), isYellow) > 100);
        const int rightStart = static_cast<int>(1000 - r.width() * 1.01);
        QCOMPARE(
            countPixels(image, QRect(400, 0, rightStart - 400 - 3, 300), drawfixture::isTouched),
            0);
        QVERIFY(countPixels(image, QRect(rightStart, top, 1000, 300), isYellow) > 100);
        // The right line ends about a hundredth of its width before the edge.
        QCOMPARE(countPixels(image, QRect(999, 0, 1, 300), isYellow), 0);
    }
};

QTEST_MAIN(StatusLinesTest)
#include "status_lines_test.moc"
