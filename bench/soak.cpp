// Soak run: a long roll of composed frames, then many whole draws through the draw machine,
// watching the resident memory. Not a test: run by hand, e.g. `soak 1000000 1000`.
// Exits 1 when the resident memory grew by more than 5 MB after the warm-up.
#include "core/gbk_codec.h"
#include "drawscreen/font_chooser.h"
#include "drawscreen/frame_composer.h"
#include "drawscreen/name_font.h"
#include "lottery/draw_machine.h"
#include "lottery/prize_file.h"
#include "lottery/winner_selection.h"
#include "support/fake_core_services.h"

#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

constexpr double kAllowedGrowthMb = 5.0;
const QSize kWindow(1535, 917);

// Resident memory from /proc/self/statm (Linux); 0 elsewhere.
double residentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    if (!(statm >> pages >> resident))
        return 0;
    return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

std::string nameOf(std::mt19937& random) {
    static const QString chars =
        QString::fromUtf8("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓"
                          "伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚");
    std::uniform_int_distribution<qsizetype> pick(0, chars.size() - 1);
    QString name;
    for (int c = 0; c < 3; ++c)
        name.append(chars[pick(random)]);
    name.append(QString::number(13800000000LL + random() % 100000000));
    return core::GbkCodec::fromQString(name);
}

void addEntries(lottery::LotteryData& data, int count) {
    std::mt19937 random(20240601);
    for (int i = 0; i < count; ++i) {
        const std::string raw = nameOf(random);
        data.participants.append(raw);
        data.participants.setDisplayText(i, raw);
    }
}

lottery::PrizeRecord prize(const char* id, const char* title, int total, int perRound, int order) {
    lottery::PrizeRecord p;
    p.id = id;
    p.title = core::GbkCodec::fromUtf8(title);
    p.total = total;
    p.perRound = perRound;
    p.order = order;
    p.rounds = lottery::roundsFor(total, perRound);
    return p;
}

class Phase {
public:
    explicit Phase(const char* name) : name_(name) {}

    void warmedUp() { warm_ = residentMb(); }
    // Prints the figures; false when memory grew too much.
    bool report(long count, const char* unit) const {
        const double end = residentMb();
        const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
        std::printf("%s: %ld %s in %.1f s (%.3f ms each); resident after warm-up %.1f MB, at "
                    "the end %.1f MB, growth %.2f MB\n",
                    name_, count, unit, seconds, 1000.0 * seconds / static_cast<double>(count),
                    warm_, end, end - warm_);
        return end - warm_ <= kAllowedGrowthMb;
    }

private:
    using Clock = std::chrono::steady_clock;
    const char* name_;
    Clock::time_point start_ = Clock::now();
    double warm_ = 0;
};

bool soakFrames(long frames, const QString& family) {
    lottery::LotteryData data;
    addEntries(data, lottery::kParticipantCapacity);
    data.prizeTable.prizes.push_back(prize("1", "一等奖", 30, 30, 1));
    data.options.setState(lottery::DrawState::Rolling);
    drawscreen::FrameComposer composer(kWindow, 1.0f, family);
    testsupport::FakeCoreServices services({}, 7);

    lottery::DrawPicture picture;
    Phase phase("rolling frames");
    const long warmUp = std::min<long>(frames / 10, 10000);
    for (long i = 0; i < frames; ++i) {
        if (i == warmUp)
            phase.warmedUp();
        lottery::drawWinners(data, 0, 30, {}, services);
        picture.selection.clear();
        for (int w = 0; w < data.pool.winnerCount; ++w)
            picture.selection.push_back(
                {std::string(data.participants.rawText(data.pool.winnerAt(w))),
                 std::string(data.participants.displayText(data.pool.winnerAt(w)))});
        composer.composeRolling(data, picture);
        if (i % 1000 == 0) // the result frame now and then, as a draw shows it
            composer.composeResult(data, picture);
    }
    return phase.report(frames, "frames");
}

// Composes what the draw machine shows it, as the draw window does.
class ComposingView : public lottery::DrawView, public lottery::DrawClock {
public:
    ComposingView(lottery::LotteryData& data, QString family)
        : data_(data), family_(family), composer_(kWindow, 1.0f, family) {}

    void showPicture(const lottery::DrawPicture& picture) override {
        using Screen = lottery::DrawPicture::Screen;
        finished = picture.screen == Screen::Finished;
        if (picture.screen == Screen::Rolling)
            composer_.composeRolling(data_, picture);
        else if (picture.screen == Screen::Result)
            composer_.composeResult(data_, picture);
        else
            composer_.composeStatic(picture);
    }
    void playCue(lottery::SoundCue) override {}
    void setTicking(bool ticking) override { rolling = ticking; }
    void reportProblem(const std::string& utf8Message) override {
        ++problems;
        std::fprintf(stderr, "problem: %s\n", utf8Message.c_str());
    }

    bool finished = false;
    bool rolling = false;
    int problems = 0;

private:
    lottery::LotteryData& data_;
    QString family_;
    drawscreen::FrameComposer composer_;
};

bool soakDraws(long draws, const QString& family) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("prizedraw-soak-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder / "data");
    const auto paths = lottery::EventPaths::forFolder(folder);

    lottery::LotteryData data;
    addEntries(data, 30);
    data.prizeTable.prizes = {prize("1", "一等奖", 1, 1, 1), prize("2", "二等奖", 3, 3, 2),
                              prize("3", "三等奖", 10, 4, 3)};
    testsupport::FakeCoreServices services(folder, 11);
    services.secondsPerCall = 1; // every draw's backup gets a name of its own
    ComposingView view(data, family);
    lottery::DrawMachine machine(data, paths, services, view);
    machine.addView(view);

    Phase phase("whole draws");
    const long warmUp = std::min<long>(draws / 10, 50);
    long presses = 0;
    for (long d = 0; d < draws; ++d) {
        if (d == warmUp)
            phase.warmedUp();
        view.finished = false;
        for (int press = 0; press < 100 && !view.finished; ++press) {
            machine.advance();
            ++presses;
            for (int tick = 0; view.rolling && tick < 5; ++tick)
                machine.tick();
        }
        machine.reset();
        // The backups of earlier draws would only fill the disk.
        for (const auto& item : std::filesystem::directory_iterator(folder / "data"))
            if (item.path().filename().string().rfind("bak_result", 0) == 0)
                std::filesystem::remove(item.path());
    }
    const bool ok = phase.report(draws, "draws") && view.problems == 0;
    std::printf("  %ld presses, %d problems reported\n", presses, view.problems);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const long frames = argc > 1 ? std::atol(argv[1]) : 1000000;
    const long draws = argc > 2 ? std::atol(argv[2]) : 1000;
    const QString family = drawscreen::FontChooser::cjkSansFamily();
    std::printf("font %s, window %dx%d\n", family.toUtf8().constData(), kWindow.width(),
                kWindow.height());
    const bool framesOk = frames <= 0 || soakFrames(frames, family);
    const bool drawsOk = draws <= 0 || soakDraws(draws, family);
    return framesOk && drawsOk ? 0 : 1;
}
