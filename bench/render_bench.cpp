// Frame composition of the draw window: the program's rolling renderer against the plain way
// (one path of all names, stroked and filled), on the largest selection a round can have; and
// whole rolling frames, selection and composition, at lists of up to a million entries. Then
// the 大屏 screen's grid, rolling and during the reveal, on whole 1080p and 4K screens, and
// the floor of a rolling frame at 4K.
#include "core/gbk_codec.h"
#include "drawscreen/font_chooser.h"
#include "drawscreen/frame_composer.h"
#include "drawscreen/reveal_timeline.h"
#include "drawscreen/stage_composer.h"
#include "lottery/lottery_data.h"
#include "lottery/winner_selection.h"
#include "support/fake_core_services.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using drawscreen::FrameComposer;

// Common characters of Chinese names; fixed so every run draws the same entries.
const char* const kCommon =
    "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程"
    "苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝"
    "伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华玉兰萍鹏辉建国文红梅林海燕志新春雪荣";

struct Event {
    lottery::LotteryData data;
    testsupport::FakeCoreServices services{{}, 20240601};

    // entries names, of which won already won an earlier prize; the prize drawn has no
    // repeat list, so they are no candidates.
    Event(int entries, int won, int perRound) {
        std::vector<std::string> chars;
        for (const QChar c : QString::fromUtf8(kCommon))
            chars.push_back(core::GbkCodec::fromQString(QString(c)));
        std::mt19937 random{20240601};
        std::uniform_int_distribution<std::size_t> pick(0, chars.size() - 1);
        std::uniform_int_distribution<int> digit(0, 9);
        lottery::ParticipantList& list = data.participants;
        list.reserve(static_cast<std::size_t>(entries), static_cast<std::size_t>(entries) * 23);
        std::string name;
        for (int i = 0; i < entries; ++i) {
            name.clear();
            for (int c = 0; c < 6; ++c)
                name += chars[pick(random)];
            name += '1';
            for (int d = 0; d < 10; ++d)
                name += static_cast<char>('0' + digit(random));
            list.append(name);
            list.setDisplayText(i, name);
        }
        for (int i = 0; i < won; ++i)
            list.markOne(static_cast<int>(static_cast<long long>(i) * entries / won), "P0");
        lottery::PrizeRecord prize;
        prize.id = "P1";
        prize.title = core::GbkCodec::fromUtf8("一等奖");
        prize.perRound = perRound;
        prize.total = perRound;
        prize.rounds = 1;
        data.prizeTable.prizes.push_back(prize);
        data.options.setState(lottery::DrawState::Rolling);
    }

    // A rolling frame's draw, as the draw machine makes it.
    void select() {
        lottery::drawWinners(data, 0, data.prizeTable.prizes[0].perRound, {}, services);
    }

    // Ten seconds of rolling, so the timed frames meet the glyphs and names a roll has met.
    void warm(FrameComposer& composer) {
        for (int frame = 0; frame < 250; ++frame) {
            select();
            composer.composeRolling(data, picture());
        }
    }

    // The latest selection as the draw machine hands it to its views.
    lottery::DrawPicture picture() const {
        lottery::DrawPicture shown;
        for (int i = 0; i < data.pool.winnerCount; ++i)
            shown.selection.push_back(
                {std::string(data.participants.rawText(data.pool.winnerAt(i))),
                 std::string(data.participants.displayText(data.pool.winnerAt(i)))});
        return shown;
    }
};

void rolling(benchmark::State& state, QSize size, int perRound, bool asPath, bool warm,
             int entries = 10000, int won = 0) {
    const QString family = drawscreen::FontChooser::cjkSansFamily();
    if (family.isEmpty()) {
        state.SkipWithError("no CJK sans font installed");
        return;
    }
    Event event(entries, won, perRound);
    FrameComposer composer(size, 1.0f, family);
    if (warm && !asPath)
        event.warm(composer);
    for (auto _ : state) {
        if (!warm) {
            state.PauseTiming();
            composer.invalidateNames();
            composer.composeStatic(lottery::DrawPicture{});
            state.ResumeTiming();
        }
        event.select();
        if (asPath)
            composer.composeRollingAsPath(event.data, event.picture());
        else
            composer.composeRolling(event.data, event.picture());
        benchmark::DoNotOptimize(composer.canvas().constBits());
    }
}

// The 大屏 screen after ten seconds of rolling event's names; none without a CJK font.
std::optional<drawscreen::StageComposer> rolledStage(benchmark::State& state, Event& event,
                                                     QSize screen) {
    const QString family = drawscreen::FontChooser::cjkSansFamily();
    if (family.isEmpty()) {
        state.SkipWithError("no CJK sans font installed");
        return std::nullopt;
    }
    std::optional<drawscreen::StageComposer> composer(std::in_place, family);
    composer->setSize(screen);
    for (int frame = 0; frame < 250; ++frame) {
        event.select();
        composer->composeRolling(event.data, event.picture());
    }
    return composer;
}

// The 大屏 screen: a rolling frame of perRound names, or one frame of the reveal.
void stage(benchmark::State& state, QSize screen, int perRound, bool reveal) {
    Event event(10000, 0, perRound);
    std::optional<drawscreen::StageComposer> rolled = rolledStage(state, event, screen);
    if (!rolled)
        return;
    drawscreen::StageComposer& composer = *rolled;
    lottery::DrawPicture result = event.picture();
    result.screen = lottery::DrawPicture::Screen::Result;
    // The stop's frame makes the reveal's cells; the frames after it are timed.
    composer.composeResult(event.data, result, 0);
    int elapsed = 40;
    // What the window paints into: each frame is composed and written into it.
    QImage shown(screen, QImage::Format_RGB32);
    for (auto _ : state) {
        if (reveal) {
            composer.composeResult(event.data, result, elapsed);
            elapsed = elapsed % drawscreen::RevealTimeline::kBurstMs + 40;
        } else {
            event.select();
            composer.composeRolling(event.data, event.picture());
        }
        composer.paintFrame(shown, QPoint(0, 0), composer.changedRegion());
        benchmark::DoNotOptimize(shown.constBits());
    }
}

const QSize kScreen(1920, 1080);
const QSize kScreen4K(3840, 2160);

// What no way of writing rolling frames can beat: copying the rows a frame of 30 names changed
// from a backdrop into the shown image, with no names to place or blend.
void BM_StageChangedRowsCopiedAt4K(benchmark::State& state) {
    Event event(10000, 0, 30);
    std::optional<drawscreen::StageComposer> rolled = rolledStage(state, event, kScreen4K);
    if (!rolled)
        return;
    drawscreen::StageComposer& composer = *rolled;
    QImage backdrop(kScreen4K, QImage::Format_RGB32);
    backdrop.fill(Qt::darkBlue);
    QImage shown(kScreen4K, QImage::Format_RGB32);
    uchar* const to = shown.bits();
    const uchar* const from = backdrop.constBits();
    const auto line = static_cast<std::size_t>(shown.bytesPerLine());
    for (auto _ : state) {
        state.PauseTiming();
        event.select();
        composer.composeRolling(event.data, event.picture());
        state.ResumeTiming();
        for (const QRect& rect : composer.changedRegion()) {
            const auto offset = static_cast<std::size_t>(rect.left()) * 4;
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                std::memcpy(to + y * line + offset, from + y * line + offset,
                            static_cast<std::size_t>(rect.width()) * 4);
        }
        benchmark::DoNotOptimize(shown.constBits());
    }
}

void BM_StageRolling30(benchmark::State& s) {
    stage(s, kScreen, 30, false);
}
void BM_StageRolling30At4K(benchmark::State& s) {
    stage(s, kScreen4K, 30, false);
}
void BM_StageRolling3(benchmark::State& s) {
    stage(s, kScreen, 3, false);
}
void BM_StageReveal30(benchmark::State& s) {
    stage(s, kScreen, 30, true);
}
void BM_StageReveal30At4K(benchmark::State& s) {
    stage(s, kScreen4K, 30, true);
}
void BM_StageReveal1(benchmark::State& s) {
    stage(s, kScreen, 1, true);
}
// The frame of the stop itself, which composes the settled screen.
void stop(benchmark::State& s, QSize screen) {
    const QString family = drawscreen::FontChooser::cjkSansFamily();
    Event event(10000, 0, 30);
    drawscreen::StageComposer composer(family);
    composer.setSize(screen);
    for (auto _ : s) {
        s.PauseTiming();
        event.select();
        composer.composeRolling(event.data, event.picture());
        lottery::DrawPicture result = event.picture();
        result.screen = lottery::DrawPicture::Screen::Result;
        s.ResumeTiming();
        composer.composeResult(event.data, result, 0);
    }
}
void BM_StageStop30(benchmark::State& s) {
    stop(s, kScreen);
}
void BM_StageStop30At4K(benchmark::State& s) {
    stop(s, kScreen4K);
}

const QSize kWindow(1535, 917); // 1920 x 1080 screen
const QSize kLarge(3072, 1944);

void BM_Rolling30(benchmark::State& s) {
    rolling(s, kWindow, 30, false, true);
}
void BM_Rolling30AsPath(benchmark::State& s) {
    rolling(s, kWindow, 30, true, true);
}
void BM_Rolling30Large(benchmark::State& s) {
    rolling(s, kLarge, 30, false, true);
}
void BM_Rolling1Em160(benchmark::State& s) {
    rolling(s, kWindow, 1, false, true);
}
void BM_Rolling1Em160AsPath(benchmark::State& s) {
    rolling(s, kWindow, 1, true, true);
}
// The first frame of a roll after the ready screen, with no name or glyph seen before.
void BM_Rolling30Cold(benchmark::State& s) {
    rolling(s, kWindow, 30, false, false);
}
// A rolling frame, selection and composition, at a list of range(0) entries of which
// range(1) have won already.
void BM_RollingFrame(benchmark::State& s) {
    rolling(s, kWindow, 30, false, true, static_cast<int>(s.range(0)),
            static_cast<int>(s.range(1)));
}

BENCHMARK(BM_StageRolling30)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StageRolling30At4K)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StageChangedRowsCopiedAt4K)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StageRolling3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StageReveal30)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StageReveal30At4K)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StageReveal1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StageStop30)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StageStop30At4K)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Rolling30)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Rolling30AsPath)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Rolling30Large)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Rolling1Em160)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Rolling1Em160AsPath)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Rolling30Cold)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RollingFrame)
    ->Args({10000, 0})
    ->Args({10000, 1000})
    ->Args({100000, 10000})
    ->Args({1000000, 10000})
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
