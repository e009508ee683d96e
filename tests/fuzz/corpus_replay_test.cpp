#include "csv_check.h"
#include "participants_check.h"
#include "prize_file_check.h"
#include "results_log_check.h"
#include "xlsx_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

struct Target {
    const char* corpus;
    std::string (*check)(std::string_view); // empty when the input passes
};

void PrintTo(const Target& target, std::ostream* out) {
    *out << target.corpus;
}

class CorpusReplay : public testing::TestWithParam<Target> {};

// Every file the fuzzer kept for the target passes its check; the corpus is not empty.
TEST_P(CorpusReplay, EveryInputPasses) {
    const std::filesystem::path folder =
        std::filesystem::path(PRIZEDRAW_CORPUS_DIR) / GetParam().corpus;
    int files = 0;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        if (!item.is_regular_file())
            continue;
        std::ifstream in(item.path(), std::ios::binary);
        const std::string input((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        EXPECT_EQ(GetParam().check(input), "") << item.path();
        ++files;
    }
    EXPECT_GT(files, 0) << folder;
}

INSTANTIATE_TEST_SUITE_P(Targets, CorpusReplay,
                         testing::Values(Target{"fuzz_prize_file", fuzzchecks::checkPrizeFile},
                                         Target{"fuzz_participants", fuzzchecks::checkParticipants},
                                         Target{"fuzz_results_log", fuzzchecks::checkResultsLog},
                                         Target{"fuzz_csv", fuzzchecks::checkCsv},
                                         Target{"fuzz_xlsx", fuzzchecks::checkXlsx}),
                         [](const auto& info) { return std::string(info.param.corpus).substr(5); });

} // namespace
