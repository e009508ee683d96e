// A missing data folder, a read-only folder and a full disk under each write of the draw:
// earlier files stay as they were, the failure is described, and the draw goes on.
#include "gbk_fake_services.h"
#include "lottery/draw_machine.h"
#include "lottery/prize_file.h"
#include "lottery/results_log.h"
#include "lottery/safe_file.h"
#include "selecting_view.h"
#include "support/tmpfs_mount.h"
#include "temp_event_folder.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

enum class Fault { MissingFolder, ReadOnlyFolder, FullDisk };

std::string faultName(const ::testing::TestParamInfo<Fault>& info) {
    switch (info.param) {
    case Fault::MissingFolder:
        return "MissingFolder";
    case Fault::ReadOnlyFolder:
        return "ReadOnlyFolder";
    case Fault::FullDisk:
        return "FullDisk";
    }
    return {};
}

using Files = std::map<std::string, std::string>;

const std::string kPrizeLines = "A`TA``1`2`1`\r\nB`TB``2`1`1`\r\n";

class FaultTest : public ::testing::TestWithParam<Fault> {
protected:
    FaultTest() {
        data.prizeTable.prizes = {{"A", "TA", "", 2, 1, 1, "", 2}, {"B", "TB", "", 1, 1, 2, "", 1}};
        for (const char* raw : {"e1", "e2", "e3", "e4"})
            data.participants.entries.push_back({raw, raw, 0, {}});
    }

    // The data folder with the files of an event halfway through a draw of its own, on a
    // small disk of its own where the fault needs one. False when the disk cannot be had.
    bool arrange(const std::string& results) {
        if (GetParam() != Fault::MissingFolder) {
            disk = std::make_unique<testsupport::TmpfsMount>(
                folder.data(), GetParam() == Fault::FullDisk ? "64k" : "1m");
            if (!disk->mounted())
                return false;
        }
        TempEventFolder::write(folder.paths.prizeFile, kPrizeLines);
        TempEventFolder::write(folder.paths.participantFile, "e1\r\ne2\r\ne3\r\ne4\r\n");
        TempEventFolder::write(folder.data() / "bak_result20251231120000.txt",
                               "an earlier draw\r\n");
        if (!results.empty())
            TempEventFolder::write(folder.paths.resultFile, results);
        before = files();
        return true;
    }

    // Sets the fault off; the folder's files from arrange() are taken as the earlier ones.
    void breakDisk() {
        switch (GetParam()) {
        case Fault::MissingFolder:
            fs::remove_all(folder.data());
            break;
        case Fault::ReadOnlyFolder:
            ASSERT_TRUE(disk->makeReadOnly());
            break;
        case Fault::FullDisk:
            ASSERT_GT(disk->fill(), 0u);
            break;
        }
    }

    void repairDisk() {
        switch (GetParam()) {
        case Fault::MissingFolder:
            fs::create_directories(folder.data());
            break;
        case Fault::ReadOnlyFolder:
            ASSERT_TRUE(disk->makeWritable());
            break;
        case Fault::FullDisk:
            disk->unfill();
            break;
        }
    }

    Files files() const {
        Files found;
        std::error_code error;
        for (const auto& item : fs::directory_iterator(folder.data(), error))
            if (item.path().filename() != "filler")
                found[item.path().filename().string()] = TempEventFolder::read(item.path());
        return found;
    }

    // Every earlier file holds its bytes; the results file may have moved to a new backup
    // whole. Nothing else is left behind.
    void expectEarlierFilesIntact() {
        const Files now = files();
        if (GetParam() == Fault::MissingFolder) {
            EXPECT_FALSE(fs::exists(folder.data())) << "the folder came back";
            return;
        }
        for (const auto& [name, bytes] : before) {
            const auto same = now.find(name);
            if (same != now.end() && same->second == bytes)
                continue;
            bool moved = false;
            for (const auto& [other, otherBytes] : now)
                moved |= name == "_result.txt" && !before.count(other) &&
                         other.rfind("bak_result", 0) == 0 && otherBytes == bytes;
            EXPECT_TRUE(moved) << name << " changed";
        }
        for (const auto& item : now) {
            const std::string& name = item.first;
            const bool known = before.count(name) || name.rfind("bak_result", 0) == 0;
            EXPECT_TRUE(known) << name << " left behind";
        }
    }

    static void expectTold(const std::string& problem, const std::string& file) {
        EXPECT_NE(problem.find("无法"), std::string::npos) << problem;
        EXPECT_NE(problem.find(file), std::string::npos) << problem;
    }

    TempEventFolder folder;
    std::unique_ptr<testsupport::TmpfsMount> disk; // unmounted before the folder goes
    GbkFakeServices services{{}, 5};
    lottery::LotteryData data;
    Files before;
};

// A finished earlier draw in a page-sized results file: the next line needs a block of its
// own.
std::string pageOfResults() {
    const std::string start = "\xB3\xE9\xBD\xB1\xBF\xAA\xCA\xBC\xC8\xD5\xC6\xDA\xA3\xBA";
    const std::string end = "\xB3\xE9\xBD\xB1\xBD\xE1\xCA\xF8\xC8\xD5\xC6\xDA\xA3\xBA";
    const std::string time = "2025-12-31 12:00:00";
    std::string bytes = start + time + "\r\n" + time + "\tA\tTA\t1\t1\te3\r\n";
    const std::string endLine = end + time + "\r\n";
    bytes += std::string(4096 - bytes.size() - endLine.size() - 2, '#') + "\r\n";
    return bytes + endLine;
}

} // namespace

TEST_P(FaultTest, PrizeSaveKeepsTheOldFile) {
    if (!arrange(""))
        GTEST_SKIP() << "no tmpfs can be mounted here";
    breakDisk();
    data.prizeTable.prizes[0].title = "changed";
    std::string problem;
    EXPECT_FALSE(lottery::savePrizeFile(folder.paths.prizeFile, data.prizeTable, &problem));
    expectTold(problem, "_prize.txt");
    expectEarlierFilesIntact();
}

TEST_P(FaultTest, RotationKeepsTheOldResults) {
    if (!arrange(pageOfResults()))
        GTEST_SKIP() << "no tmpfs can be mounted here";
    breakDisk();
    std::string problem;
    EXPECT_FALSE(lottery::beginResultsLog(folder.paths, services, &problem));
    expectTold(problem, "_result.txt");
    expectEarlierFilesIntact();
}

TEST_P(FaultTest, RecordingKeepsEarlierWinnersWhole) {
    if (!arrange(""))
        GTEST_SKIP() << "no tmpfs can be mounted here";
    ASSERT_TRUE(lottery::beginResultsLog(folder.paths, services, nullptr));
    data.pool.winnerCount = 1;
    data.pool.slots[lottery::kPoolSize - 1] = 0;
    ASSERT_TRUE(lottery::recordRound(folder.paths, data, services, nullptr));
    // Fill the results file up to a few bytes short of its block, so that the next round's
    // lines fit only in part.
    std::string bytes = TempEventFolder::read(folder.paths.resultFile);
    ASSERT_LT(bytes.size(), 4000u);
    lottery::appendToFile(folder.paths.resultFile,
                          std::string(4096 - 10 - bytes.size(), '#') + "\r\n", nullptr);
    before = files();

    breakDisk();
    data.options.roundIndex = 1;
    data.pool.slots[lottery::kPoolSize - 1] = 1;
    std::string problem;
    EXPECT_FALSE(lottery::recordRound(folder.paths, data, services, &problem));
    expectTold(problem, "_result.txt");
    expectEarlierFilesIntact();
    EXPECT_EQ(data.participants.entries[1].won, 1) << "the winner shown must not be drawn again";
}

TEST_P(FaultTest, DrawGoesOnAndTellsOnce) {
    if (!arrange(pageOfResults()))
        GTEST_SKIP() << "no tmpfs can be mounted here";
    SelectingView view(data, services);
    lottery::DrawMachine machine(data, folder.paths, services, view);
    breakDisk();
    for (int press = 0; press < 6; ++press)
        machine.advance();
    EXPECT_EQ(view.calls.back(), "result");
    EXPECT_EQ(data.options.prizeIndex, 1);
    EXPECT_EQ(data.options.state(), lottery::DrawState::ShowingResult);
    ASSERT_EQ(view.problems.size(), 1u);
    EXPECT_EQ(view.problems[0].rfind("抽奖结果未能写入文件", 0), 0u) << view.problems[0];
    expectEarlierFilesIntact();
}

// The start line that could not be written is written before the first winners once the
// disk takes writes again, so that they belong to this draw and not to the one before.
TEST_P(FaultTest, StartLineFollowsOnceTheDiskIsBack) {
    if (!arrange(pageOfResults()))
        GTEST_SKIP() << "no tmpfs can be mounted here";
    SelectingView view(data, services);
    lottery::DrawMachine machine(data, folder.paths, services, view);
    breakDisk();
    machine.advance();
    repairDisk();
    machine.advance();
    const lottery::ResultsLog log = lottery::readResultsLog(folder.paths.resultFile, services);
    EXPECT_TRUE(log.started);
    EXPECT_EQ(log.startTime, "2026-01-01 00:00:00");
    ASSERT_EQ(log.winners.size(), 1u);
    EXPECT_EQ(log.winners[0].rawText, view.shown.at(0));
    if (GetParam() != Fault::MissingFolder) {
        bool kept = false;
        for (const auto& [name, bytes] : files())
            kept |= name.rfind("bak_result2026", 0) == 0 && bytes == pageOfResults();
        EXPECT_TRUE(kept) << "the earlier results are not in a backup";
    }
    EXPECT_EQ(view.problems.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTest,
                         ::testing::Values(Fault::MissingFolder, Fault::ReadOnlyFolder,
                                           Fault::FullDisk),
                         faultName);
