#include "draw_fixture.h"
#include "drawscreen/font_chooser.h"
#include "drawscreen/frame_composer.h"
#include "drawscreen/name_font.h"
#include "drawscreen/panel_painter.h"

#include <QtTest>

#include <algorithm>
#include <numeric>
#include <random>

using drawfixture::countPixels;
using drawfixture::isTouched;
using drawfixture::isYellow;
using drawscreen::FrameComposer;
using lottery::DrawState;

namespace {

// The window of a 1920 x 1080 screen.
const QSize kWindow(1535, 917);

enum Shown { Rolling, Result, Ready, Finished };

enum Look { Yellow, Touched, Red, White, Gold, Stroke, NotAliased, Visible };
bool (*const kLooks[])(QRgb) = {
    isYellow,
    isTouched,
    [](QRgb p) { return p == 0xFFFF0000; },
    [](QRgb p) { return p == 0xFFFFFFFF; },
    [](QRgb p) { return p == 0xFFFFD700; },
    [](QRgb p) { return p == 0x3E000000; },
    // Aliased names have three looks only: nothing, the translucent stroke, the fill.
    [](QRgb p) { return p != 0 && p != 0x3E000000 && p != 0xFFFFFF00; },
    [](QRgb p) { return qAlpha(p) > 8; },
};

// Entries of six characters and a mobile number, as a list gives them.
std::vector<std::string> generatedNames(int count) {
    const QString chars =
        QStringLiteral("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯"
                       "邓曹伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华玉兰");
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(
            (chars.mid(i * 7 % 50, 6) + QString::number(13900000000LL + i * 7919LL)).toStdString());
    return names;
}

// The share of touched pixels within 24 levels of each other in every channel.
double agreeing(const QImage& a, const QImage& b) {
    const auto near = [](int u, int v) { return qAbs(u - v) <= 24; };
    long touched = 0, agree = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            touched += p != 0 || q != 0;
            agree += (p != 0 || q != 0) && near(qAlpha(p), qAlpha(q)) && near(qRed(p), qRed(q)) &&
                     near(qGreen(p), qGreen(q)) && near(qBlue(p), qBlue(q));
        }
    }
    return touched ? double(agree) / touched : 1.0;
}

} // namespace

class FrameComposerTest : public QObject {
    Q_OBJECT

    QString family_;
    lottery::LotteryData data_;
    FrameComposer fast_;             // kept from row to row: it must take up each new size
    drawscreen::NameFontSize asked_; // for the prize's full rounds

    void startPrize(int perRound, float scale = 1.0f) {
        data_.prizeTable.prizes = {drawfixture::prize("一等奖", perRound * 2, perRound),
                                   drawfixture::prize("二等奖", 3, 3)};
        data_.options.setState(DrawState::Rolling);
        asked_ = drawscreen::NameFont::compute(perRound, scale, family_);
    }

    // The block of names is centred by its own count, then raised by half a line.
    int lineMiddle(int line, int count) const {
        const int lh = asked_.lineHeight;
        return (kWindow.height() - lh * count) / 2 - lh / 2 + line * lh + lh / 2;
    }

    // Five names: rolling with the one on line 3 drawn empty, the result, the ready and the
    // finished screen.
    QImage compose(Shown shown, FrameComposer& composer) {
        startPrize(5);
        if (shown == Rolling) {
            data_.participants.setDisplayText(4, "");              // draws nothing, keeps its line
            composer.composeStatic(drawfixture::pictureOf(data_)); // the roll covers it whole
            drawfixture::select(data_, {3, 0, 4, 1, 2});
            composer.composeRolling(data_, drawfixture::pictureOf(data_));
        } else if (shown == Result) {
            drawfixture::select(data_, {0, 1, 2, 3, 4});
            data_.options.setState(DrawState::ShowingResult);
            composer.composeResult(data_, drawfixture::pictureOf(data_));
        } else {
            data_.options = lottery::DrawOptions();
            if (shown == Finished) {
                data_.options.setState(DrawState::ShowingResult);
                data_.options.prizeIndex = 1;
            }
            lottery::DrawPicture picture = drawfixture::pictureOf(data_);
            if (shown == Finished)
                picture.screen = lottery::DrawPicture::Screen::Finished;
            composer.composeStatic(picture);
        }
        return composer.canvas().copy();
    }

private Q_SLOTS:
    void initTestCase() {
        family_ = drawscreen::FontChooser::cjkSansFamily();
        QVERIFY2(!family_.isEmpty(), "a CJK sans face must be installed (scripts/setup)");
        fast_ = FrameComposer(kWindow, 1.0f, family_);
    }

    void init() {
        data_ = lottery::LotteryData();
        drawfixture::addEntries(data_, {"王五", "李四", "赵六", "张三丰", "周七"});
    }

    // Which areas of each screen hold what: the names in yellow on the left, their stroke,
    // the status lines along the bottom, the panel's gold frame around a white card with the
    // red title in its upper half; nothing elsewhere.
    void regions_data() {
        QTest::addColumn<int>("shown");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<int>("look");
        QTest::addColumn<int>("moreThan"); // pixels of that look; -1: none at all
        const auto g = drawscreen::PanelPainter::geometry(kWindow, 1.0f);
        const QRect all(QPoint(0, 0), kWindow), upperHalf(g.px, g.yTop, g.pw, g.ph / 2);
        const QRect leftStatus(0, 880, 400, 37), rightStatus(1100, 880, 435, 37);
        const QRect card(g.px + g.thinPen + 1, g.py + g.ph / 2, g.pw - 2 * g.thinPen - 2, g.ph / 3);
        const auto row = [](const char* name, Shown shown, QRect area, Look look, int moreThan) {
            QTest::newRow(name) << int(shown) << area << int(look) << moreThan;
        };
        // clang-format off
        row("rolling: the column from the left edge", Rolling, QRect(0, 0, 12, 917), Yellow, 0);
        row("rolling: the names' stroke", Rolling, all, Stroke, 1000);
        row("rolling: aliased only", Rolling, all, NotAliased, -1);
        row("rolling: right of the column", Rolling, QRect(500, 0, 1035, 917), Touched, -1);
        row("rolling: no status lines", Rolling, QRect(0, 880, 1535, 37), Touched, -1);
        row("result: the names", Result, QRect(0, 0, 600, 860), Yellow, 10000);
        row("result: antialiased", Result, all, NotAliased, 500);
        row("result: right of the names", Result, QRect(600, 0, 935, 860), Touched, -1);
        row("result: left status line", Result, leftStatus, Yellow, 100);
        row("result: right status line", Result, rightStatus, Yellow, 100);
        row("result: the glyphs' feet on the canvas", Result, QRect(0, 916, 1535, 1), Visible, -1);
        row("result: R ends before the edge", Result, QRect(1534, 0, 1, 917), Yellow, -1);
        row("ready: the title", Ready, upperHalf, Red, 3000);
        row("ready: white card within the uprights", Ready, card, White, card.width() * card.height() * 9 / 10);
        row("ready: the frame's bars", Ready, QRect(g.xLeft, g.yTop, g.xRight - g.xLeft, g.P), Gold, (g.xRight - g.xLeft) * 2);
        row("ready: the frame's uprights", Ready, QRect(g.px, g.py, 1, g.ph), Gold, g.ph / 2);
        row("ready: left of the frame", Ready, QRect(0, 0, g.xLeft - 1, 917), Touched, -1);
        row("ready: below the frame", Ready, QRect(0, g.yBottom + 20, 1535, 150), Touched, -1);
        row("ready: no left status line", Ready, QRect(0, 860, 700, 57), Touched, -1);
        row("ready: right status line", Ready, rightStatus, Yellow, 100);
        row("finished: the title", Finished, upperHalf, Red, 3000);
        row("finished: left status line", Finished, leftStatus, Yellow, 100);
        // clang-format on
    }

    void regions() {
        QFETCH(int, shown);
        QFETCH(QRect, area);
        QFETCH(int, look);
        QFETCH(int, moreThan);
        FrameComposer composer(kWindow, 1.0f, family_);
        const int n = countPixels(compose(Shown(shown), composer), area, kLooks[look]);
        QVERIFY2(moreThan < 0 ? n == 0 : n > moreThan, qPrintable(QString::number(n)));
    }

    void rollingNamesKeepTheirLines() {
        FrameComposer composer(kWindow, 1.0f, family_);
        const QImage frame = compose(Rolling, composer);
        for (int line = 0; line < 5; ++line) {
            const QRect middle(0, lineMiddle(line, 5) - 5, 1535, 10);
            QCOMPARE(countPixels(frame, middle, isYellow) > 50, line != 2);
        }
        // No candidates left, or indices that name no entry: nothing at all.
        for (const std::vector<int>& chosen : {std::vector<int>{}, std::vector<int>{-1, 99}}) {
            drawfixture::select(data_, chosen);
            composer.composeRolling(data_, drawfixture::pictureOf(data_));
            QCOMPARE(countPixels(composer.canvas(), composer.canvas().rect(), isTouched), 0);
        }
    }

    void rollingFramesLookLikeOnePath_data() {
        QTest::addColumn<int>("perRound");
        QTest::addColumn<float>("scale");
        QTest::addColumn<QString>("entry"); // every entry's text; empty: generatedNames
        QTest::addColumn<bool>("shrinks");  // the names are too wide at the prize's size
        QTest::newRow("30 names") << 30 << 1.0f << QString() << false;
        QTest::newRow("30 names reduced") << 30 << 0.8f << QString() << false;
        QTest::newRow("8 names") << 8 << 1.0f << QString() << false;
        QTest::newRow("one name at 160") << 1 << 1.0f << QString() << true;
        QTest::newRow("short name at 160") << 1 << 1.0f << QStringLiteral("张三丰") << false;
        QTest::newRow("30 bytes at 160")
            << 1 << 1.0f << QStringLiteral("参与者编号0001 电话13800000001") << true;
        QTest::newRow("30 W at 160") << 1 << 1.0f << QString(30, QLatin1Char('W')) << true;
    }

    // Also checks that the fast renderer reports every pixel it changed, and that a name
    // ends inside the canvas at the largest size it fits at.
    void rollingFramesLookLikeOnePath() {
        QFETCH(int, perRound);
        QFETCH(float, scale);
        QFETCH(QString, entry);
        QFETCH(bool, shrinks);
        data_ = lottery::LotteryData();
        drawfixture::addEntries(data_, entry.isEmpty()
                                           ? generatedNames(300)
                                           : std::vector<std::string>(300, entry.toStdString()));
        fast_.invalidateNames(); // the list was read again
        fast_.setDisplayScale(scale);
        startPrize(perRound, scale);
        FrameComposer plain(kWindow, scale, family_);
        std::vector<int> entries(300);
        std::iota(entries.begin(), entries.end(), 0);
        std::mt19937 random(11);
        for (int frame = 0; frame < 3; ++frame) {
            std::shuffle(entries.begin(), entries.end(), random);
            drawfixture::select(data_,
                                std::vector<int>(entries.begin(), entries.begin() + perRound));
            const QImage before = fast_.canvas().copy();
            fast_.composeRolling(data_, drawfixture::pictureOf(data_));
            plain.composeRollingAsPath(data_, drawfixture::pictureOf(data_));
            const QImage& after = fast_.canvas();
            const double share = agreeing(after, plain.canvas());
            QVERIFY2(share >= 0.9, qPrintable(QString::number(share)));
            const int yellow = countPixels(after, after.rect(), isYellow);
            const int plainYellow = countPixels(plain.canvas(), after.rect(), isYellow);
            QVERIFY(yellow > 1000);
            QVERIFY2(qAbs(yellow - plainYellow) < 0.02 * std::max(yellow, plainYellow),
                     qPrintable(QStringLiteral("%1 against %2").arg(yellow).arg(plainYellow)));
            int right = 0; // one past the rightmost yellow column
            for (int x = 0; x < kWindow.width(); ++x)
                right =
                    countPixels(after, QRect(x, 0, 1, kWindow.height()), isYellow) ? x + 1 : right;
            QVERIFY2(right <= kWindow.width() - 4 && (!shrinks || right > kWindow.width() * 0.9),
                     qPrintable(QString::number(right)));
            QCOMPARE(fast_.nameFont().fontSize, plain.nameFont().fontSize);
            QCOMPARE(fast_.nameFont().fontSize < asked_.fontSize, shrinks);
            QVERIFY(drawfixture::changedOnlyWithin(before, after, fast_.changedRegion()));
        }
    }

    void namesSizedFromTheEntriesShown_data() {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("perRound");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("wideEntry"); // "", "may be drawn" or "won already"
        QTest::newRow("asks 50 a round, draws 30") << 100 << 50 << 30 << "";
        QTest::newRow("last round of 5 after 10") << 25 << 10 << 5 << "";
        QTest::newRow("wide entry may be drawn") << 1 << 1 << 1 << "may be drawn";
        QTest::newRow("wide entry won already") << 1 << 1 << 1 << "won already";
    }

    // The size is the one for the count on screen, not the prize's stored round size. Of a
    // long list only the widest entries by estimate are measured; one wide entry deep in it
    // still makes the names smaller while it may be drawn.
    void namesSizedFromTheEntriesShown() {
        QFETCH(int, total);
        QFETCH(int, perRound);
        QFETCH(int, shown);
        QFETCH(QString, wideEntry);
        std::vector<std::string> names;
        for (int i = 0; i < 20000; ++i)
            names.push_back(QStringLiteral("张%1").arg(i).toStdString());
        if (!wideEntry.isEmpty())
            names[15000] = std::string(30, 'W');
        data_ = lottery::LotteryData();
        drawfixture::addEntries(data_, names);
        if (wideEntry == "won already")
            data_.participants.markOne(15000, "Z");
        data_.prizeTable.prizes = {drawfixture::prize("一等奖", total, perRound)};
        data_.options.setState(DrawState::Rolling);
        std::vector<int> entries(static_cast<std::size_t>(shown));
        std::iota(entries.begin(), entries.end(), 5);
        drawfixture::select(data_, entries);
        FrameComposer composer(kWindow, 1.0f, family_);
        composer.composeRolling(data_, drawfixture::pictureOf(data_));
        const auto real = drawscreen::NameFont::compute(shown, 1.0f, family_);
        QCOMPARE(real.fontSize == drawscreen::NameFont::compute(perRound, 1.0f, family_).fontSize,
                 shown == perRound);
        if (wideEntry == "may be drawn") {
            QVERIFY(composer.nameFont().fontSize < real.fontSize);
            return;
        }
        QCOMPARE(composer.nameFont().fontSize, real.fontSize);
        QCOMPARE(composer.nameFont().lineHeight, real.lineHeight);
    }

    // More names than the cache holds pass by; the last frame still shows its own names.
    void namesBeyondTheCacheShowRight() {
        data_ = lottery::LotteryData();
        drawfixture::addEntries(data_, generatedNames(20000));
        startPrize(30);
        FrameComposer composer(kWindow, 1.0f, family_);
        std::vector<int> entries(20000);
        std::iota(entries.begin(), entries.end(), 0);
        for (std::size_t first = 0; first + 30 <= entries.size(); first += 30) {
            drawfixture::select(
                data_, std::vector<int>(entries.begin() + first, entries.begin() + first + 30));
            composer.composeRolling(data_, drawfixture::pictureOf(data_));
        }
        FrameComposer plain(kWindow, 1.0f, family_);
        plain.composeRollingAsPath(data_, drawfixture::pictureOf(data_));
        const double share = agreeing(composer.canvas(), plain.canvas());
        QVERIFY2(share >= 0.9, qPrintable(QString::number(share)));
    }
};

QTEST_MAIN(FrameComposerTest)
#include "frame_composer_test.moc"
