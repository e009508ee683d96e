#include "lottery/draw_machine.h"

#include "lottery/draw_ledger.h"
#include "lottery/results_log.h"
#include "lottery/safe_file.h"
#include "support/draw_bench.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

using lottery::DrawState;
using Calls = std::vector<std::string>;

namespace {

class DrawMachineTest : public ::testing::Test, public DrawBench {
protected:
    DrawMachineTest() : DrawBench(numbered(20)) {}
    ~DrawMachineTest() override { lottery::setWriteStepProbe(nullptr); }
};

// "A1 B1 end": the rounds recorded, and whether the draw's end is.
std::string roundsOf(const lottery::ResultsLog& log) {
    std::string rounds;
    for (const auto& w : log.winners)
        rounds += w.prizeId + std::to_string(w.round) + " ";
    return rounds + (log.finished ? "end" : "");
}

} // namespace

// A: rounds of 2 and 1, B: one round of 1. A second view, like an operator's console, is shown
// the same draw but runs no clock.
TEST_F(DrawMachineTest, WholeDrawWalksTheTableAndRecordsEachRoundBeforeShowingIt) {
    addPrize("A", 3, 2);
    addPrize("B", 1, 1);
    RecordingView console;
    machine.addView(console);
    // At each result frame the file holds exactly the winners shown so far, as "A1.2 p105".
    Calls shown;
    view.onResult = [&] {
        const std::string round = data.prizeTable.prizes.at(data.options.prizeIndex).id +
                                  std::to_string(data.options.roundIndex + 1) + ".";
        for (std::size_t i = 0; i < view.shown.size(); ++i)
            shown.push_back(round + std::to_string(i + 1) + " " + view.shown[i]);
        const auto onDisk = log();
        Calls recorded;
        for (const auto& w : onDisk.winners)
            recorded.push_back(w.prizeId + std::to_string(w.round) + "." +
                               std::to_string(w.position) + " " + w.rawText);
        EXPECT_EQ(recorded, shown);
        EXPECT_EQ(onDisk.finished, shown.size() == 4);
    };

    press();
    EXPECT_EQ(view.take(), (Calls{"cue0", "frame", "timer on"}));
    EXPECT_EQ(log().startTime, "2026-01-01 00:00:00");
    machine.tick(); // a tick of the clock selects again
    const Calls lastRolling = view.shown;
    view.take();
    press();
    EXPECT_EQ(view.take(), (Calls{"cue1", "timer off", "result"}));
    EXPECT_EQ(view.shown, lastRolling); // stopping never selects again
    press();
    EXPECT_EQ(view.take(), (Calls{"cue0", "frame", "timer on"}));
    EXPECT_EQ(data.options.roundIndex, 1);
    press(2); // stop, then on to the next prize
    EXPECT_EQ(view.take(), (Calls{"cue1", "timer off", "result", "cue0", "frame", "timer on"}));
    EXPECT_EQ(data.options.prizeIndex, 1);
    press();
    EXPECT_EQ(shown.size(), 4u);
    EXPECT_TRUE(view.problems.empty());
    EXPECT_EQ(console.shown, view.shown);
    EXPECT_EQ(console.calls, (Calls{"cue0", "frame", "frame", "cue1", "result", "cue0", "frame",
                                    "cue1", "result", "cue0", "frame", "cue1", "result"}));
}

TEST_F(DrawMachineTest, ResetWhileRollingStartsTheDrawAgain) {
    addPrize("A", 4, 2);
    press(3); // round 2 rolls
    ASSERT_EQ(data.options.roundIndex, 1);
    view.take();
    machine.reset();
    EXPECT_EQ(view.take(), (Calls{"timer off", "ready"}));
    EXPECT_EQ(folder.backupCount(), 1); // closed and set aside at once

    press(); // a first start again
    EXPECT_EQ(view.take(), (Calls{"cue0", "frame", "timer on"}));
    EXPECT_EQ(folder.backupCount(), 1);
    EXPECT_TRUE(log().winners.empty());
    // The marks of the abandoned draw are gone: every entry may win again.
    for (int j = 0; j < data.participants.count(); ++j)
        EXPECT_FALSE(data.participants.won(j)) << data.participants.rawText(j);
}

// A round that cannot be written stays in memory: every such press tells how many rounds
// are not on disk, and once the disk is back they are written in order, exactly as shown,
// after the start line that could not be written either; the earlier results end whole in a
// backup. How a full disk or a read-only folder gets there is the careless operator's run.
TEST_F(DrawMachineTest, UnsavedRoundsAreToldEachTimeAndWrittenOnceTheDiskIsBack) {
    TempEventFolder::write(folder.paths.resultFile, "earlier draw\r\n");
    lottery::setWriteStepProbe([](lottery::WriteStep) { return false; });
    addPrize("A", 3, 1);
    Calls shown;
    view.onResult = [&] { shown.push_back(view.shown.at(0)); };
    press(); // the start line fails
    ASSERT_EQ(view.problems.size(), 1u);
    EXPECT_EQ(view.problems[0].rfind("抽奖结果未能写入文件", 0), 0u) << view.problems[0];
    press(3); // stop, roll, stop: two rounds shown, neither on disk
    ASSERT_EQ(view.problems.size(), 3u);
    EXPECT_NE(view.problems[1].find("尚有 1 轮"), std::string::npos) << view.problems[1];
    EXPECT_NE(view.problems[2].find("尚有 2 轮"), std::string::npos) << view.problems[2];
    EXPECT_FALSE(machine.retryUnsaved());
    // How the unsaved rounds are listed and saved elsewhere is the main window's and the
    // careless operator's.
    lottery::setWriteStepProbe(nullptr);
    EXPECT_TRUE(machine.retryUnsaved());
    EXPECT_EQ(folder.backupCount(), 1);
    EXPECT_EQ(TempEventFolder::read(folder.data() / "bak_result20260101000000.txt"),
              "earlier draw\r\n");
    Calls recorded;
    for (const auto& w : log().winners)
        recorded.push_back(w.rawText);
    EXPECT_EQ(recorded, shown);
    EXPECT_TRUE(machine.results().winners.back().saved);
    press(2); // the last round goes straight to disk, with no word
    EXPECT_EQ(view.problems.size(), 3u);
    EXPECT_EQ(log().winners.size(), 3u);
    EXPECT_TRUE(log().finished);
}

TEST_F(DrawMachineTest, AResultsFileThatCannotBeReadIsNeverMovedAside) {
    addPrize("A", 1, 1);
    std::filesystem::create_directories(folder.paths.resultFile / "held");
    press();
    ASSERT_EQ(view.problems.size(), 1u);
    EXPECT_NE(view.problems[0].find("无法读取"), std::string::npos) << view.problems[0];
    EXPECT_EQ(view.take(), Calls{"ready"});
    EXPECT_TRUE(std::filesystem::exists(folder.paths.resultFile / "held"));
    EXPECT_EQ(folder.backupCount(), 0);
}

// Which round comes next: prizes without rounds are passed over, the operator's choice goes
// first and each prize keeps its own progress; when nothing is left the finished screen stays
// and the file no longer changes.
TEST(DrawMachineOrder, RoundsFollowTheTableAndTheOperatorsChoice) {
    using Prizes = std::vector<std::tuple<const char*, int, int>>;
    const struct {
        const char* name;
        Prizes prizes;
        const char* script; // as DrawBench::play takes it; the presses after the '|' show
        const char* calls;  // these calls and write nothing
        const char* rounds;
    } cases[] = {
        // clang-format off
        {"no prize", {}, "|p", "ready", ""},
        {"nothing drawable", {{"Z", 0, 3}}, "|p", "ready", ""},
        {"passed over", {{"A", 1, 1}, {"Z", 5, 0}, {"B", 1, 1}, {"Z", 0, 0}}, "pppp|pp",
         "finished finished", "A1 B1 end"},
        {"shrunk at a result", {{"A", 1, 1}, {"B", 1, 1}, {"C", 1, 1}}, "ppppk1|p", "finished",
         "A1 B1 "},
        {"emptied while rolling", {{"A", 1, 1}, {"B", 1, 1}}, "pppk0|pp",
         "cue1 timer off finished finished", "A1 "},
        {"chosen", {{"A", 2, 1}, {"B", 1, 1}, {"C", 1, 1}}, "c2ppppc1pppp|p", "finished",
         "C1 A1 B1 A2 end"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DrawBench bench(DrawBench::numbered(20));
        for (const auto& [id, total, perRound] : c.prizes)
            bench.addPrize(id, total, perRound);
        const std::string script = c.script;
        const std::size_t mark = script.find('|');
        bench.play(script.substr(0, mark).c_str());
        bench.view.take();
        const std::string atMark = bench.results();
        bench.play(script.c_str() + mark);
        std::string calls;
        for (const std::string& call : bench.view.take())
            calls += (calls.empty() ? "" : " ") + call;
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(bench.results(), atMark);
        EXPECT_EQ(roundsOf(bench.log()), c.rounds);
        EXPECT_EQ(bench.folder.backupCount(), 0);
    }
}

// The status lines follow the draw; prizes without rounds are never named. The press's label
// and the prize choice while rolling are the console's table.
TEST_F(DrawMachineTest, StatusLinesFollowTheDraw) {
    addPrize("A", 10, 3);
    addPrize("Z", 0, 5);
    addPrize("B", 2, 5);
    const auto status = [this] {
        const lottery::StatusTexts& texts = machine.picture().status;
        return texts.current + "|" + texts.next;
    };
    machine.present();
    EXPECT_EQ(status(), "|下一步：TA，第1轮/共4轮");
    press(2);
    EXPECT_EQ(status(), "当前：TA，第1轮/共4轮|下一步：TA，第2轮/共4轮");
    machine.choosePrize(2);
    EXPECT_EQ(machine.picture().status.next, "下一步：TB，第1轮/共1轮");
    machine.choosePrize(0);
    press(6);
    EXPECT_EQ(status(), "当前：TA，第4轮/共4轮|下一步：TB，第1轮/共1轮");
    press(2);
    EXPECT_EQ(status(), "当前：TB，第1轮/共1轮|抽奖结束！");
}

// An absent winner never comes back: not in the redraw of the position, nor in a later prize;
// a replacement can be absent in turn. How the kept names stand still and the replacement is
// shown and recorded is the console's test, the resume table's and the live draw's.
TEST_F(DrawMachineTest, AbsentWinnersAreRedrawnInTheirPositions) {
    addPrize("A", 3, 3);
    addPrize("B", 1, 1);
    press(2);
    const std::string gone = machine.roundOnScreen()[1];
    machine.declareAbsent({2});
    press();
    for (int frame = 0; frame < 30; ++frame, machine.tick())
        EXPECT_NE(machine.picture().selection.at(1).raw, gone);
    press();
    machine.declareAbsent({2});
    press(2);
    EXPECT_EQ(log().winners.size(), 7u); // three, then an absent and a replacement twice
    press(2);
    EXPECT_NE(log().winners.back().rawText, gone);
    EXPECT_TRUE(log().finished);
}

// Edits during the draw never move it to another prize nor give a prize more than its total.
TEST_F(DrawMachineTest, EditsDuringTheDrawKeepTheProgressOfEachPrize) {
    addPrize("A", 6, 2);
    addPrize("B", 2, 1);
    press(2); // A1: 2 winners
    EXPECT_FALSE(machine.whyNotDelete(0).empty());
    EXPECT_TRUE(machine.whyNotDelete(1).empty());
    EXPECT_FALSE(machine.whyNotChangeId(0).empty());
    EXPECT_TRUE(machine.whyNotChangeId(1).empty());
    EXPECT_FALSE(machine.whyNotTotal(0, 1).empty());
    EXPECT_TRUE(machine.whyNotTotal(0, 2).empty());
    // One winner a round now, and a new first prize in front.
    data.prizeTable.prizes[0].perRound = 1;
    data.prizeTable.prizes.insert(data.prizeTable.prizes.begin(), {"N", "TN", "", 1, 1, 0, "", 1});
    machine.prizesChanged();
    EXPECT_EQ(data.options.prizeIndex, 1);
    machine.present();
    EXPECT_EQ(machine.picture().status.current, "当前：TA，第1轮/共5轮");
    // The figures the screen shows come from the draw, not from the prize's stored rounds.
    EXPECT_EQ(machine.picture().roundsInAll, 5);
    EXPECT_EQ(machine.picture().positionsLeft, 4);
    press(); // A2 rolls: its position counts as drawn
    EXPECT_EQ(machine.picture().positionsLeft, 3);
    press(8); // A's other rounds of one, then N's first rolls
    ASSERT_EQ(data.options.prizeIndex, 0);
    EXPECT_FALSE(machine.whyNotChangeId(0).empty());
    EXPECT_FALSE(machine.whyNotDelete(0).empty());
    press(11);
    std::map<std::string, int> winners;
    for (const auto& w : log().winners)
        ++winners[w.prizeId];
    EXPECT_EQ(winners, (std::map<std::string, int>{{"A", 6}, {"B", 2}, {"N", 1}}));
    EXPECT_TRUE(log().finished);
}

// The list read again at every moment of a round: the names shown and recorded stay, an absent
// mark names who won the position, and what rolls after comes from the new list.
TEST(DrawMachineReload, AListReadAgainNeverChangesANameShownOrRecorded) {
    const Calls before = {"p0", "p1", "p2", "p3", "p4", "p5"};
    const struct {
        const char* name;
        Calls entries;
    } lists[] = {{"added in front", {"n0", "n1", "p0", "p1", "p2", "p3", "p4", "p5"}},
                 {"shorter", {"p0", "p1"}},
                 {"without the winners", {"n0", "n1", "n2", "n3", "n4", "n5"}},
                 {"one line", {"n0"}}};
    const struct {
        const char* name;
        int presses;
        bool absent;
    } states[] = {{"ready", 0, false},
                  {"rolling", 1, false},
                  {"result", 2, false},
                  {"absent pending", 2, true}};
    for (const auto& state : states) {
        for (const auto& list : lists) {
            SCOPED_TRACE(std::string(state.name) + ", " + list.name);
            DrawBench bench({}, 5);
            bench.addPrize("A", 4, 2);
            const auto load = [&](const Calls& entries) {
                bench.data.participants.clear();
                std::string file;
                for (const std::string& raw : entries)
                    testsupport::addEntry(bench.data.participants, raw), file += raw + "\r\n";
                TempEventFolder::write(bench.folder.paths.participantFile, file);
                bench.machine.participantsReloaded();
            };
            load(before);
            bench.press(state.presses);
            if (state.absent)
                bench.machine.declareAbsent({1});
            const Calls shown = bench.view.shown;
            load(list.entries);
            const auto in = [](const Calls& entries, const std::string& raw) {
                return std::count(entries.begin(), entries.end(), raw) > 0;
            };
            if (state.presses == 2) {
                EXPECT_EQ(bench.view.shown, shown);
            }
            for (const std::string& raw : state.presses == 1 ? bench.view.shown : Calls{})
                EXPECT_TRUE(in(list.entries, raw));
            if (state.presses == 2 && !state.absent)
                bench.machine.declareAbsent({2}); // names the winner shown, whatever the list holds
            bench.press(8);
            const lottery::ResultsLog log = bench.log();
            EXPECT_EQ(lottery::readLedger(log).problems, Calls{});
            EXPECT_EQ(log.lists.size(), state.presses == 0 ? 1u : 2u);
            for (std::size_t i = 0; i < log.winners.size(); ++i) {
                const lottery::WinnerRecord& w = log.winners[i];
                const bool drawnAfter = log.lists.size() < 2 || i >= log.lists[1].fromWinner;
                EXPECT_TRUE(w.status == lottery::WinnerStatus::Absent ||
                            in(drawnAfter ? list.entries : before, w.rawText))
                    << w.rawText;
            }
        }
    }
}
