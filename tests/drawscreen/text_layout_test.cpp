#include "draw_fixture.h"
#include "drawscreen/font_chooser.h"
#include "drawscreen/name_font.h"
#include "drawscreen/text_outline.h"

#include <QFontDatabase>
#include <QPainter>
#include <QtTest>

using drawscreen::NameFont;
using drawscreen::TextOutline;

class TextLayoutTest : public QObject {
    Q_OBJECT

    QString family_;

private Q_SLOTS:
    void initTestCase() {
        family_ = drawscreen::FontChooser::cjkSansFamily();
        QVERIFY2(!family_.isEmpty(), "a CJK sans face must be installed (scripts/setup)");
        QVERIFY(drawscreen::FontChooser::candidates().contains(family_));
        QVERIFY(QFontDatabase::families().contains(family_, Qt::CaseInsensitive));
    }

    void layoutPointIsTopLeftOfTheLine() {
        const QString text = QStringLiteral("张三");
        const QRectF at = TextOutline::outline(family_, 100, text, QPointF(40, 300)).boundingRect();
        const QRectF origin = TextOutline::outline(family_, 100, text, {}).boundingRect();
        // The glyphs hang below the layout point, not above it as from a baseline.
        QVERIFY(origin.top() > 0);
        QVERIFY(origin.bottom() < 130);
        QVERIFY(origin.left() >= 0 && origin.left() < 15);
        QCOMPARE(at.topLeft(), origin.topLeft() + QPointF(40, 300));
    }

    void measuresTheGlyphOutlines() {
        const QSize flat = TextOutline::measureText(family_, 100, QStringLiteral("一"));
        QVERIFY(flat.height() > 0 && flat.height() < 20);
        const QSize three = TextOutline::measureText(family_, 100, QStringLiteral("一二三"));
        QVERIFY(three.width() > 250 && three.width() <= 300);
        QVERIFY(three.height() > 50 && three.height() < 100);
        const QRectF bounds =
            TextOutline::outline(family_, 100, QStringLiteral("一二三"), {}).boundingRect();
        QCOMPARE(three, QSize(qRound(bounds.width()), qRound(bounds.height())));
        QCOMPARE(TextOutline::measureText(family_, 100, QString()), QSize(0, 0));
    }

    void missingFamilyGivesEmptyOutlines() {
        QVERIFY(TextOutline::outline(QString(), 100, QStringLiteral("张三"), {}).isEmpty());
        QCOMPARE(TextOutline::measureText(QString(), 100, QStringLiteral("张三")), QSize(0, 0));
        QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        TextOutline::drawOutlinedText(painter, 0, 0, 0, QStringLiteral("张三"), QString(),
                                      0xFFFFFF00, 80, 5);
        painter.end();
        QCOMPARE(drawfixture::countPixels(image, image.rect(), drawfixture::isTouched), 0);
    }

    void passesDrawDarkStrokesUnderTheFill() {
        for (int passes : {0, 1, 5}) {
            QImage image(300, 150, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            TextOutline::drawOutlinedText(painter, 10, 10, 5, QStringLiteral("王"), family_,
                                          0xFFFF0000, 100, passes);
            painter.end();
            const int strokes = drawfixture::countPixels(
                image, image.rect(), [](QRgb p) { return qAlpha(p) > 16 && qRed(p) < 40; });
            const int red = drawfixture::countPixels(image, image.rect(),
                                                     [](QRgb p) { return p == 0xFFFF0000; });
            QVERIFY(red > 500);
            if (passes <= 1)
                QCOMPARE(strokes, 0);
            else
                QVERIFY2(strokes > 200, qPrintable(QString::number(strokes)));
            // dx shifts the text: nothing left of x + dx but the strokes' spread.
            QCOMPARE(drawfixture::countPixels(image, QRect(0, 0, 12, 150), drawfixture::isTouched),
                     0);
        }
    }

    void nameSizesFollowWinnersPerRound() {
        const int perRound[] = {1, 4, 5, 8, 10, 30};
        const int full[] = {160, 160, 128, 80, 64, 21};
        const int reduced[] = {128, 128, 102, 64, 51, 16};
        for (int i = 0; i < 6; ++i) {
            const auto atOne = NameFont::compute(perRound[i], 1.0f, family_);
            const auto atReduced = NameFont::compute(perRound[i], 0.8f, family_);
            QCOMPARE(atOne.fontSize, full[i]);
            QCOMPARE(atReduced.fontSize, reduced[i]);
            const int h =
                TextOutline::measureText(family_, full[i], QStringLiteral("一二三")).height();
            QCOMPARE(atOne.lineHeight, static_cast<int>(h * static_cast<double>(1.2f)));
            QVERIFY(atOne.lineHeight > full[i] / 2);
        }
        QCOMPARE(NameFont::compute(0, 1.0f, family_).fontSize, 160);
        QCOMPARE(NameFont::compute(30, 1.0f, QString()).lineHeight, 0);
    }

    void computeNameFontUsesTheCurrentPrize() {
        lottery::LotteryData data;
        data.prizeTable.prizes = {drawfixture::prize("一等奖", 1, 1),
                                  drawfixture::prize("二等奖", 30, 10)};
        data.options.prizeIndex = 1;
        NameFont::computeNameFont(data, 1.0f, family_);
        QCOMPARE(data.options.fontSize, 64);
        QCOMPARE(data.options.lineHeight, NameFont::compute(10, 1.0f, family_).lineHeight);
        // A table emptied while the window lives must not be read past its end.
        data.prizeTable.prizes.clear();
        NameFont::computeNameFont(data, 0.8f, family_);
        QCOMPARE(data.options.fontSize, 128);
    }
};

QTEST_MAIN(TextLayoutTest)
#include "text_layout_test.moc"
