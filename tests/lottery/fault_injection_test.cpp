// A missing data folder, a read-only folder and a full disk under each write of the draw:
// earlier files stay as they were, the failure is described, and the draw goes on.
#include "gbk_fake_services.h"
#include "lottery/draw_machine.h"
#include "lottery/prize_file.h"
#include "lottery/results_log.h"
#include "lottery/safe_file.h"
#include "recording_view.h"
#include "support/entries.h"
#include "support/tmpfs_mount.h"
#include "temp_event_folder.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace fs = std::filesystem;

namespace {

enum class Write { PrizeSave, Rotation, Recording };
enum class Fault { MissingFolder, ReadOnlyFolder, FullDisk };
using Files = std::map<std::string, std::string>;

// Earlier results ending 10 bytes short of a page: on a full disk a line more fits only in
// part, and the part must not stay.
const std::string kResults = std::string(4084, '#') + "\r\n";

class FaultTest : public ::testing::TestWithParam<std::tuple<Write, Fault>> {
protected:
    FaultTest() {
        data.prizeTable.prizes = {{"A", "TA", "", 2, 1, 1, "", 2}, {"B", "TB", "", 1, 1, 2, "", 1}};
        for (const char* raw : {"e1", "e2", "e3", "e4"})
            testsupport::addEntry(data.participants, raw);
    }
    Write write() const { return std::get<0>(GetParam()); }
    Fault fault() const { return std::get<1>(GetParam()); }

    // The files of an event between two draws, on a small disk of its own where the fault
    // needs one. False when no disk can be mounted.
    bool arrange() {
        if (fault() != Fault::MissingFolder) {
            disk = std::make_unique<testsupport::TmpfsMount>(
                folder.data(), fault() == Fault::FullDisk ? "64k" : "1m");
            if (!disk->mounted())
                return false;
        }
        TempEventFolder::write(folder.paths.prizeFile, "A`TA``1`2`1`\r\nB`TB``2`1`1`\r\n");
        TempEventFolder::write(folder.data() / "bak_result20251231120000.txt", "earlier\r\n");
        TempEventFolder::write(folder.paths.resultFile, kResults);
        before = files();
        return true;
    }
    // Sets the fault off, or with broken false repairs the disk.
    void breakDisk(bool broken = true) {
        if (fault() == Fault::MissingFolder && broken)
            fs::remove_all(folder.data());
        else if (fault() == Fault::MissingFolder)
            fs::create_directories(folder.data());
        else if (fault() == Fault::ReadOnlyFolder)
            ASSERT_TRUE(broken ? disk->makeReadOnly() : disk->makeWritable());
        else if (broken)
            ASSERT_GT(disk->fill(), 0u);
        else
            disk->unfill();
    }
    Files files() const {
        Files found;
        std::error_code error;
        for (const auto& item : fs::directory_iterator(folder.data(), error))
            if (item.path().filename() != "filler")
                found[item.path().filename().string()] = TempEventFolder::read(item.path());
        return found;
    }
    // Every earlier file holds its bytes, or for the results file has moved whole to a new
    // backup; nothing else is left behind.
    void expectEarlierFilesIntact() {
        if (fault() == Fault::MissingFolder) {
            EXPECT_FALSE(fs::exists(folder.data())) << "the folder came back";
            return;
        }
        const Files now = files();
        for (const auto& [name, bytes] : before) {
            bool kept = now.count(name) && now.at(name) == bytes;
            for (const auto& [other, otherBytes] : now)
                kept |= name == "_result.txt" && other.rfind("bak_result", 0) == 0 &&
                        otherBytes == bytes;
            EXPECT_TRUE(kept) << name << " changed";
        }
        for (const auto& item : now)
            EXPECT_TRUE(before.count(item.first) || item.first.rfind("bak_result", 0) == 0)
                << item.first << " left behind";
    }

    TempEventFolder folder;
    std::unique_ptr<testsupport::TmpfsMount> disk; // unmounted before the folder goes
    GbkFakeServices services{{}, 5};
    lottery::LotteryData data;
    Files before;
};

std::string faultName(const ::testing::TestParamInfo<FaultTest::ParamType>& info) {
    static const char* names[] = {"PrizeSave",     "Rotation",       "Recording",
                                  "MissingFolder", "ReadOnlyFolder", "FullDisk"};
    return std::string(names[static_cast<int>(std::get<0>(info.param))]) + "_" +
           names[3 + static_cast<int>(std::get<1>(info.param))];
}

const auto kFaults =
    ::testing::Values(Fault::MissingFolder, Fault::ReadOnlyFolder, Fault::FullDisk);

} // namespace

TEST_P(FaultTest, KeepsEarlierFilesAndTellsWhichFile) {
    if (!arrange())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    breakDisk();
    std::string problem;
    bool written = true;
    switch (write()) {
    case Write::PrizeSave:
        data.prizeTable.prizes[0].title = "changed";
        written = lottery::savePrizeFile(folder.paths.prizeFile, data.prizeTable, &problem);
        break;
    case Write::Rotation:
        written = lottery::writeRecord(folder.paths, lottery::startRecord(services), &problem) ==
                  lottery::WriteOutcome::Written;
        break;
    case Write::Recording:
        written = lottery::writeRecord(
                      folder.paths,
                      lottery::positionsRecord(data.prizeTable.prizes[0], 1, {{1, "someone"}},
                                               lottery::WinnerStatus::Winner, services),
                      &problem) == lottery::WriteOutcome::Written;
        break;
    }
    EXPECT_FALSE(written);
    const std::string file = write() == Write::PrizeSave ? "_prize.txt" : "_result.txt";
    EXPECT_NE(problem.find("无法"), std::string::npos) << problem;
    EXPECT_NE(problem.find(file), std::string::npos) << problem;
    expectEarlierFilesIntact();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultTest,
    ::testing::Combine(::testing::Values(Write::PrizeSave, Write::Rotation, Write::Recording),
                       ::testing::Values(Fault::MissingFolder, Fault::ReadOnlyFolder,
                                         Fault::FullDisk)),
    faultName);

// A start line that could not be written goes before the first winners once the disk takes
// writes again, so that they belong to this draw; the earlier results end in a backup.
class DiskBackTest : public FaultTest {};

TEST_P(DiskBackTest, StartLineFollowsOnceTheDiskIsBack) {
    if (!arrange())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    RecordingView view(data);
    lottery::DrawMachine machine(data, folder.paths, services, view);
    machine.addView(view);
    breakDisk();
    machine.advance();
    breakDisk(false);
    machine.advance();
    const lottery::ResultsLog log = lottery::readResultsLog(folder.paths.resultFile, services);
    EXPECT_EQ(log.startTime, "2026-01-01 00:00:00");
    ASSERT_EQ(log.winners.size(), 1u);
    EXPECT_EQ(log.winners[0].rawText, view.shown.at(0));
    bool kept = fault() == Fault::MissingFolder;
    for (const auto& [name, bytes] : files())
        kept |= name.rfind("bak_result2026", 0) == 0 && bytes == kResults;
    EXPECT_TRUE(kept) << "the earlier results are not in a backup";
    EXPECT_EQ(view.problems.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Faults, DiskBackTest,
                         ::testing::Combine(::testing::Values(Write::Rotation), kFaults),
                         faultName);
