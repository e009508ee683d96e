// Faults under each write of the draw: every step of a write failing or killed, hostile names
// in the folder. What each write leaves must be whole, and the draw goes on. The program's
// answer to each fault (told, kept in memory, saved elsewhere) is tested once, through the
// main window.
#include "lottery/list_import.h"
#include "lottery/platform_file.h"
#include "lottery/prize_file.h"
#include "lottery/results_file.h"
#include "lottery/results_log.h"
#include "lottery/results_records.h"
#include "lottery/safe_file.h"
#include "support/draw_bench.h"

#include <gtest/gtest.h>

#ifdef __linux__
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <memory>
#include <string>
#include <tuple>

namespace fs = std::filesystem;

// Every step of every write failing or killed in turn, and hostile names planted in the
// folder: the file written holds its complete old or new bytes at every instant, the other
// files of the folder their old ones, and nothing outside the folder changes.
namespace {

enum class Write { PrizeSave, Rotation, Recording, ListImport };
enum class Trap { FailStep, KillAtStep, LinkedTarget, PlantedTemporaries };

class StepFaultTest : public ::testing::TestWithParam<std::tuple<Write, Trap>> {
protected:
    StepFaultTest() {
        data.prizeTable.prizes = {{"A", "TA", "", 2, 1, 1, "", 2}};
        fs::create_directories(outside);
        TempEventFolder::write(outside / "kept.txt", "outside\r\n");
    }
    ~StepFaultTest() override {
        lottery::setWriteStepProbe(nullptr);
        std::error_code ignored;
        fs::remove_all(outside, ignored);
    }
    fs::path target() const {
        switch (std::get<0>(GetParam())) {
        case Write::PrizeSave:
            return folder->paths.prizeFile;
        case Write::ListImport:
            return folder->paths.participantFile;
        default:
            return folder->paths.resultFile;
        }
    }
    void arrange() {
        TempEventFolder::write(folder->paths.prizeFile, "A`old``1`1`1`\r\n");
        TempEventFolder::write(folder->paths.participantFile, "old\r\n");
        TempEventFolder::write(folder->paths.resultFile, "old results\r\n");
        before = TempEventFolder::read(target());
    }
    // The bytes the write leaves in the target when it is done.
    lottery::ResultsRecord record() {
        return lottery::positionsRecord(data.prizeTable.prizes[0], 1, {{1, "e1"}},
                                        lottery::WinnerStatus::Winner, services);
    }
    std::string expected() {
        switch (std::get<0>(GetParam())) {
        case Write::PrizeSave:
            return lottery::prizeFileBytes(data.prizeTable);
        case Write::ListImport:
            return "new\r\n";
        case Write::Rotation:
            return lottery::startRecord(services).bytes;
        case Write::Recording:
            return before + record().bytes;
        }
        return {};
    }
    bool run() {
        std::string problem;
        switch (std::get<0>(GetParam())) {
        case Write::PrizeSave:
            return lottery::savePrizeFile(target(), data.prizeTable, &problem);
        case Write::ListImport:
            return lottery::writeImportedList(target(), "new\r\n", services, nullptr, &problem);
        case Write::Rotation:
            return lottery::writeRecord(folder->paths, lottery::startRecord(services), &problem) !=
                   lottery::WriteOutcome::Failed;
        case Write::Recording:
            return lottery::writeRecord(folder->paths, record(), &problem) ==
                   lottery::WriteOutcome::Written;
        }
        return false;
    }
    // Each data file complete, old or (the target) new; a failed write leaves no temporary.
    void expectWholeFiles(bool temporariesAllowed) {
        const std::string now = TempEventFolder::read(target());
        // A start line that finds no backup for the earlier draw follows it in the old file.
        const bool extended =
            std::get<0>(GetParam()) == Write::Rotation && now == before + expected();
        EXPECT_TRUE(now == before || now == expected() || extended) << "torn: " << now;
        for (const fs::path& other :
             {folder->paths.prizeFile, folder->paths.participantFile, folder->paths.resultFile})
            EXPECT_TRUE(fs::is_regular_file(other)) << other << " missing";
        for (const auto& item : fs::directory_iterator(folder->data())) {
            const std::string name = item.path().filename().string();
            EXPECT_TRUE(temporariesAllowed || name.find(".saving-") == std::string::npos)
                << name << " left behind";
            if (name.rfind("bak_", 0) == 0 && name.find(".saving-") == std::string::npos) {
                EXPECT_EQ(TempEventFolder::read(item.path()), before) << name << " torn";
            }
        }
        EXPECT_EQ(TempEventFolder::read(outside / "kept.txt"), "outside\r\n");
        EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 1);
    }

    std::unique_ptr<TempEventFolder> folder = std::make_unique<TempEventFolder>();
    const fs::path outside = folder->root().string() + "-outside";
    testsupport::FakeCoreServices services{{}, 5};
    lottery::LotteryData data;
    std::string before;
};

} // namespace

TEST_P(StepFaultTest, LeavesWholeFilesAndNothingOutside) {
    const auto [write, trap] = GetParam();
    if (trap == Trap::LinkedTarget || trap == Trap::PlantedTemporaries) {
        arrange();
        std::error_code noLinks;
        if (trap == Trap::LinkedTarget) {
            fs::remove(target());
            fs::create_symlink(outside / "kept.txt", target(), noLinks);
            before = "outside\r\n";
        } else {
            fs::path saving = target();
            fs::create_symlink(outside / "kept.txt", saving += ".saving", noLinks);
            fs::create_directories(fs::path(target()) += ".saving-0-0");
        }
        if (noLinks)
            GTEST_SKIP() << "no symbolic links here: " << noLinks.message();
        const bool written = run();
        // An append never goes through a link; a replacement replaces the link itself.
        EXPECT_EQ(written, !(trap == Trap::LinkedTarget && write == Write::Recording));
        EXPECT_EQ(TempEventFolder::read(outside / "kept.txt"), "outside\r\n");
        // A link planted as the temporary file is never created through either.
        fs::path planted = target();
        if (trap == Trap::PlantedTemporaries) {
            EXPECT_FALSE(lottery::platform::createNew(planted += ".saving", nullptr).isOpen());
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 1);
        return;
    }
    int steps = 0; // in a write where none fails
    lottery::setWriteStepProbe([&steps](lottery::WriteStep) { return ++steps > 0; });
    arrange();
    ASSERT_TRUE(run());
    ASSERT_GE(steps, 3);
    for (int failing = 1; failing <= steps; ++failing) {
        SCOPED_TRACE("step " + std::to_string(failing) + " of " + std::to_string(steps));
        folder = std::make_unique<TempEventFolder>();
        arrange();
        int step = 0;
        if (trap == Trap::FailStep) {
            lottery::setWriteStepProbe([&](lottery::WriteStep) { return ++step != failing; });
            run();
            lottery::setWriteStepProbe(nullptr);
            expectWholeFiles(false);
        } else {
#ifdef __linux__
            // A kill stops the process between two steps, with no clean-up of any kind.
            const pid_t child = fork();
            if (child == 0) {
                lottery::setWriteStepProbe([&](lottery::WriteStep) {
                    if (++step == failing)
                        _exit(0);
                    return true;
                });
                run();
                _exit(0);
            }
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            expectWholeFiles(true);
#else
            GTEST_SKIP() << "a kill is simulated with fork";
#endif
        }
    }
}

std::string stepCaseName(const ::testing::TestParamInfo<StepFaultTest::ParamType>& info) {
    static const char* writes[] = {"PrizeSave", "Rotation", "Recording", "ListImport"};
    static const char* traps[] = {"FailStep", "KillAtStep", "LinkedTarget", "PlantedTemporaries"};
    return std::string(writes[static_cast<int>(std::get<0>(info.param))]) + "_" +
           traps[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Steps, StepFaultTest,
                         ::testing::Combine(::testing::Values(Write::PrizeSave, Write::Rotation,
                                                              Write::Recording, Write::ListImport),
                                            ::testing::Values(Trap::FailStep, Trap::KillAtStep,
                                                              Trap::LinkedTarget,
                                                              Trap::PlantedTemporaries)),
                         stepCaseName);
