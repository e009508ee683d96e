#include "lottery/draw_resume.h"

#include "lottery/draw_ledger.h"
#include "lottery/draw_machine.h"
#include "lottery/results_reader.h"
#include "support/entries.h"
#include "support/fake_core_services.h"
#include "support/recording_view.h"
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
        view = std::make_unique<RecordingView>();
        machine = std::make_unique<lottery::DrawMachine>(data, folder.paths, services, *view);
        machine->addView(*view);
    }
    lottery::ResultsLog log() { return lottery::readResultsLog(folder.paths.resultFile, services); }
    // A new start-up that goes on with the draw on disk, when there is one.
    void resume() {
        restart();
        const lottery::ResultsLog recorded = log();
        const ResumePlan plan = lottery::planResume(data, recorded, services);
        ASSERT_NE(plan.kind, ResumePlan::Kind::DoesNotFit) << plan.problem;
        if (plan.kind == ResumePlan::Kind::Resumable)
            machine->resume(recorded);
        else
            machine->present();
    }
    std::string nextStep() const { return machine->picture().status.next; }

    Texts entries;
    TempEventFolder folder;
    testsupport::FakeCoreServices services{{}, 11};
    lottery::LotteryData data;
    std::unique_ptr<RecordingView> view;
    std::unique_ptr<lottery::DrawMachine> machine;
};

} // namespace

// Nothing to resume, or a record that no longer fits the prizes, named in the problem. The
// list never stops a resume: winners are named by their text.
TEST(PlanResume, OnlyAnUnfinishedDrawThatStillFitsThePrizesIsResumed) {
    testsupport::FakeCoreServices services;
    const struct {
        lottery::ResultsLog log;
        std::string named; // empty: nothing to resume; "-": resumable
    } cases[] = {
        {{}, ""},
        {logOf({}), ""},                                 // no winner yet
        {logOf({{"A", 1, "e1"}}, true), ""},             // finished
        {logOf({{"A", 1, "e1"}, {"Q", 1, "e5"}}), "TQ"}, // a prize gone
        {logOf({{"A", 1, "e1"}, {"A", 1, "gone"}}), "-"},
        {logOf({{"B", 1, "e1"}, {"B", 2, "e2"}}), "抽取总人数"},
        {logOf({{"Z", 1, "e1"}}), "抽取总人数"}, // a prize without rounds
        {logOf({{"A", 1, "e1"}, {"A", 1, "e2"}, {"A", 1, "e5"}}), "多于现在的 2 名"},
    };
    for (const auto& c : cases) {
        const ResumePlan plan = lottery::planResume(event(), c.log, services);
        const auto expected = c.named.empty()  ? ResumePlan::Kind::Nothing
                              : c.named == "-" ? ResumePlan::Kind::Resumable
                                               : ResumePlan::Kind::DoesNotFit;
        EXPECT_EQ(plan.kind, expected) << c.named;
        if (expected == ResumePlan::Kind::DoesNotFit) {
            EXPECT_NE(plan.problem.find(c.named), std::string::npos) << plan.problem;
        }
    }
}

// Killed at every kind of moment: the restart shows the same round and the same next step as
// before (a position whose line was cut off is drawn first), and going on gives every position
// of every prize exactly one holder, or closes it for want of candidates.
TEST(Resume, ARestartShowsTheNextStepThatWasOnScreen) {
    const Texts six = {"e1", "e2", "e3", "e4", "e5", "e6"};
    const struct {
        const char* name;
        Texts entries;
        std::function<void(DrawRun&)> act;
        std::string nextAfter; // empty: as it was before the kill
        int held, closed;      // at the end, in all
    } cases[] = {
        {"after a round", six, [](DrawRun& r) { r.press(2); }, "", 4, 0},
        {"while rolling", six, [](DrawRun& r) { r.press(3); }, "下一步：TA，第2轮/共2轮", 4, 0},
        {"absent marked", six, [](DrawRun& r) { r.press(2), r.machine->declareAbsent({1}); }, "", 4,
         0},
        {"redraw rolling", six,
         [](DrawRun& r) { r.press(2), r.machine->declareAbsent({2}), r.press(1); },
         "下一步：TA，补抽 1 人", 4, 0},
        {"prize chosen", six, [](DrawRun& r) { r.press(2), r.machine->choosePrize(2); }, "", 4, 0},
        {"chosen first", six, [](DrawRun& r) { r.machine->choosePrize(2), r.press(2); }, "", 4, 0},
        {"reset", six, [](DrawRun& r) { r.press(2), r.machine->reset(); }, "", 4, 0},
        {"line cut off", six,
         [](DrawRun& r) {
             r.press(2);
             const std::string bytes = TempEventFolder::read(r.folder.paths.resultFile);
             TempEventFolder::write(r.folder.paths.resultFile, bytes.substr(0, bytes.size() - 5));
         },
         "下一步：TA，补抽 1 人", 4, 0},
        {"end line lost", six,
         [](DrawRun& r) {
             r.press(6);
             const std::string bytes = TempEventFolder::read(r.folder.paths.resultFile);
             TempEventFolder::write(r.folder.paths.resultFile,
                                    bytes.substr(0, bytes.rfind("\r\n", bytes.size() - 3) + 2));
         },
         "抽奖结束！", 4, 0},
        {"redraw without candidates",
         {"e1", "e2"},
         [](DrawRun& r) { r.press(2), r.machine->declareAbsent({1}), r.press(2); },
         "",
         1,
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DrawRun run(c.entries);
        c.act(run);
        const std::string before = run.nextStep();
        const Texts shown = run.view->shown;
        run.resume();
        EXPECT_EQ(run.nextStep(), c.nextAfter.empty() ? before : c.nextAfter);
        const bool sameRound =
            c.nextAfter.empty() && run.data.options.state() != lottery::DrawState::Ready;
        for (std::size_t i = 0; sameRound && i < shown.size(); ++i) {
            if (!shown[i].empty()) {
                EXPECT_EQ(run.view->shown.at(i), shown[i]);
            }
        }
        run.press(12);
        const lottery::ResultsLog log = run.log();
        const lottery::DrawLedger ledger = lottery::readLedger(log);
        EXPECT_EQ(ledger.problems, Texts{});
        int held = 0, closed = 0;
        for (const auto& prize : ledger.prizes)
            held += prize.held(), closed += prize.closed();
        EXPECT_EQ(held, c.held);
        EXPECT_EQ(closed, c.closed);
    }
}
