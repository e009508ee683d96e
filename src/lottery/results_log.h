#pragma once

#include "core/core_services.h"
#include "lottery/lottery_data.h"

#include <filesystem>
#include <string>
#include <vector>

namespace lottery {

// One winner line of the results file; texts are GBK.
struct WinnerRecord {
    std::string time; // "%Y-%m-%d %H:%M:%S"
    std::string prizeId;
    std::string prizeTitle;
    int round = 0;    // from 1
    int position = 0; // within the round, from 1
    std::string rawText;
};

// The current draw as the results file holds it.
struct ResultsLog {
    bool started = false;  // a start line was found
    bool finished = false; // the end line was found
    std::string startTime;
    std::vector<WinnerRecord> winners;
};

// Moves the results file aside to data/bak_result<YYYYmmddHHMMSS>[-N].txt and starts a new
// one with the start line. When it cannot be moved, the start line is appended to the
// old file. Every function here returns false and sets *problem (UTF-8) on a failure.
bool beginResultsLog(const EventPaths& paths, core::CoreServices& services, std::string* problem);

// Appends the current selection as the winners of options.prizeIndex / roundIndex,
// flushed to disk, and marks them as winners of that prize.
bool recordRound(const EventPaths& paths, LotteryData& data, core::CoreServices& services,
                 std::string* problem);

// Appends the end line "抽奖结束日期：" + time.
bool recordDrawEnd(const EventPaths& paths, core::CoreServices& services, std::string* problem);

// The current draw's records, skipping lines that cannot be parsed.
ResultsLog readResultsLog(const std::filesystem::path& resultFile);

// Clears every mark, then marks each entry whose raw text the log records as a winner.
void restoreWinnerMarks(ParticipantList& list, const ResultsLog& log);

} // namespace lottery
