#include "draw_fixture.h"
#include "drawscreen/font_chooser.h"
#include "drawscreen/frame_composer.h"
#include "drawscreen/name_font.h"
#include "drawscreen/name_path.h"
#include "drawscreen/panel_painter.h"

#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <numeric>
#include <random>

using drawfixture::countPixels;
using drawfixture::isTouched;
using drawfixture::isYellow;
using drawscreen::FrameComposer;
using drawscreen::ScreenKind;
using lottery::DrawState;

namespace {

const QSize kWindow(1535, 917);

bool isRed(QRgb p) {
    return p == 0xFFFF0000;
}
bool isGold(QRgb p) {
    return p == 0xFFFFD700;
}
bool isWhite(QRgb p) {
    return p == 0xFFFFFFFF;
}
// Aliased names have three looks only: nothing, the translucent stroke, the fill.
bool isAliasedNamePixel(QRgb p) {
    return p == 0 || p == 0x3E000000 || p == 0xFFFFFF00;
}

QRgb at(const QImage& image, int x, int y) {
    return qUnpremultiply(image.pixel(x, y));
}

// Names of six common characters and eleven digits, as a phone list gives them.
std::vector<std::string> generatedNames(int count, unsigned seed) {
    const QString chars =
        QStringLiteral("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯"
                       "邓曹伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华玉兰");
    std::mt19937 random(seed);
    std::uniform_int_distribution<qsizetype> pick(0, chars.size() - 1);
    std::uniform_int_distribution<int> digit(0, 9);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        QString name;
        for (int c = 0; c < 6; ++c)
            name.append(chars[pick(random)]);
        name.append(QLatin1Char('1'));
        for (int d = 0; d < 10; ++d)
            name.append(QChar(u'0' + digit(random)));
        names.push_back(name.toStdString());
    }
    return names;
}

struct Agreement {
    double agreeing = 0;   // share of the touched pixels within 24 levels in every channel
    double yellowDiff = 0; // relative difference of the opaque yellow areas
};

Agreement compare(const QImage& a, const QImage& b) {
    long touched = 0, agree = 0, yellowA = 0, yellowB = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            yellowA += isYellow(ra[x]);
            yellowB += isYellow(rb[x]);
            if (ra[x] == 0 && rb[x] == 0)
                continue;
            ++touched;
            const bool close = qAbs(qAlpha(ra[x]) - qAlpha(rb[x])) <= 24 &&
                               qAbs(qRed(ra[x]) - qRed(rb[x])) <= 24 &&
                               qAbs(qGreen(ra[x]) - qGreen(rb[x])) <= 24 &&
                               qAbs(qBlue(ra[x]) - qBlue(rb[x])) <= 24;
            agree += close;
        }
    }
    Agreement result;
    result.agreeing = touched ? static_cast<double>(agree) / touched : 1.0;
    const long larger = std::max(yellowA, yellowB);
    result.yellowDiff = larger ? static_cast<double>(std::abs(yellowA - yellowB)) / larger : 0.0;
    return result;
}

} // namespace

class FrameComposerTest : public QObject {
    Q_OBJECT

    QString family_;
    lottery::LotteryData data_;

    void startPrize(int perRound, float scale = 1.0f) {
        data_.prizeTable.prizes = {drawfixture::prize("一等奖", perRound * 2, perRound),
                                   drawfixture::prize("二等奖", 3, 3)};
        data_.options.prizeIndex = 0;
        data_.options.roundIndex = 0;
        data_.options.setState(DrawState::Rolling);
        drawscreen::NameFont::computeNameFont(data_, scale, family_);
    }

    int lineMiddle(int line, int count) const {
        const int lh = data_.options.lineHeight;
        return drawscreen::NamePath::columnTop(kWindow.height(), lh, count) + line * lh + lh / 2;
    }

private Q_SLOTS:
    void initTestCase() {
        family_ = drawscreen::FontChooser::cjkSansFamily();
        QVERIFY2(!family_.isEmpty(), "a CJK sans face must be installed (scripts/setup)");
    }

    void init() {
        data_ = lottery::LotteryData();
        drawfixture::addEntries(data_, {"王五", "李四", "赵六", "张三丰", "周七"});
    }

    void rollingFrameShowsOnlyAliasedYellowNames() {
        startPrize(5);
        QCOMPARE(data_.options.fontSize, 128);
        FrameComposer composer(kWindow, 1.0f, family_);
        drawfixture::select(data_, {3, 0, 4, 1, 2});
        composer.composeRolling(data_);
        const QImage& frame = composer.canvas();
        QCOMPARE(frame.size(), kWindow);
        QCOMPARE(frame.format(), QImage::Format_ARGB32_Premultiplied);
        for (int line = 0; line < 5; ++line)
            QVERIFY(countPixels(frame, QRect(0, lineMiddle(line, 5) - 5, 400, 10), isYellow) > 50);
        QVERIFY(countPixels(frame, frame.rect(), [](QRgb p) { return p == 0x3E000000; }) > 1000);
        QCOMPARE(countPixels(frame, frame.rect(), isAliasedNamePixel),
                 kWindow.width() * kWindow.height());
        // The column starts at the left edge; the right side and the status band stay empty.
        QVERIFY(countPixels(frame, QRect(0, 0, 12, kWindow.height()), isYellow) > 0);
        QCOMPARE(countPixels(frame, QRect(500, 0, 1035, 917), isTouched), 0);
        QCOMPARE(countPixels(frame, QRect(0, 880, 1535, 37), isTouched), 0);
        const QRect names = composer.namesRect();
        QCOMPARE(countPixels(frame, names, isTouched), countPixels(frame, frame.rect(), isTouched));
    }

    void emptyTextDrawsNothingAndKeepsTheLines() {
        startPrize(3);
        FrameComposer composer(kWindow, 1.0f, family_);
        drawfixture::select(data_, {0, 1, 2});
        composer.composeRolling(data_);
        const QImage full = composer.canvas().copy();
        data_.participants.entries[1].displayText.clear();
        composer.invalidateNames();
        composer.composeRolling(data_);
        const QImage& gap = composer.canvas();
        QCOMPARE(countPixels(gap, QRect(0, lineMiddle(1, 3) - 3, 1535, 6), isYellow), 0);
        for (int line : {0, 2}) {
            const QRect band(0, lineMiddle(line, 3) - 10, 600, 20);
            QVERIFY(countPixels(gap, band, isYellow) > 100);
            QCOMPARE(gap.copy(band), full.copy(band));
        }
    }

    void frameWithoutNamesIsFullyTransparent() {
        startPrize(5);
        FrameComposer composer(kWindow, 1.0f, family_);
        composer.composeStatic(ScreenKind::Ready, data_);
        drawfixture::select(data_, {});
        composer.composeRolling(data_);
        QCOMPARE(countPixels(composer.canvas(), composer.canvas().rect(), isTouched), 0);
        QVERIFY(composer.namesRect().isEmpty());
        QCOMPARE(composer.changedRect(), QRect(QPoint(0, 0), kWindow));
        // Indices that name no entry draw nothing either.
        drawfixture::select(data_, {-1, 99});
        composer.composeRolling(data_);
        QCOMPARE(countPixels(composer.canvas(), composer.canvas().rect(), isTouched), 0);
    }

    void resultFrameAddsStatusLinesAntialiased() {
        startPrize(5);
        FrameComposer composer(kWindow, 1.0f, family_);
        drawfixture::select(data_, {0, 1, 2, 3, 4});
        data_.options.setState(DrawState::ShowingResult);
        composer.composeResult(data_);
        const QImage& frame = composer.canvas();
        QVERIFY(countPixels(frame, QRect(0, 880, 400, 37), isYellow) > 100);
        QVERIFY(countPixels(frame, QRect(1100, 880, 435, 37), isYellow) > 100);
        QVERIFY(countPixels(frame, QRect(0, 0, 600, 860), isYellow) > 10000);
        QVERIFY(countPixels(frame, frame.rect(), [](QRgb p) { return !isAliasedNamePixel(p); }) >
                500);
        QCOMPARE(countPixels(frame, QRect(600, 0, 935, 860), isTouched), 0);
        QCOMPARE(composer.statusFontSize(), 30);
        composer.setDisplayScale(0.8f);
        QCOMPARE(composer.statusFontSize(), 24);
    }

    void staticScreensShowPanelFrameTitleAndPicture() {
        startPrize(5);
        QTemporaryDir dir;
        const QString picture = dir.filePath(QStringLiteral("smile.png"));
        QImage blue(40, 30, QImage::Format_ARGB32);
        blue.fill(0xFF0000FF);
        QVERIFY(blue.save(picture));
        FrameComposer composer(kWindow, 1.0f, family_);
        composer.setPictureFile(picture);
        data_.options = lottery::DrawOptions();
        composer.composeStatic(ScreenKind::Ready, data_);
        const QImage ready = composer.canvas().copy();
        const auto g = drawscreen::PanelPainter::geometry(kWindow, 1.0f);

        QVERIFY(isWhite(at(ready, g.px + 30, g.yBottom - g.P - 30)));
        QVERIFY(isGold(at(ready, g.xLeft + 2, g.yTop)));
        QVERIFY(isGold(at(ready, g.xRight - 2, g.yBottom)));
        QVERIFY(isGold(at(ready, g.xLeft + g.P, (g.yTop + g.yBottom) / 2)));
        QVERIFY(isGold(at(ready, g.xRight - g.P, (g.yTop + g.yBottom) / 2)));
        QVERIFY(!isGold(at(ready, g.xLeft + g.P + 4, (g.yTop + g.yBottom) / 2)));
        QVERIFY(countPixels(ready, QRect(g.px, g.yTop, g.pw, g.ph / 2), isRed) > 3000);
        QCOMPARE(at(ready, g.xRight - g.P, g.yTop - 10 + 15), QRgb(0xFF0000FF));
        for (QPoint p : {QPoint(3, 3), QPoint(1530, 3), QPoint(767, 800), QPoint(100, 700)})
            QCOMPARE(at(ready, p.x(), p.y()), QRgb(0));
        // Ready: the right status line only.
        QCOMPARE(countPixels(ready, QRect(0, 860, 700, 57), isTouched), 0);
        QVERIFY(countPixels(ready, QRect(1100, 880, 435, 37), isYellow) > 100);

        data_.options.setState(DrawState::ShowingResult);
        data_.options.prizeIndex = 1;
        composer.composeStatic(ScreenKind::Finished, data_);
        const QImage& finished = composer.canvas();
        QVERIFY(countPixels(finished, QRect(0, 880, 400, 37), isYellow) > 100);
        QVERIFY(countPixels(finished, QRect(g.px, g.yTop, g.pw, g.ph / 2), isRed) > 3000);
        QVERIFY(finished.copy(QRect(g.px, g.yTop, g.pw, g.ph)) !=
                ready.copy(QRect(g.px, g.yTop, g.pw, g.ph)));
    }

    void missingPictureOrFontLeavesOnlyThatOut() {
        startPrize(5);
        QTemporaryDir dir;
        QFile empty(dir.filePath(QStringLiteral("smile.png")));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        const auto g = drawscreen::PanelPainter::geometry(kWindow, 1.0f);
        for (const QString& file : {empty.fileName(), dir.filePath(QStringLiteral("none.png"))}) {
            FrameComposer composer(kWindow, 1.0f, family_);
            composer.setPictureFile(file);
            composer.composeStatic(ScreenKind::Ready, data_);
            QCOMPARE(at(composer.canvas(), g.xRight - g.P, g.yTop - 15), QRgb(0));
        }

        FrameComposer noFont(kWindow, 1.0f, QString());
        noFont.composeStatic(ScreenKind::Ready, data_);
        const QImage& panel = noFont.canvas();
        QVERIFY(isWhite(at(panel, g.px + g.pw / 2, g.yTop + g.ph / 2)));
        QVERIFY(isGold(at(panel, g.xLeft + 2, g.yTop)));
        QCOMPARE(countPixels(panel, panel.rect(), isRed), 0);
        QCOMPARE(countPixels(panel, panel.rect(), isYellow), 0);
        drawfixture::select(data_, {0, 1});
        noFont.composeRolling(data_);
        QCOMPARE(countPixels(noFont.canvas(), noFont.canvas().rect(), isTouched), 0);
    }

    void rollingFramesLookLikeOnePath_data() {
        QTest::addColumn<int>("perRound");
        QTest::addColumn<float>("scale");
        QTest::newRow("30 names") << 30 << 1.0f;
        QTest::newRow("30 names reduced") << 30 << 0.8f;
        QTest::newRow("8 names") << 8 << 1.0f;
        QTest::newRow("one name at 160") << 1 << 1.0f;
    }

    void rollingFramesLookLikeOnePath() {
        QFETCH(int, perRound);
        QFETCH(float, scale);
        data_ = lottery::LotteryData();
        drawfixture::addEntries(data_, generatedNames(300, 7));
        startPrize(perRound, scale);
        FrameComposer fast(kWindow, scale, family_);
        FrameComposer plain(kWindow, scale, family_);
        std::mt19937 random(11);
        for (int frame = 0; frame < 3; ++frame) {
            std::vector<int> chosen(300);
            std::iota(chosen.begin(), chosen.end(), 0);
            std::shuffle(chosen.begin(), chosen.end(), random);
            chosen.resize(static_cast<std::size_t>(perRound));
            drawfixture::select(data_, chosen);
            fast.composeRolling(data_);
            plain.composeRollingAsPath(data_);
            const Agreement a = compare(fast.canvas(), plain.canvas());
            QVERIFY2(a.agreeing >= 0.9, qPrintable(QString::number(a.agreeing)));
            QVERIFY2(a.yellowDiff < 0.02, qPrintable(QString::number(a.yellowDiff)));
            QVERIFY(countPixels(fast.canvas(), fast.canvas().rect(), isYellow) > 1000);
        }
    }

    void changedRectCoversEveryChange() {
        data_ = lottery::LotteryData();
        drawfixture::addEntries(data_, generatedNames(60, 3));
        startPrize(30);
        FrameComposer composer(kWindow, 1.0f, family_);
        composer.composeStatic(ScreenKind::Ready, data_);
        QImage before = composer.canvas().copy();
        const std::vector<std::vector<int>> frames = {
            {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {10, 11}, {}, {20, 21, 22, 23}, {59}};
        for (const auto& chosen : frames) {
            drawfixture::select(data_, chosen);
            composer.composeRolling(data_);
            const QImage& after = composer.canvas();
            const QRect changed = composer.changedRect();
            for (int y = 0; y < after.height(); ++y) {
                for (int x = 0; x < after.width(); ++x) {
                    if (before.pixel(x, y) != after.pixel(x, y) && !changed.contains(x, y))
                        QFAIL(qPrintable(QStringLiteral("change at %1,%2 outside").arg(x).arg(y)));
                }
            }
            QCOMPARE(countPixels(after, composer.namesRect(), isTouched),
                     countPixels(after, after.rect(), isTouched));
            before = after.copy();
        }
    }

    void newTextsAndSizesAreTakenUp() {
        startPrize(5);
        FrameComposer fast(kWindow, 1.0f, family_);
        FrameComposer plain(kWindow, 1.0f, family_);
        drawfixture::select(data_, {0, 1});
        fast.composeRolling(data_);
        data_.participants.entries[0].displayText = drawfixture::gbk("钱八13900000000");
        fast.invalidateNames();
        data_.options.prizeIndex = 1; // three a round: larger type
        drawscreen::NameFont::computeNameFont(data_, 1.0f, family_);
        QCOMPARE(data_.options.fontSize, 160);
        fast.composeRolling(data_);
        plain.composeRollingAsPath(data_);
        const Agreement a = compare(fast.canvas(), plain.canvas());
        QVERIFY2(a.agreeing > 0.99, qPrintable(QString::number(a.agreeing)));
        QVERIFY2(a.yellowDiff < 0.001, qPrintable(QString::number(a.yellowDiff)));
    }
};

QTEST_MAIN(FrameComposerTest)
#include "frame_composer_test.moc"
