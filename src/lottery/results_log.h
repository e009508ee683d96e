#pragma once

#include "core/core_services.h"
#include "lottery/lottery_data.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lottery {

// What a line says of its entry: it won the position, it was marked absent there, or it
// fills the position of an absent winner.
enum class WinnerStatus { Winner, Absent, Replacement };

// One winner line of the results file; texts are GBK.
struct WinnerRecord {
    std::string time; // "%Y-%m-%d %H:%M:%S"
    std::string prizeId;
    std::string prizeTitle;
    int round = 0;    // from 1
    int position = 0; // within the round, from 1
    std::string rawText;
    bool saved = true; // false while it waits in memory for the disk
    WinnerStatus status = WinnerStatus::Winner;
};

// The current draw as the results file holds it.
struct ResultsLog {
    bool started = false;    // a start line was found
    bool finished = false;   // the end line follows it
    bool unreadable = false; // the file is there but cannot be read; nothing else is set
    std::string startTime;
    std::vector<WinnerRecord> winners;
};

// Results file lines, GBK, CR LF:
//   start  "抽奖开始日期：" time
//   winner time TAB prizeId TAB prizeTitle TAB round TAB position TAB rawText
//   absent      the same with "A" after the position: that winner was not there
//   replacement the same with "R" after the position: it fills the absent one's position
// The kind sits in the position, a field of digits, so that files of earlier versions read
// the same and any raw text, tabs included, stays the rest of its line.
//   end    "抽奖结束日期：" time
// The raw text is the rest of a winner line, so a tab inside it survives; tabs, CR and LF
// in the prize id and title are written as blanks.

// One write of the draw, made when it happens and kept until it is on disk.
struct ResultsRecord {
    enum class Kind { Start, Round, End };
    Kind kind = Kind::Round;
    std::string bytes;                 // the lines, CR LF ended
    std::string stamp;                 // Start: names the backup of the earlier results
    std::string time;                  // when it happened
    std::vector<WinnerRecord> winners; // Round: its winners, saved false
};

// The start of a new draw, dated now.
ResultsRecord startRecord(core::CoreServices& services);

// The current selection (pool.winnerAt(0 .. winnerCount-1)) as the winners of
// options.prizeIndex, round options.roundIndex + 1. Marks them as winners of that prize
// (won = 1, prize id added to wonPrizeIds) on every entry of the same text, before anything
// is written, so that the winners shown are not drawn again whatever the disk does.
ResultsRecord roundRecord(LotteryData& data, core::CoreServices& services);

// Lines for some positions of round options.roundIndex + 1 of the prize at
// options.prizeIndex, each {position from 1, entry index}: absent marks take the entry out of
// the draw and its mark of that prize away; replacements are marked as winners.
ResultsRecord positionsRecord(LotteryData& data, const std::vector<std::pair<int, int>>& positions,
                              WinnerStatus status, core::CoreServices& services);

// The end line "抽奖结束日期：" + time.
ResultsRecord endRecord(core::CoreServices& services);

enum class WriteOutcome {
    Written,
    WrittenWithProblem, // a start line went to the end of a file that could not be moved
    Failed              // nothing of the record reached the disk
};

// A start record moves the results file aside to data/bak_result<stamp>[-N].txt (never
// replacing a backup) and starts a new file with its line; when the file cannot be moved,
// the line is appended to it. Other records are appended. Every write is flushed to disk;
// on a failure *problem (UTF-8) says what failed and the file is as it was.
WriteOutcome writeRecord(const EventPaths& paths, const ResultsRecord& record,
                         std::string* problem);

// The draw after the last start line, skipping lines that cannot be parsed; an empty log
// when the file is missing, and one marked unreadable when it is there (or cannot be told to
// be absent) but cannot be read. Reads line by line: linear in the file size, and a line too long
// to be a record is skipped without being held; winner lines past the most a draw can
// record (kPrizeCapacity x kParticipantCapacity) are ignored. The services give the GBK
// start and end prefixes.
ResultsLog readResultsLog(const std::filesystem::path& resultFile, core::CoreServices& services);

// The same from the file's bytes.
ResultsLog parseResultsLog(std::string_view bytes, core::CoreServices& services);

// Clears every mark (won and wonPrizeIds).
void clearWinnerMarks(ParticipantList& list);

// Marks every entry of rawText as a winner of prizeId: copies of one text are one participant.
void markWinner(ParticipantList& list, std::string_view rawText, const std::string& prizeId);
// Marks every entry of rawText absent (out of the draw) and takes its mark of prizeId away.
void markAbsent(ParticipantList& list, std::string_view rawText, const std::string& prizeId);

// Clears every mark, then marks the entries the log records as winners.
void restoreWinnerMarks(ParticipantList& list, const ResultsLog& log);

} // namespace lottery
