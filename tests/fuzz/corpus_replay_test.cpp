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

using Check = std::string (*)(std::string_view);

// Runs check over every file the fuzzer kept for target; the corpus must not be empty.
void replay(const std::string& target, Check check) {
    const std::filesystem::path folder = std::filesystem::path(PRIZEDRAW_CORPUS_DIR) / target;
    int files = 0;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        if (!item.is_regular_file())
            continue;
        std::ifstream in(item.path(), std::ios::binary);
        const std::string input((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        EXPECT_EQ(check(input), "") << item.path();
        ++files;
    }
    EXPECT_GT(files, 0) << folder;
}

TEST(CorpusReplay, PrizeFile) {
    replay("fuzz_prize_file", fuzzchecks::checkPrizeFile);
}

TEST(CorpusReplay, Participants) {
    replay("fuzz_participants", fuzzchecks::checkParticipants);
}

TEST(CorpusReplay, ResultsLog) {
    replay("fuzz_results_log", fuzzchecks::checkResultsLog);
}

TEST(CorpusReplay, Csv) {
    replay("fuzz_csv", fuzzchecks::checkCsv);
}

TEST(CorpusReplay, Xlsx) {
    replay("fuzz_xlsx", fuzzchecks::checkXlsx);
}

} // namespace
