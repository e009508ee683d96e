#include "lottery/draw_resume.h"

#include "lottery/draw_ledger.h"
#include "support/draw_bench.h"

#include <gtest/gtest.h>

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

// A new start-up on these results: no marks, no progress; it goes on with the draw on disk
// when there is one.
std::unique_ptr<DrawBench> restarted(const std::string& results, const Texts& entries) {
    auto after = std::make_unique<DrawBench>(entries, 11);
    after->data.prizeTable = event().prizeTable;
    TempEventFolder::write(after->folder.paths.resultFile, results);
    const lottery::ResultsLog recorded = after->log();
    const ResumePlan plan = lottery::planResume(after->data, recorded, after->services);
    EXPECT_NE(plan.kind, ResumePlan::Kind::DoesNotFit) << plan.problem;
    if (plan.kind == ResumePlan::Kind::Resumable)
        after->machine.resume(recorded);
    else
        after->machine.present();
    return after;
}

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
        const char* script;    // as DrawBench::play takes it
        int cut;               // bytes cut off the file's end; -1: its last line
        std::string nextAfter; // empty: as it was before the kill
        int held, closed;      // at the end, in all
    } cases[] = {
        {"after a round", six, "pp", 0, "", 4, 0},
        {"while rolling", six, "ppp", 0, "下一步：TA，第2轮/共2轮", 4, 0},
        {"absent marked", six, "ppa1", 0, "", 4, 0},
        {"redraw rolling", six, "ppa2p", 0, "下一步：TA，补抽 1 人", 4, 0},
        {"prize chosen", six, "ppc2", 0, "", 4, 0},
        {"chosen first", six, "c2pp", 0, "", 4, 0},
        {"reset", six, "ppr", 0, "", 4, 0},
        {"line cut off", six, "pp", 5, "下一步：TA，补抽 1 人", 4, 0},
        {"end line lost", six, "pppppp", -1, "抽奖结束！", 4, 0},
        {"redraw without candidates", {"e1", "e2"}, "ppa1pp", 0, "", 1, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DrawBench before(c.entries, 11);
        before.data.prizeTable = event().prizeTable;
        before.play(c.script);
        std::string bytes = before.results();
        if (c.cut != 0)
            bytes.erase(c.cut > 0 ? bytes.size() - c.cut
                                  : bytes.rfind("\r\n", bytes.size() - 3) + 2);
        const auto after = restarted(bytes, c.entries);
        const std::string next = before.machine.picture().status.next;
        EXPECT_EQ(after->machine.picture().status.next, c.nextAfter.empty() ? next : c.nextAfter);
        const Texts& shown = before.view.shown;
        const bool sameRound =
            c.nextAfter.empty() && after->data.options.state() != lottery::DrawState::Ready;
        for (std::size_t i = 0; sameRound && i < shown.size(); ++i) {
            if (!shown[i].empty()) {
                EXPECT_EQ(after->view.shown.at(i), shown[i]);
            }
        }
        after->press(12);
        const lottery::DrawLedger ledger = lottery::readLedger(after->log());
        EXPECT_EQ(ledger.problems, Texts{});
        int held = 0, closed = 0;
        for (const auto& prize : ledger.prizes)
            held += prize.held(), closed += prize.closed();
        EXPECT_EQ(held, c.held);
        EXPECT_EQ(closed, c.closed);
    }
}
