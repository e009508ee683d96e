#include "lottery/draw_resume.h"

#include "gbk_fake_services.h"
#include "lottery/draw_machine.h"
#include "lottery/prize_file.h"
#include "lottery/results_log.h"
#include "lottery/safe_file.h"
#include "selecting_view.h"
#include "temp_event_folder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using lottery::DrawState;
using lottery::ResumePlan;

namespace {

using Texts = std::vector<std::string>;

lottery::PrizeRecord prize(const std::string& id, int total, int perRound) {
    return {id, "T" + id, "", total, perRound, 0, "", lottery::roundsFor(total, perRound)};
}

// A: rounds of 2 and 1, Z: no rounds (passed over), B: one round of 1.
lottery::LotteryData event(const Texts& entries = {"e1", "e2", "dup", "dup", "e5"}) {
    lottery::LotteryData data;
    data.prizeTable.prizes = {prize("A", 3, 2), prize("Z", 0, 1), prize("B", 1, 1)};
    for (const std::string& raw : entries)
        data.participants.entries.push_back({raw, raw, 0, {}});
    return data;
}

struct Line {
    std::string prizeId;
    int round;
    std::string raw;
};

// An unfinished draw holding lines, positions counted per round.
lottery::ResultsLog logOf(const std::vector<Line>& lines) {
    lottery::ResultsLog log;
    log.started = true;
    int position = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        const bool sameRound =
            i > 0 && lines[i - 1].prizeId == line.prizeId && lines[i - 1].round == line.round;
        position = sameRound ? position + 1 : 1;
        log.winners.push_back({"2026-01-01 00:00:00", line.prizeId, "T" + line.prizeId, line.round,
                               position, line.raw});
    }
    return log;
}

Texts winnersOf(const lottery::LotteryData& data) {
    Texts texts;
    for (int i = 0; i < data.pool.winnerCount; ++i)
        texts.push_back(data.participants.entries.at(data.pool.winnerAt(i)).rawText);
    return texts;
}

// Each run of lines of one round as "A1:1,2"; a round recorded twice shows twice.
std::string roundsOf(const lottery::ResultsLog& log) {
    std::string text;
    const lottery::WinnerRecord* previous = nullptr;
    for (const lottery::WinnerRecord& record : log.winners) {
        const bool sameRound =
            previous && previous->prizeId == record.prizeId && previous->round == record.round;
        text += sameRound ? ","
                          : std::string(text.empty() ? "" : " ") + record.prizeId +
                                std::to_string(record.round) + ":";
        text += std::to_string(record.position);
        previous = &record;
    }
    return text;
}

int backupCount(const fs::path& dataFolder) {
    int n = 0;
    for (const auto& item : fs::directory_iterator(dataFolder))
        n += item.path().filename().string().rfind("bak_result", 0) == 0;
    return n;
}

// A draw run on the real results file, then the program stops and starts again.
class ResumeTest : public ::testing::Test {
protected:
    void press(int times) {
        for (int i = 0; i < times; ++i)
            machine->advance();
    }
    // What a new start-up finds: the same files, no marks, no progress.
    void restart() {
        machine.reset();
        view.reset();
        data = event();
        view = std::make_unique<SelectingView>(data, services);
        machine = std::make_unique<lottery::DrawMachine>(data, folder.paths, services, *view);
    }
    lottery::ResultsLog log() { return lottery::readResultsLog(folder.paths.resultFile, services); }
    ResumePlan resumeHere() {
        const lottery::ResultsLog recorded = log();
        const ResumePlan plan = lottery::planResume(data, recorded, services);
        if (plan.kind == ResumePlan::Kind::Resumable) {
            lottery::applyResume(data, recorded, plan.point);
            machine->resume();
        }
        return plan;
    }

    TempEventFolder folder;
    GbkFakeServices services{{}, 11};
    lottery::LotteryData data = event();
    std::unique_ptr<SelectingView> view = std::make_unique<SelectingView>(data, services);
    std::unique_ptr<lottery::DrawMachine> machine =
        std::make_unique<lottery::DrawMachine>(data, folder.paths, services, *view);
};

} // namespace

TEST(PlanResume, OnlyAnUnfinishedDrawWithWinnersIsResumed) {
    GbkFakeServices services;
    const lottery::LotteryData data = event();
    lottery::ResultsLog log;
    EXPECT_EQ(lottery::planResume(data, log, services).kind, ResumePlan::Kind::Nothing);
    log.started = true; // stopped while the first round rolled: nothing to show
    EXPECT_EQ(lottery::planResume(data, log, services).kind, ResumePlan::Kind::Nothing);
    log = logOf({{"A", 1, "e1"}});
    log.finished = true;
    EXPECT_EQ(lottery::planResume(data, log, services).kind, ResumePlan::Kind::Nothing);
    log.finished = false;
    const ResumePlan plan = lottery::planResume(data, log, services);
    EXPECT_EQ(plan.kind, ResumePlan::Kind::Resumable);
    EXPECT_EQ(plan.point.prizeIndex, 0);
    EXPECT_EQ(plan.point.roundIndex, 0);
}

TEST(PlanResume, RecordsThatNoLongerFitAreNamed) {
    GbkFakeServices services;
    struct Case {
        const char* what;
        std::vector<Line> lines;
        Texts entries;
        std::string named;
    };
    const std::vector<Case> cases = {
        {"prize gone", {{"A", 1, "e1"}, {"A", 1, "e2"}, {"Q", 1, "e5"}}, {}, "TQ"},
        {"entry gone", {{"A", 1, "e1"}, {"A", 1, "gone"}}, {}, "gone"},
        {"one dup too few", {{"A", 1, "dup"}, {"A", 1, "dup"}}, {"e1", "dup"}, "dup"},
        {"round beyond the rounds", {{"B", 1, "e1"}, {"B", 2, "e2"}}, {}, "只有 1 轮"},
        {"a prize without rounds", {{"Z", 1, "e1"}}, {}, "TZ"},
        {"more winners than the round draws", {{"A", 2, "e1"}, {"A", 2, "e2"}}, {}, "多于"},
        {"earlier round after a later one", {{"A", 2, "e1"}, {"A", 1, "e2"}}, {}, "顺序"},
        {"earlier prize after a later one", {{"B", 1, "e1"}, {"A", 1, "e2"}}, {}, "TA"},
    };
    for (const Case& c : cases) {
        const lottery::LotteryData data = c.entries.empty() ? event() : event(c.entries);
        const ResumePlan plan = lottery::planResume(data, logOf(c.lines), services);
        EXPECT_EQ(plan.kind, ResumePlan::Kind::DoesNotFit) << c.what;
        EXPECT_NE(plan.problem.find(c.named), std::string::npos) << c.what << ": " << plan.problem;
    }
}

TEST(ApplyResume, LastRoundShowsInRecordedOrderWithDuplicatesOneForOne) {
    lottery::LotteryData data = event();
    data.participants.entries[4].won = 1; // a stale mark from before the restart
    data.participants.entries[4].wonPrizeIds = {"B"};
    const auto log = logOf({{"A", 1, "dup"}, {"A", 1, "e1"}, {"A", 2, "dup"}, {"B", 1, "dup"}});
    GbkFakeServices services;
    const ResumePlan plan = lottery::planResume(data, log, services);
    ASSERT_EQ(plan.kind, ResumePlan::Kind::Resumable) << plan.problem;
    EXPECT_EQ(plan.point.prizeIndex, 2);
    EXPECT_EQ(plan.point.roundIndex, 0);
    lottery::applyResume(data, log, plan.point);
    EXPECT_EQ(data.options.state(), DrawState::ShowingResult);
    EXPECT_EQ(data.options.prizeIndex, 2);
    EXPECT_EQ(winnersOf(data), Texts{"dup"});
    const auto& entries = data.participants.entries;
    // A's two dup records went to the two dup entries; B's to the one with fewer B marks.
    const Texts both = {"A", "B"};
    EXPECT_TRUE((entries[2].wonPrizeIds == both && entries[3].wonPrizeIds == Texts{"A"}) ||
                (entries[3].wonPrizeIds == both && entries[2].wonPrizeIds == Texts{"A"}));
    EXPECT_EQ(entries[0].wonPrizeIds, Texts{"A"});
    EXPECT_EQ(entries[4].won, 0);
    EXPECT_TRUE(entries[4].wonPrizeIds.empty());
    const int shownIndex = data.pool.winnerAt(0);
    EXPECT_EQ(entries.at(shownIndex).wonPrizeIds, both); // the entry holding B's mark

    // Two dups in one round are two entries.
    const auto twice = logOf({{"A", 1, "dup"}, {"A", 1, "dup"}});
    lottery::applyResume(data, twice, lottery::planResume(data, twice, services).point);
    EXPECT_EQ(winnersOf(data), (Texts{"dup", "dup"}));
    EXPECT_NE(data.pool.winnerAt(0), data.pool.winnerAt(1));
}

TEST_F(ResumeTest, StoppedRoundGoesOnWithoutRotationAndEveryRoundOnce) {
    press(4); // A round 1 and round 2, each started and stopped
    const Texts shownAtStop = view->shown;
    restart();
    const ResumePlan plan = resumeHere();
    ASSERT_EQ(plan.kind, ResumePlan::Kind::Resumable) << plan.problem;
    EXPECT_EQ(view->take(), (Texts{"timer off", "font", "result"}));
    EXPECT_EQ(view->shown, shownAtStop);
    EXPECT_EQ(data.options.roundIndex, 1);

    press(1); // Z has no rounds: B rolls
    EXPECT_EQ(data.options.state(), DrawState::Rolling);
    EXPECT_EQ(data.options.prizeIndex, 2);
    // Winners of A are no candidates of B (no repeats allowed): the marks came back.
    const auto& entries = data.participants.entries;
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(), [](const auto& e) { return e.won; }),
              3);
    for (int i = 0; i < 5; ++i) {
        view->renderFrame();
        ASSERT_EQ(data.pool.winnerCount, 1);
        EXPECT_EQ(entries.at(data.pool.winnerAt(0)).won, 0) << view->shown.at(0);
    }
    press(2); // stop B, the finished screen
    EXPECT_EQ(view->calls.back(), "finished");
    EXPECT_EQ(backupCount(folder.data()), 0);
    const auto recorded = log();
    EXPECT_TRUE(recorded.finished);
    EXPECT_EQ(roundsOf(recorded), "A1:1,2 A2:1 B1:1");
    EXPECT_TRUE(view->problems.empty());
}

TEST_F(ResumeTest, StoppedWhileRollingResumesAtTheRoundBefore) {
    press(3); // A round 2 rolls
    restart();
    ASSERT_EQ(resumeHere().kind, ResumePlan::Kind::Resumable);
    EXPECT_EQ(data.options.roundIndex, 0);
    EXPECT_EQ(data.pool.winnerCount, 2);
    press(4); // A round 2 again, then B
    const auto recorded = log();
    EXPECT_TRUE(recorded.finished);
    EXPECT_EQ(roundsOf(recorded), "A1:1,2 A2:1 B1:1");
    EXPECT_EQ(backupCount(folder.data()), 0);
}

TEST_F(ResumeTest, MissingEndLineIsWrittenAtOnceAndTheLastResultShows) {
    press(6);
    std::string bytes;
    ASSERT_TRUE(lottery::readWholeFile(folder.paths.resultFile, bytes));
    const std::size_t endLine = bytes.rfind("\r\n", bytes.size() - 3);
    ASSERT_NE(endLine, std::string::npos);
    TempEventFolder::write(folder.paths.resultFile, bytes.substr(0, endLine + 2));
    ASSERT_FALSE(log().finished);
    const Texts last = view->shown;

    restart();
    ASSERT_EQ(resumeHere().kind, ResumePlan::Kind::Resumable);
    EXPECT_EQ(view->shown, last);
    EXPECT_EQ(data.options.prizeIndex, 2);
    EXPECT_EQ(data.options.state(), DrawState::ShowingResult);
    const auto recorded = log();
    EXPECT_TRUE(recorded.finished);
    EXPECT_EQ(roundsOf(recorded), "A1:1,2 A2:1 B1:1");

    // Once finished there is nothing to resume, and the next press shows the finished screen.
    std::string atResume;
    ASSERT_TRUE(lottery::readWholeFile(folder.paths.resultFile, atResume));
    EXPECT_EQ(lottery::planResume(data, recorded, services).kind, ResumePlan::Kind::Nothing);
    view->take();
    press(1);
    EXPECT_EQ(view->take(), Texts{"finished"});
    std::string afterPress;
    ASSERT_TRUE(lottery::readWholeFile(folder.paths.resultFile, afterPress));
    EXPECT_EQ(afterPress, atResume);
}

TEST_F(ResumeTest, DeclinedResumeStartsANewDrawThatRotatesTheFile) {
    press(2);
    restart();
    press(1); // no resume: a first start
    EXPECT_EQ(backupCount(folder.data()), 1);
    EXPECT_TRUE(log().winners.empty());
    EXPECT_EQ(data.options.prizeIndex, 0);
    for (const auto& entry : data.participants.entries)
        EXPECT_EQ(entry.won, 0);
}
