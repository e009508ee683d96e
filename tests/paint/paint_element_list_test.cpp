#include "paint/paint_element_list.h"

#include <QDir>
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

// A picture in four plain quadrants: red, green / blue, yellow.
void writeQuadrants(const QString& path, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, width / 2, height / 2, QColor::fromRgba(kRed));
    p.fillRect(width / 2, 0, width - width / 2, height / 2, QColor::fromRgba(kGreen));
    p.fillRect(0, height / 2, width / 2, height - height / 2, QColor::fromRgba(kBlue));
    p.fillRect(width / 2, height / 2, width - width / 2, height - height / 2,
               QColor::fromRgba(kYellow));
    p.end();
    QVERIFY(image.save(path));
}

paint::PaintElement background(int width, int height, const QString& folder, const QString& name) {
    paint::PaintElement element(0, 0, width, height);
    element.setOuterBorder(0, 0xFF000000);
    element.addColour(kFill);
    element.addImage(0, 0, name, 0, 0);
    element.setImageFolder(folder);
    return element;
}

QImage paintOnce(paint::PaintElementList& list, const QSize& size, QRgb start = 0xFF000000) {
    QImage target(size, QImage::Format_ARGB32_Premultiplied);
    target.fill(start);
    QPainter p(&target);
    list.paintAll(p, target.rect());
    p.end();
    return target;
}

} // namespace

class PaintElementListTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(folder_.isValid()); }

    void missingPictureShowsTheFill() {
        paint::PaintElementList list;
        list.addElement(background(120, 80, folder_.path(), "bg.jpg"));
        const QImage shown = paintOnce(list, QSize(120, 80));
        QCOMPARE(shown.pixel(0, 0), kFill);
        QCOMPARE(shown.pixel(119, 79), kFill);
        QCOMPARE(shown.pixel(60, 40), kFill);
    }

    void largerPictureIsScaledIntoTheElement() {
        writeQuadrants(folder_.filePath("bg.png"), 800, 600);
        paint::PaintElementList list;
        list.addElement(background(400, 500, folder_.path(), "bg.png"));
        const QImage shown = paintOnce(list, QSize(400, 500));
        // Scaled per axis: the quadrant borders move to (200, 250).
        QCOMPARE(shown.pixel(190, 240), kRed);
        QCOMPARE(shown.pixel(210, 240), kGreen);
        QCOMPARE(shown.pixel(190, 260), kBlue);
        QCOMPARE(shown.pixel(399, 499), kYellow);
        QCOMPARE(shown.pixel(0, 0), kRed);
    }

    void smallerPictureIsDrawnOneToOne() {
        writeQuadrants(folder_.filePath("bg.png"), 800, 600);
        paint::PaintElementList list;
        list.addElement(background(900, 700, folder_.path(), "bg.png"));
        const QImage shown = paintOnce(list, QSize(900, 700));
        QCOMPARE(shown.pixel(399, 299), kRed);
        QCOMPARE(shown.pixel(400, 299), kGreen);
        QCOMPARE(shown.pixel(399, 300), kBlue);
        QCOMPARE(shown.pixel(799, 599), kYellow);
        QCOMPARE(shown.pixel(800, 300), kFill);
        QCOMPARE(shown.pixel(300, 600), kFill);
        QCOMPARE(shown.pixel(899, 699), kFill);
    }

    void fitCropsInsteadOfScaling() {
        writeQuadrants(folder_.filePath("bg.png"), 800, 600);
        paint::PaintElement element(0, 0, 400, 500);
        element.addImage(0, 0, "bg.png", 1, 0);
        element.setImageFolder(folder_.path());
        paint::PaintElementList list;
        list.addElement(element);
        const QImage shown = paintOnce(list, QSize(400, 500));
        QCOMPARE(shown.pixel(399, 299), kRed);
        QCOMPARE(shown.pixel(399, 300), kBlue);
    }

    void cacheIsReusedUntilInvalidated() {
        writeQuadrants(folder_.filePath("bg.png"), 40, 40);
        paint::PaintElementList list;
        list.addElement(background(40, 40, folder_.path(), "bg.png"));
        QCOMPARE(paintOnce(list, QSize(40, 40)).pixel(5, 5), kRed);
        QCOMPARE(list.at(0).renderCount(), 1);

        // The picture on disk is gone, yet the cached pixels keep showing it.
        QVERIFY(QFile::remove(folder_.filePath("bg.png")));
        QCOMPARE(paintOnce(list, QSize(40, 40)).pixel(5, 5), kRed);
        QCOMPARE(paintOnce(list, QSize(40, 40), 0xFFFFFFFF).pixel(35, 35), kYellow);
        QCOMPARE(list.at(0).renderCount(), 1);

        list.invalidateAll();
        QCOMPARE(list.at(0).cached, 0);
        QCOMPARE(paintOnce(list, QSize(40, 40)).pixel(5, 5), kFill);
        QCOMPARE(list.at(0).renderCount(), 2);
    }

    void cachedCopyLandsAtTheElementsPlace() {
        paint::PaintElement element(10, 20, 5, 5);
        element.addColour(kRed);
        paint::PaintElementList list;
        list.addElement(element);
        paintOnce(list, QSize(40, 40));
        const QImage again = paintOnce(list, QSize(40, 40));
        QCOMPARE(list.at(0).renderCount(), 1);
        QCOMPARE(again.pixel(10, 20), kRed);
        QCOMPARE(again.pixel(14, 24), kRed);
        QCOMPARE(again.pixel(15, 24), 0xFF000000u);
        QCOMPARE(again.pixel(9, 20), 0xFF000000u);
    }

    void exposedPartIsCopiedAlone() {
        writeQuadrants(folder_.filePath("bg.png"), 40, 40);
        paint::PaintElementList list;
        list.addElement(background(40, 40, folder_.path(), "bg.png"));
        QImage target(40, 40, QImage::Format_ARGB32_Premultiplied);
        target.fill(0xFF000000);
        QPainter p(&target);
        // Not yet cached: the element is painted in full even though little is exposed.
        list.paintAll(p, target.rect(), QRect(0, 0, 5, 5));
        QCOMPARE(target.pixel(35, 35), kYellow);
        p.fillRect(target.rect(), Qt::black);
        list.paintAll(p, target.rect(), QRect(30, 0, 10, 10));
        p.end();
        QCOMPARE(list.at(0).renderCount(), 1);
        QCOMPARE(target.pixel(30, 0), kGreen);
        QCOMPARE(target.pixel(39, 9), kGreen);
        QCOMPARE(target.pixel(29, 0), 0xFF000000u);
        QCOMPARE(target.pixel(35, 35), 0xFF000000u);
    }

    void emptyListLeavesTheTargetUnchanged() {
        paint::PaintElementList list;
        QCOMPARE(paintOnce(list, QSize(8, 8), 0xFF123456).pixel(3, 3), 0xFF123456u);
    }

    void elementsPaintBackToFront() {
        paint::PaintElement under(0, 0, 20, 20);
        under.addColour(kBlue);
        paint::PaintElement over(5, 5, 10, 10);
        over.addColour(0x80FF0000);
        paint::PaintElementList list;
        list.addElement(under);
        list.addElement(over);
        const QImage first = paintOnce(list, QSize(20, 20));
        const QImage second = paintOnce(list, QSize(20, 20));
        QCOMPARE(first.pixel(2, 2), kBlue);
        QCOMPARE(qRed(first.pixel(10, 10)), 128);
        QCOMPARE(qBlue(first.pixel(10, 10)), 127);
        QCOMPARE(second.pixel(10, 10), first.pixel(10, 10));
    }

private:
    QTemporaryDir folder_;
};

QTEST_GUILESS_MAIN(PaintElementListTest)
#include "paint_element_list_test.moc"
