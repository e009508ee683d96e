#include "lottery/draw_resume.h"

#include "gbk_fake_services.h"
#include "lottery/draw_machine.h"
#include "recording_view.h"
#include "support/entries.h"
#include "temp_event_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using lottery::ResumePlan;
using Texts = std::vector<std::string>;

namespace {

// A: rounds of 2 and 1, Z: no rounds (passed over), B: one round of 1.
lottery::LotteryData event(const Texts& entries = {"e1", "e2", "dup", "dup", "e5"}) {
    lottery::LotteryData data;
    data.prizeTable.prizes = {{"A", "TA", "", 3, 2, 0, "", 2},
                              {"Z", "TZ", "", 0, 1, 0, "", 0},
                              {"B", "TB", "", 1, 1, 0, "", 1}};
    for (const std::string& raw : entries)
        testsupport::addEntry(data.participants, raw);
    return data;
}

// A draw of {prize, round, entry} lines, positions counted per round.
lottery::ResultsLog logOf(const std::vector<std::tuple<std::string, int, std::string>>& lines,
                          bool finished = false) {
    lottery::ResultsLog log;
    log.started = true;
    log.finished = finished;
    for (const auto& [id, round, raw] : lines) {
        const auto* last = log.winners.empty() ? nullptr : &log.winners.back();
        const int position =
            last && last->prizeId == id && last->round == round ? last->position + 1 : 1;
        log.winners.push_back({"2026-01-01 00:00:00", id, "T" + id, round, position, raw});
    }
    return log;
}

// A draw on a real results file, which the program can stop and start again.
struct DrawRun {
    explicit DrawRun(Texts list = {"e1", "e2", "dup", "dup", "e5"}) : entries(std::move(list)) {
        restart();
    }
    void press(int times) {
        for (int i = 0; i < times; ++i)
            machine->advance();
    }
    // What a new start-up finds: the same files, no marks, no progress.
    void restart() {
        machine.reset();
        data = event(entries);
        view = std::make_unique<RecordingView>(data);
        view->onResult = [this] { lastResult = view->shown; };
        machine = std::make_unique<lottery::DrawMachine>(data, folder.paths, services, *view);
        machine->addView(*view);
    }
    lottery::ResultsLog log() { return lottery::readResultsLog(folder.paths.resultFile, services); }
    // A new start-up that goes on with the draw on disk.
    void resume() {
        restart();
        const lottery::ResultsLog recorded = log();
        ASSERT_EQ(lottery::planResume(data, recorded, services).kind, ResumePlan::Kind::Resumable);
        lottery::restoreWinnerMarks(data.participants, recorded);
        machine->resume(recorded);
    }

    Texts entries;
    TempEventFolder folder;
    GbkFakeServices services{{}, 11};
    lottery::LotteryData data;
    std::unique_ptr<RecordingView> view;
    std::unique_ptr<lottery::DrawMachine> machine;
    Texts lastResult;
};

} // namespace

// Nothing to resume, or a record that no longer fits the event, named in the problem.
TEST(PlanResume, OnlyAnUnfinishedDrawThatStillFitsIsResumed) {
    GbkFakeServices services;
    const struct {
        lottery::ResultsLog log;
        std::string named; // empty: nothing to resume
        Texts entries = {};
    } cases[] = {
        {{}, ""},
        {logOf({}), ""},                                 // no winner yet
        {logOf({{"A", 1, "e1"}}, true), ""},             // finished
        {logOf({{"A", 1, "e1"}, {"Q", 1, "e5"}}), "TQ"}, // a prize gone
        {logOf({{"A", 1, "e1"}, {"A", 1, "gone"}}), "gone"},
        {logOf({{"A", 1, "dup"}, {"A", 1, "dup"}}), "dup", {"e1", "dup"}},
        {logOf({{"B", 1, "e1"}, {"B", 2, "e2"}}), "抽取总人数"},
        {logOf({{"Z", 1, "e1"}}), "TZ"}, // a prize without rounds
        {logOf({{"A", 1, "e1"}, {"A", 1, "e2"}, {"A", 1, "e5"}}), "多于现在的 2 名"},
    };
    for (const auto& c : cases) {
        const ResumePlan plan =
            lottery::planResume(c.entries.empty() ? event() : event(c.entries), c.log, services);
        EXPECT_EQ(plan.kind,
                  c.named.empty() ? ResumePlan::Kind::Nothing : ResumePlan::Kind::DoesNotFit)
            << c.named;
        EXPECT_NE(plan.problem.find(c.named), std::string::npos) << plan.problem;
    }
}

// Stopped after A's second round, while it rolled, or before the end line was written: the
// last result shows again with the marks back, and the draw goes on in the same file with
// every round once.
TEST(Resume, ContinuesTheDrawWithItsRoundMarksAndWinners) {
    const struct {
        int presses;
        bool endLineLost;
        int prizeIndex, roundIndex, pressesLeft;
    } cases[] = {{4, false, 0, 1, 2}, {3, false, 0, 0, 4}, {6, true, 2, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.presses);
        DrawRun run;
        run.press(c.presses);
        const std::string bytes = TempEventFolder::read(run.folder.paths.resultFile);
        if (c.endLineLost)
            TempEventFolder::write(run.folder.paths.resultFile,
                                   bytes.substr(0, bytes.rfind("\r\n", bytes.size() - 3) + 2));
        const Texts lastResult = run.lastResult;
        run.restart();
        const lottery::ResultsLog recorded = run.log();
        const ResumePlan plan = lottery::planResume(run.data, recorded, run.services);
        ASSERT_EQ(plan.kind, ResumePlan::Kind::Resumable) << plan.problem;
        lottery::restoreWinnerMarks(run.data.participants, recorded);
        run.machine->resume(recorded);
        EXPECT_EQ(run.view->take(), (Texts{"timer off", "font", "result"}));
        EXPECT_EQ(run.view->shown, lastResult);
        EXPECT_EQ(run.data.options.prizeIndex, c.prizeIndex);
        EXPECT_EQ(run.data.options.roundIndex, c.roundIndex);
        // Every copy of a recorded text is marked, and nothing else.
        const lottery::ParticipantList& list = run.data.participants;
        for (int j = 0; j < list.count(); ++j)
            EXPECT_EQ(list.won(j),
                      std::any_of(recorded.winners.begin(), recorded.winners.end(),
                                  [&](const auto& w) { return w.rawText == list.rawText(j); }))
                << list.rawText(j);

        run.press(c.pressesLeft + 1); // Z has no rounds; then the finished screen
        EXPECT_EQ(run.view->calls.back(), "finished");
        const lottery::ResultsLog log = run.log();
        EXPECT_TRUE(log.finished);
        std::string rounds; // prize, round and position of every line
        for (const lottery::WinnerRecord& w : log.winners)
            rounds += w.prizeId + std::to_string(w.round) + "." + std::to_string(w.position) + " ";
        EXPECT_EQ(rounds, "A1.1 A1.2 A2.1 B1.1 ");
        EXPECT_EQ(run.folder.backupCount(), 0);
        EXPECT_TRUE(run.view->problems.empty());
    }
}

// Stopped right after an absent mark, while the redraw rolled, or after a prize chosen out of
// order: the restart shows the round as it was, freed positions empty, and going on fills
// every position exactly once.
TEST(Resume, GoesOnFromEveryMomentOfTheLiveCommands) {
    const struct {
        const char* name;
        std::function<void(DrawRun&)> act;
        std::vector<int> freed;
    } cases[] = {
        {"absent marked", [](DrawRun& r) { r.press(2), r.machine->markAbsent({1}); }, {1}},
        {"redraw rolling",
         [](DrawRun& r) { r.press(2), r.machine->markAbsent({2}), r.press(1); },
         {2}},
        {"chosen out of order", [](DrawRun& r) { r.machine->choosePrize(2), r.press(2); }, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DrawRun run({"e1", "e2", "e3", "e4", "e5", "e6"});
        c.act(run);
        run.resume();
        const std::vector<int>& shown = run.machine->picture().selection;
        for (const int position : c.freed)
            EXPECT_EQ(shown.at(static_cast<std::size_t>(position - 1)), -1);
        run.press(12);
        const lottery::ResultsLog log = run.log();
        EXPECT_TRUE(log.finished);
        std::map<std::string, int> holders; // per prize, round and position
        for (const lottery::WinnerRecord& w : log.winners)
            holders[w.prizeId + std::to_string(w.round) + "." + std::to_string(w.position)] +=
                w.status == lottery::WinnerStatus::Absent ? -1 : 1;
        EXPECT_EQ(holders.size(), 4u); // A: 2 and 1, B: 1
        for (const auto& [position, count] : holders)
            EXPECT_EQ(count, 1) << position;
    }
}
