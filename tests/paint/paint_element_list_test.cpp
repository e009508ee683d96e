#include "paint/paint_element_list.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

constexpr QRgb kFill = 0xFF094A74;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kYellow = 0xFFFFFF00;

class PaintElementListTest : public QObject {
    Q_OBJECT

private slots:
    void pictureOverTheFill_data() {
        QTest::addColumn<QSize>("picture"); // empty: none on disk
        QTest::addColumn<QSize>("element");
        QTest::addColumn<QList<QPoint>>("probes");
        QTest::addColumn<QList<QRgb>>("colours");
        QTest::newRow("missing picture")
            << QSize() << QSize(120, 80) << QList<QPoint>{{0, 0}, {60, 40}, {119, 79}}
            << QList<QRgb>{kFill, kFill, kFill};
        // Scaled per axis: the quadrants meet at (200, 250).
        QTest::newRow("larger picture scaled")
            << QSize(800, 600) << QSize(400, 500)
            << QList<QPoint>{{190, 240}, {210, 240}, {190, 260}, {399, 499}}
            << QList<QRgb>{kRed, kGreen, kBlue, kYellow};
        QTest::newRow("smaller picture 1:1")
            << QSize(800, 600) << QSize(900, 700)
            << QList<QPoint>{{399, 299}, {400, 299}, {399, 300}, {799, 599}, {800, 300}, {300, 600}}
            << QList<QRgb>{kRed, kGreen, kBlue, kYellow, kFill, kFill};
    }

    void pictureOverTheFill() {
        QFETCH(QSize, picture);
        QFETCH(QSize, element);
        QFETCH(QList<QPoint>, probes);
        QFETCH(QList<QRgb>, colours);
        writeQuadrants(picture);
        paint::PaintElementList list;
        list.addElement(background(QRect(QPoint(0, 0), element)));
        const QImage shown = paintOnce(list, element);
        for (int i = 0; i < probes.size(); ++i)
            QCOMPARE(shown.pixel(probes[i]), colours[i]);
    }

    void cacheIsReusedUntilInvalidated() {
        writeQuadrants(QSize(40, 40));
        paint::PaintElementList list;
        list.addElement(background(QRect(10, 10, 40, 40)));
        QCOMPARE(paintOnce(list, QSize(60, 60)).pixel(15, 15), kRed);

        // The picture on disk is gone, yet the cached pixels show it at the element's place.
        writeQuadrants(QSize());
        const QImage cached = paintOnce(list, QSize(60, 60), 0xFFFFFFFF);
        QCOMPARE(cached.pixel(15, 15), kRed);
        QCOMPARE(cached.pixel(49, 49), kYellow);

        list.invalidateAll();
        QCOMPARE(paintOnce(list, QSize(60, 60)).pixel(15, 15), kFill);
    }

private:
    // "bg.png" in four plain quadrants, red, green / blue, yellow; no file for an empty size.
    void writeQuadrants(const QSize& size) {
        const QRgb quadrants[] = {kRed, kGreen, kBlue, kYellow};
        QImage image(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                image.setPixel(x, y,
                               quadrants[2 * (2 * y >= size.height()) + (2 * x >= size.width())]);
        QFile::remove(folder_.filePath("bg.png"));
        QVERIFY(size.isEmpty() || image.save(folder_.filePath("bg.png")));
    }

    paint::PaintElement background(const QRect& rect) {
        paint::PaintElement element(rect.x(), rect.y(), rect.width(), rect.height());
        element.addColour(kFill);
        element.addImage(0, 0, folder_.filePath("bg.png"), 0);
        return element;
    }

    static QImage paintOnce(paint::PaintElementList& list, QSize size, QRgb start = 0xFF000000) {
        QImage target(size, QImage::Format_ARGB32_Premultiplied);
        target.fill(start);
        QPainter p(&target);
        list.paintAll(p, target.rect());
        p.end();
        return target;
    }

    QTemporaryDir folder_;
};

QTEST_GUILESS_MAIN(PaintElementListTest)
#include "paint_element_list_test.moc"
