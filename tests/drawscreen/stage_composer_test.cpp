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

    // Each frame, rolling or revealing, is the one a fresh composer draws whole at that moment,
    // and nothing changes outside the region it names: a window that writes only those regions,
    // sometimes two frames' at once, shows it too.
    // At 4K the shown image outgrows the cache, and whole runs of its rows go around it.
    void framesMatchWholeOnes_data() {
        QTest::addColumn<bool>("keyPrize");
        QTest::addColumn<QSize>("size");
        QTest::newRow("重点 prize: confetti") << true << QSize(1366, 768);
        QTest::newRow("other prize") << false << QSize(1366, 768);
        QTest::newRow("other prize at 4K") << false << QSize(3840, 2160);
    }
    void framesMatchWholeOnes() {
        QFETCH(bool, keyPrize);
        QFETCH(QSize, size);
        screen = size;
        lottery::LotteryData data;
        addEvent(data);
        data.options.stage.keyPrizesChosen = !keyPrize;
        StageComposer kept = composer();
        std::vector<int> entries(200);
        std::iota(entries.begin(), entries.end(), 0);
        std::mt19937 random(7);
        lottery::DrawPicture rolling;
        // Rolling frames (-1), the round's size changing, then a reveal and a roll after it.
        const int done = drawscreen::RevealTimeline::kDoneMs;
        // clang-format off
        const std::vector<std::pair<int, int>> steps{{30, -1}, {30, -1}, {12, -1}, {12, 0},
            {12, 91}, {12, 400}, {12, 1300}, {12, 2000}, {12, done}, {30, -1}, {30, -1}};
        // clang-format on
        QImage shown(screen + QSize(9, 9), QImage::Format_ARGB32_Premultiplied);
        shown.fill(Qt::green);
        const QPoint at(5, 3);
        QRegion unshown;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const auto [count, ms] = steps[i];
            if (ms < 0) {
                std::shuffle(entries.begin(), entries.end(), random);
                drawfixture::select(data,
                                    std::vector<int>(entries.begin(), entries.begin() + count));
                rolling = drawfixture::pictureOf(data);
                rolling.prizeIndex = 0; // with its header, and its burst when 重点
            }
            lottery::DrawPicture result = rolling;
            result.screen = lottery::DrawPicture::Screen::Result;
            StageComposer whole = composer();
            if (ms >= 0)
                whole.composeRolling(data, rolling);
            for (StageComposer* c : {&kept, &whole})
                ms < 0 ? c->composeRolling(data, rolling) : c->composeResult(data, result, ms);
            unshown += kept.changedRegion();
            if (i % 4 == 1) // frames the window is late for
                continue;
            kept.paintFrame(shown, at, std::exchange(unshown, {}));
            QVERIFY2(shown.copy(QRect(at, screen)).convertToFormat(QImage::Format_RGB32) ==
                         whole.frame(),
                     qPrintable(QString::number(ms)));
            // Sampled while the kept frame still lags: a rolling one from the names.
            const QImage sampled = kept.sampledFrame(4);
            for (int y = 0; y < sampled.height(); ++y)
                for (int x = 0; x < sampled.width(); ++x)
                    QCOMPARE(sampled.pixel(x, y), whole.frame().pixel(4 * x, 4 * y));
            QCOMPARE(kept.frame(), whole.frame());
            if (ms != done)
                continue;
            // Settled, the frame is the still screen as the window shows it: no jump at the end.
            QImage settled = backdrop();
            QPainter painter(&settled);
            painter.setOpacity(StageComposer::kCanvasOpacity / 255.0);
            painter.drawImage(0, 0, kept.canvas());
            painter.end();
            QCOMPARE(kept.frame(), settled);
        }
    }

    // The grid is sized for the list's entries as the theme's weight draws them, so entries
    // all as wide as one another fill their cells alike.
    void entriesOfOneWidthTakeTheGridsSize_data() {
        QTest::addColumn<int>("theme");
        QTest::newRow("红金") << static_cast<int>(lottery::StageTheme::RedGold);
        QTest::newRow("深色科技") << static_cast<int>(lottery::StageTheme::DarkTech);
        QTest::newRow("商场促销") << static_cast<int>(lottery::StageTheme::MallPromo);
    }
    void entriesOfOneWidthTakeTheGridsSize() {
        QFETCH(int, theme);
        screen = QSize(1920, 1080);
        lottery::LotteryData data;
        std::vector<std::string> names;
        for (std::string phone = "13800112233"; names.size() < 24;
             std::next_permutation(phone.begin() + 3, phone.end()))
            names.push_back("宋鹏晨 " + phone);
        drawfixture::addEntries(data, names);
        data.prizeTable.prizes = {drawfixture::prize("三等奖", 20, 10)};
        data.options.setState(lottery::DrawState::Rolling);
        data.options.stage.theme = static_cast<lottery::StageTheme>(theme);
        drawfixture::select(data, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
        lottery::DrawPicture picture = drawfixture::pictureOf(data);
        picture.prizeIndex = 0;
        StageComposer stage = composer();
        stage.composeRolling(data, picture);
        QCOMPARE(stage.cellFontSizes(), std::vector<int>(10, stage.grid().fontSize));
    }

private:
    const QString family = drawscreen::FontChooser::cjkSansFamily();
    QSize screen{1366, 768};

    // A backdrop that is not one colour, so a frame that leaves it out shows.
    QImage backdrop() const {
        QImage image(screen, QImage::Format_RGB32);
        QPainter(&image).fillRect(image.rect(), QLinearGradient(0, 0, screen.width(), 0));
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
};

QTEST_MAIN(StageComposerTest)
#include "stage_composer_test.moc"
