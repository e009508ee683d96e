#include "paint/paint_element_list.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr QRgb kFill = 0xFF094A74;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kYellow = 0xFFFFFF00;

} // namespace

class PaintElementListTest : public QObject {
    Q_OBJECT

private slots:
    void pictureOverTheFill_data() {
        QTest::addColumn<QSize>("picture"); // empty: no file
        QTest::addColumn<QSize>("element"); // empty: no element
        QTest::addColumn<QList<QPoint>>("probes");
        QTest::addColumn<QList<QRgb>>("colours");
        QTest::newRow("empty list keeps the target")
            << QSize() << QSize() << QList<QPoint>{{3, 3}} << QList<QRgb>{0xFF000000};
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
        if (picture.isEmpty())
            QFile::remove(folder_.filePath("bg.png"));
        else
            writeQuadrants(picture);
        paint::PaintElementList list;
        if (!element.isEmpty())
            list.addElement(background(QRect(QPoint(0, 0), element)));
        const QImage shown = paintOnce(list, element.isEmpty() ? QSize(8, 8) : element);
        for (int i = 0; i < probes.size(); ++i)
            QCOMPARE(shown.pixel(probes[i]), colours[i]);
    }

    void cacheIsReusedUntilInvalidated() {
        writeQuadrants(QSize(40, 40));
        paint::PaintElementList list;
        list.addElement(background(QRect(10, 10, 40, 40)));
        QCOMPARE(paintOnce(list, QSize(60, 60)).pixel(15, 15), kRed);

        // The picture on disk is gone, yet the cached pixels show it at the element's place.
        QVERIFY(QFile::remove(folder_.filePath("bg.png")));
        const QImage cached = paintOnce(list, QSize(60, 60), 0xFFFFFFFF);
        QCOMPARE(cached.pixel(15, 15), kRed);
        QCOMPARE(cached.pixel(49, 49), kYellow);
        QCOMPARE(cached.pixel(9, 9), 0xFFFFFFFFu);
        QCOMPARE(cached.pixel(50, 50), 0xFFFFFFFFu);

        list.invalidateAll();
        QCOMPARE(paintOnce(list, QSize(60, 60)).pixel(15, 15), kFill);
    }

private:
    // A picture in four plain quadrants: red, green / blue, yellow.
    void writeQuadrants(const QSize& size) {
        QImage image(size, QImage::Format_RGB32);
        const int w = size.width() / 2, h = size.height() / 2;
        QPainter p(&image);
        p.fillRect(0, 0, w, h, QColor::fromRgba(kRed));
        p.fillRect(w, 0, w, h, QColor::fromRgba(kGreen));
        p.fillRect(0, h, w, h, QColor::fromRgba(kBlue));
        p.fillRect(w, h, w, h, QColor::fromRgba(kYellow));
        p.end();
        QVERIFY(image.save(folder_.filePath("bg.png")));
    }

    // As the main window builds its background.
    paint::PaintElement background(const QRect& rect) {
        paint::PaintElement element(rect.x(), rect.y(), rect.width(), rect.height());
        element.setOuterBorder(0, 0xFF000000);
        element.addColour(kFill);
        element.addImage(0, 0, "bg.png", 0, 0);
        element.setImageFolder(folder_.path());
        return element;
    }

    static QImage paintOnce(paint::PaintElementList& list, const QSize& size,
                            QRgb start = 0xFF000000) {
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
