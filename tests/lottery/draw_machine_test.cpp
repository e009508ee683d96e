#include "lottery/draw_machine.h"

#include "lottery/prize_file.h"
#include "lottery/results_log.h"
#include "lottery/safe_file.h"
#include "lottery/winner_selection.h"
#include "support/fake_core_services.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using lottery::DrawState;

namespace {

// Records what the machine asks for; renders like the real window: a rolling frame selects.
class RecordingView : public lottery::DrawView {
public:
    RecordingView(lottery::LotteryData& data, core::CoreServices& services,
                  const lottery::EventPaths& paths)
        : data_(data), services_(services), paths_(paths) {}

    void computeNameFont() override { calls.push_back("font"); }
    void renderFrame() override {
        if (data_.options.state() == DrawState::Rolling) {
            lottery::selectWinners(data_, services_);
            calls.push_back("frame");
        } else {
            calls.push_back("result");
            logAtResult = lottery::readResultsLog(paths_.resultFile, services_);
        }
        shown = winners();
    }
    void renderStaticScreen(lottery::ScreenKind kind) override {
        calls.push_back(kind == lottery::ScreenKind::Ready ? "ready" : "finished");
    }
    void playCue(lottery::SoundCue cue) override {
        calls.push_back(cue == lottery::SoundCue::Rolling ? "cue0" : "cue1");
    }
    void setFrameTimerRunning(bool running) override {
        calls.push_back(running ? "timer on" : "timer off");
        timerRunning = running;
    }
    void reportProblem(const std::string& message) override { problems.push_back(message); }

    std::vector<std::string> winners() const {
        std::vector<std::string> names;
        for (int i = 0; i < data_.pool.winnerCount; ++i)
            names.push_back(data_.participants.entries[data_.pool.winnerAt(i)].rawText);
        return names;
    }
    std::vector<std::string> take() { return std::exchange(calls, {}); }

    std::vector<std::string> calls;
    std::vector<std::string> problems;
    std::vector<std::string> shown;
    lottery::ResultsLog logAtResult;
    bool timerRunning = false;

private:
    lottery::LotteryData& data_;
    core::CoreServices& services_;
    const lottery::EventPaths& paths_;
};

using Calls = std::vector<std::string>;

// Keeps UTF-8 as it is, so the start and end lines of the log stay apart.
class Utf8Services : public testsupport::FakeCoreServices {
public:
    using FakeCoreServices::FakeCoreServices;
    std::string gbkFromUtf8(std::string_view utf8, int* unmappable = nullptr) override {
        if (unmappable)
            *unmappable = 0;
        return std::string(utf8);
    }
};

class DrawMachineTest : public ::testing::Test {
protected:
    DrawMachineTest() {
        for (int i = 0; i < 20; ++i) {
            lottery::ParticipantRecord entry;
            entry.rawText = "p" + std::to_string(100 + i);
            entry.displayText = entry.rawText;
            data.participants.entries.push_back(entry);
        }
    }
    ~DrawMachineTest() override { fs::remove_all(folder); }

    void addPrize(const std::string& id, int total, int perRound) {
        lottery::PrizeRecord prize;
        prize.id = id;
        prize.title = "T" + id;
        prize.total = total;
        prize.perRound = perRound;
        prize.rounds = lottery::roundsFor(total, perRound);
        data.prizeTable.prizes.push_back(prize);
    }
    void press(int times = 1) {
        for (int i = 0; i < times; ++i)
            machine.advance();
    }
    std::string resultBytes() const {
        std::string bytes;
        lottery::readWholeFile(paths.resultFile, bytes);
        return bytes;
    }
    int backupCount() const {
        int n = 0;
        for (const auto& item : fs::directory_iterator(folder / "data"))
            n += item.path().filename().string().rfind("bak_result", 0) == 0;
        return n;
    }
    const lottery::DrawOptions& options() const { return data.options; }

    static fs::path makeFolder() {
        std::random_device seed;
        const auto folder = fs::temp_directory_path() / ("draw_machine_" + std::to_string(seed()));
        fs::create_directories(folder / "data");
        return folder;
    }

    // Before the machine, which keeps its own copy of the paths.
    fs::path folder = makeFolder();
    lottery::EventPaths paths = lottery::EventPaths::forFolder(folder);
    lottery::LotteryData data;
    Utf8Services services{{}, 7};
    RecordingView view{data, services, paths};
    lottery::DrawMachine machine{data, paths, services, view};
};

TEST_F(DrawMachineTest, PressesWalkTheTransitionTable) {
    addPrize("A", 2, 1);
    addPrize("B", 1, 1);

    press();
    EXPECT_EQ(view.take(), (Calls{"font", "cue0", "frame", "timer on"}));
    EXPECT_EQ(options().state(), DrawState::Rolling);
    const auto started = lottery::readResultsLog(paths.resultFile, services);
    EXPECT_TRUE(started.started);
    EXPECT_EQ(started.startTime, "2026-01-01 00:00:00");
    EXPECT_TRUE(started.winners.empty());

    view.renderFrame(); // timer ticks
    view.renderFrame();
    const auto lastRolling = view.shown;
    view.take();

    press();
    EXPECT_EQ(view.take(), (Calls{"cue1", "timer off", "result"}));
    EXPECT_EQ(options().state(), DrawState::ShowingResult);
    EXPECT_EQ(view.shown, lastRolling); // stopping never selects again

    press(); // next round of the same prize: no new font
    EXPECT_EQ(view.take(), (Calls{"cue0", "frame", "timer on"}));
    EXPECT_EQ(options().roundIndex, 1);

    press(2); // stop, then move on to the next prize
    EXPECT_EQ(view.take(),
              (Calls{"cue1", "timer off", "result", "font", "cue0", "frame", "timer on"}));
    EXPECT_EQ(options().prizeIndex, 1);
    EXPECT_EQ(options().roundIndex, 0);
    EXPECT_TRUE(view.problems.empty());
}

TEST_F(DrawMachineTest, TenWinnersAtThreePerRoundTakeEightPresses) {
    addPrize("A", 10, 3);
    std::vector<int> drawn;
    for (int round = 0; round < 4; ++round) {
        press();
        EXPECT_EQ(options().roundIndex, round);
        drawn.push_back(data.pool.winnerCount);
        press();
        EXPECT_EQ(options().state(), DrawState::ShowingResult);
    }
    EXPECT_EQ(drawn, (std::vector<int>{3, 3, 3, 1}));
    const auto log = lottery::readResultsLog(paths.resultFile, services);
    EXPECT_EQ(log.winners.size(), 10u);
    EXPECT_TRUE(log.finished);

    view.take();
    press();
    EXPECT_EQ(view.take(), Calls{"finished"});
}

TEST_F(DrawMachineTest, FinishedScreenRepeatsWithoutCueOrFileChange) {
    addPrize("A", 1, 1);
    press(2);
    const std::string atEnd = resultBytes();
    const auto state = options();
    view.take();
    for (int i = 0; i < 3; ++i) {
        press();
        EXPECT_EQ(view.take(), Calls{"finished"});
    }
    EXPECT_EQ(resultBytes(), atEnd);
    EXPECT_EQ(backupCount(), 0);
    EXPECT_EQ(options().prizeIndex, state.prizeIndex);
    EXPECT_EQ(options().roundIndex, state.roundIndex);
    EXPECT_EQ(options().state(), DrawState::ShowingResult);
}

TEST_F(DrawMachineTest, ResetWhileRollingStartsTheDrawAgain) {
    addPrize("A", 4, 2);
    press(3); // round 2 rolling
    ASSERT_EQ(options().roundIndex, 1);
    ASSERT_TRUE(view.timerRunning);
    view.take();

    machine.reset();
    EXPECT_EQ(view.take(), Calls{"timer off"});
    EXPECT_FALSE(view.timerRunning);
    EXPECT_EQ(options().state(), DrawState::Ready);
    EXPECT_EQ(options().prizeIndex, 0);
    EXPECT_EQ(options().roundIndex, 0);
    ASSERT_EQ(backupCount(), 0);

    press();
    EXPECT_EQ(view.take(), (Calls{"font", "cue0", "frame", "timer on"}));
    EXPECT_EQ(backupCount(), 1);
    const auto log = lottery::readResultsLog(paths.resultFile, services);
    EXPECT_TRUE(log.started);
    EXPECT_TRUE(log.winners.empty());
    // Marks of the abandoned draw are gone: every entry may win again.
    for (const auto& entry : data.participants.entries)
        EXPECT_EQ(entry.won, 0) << entry.rawText;
}

TEST_F(DrawMachineTest, WholeDrawIsRecordedBeforeEachResultIsShown) {
    addPrize("A", 3, 2);
    addPrize("B", 1, 1);
    struct Round {
        std::string prize;
        int round;
        std::vector<std::string> names;
    };
    std::vector<Round> expected;
    for (int i = 0; i < 3; ++i) {
        press(); // roll
        const std::string id = data.prizeTable.prizes[options().prizeIndex].id;
        const int round = options().roundIndex + 1;
        press(); // stop
        expected.push_back({id, round, view.shown});
        // The result frame came after its winners were on disk.
        ASSERT_GE(view.logAtResult.winners.size(), view.shown.size());
        EXPECT_EQ(view.logAtResult.winners.back().rawText, view.shown.back());
        EXPECT_EQ(view.logAtResult.finished, i == 2);
    }

    const auto log = lottery::readResultsLog(paths.resultFile, services);
    EXPECT_TRUE(log.started);
    EXPECT_TRUE(log.finished);
    std::size_t line = 0;
    for (const auto& round : expected) {
        for (std::size_t p = 0; p < round.names.size(); ++p, ++line) {
            ASSERT_LT(line, log.winners.size());
            EXPECT_EQ(log.winners[line].prizeId, round.prize);
            EXPECT_EQ(log.winners[line].round, round.round);
            EXPECT_EQ(log.winners[line].position, static_cast<int>(p) + 1);
            EXPECT_EQ(log.winners[line].rawText, round.names[p]);
        }
    }
    EXPECT_EQ(line, log.winners.size());
    EXPECT_EQ(expected[0].names.size(), 2u);
    EXPECT_EQ(expected[1].names.size(), 1u);
}

TEST_F(DrawMachineTest, WriteFailureIsReportedOncePerDrawAndTheDrawGoesOn) {
    // A file where the data folder should be: every write of the results fails.
    const fs::path blocker = folder / "blocked";
    std::ofstream(blocker) << "x";
    paths.resultFile = blocker / "_result.txt";
    lottery::DrawMachine broken{data, paths, services, view};
    addPrize("A", 2, 1);

    broken.advance();
    ASSERT_EQ(view.problems.size(), 1u);
    EXPECT_EQ(view.problems[0].rfind("抽奖结果未能写入文件", 0), 0u);
    EXPECT_EQ(options().state(), DrawState::Rolling);
    for (int i = 0; i < 3; ++i)
        broken.advance(); // stop, roll, stop: all writes fail again
    EXPECT_EQ(view.problems.size(), 1u);
    EXPECT_EQ(options().roundIndex, 1);
    EXPECT_EQ(options().state(), DrawState::ShowingResult);

    broken.reset();
    broken.advance(); // a new draw tells again
    EXPECT_EQ(view.problems.size(), 2u);
}

TEST_F(DrawMachineTest, PrizesWithoutRoundsArePassedOver) {
    addPrize("Z1", 0, 3);
    addPrize("A", 1, 1);
    addPrize("Z2", 5, 0);
    addPrize("B", 1, 1);
    addPrize("Z3", 0, 0);

    press();
    EXPECT_EQ(options().prizeIndex, 1);
    press(2);
    EXPECT_EQ(options().prizeIndex, 3);
    press(); // the last drawable prize ends the draw
    EXPECT_TRUE(lottery::readResultsLog(paths.resultFile, services).finished);
    view.take();
    press();
    EXPECT_EQ(view.take(), Calls{"finished"});
}

TEST_F(DrawMachineTest, NothingToDrawShowsTheReadyScreenAndStartsNothing) {
    press();
    EXPECT_EQ(view.take(), Calls{"ready"});
    addPrize("Z", 0, 1);
    press();
    EXPECT_EQ(view.take(), Calls{"ready"});
    EXPECT_EQ(options().state(), DrawState::Ready);
    EXPECT_FALSE(fs::exists(paths.resultFile));
}

TEST_F(DrawMachineTest, TableShrunkDuringTheDrawShowsTheFinishedScreen) {
    addPrize("A", 1, 1);
    addPrize("B", 1, 1);
    addPrize("C", 1, 1);
    press(4); // B's result is shown
    ASSERT_EQ(options().prizeIndex, 1);

    data.prizeTable.prizes.resize(1); // B and C deleted
    view.take();
    press();
    EXPECT_EQ(view.take(), Calls{"finished"});

    machine.reset();
    addPrize("B", 1, 1);
    press(3); // B rolls
    ASSERT_EQ(options().prizeIndex, 1);
    const std::string before = resultBytes();
    data.prizeTable.prizes.clear();
    view.take();
    press(); // stops the roll, records nothing
    EXPECT_EQ(view.take(), (Calls{"cue1", "timer off", "finished"}));
    EXPECT_EQ(resultBytes(), before);
    press();
    EXPECT_EQ(view.take(), Calls{"finished"});
}

} // namespace
