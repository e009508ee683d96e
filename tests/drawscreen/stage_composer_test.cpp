#include "draw_fixture.h"
#include "drawscreen/font_chooser.h"
#include "drawscreen/stage_composer.h"

#include <QtTest>

#include <numeric>
#include <random>

using drawscreen::StageComposer;

class StageComposerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A rolling frame writes only what changed since the frame before; what it leaves is the
    // frame a fresh composer draws whole, and nothing changes outside the region it names.
    void partialFramesMatchWholeOnes() {
        const QString family = drawscreen::FontChooser::cjkSansFamily();
        if (family.isEmpty())
            QSKIP("no CJK sans font installed");
        lottery::LotteryData data;
        std::vector<std::string> names;
        for (int i = 0; i < 200; ++i)
            names.push_back(QStringLiteral("参与者%1 138%2").arg(i).arg(i * 7919).toStdString());
        names[3] = "王"; // one short entry and one that shrinks in its cell
        names[5] = std::string(40, 'W');
        drawfixture::addEntries(data, names);
        data.prizeTable.prizes = {drawfixture::prize("一等奖", 60, 30)};
        data.options.setState(lottery::DrawState::Rolling);
        const QSize screen(1366, 768);
        StageComposer kept(family);
        kept.setSize(screen);
        std::vector<int> entries(200);
        std::iota(entries.begin(), entries.end(), 0);
        std::mt19937 random(7);
        // The round's size changes once, and a result comes between two rolls.
        for (const int count : {30, 30, 30, 12, 0, 30, 30}) {
            std::shuffle(entries.begin(), entries.end(), random);
            drawfixture::select(data, std::vector<int>(entries.begin(), entries.begin() + 30));
            lottery::DrawPicture picture = drawfixture::pictureOf(data);
            if (count == 0) {
                picture.screen = lottery::DrawPicture::Screen::Result;
                kept.composeResult(data, picture, 0);
                continue;
            }
            picture.selection.resize(static_cast<std::size_t>(count));
            const QImage before = kept.canvas().copy();
            kept.composeRolling(data, picture);
            StageComposer whole(family);
            whole.setSize(screen);
            whole.composeRolling(data, picture);
            QVERIFY(kept.canvas() == whole.canvas());
            for (int y = 0; y < screen.height(); ++y)
                for (int x = 0; x < screen.width(); ++x)
                    if (before.pixel(x, y) != kept.canvas().pixel(x, y) &&
                        !kept.changedRegion().contains(QPoint(x, y)))
                        QFAIL(qPrintable(QStringLiteral("change at %1,%2 outside").arg(x).arg(y)));
        }
    }
};

QTEST_MAIN(StageComposerTest)
#include "stage_composer_test.moc"
