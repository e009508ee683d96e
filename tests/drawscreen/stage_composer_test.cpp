#include "draw_fixture.h"
#include "drawscreen/font_chooser.h"
#include "drawscreen/reveal_timeline.h"
#include "drawscreen/stage_composer.h"

#include <QPainter>
#include <QtTest>

#include <numeric>
#include <random>

using drawscreen::StageComposer;

class StageComposerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        if (family.isEmpty())
            QSKIP("no CJK sans font installed");
    }

    // Between two frames of a reveal only the turning cells and the confetti are written, and
    // each frame is the one a composer draws whole at that moment.
    void revealFramesMatchWholeOnes_data() {
        QTest::addColumn<bool>("keyPrize");
        QTest::newRow("重点 prize: confetti") << true;
        QTest::newRow("other prize") << false;
    }
    void revealFramesMatchWholeOnes() {
        QFETCH(bool, keyPrize);
        lottery::LotteryData data;
        addEvent(data);
        data.options.stage.keyPrizesChosen = !keyPrize;
        drawfixture::select(data, std::vector<int>{4, 8, 15, 16, 23, 42, 3, 5, 99, 100, 101, 102});
        lottery::DrawPicture rolling = drawfixture::pictureOf(data);
        rolling.prizeIndex = 0; // with its header, and its burst when 重点
        lottery::DrawPicture result = rolling;
        result.screen = lottery::DrawPicture::Screen::Result;
        StageComposer kept = composer();
        kept.composeRolling(data, rolling);
        for (const int ms :
             {0, 90, 91, 400, 800, 1300, 2000, drawscreen::RevealTimeline::kDoneMs}) {
            const QImage before = kept.frame().copy();
            kept.composeResult(data, result, ms);
            StageComposer whole = composer();
            whole.composeRolling(data, rolling);
            whole.composeResult(data, result, ms);
            QVERIFY2(kept.frame() == whole.frame(), qPrintable(QString::number(ms)));
            QVERIFY(changedOnlyWithin(before, kept));
        }
        // Settled, the frame is the still screen as the window shows it: no jump at the end.
        QImage settled = backdrop();
        QPainter painter(&settled);
        painter.setOpacity(StageComposer::kCanvasOpacity / 255.0);
        painter.drawImage(0, 0, kept.canvas());
        painter.end();
        QCOMPARE(kept.frame(), settled);
    }

    // A rolling frame writes only what changed since the frame before; what it leaves is the
    // frame a fresh composer draws whole, and nothing changes outside the region it names.
    void partialFramesMatchWholeOnes() {
        lottery::LotteryData data;
        addEvent(data);
        StageComposer kept = composer();
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
            const QImage before = kept.frame().copy();
            kept.composeRolling(data, picture);
            StageComposer whole = composer();
            whole.composeRolling(data, picture);
            QVERIFY(kept.frame() == whole.frame());
            QVERIFY(changedOnlyWithin(before, kept));
        }
    }

private:
    const QString family = drawscreen::FontChooser::cjkSansFamily();
    const QSize screen{1366, 768};

    // A backdrop that is not one colour, so a frame that leaves it out shows.
    QImage backdrop() const {
        QImage image(screen, QImage::Format_RGB32);
        QPainter painter(&image);
        QLinearGradient gradient(0, 0, screen.width(), screen.height());
        gradient.setColorAt(0, QColor(120, 10, 20));
        gradient.setColorAt(1, QColor(20, 40, 160));
        painter.fillRect(image.rect(), gradient);
        return image;
    }
    StageComposer composer() const {
        StageComposer made(family);
        made.setSize(screen);
        made.setBackdrop(backdrop());
        return made;
    }

    static void addEvent(lottery::LotteryData& data) {
        std::vector<std::string> names;
        for (int i = 0; i < 200; ++i)
            names.push_back(QStringLiteral("参与者%1 138%2").arg(i).arg(i * 7919).toStdString());
        names[3] = "王"; // one short entry and one that shrinks in its cell
        names[5] = std::string(40, 'W');
        drawfixture::addEntries(data, names);
        data.prizeTable.prizes = {drawfixture::prize("一等奖", 60, 30)};
        data.options.setState(lottery::DrawState::Rolling);
    }

    static bool changedOnlyWithin(const QImage& before, const StageComposer& after) {
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x)
                if (before.pixel(x, y) != after.frame().pixel(x, y) &&
                    !after.changedRegion().contains(QPoint(x, y))) {
                    qWarning("change at %d,%d outside", x, y);
                    return false;
                }
        return true;
    }
};

QTEST_MAIN(StageComposerTest)
#include "stage_composer_test.moc"
