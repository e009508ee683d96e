#pragma once

#include "core/core_services.h"
#include "lottery/lottery_data.h"

#include <filesystem>
#include <string>
#include <string_view>
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
    bool finished = false; // the end line follows it
    std::string startTime;
    std::vector<WinnerRecord> winners;
};

// Results file lines, GBK, CR LF:
//   start  "抽奖开始日期：" time
//   winner time TAB prizeId TAB prizeTitle TAB round TAB position TAB rawText
//   end    "抽奖结束日期：" time
// The raw text is the rest of a winner line, so a tab inside it survives; tabs, CR and LF
// in the prize id and title are written as blanks.

// Moves the results file aside to data/bak_result<YYYYmmddHHMMSS>[-N].txt (never replacing
// a backup) and starts a new one with the start line. When it cannot be moved, the start
// line is appended to the old file and false is returned: the draw goes on.
// Every function here returns false and sets *problem (UTF-8) on a failure.
// The caller starts the new draw's eligibility itself: clearWinnerMarks(participants) at
// the first start of a draw, whatever this returns.
bool beginResultsLog(const EventPaths& paths, core::CoreServices& services, std::string* problem);

// Appends the current selection (pool.winnerAt(0 .. winnerCount-1)) as the winners of
// options.prizeIndex, round options.roundIndex + 1, flushed to disk, and marks them as
// winners of that prize (won = 1, prize id added to wonPrizeIds). The marks are set even when
// writing fails, so that the winners shown are not drawn again.
bool recordRound(const EventPaths& paths, LotteryData& data, core::CoreServices& services,
                 std::string* problem);

// Appends the end line "抽奖结束日期：" + time.
bool recordDrawEnd(const EventPaths& paths, core::CoreServices& services, std::string* problem);

// The draw after the last start line, skipping lines that cannot be parsed; an empty log
// when the file is missing. Reads line by line: linear in the file size, and a line too long
// to be a record is skipped without being held; winner lines past the most a draw can
// record (kPrizeCapacity x kParticipantCapacity) are ignored. The services give the GBK
// start and end prefixes.
ResultsLog readResultsLog(const std::filesystem::path& resultFile, core::CoreServices& services);

// The same from the file's bytes.
ResultsLog parseResultsLog(std::string_view bytes, core::CoreServices& services);

// Clears every mark (won and wonPrizeIds).
void clearWinnerMarks(ParticipantList& list);

// Clears every mark, then marks the entries the log records as winners. Entries with the
// same raw text share that text's records of a prize one for one (the entry holding the
// fewest marks of that prize takes the next record).
void restoreWinnerMarks(ParticipantList& list, const ResultsLog& log);

} // namespace lottery
