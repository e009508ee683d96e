#include "drawscreen/grid_layout.h"
#include "drawscreen/stage_composer.h"

#include <QTest>

using drawscreen::GridLayoutMaker;

class GridLayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cellsFitAndGlyphsReachTheirHeight_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("nominalEm"); // three characters and the pen; a phone number
        for (const QSize screen : {QSize(1366, 768), QSize(1920, 1080), QSize(3840, 2160)})
            for (int count = 1; count <= 30; ++count)
                for (const double em : {3.06, 5.6})
                    QTest::addRow("%dx%d %d names of %.2f em", screen.width(), screen.height(),
                                  count, em)
                        << screen << count << em;
    }

    void cellsFitAndGlyphsReachTheirHeight() {
        QFETCH(QSize, screen);
        QFETCH(int, count);
        QFETCH(double, nominalEm);
        // Names reach 15 % of the screen's height at up to three and 5 % at up to thirty. A
        // list of wider entries has no floor: its entries shrink within their cells.
        const double least = nominalEm > 4 ? 0 : count <= 3 ? 0.15 : 0.05;
        const QRect area = drawscreen::StageComposer::namesArea(screen);
        QVERIFY(drawscreen::StageComposer::headerBand(screen).bottom() < area.top());
        const drawscreen::GridLayout grid = GridLayoutMaker::make(area, count, nominalEm);
        QCOMPARE(static_cast<int>(grid.cells.size()), count);
        for (std::size_t i = 0; i < grid.cells.size(); ++i) {
            QVERIFY(area.contains(grid.cells[i]));
            QVERIFY(grid.cells[i].width() > grid.innerWidth);
            for (std::size_t j = 0; j < i; ++j)
                QVERIFY(!grid.cells[i].intersects(grid.cells[j]));
        }
        // The nominal entry keeps the grid's size; a long one shrinks within its cell.
        QCOMPARE(GridLayoutMaker::fontSizeFor(grid, nominalEm), grid.fontSize);
        QVERIFY(nominalEm * grid.fontSize <= grid.innerWidth);
        const int longSize = GridLayoutMaker::fontSizeFor(grid, 15.5);
        QVERIFY(longSize >= 1 && 15.5 * longSize <= grid.innerWidth);
        QVERIFY(grid.fontSize * GridLayoutMaker::kRowEm <= grid.cells.front().height());
        const double share = double(GridLayoutMaker::glyphHeight(grid.fontSize)) / screen.height();
        QVERIFY2(share >= least, qPrintable(QString::number(share)));
    }
};

QTEST_GUILESS_MAIN(GridLayoutTest)
#include "grid_layout_test.moc"
