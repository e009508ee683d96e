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
    std::string code = {}; // the line's chain code; empty on a line without one
    int line = 0;     // line number in the file, from 1; 0 when not read from a file
};

// The current draw as the results file holds it.
struct ResultsLog {
    bool started = false;    // a start line was found
    bool finished = false;   // the end line follows it
    bool unreadable = false; // the file is there but cannot be read; nothing else is set
    std::string startTime;
    std::vector<WinnerRecord> winners;
    // The fingerprints recorded after the start line; empty (count -1) in files from before.
    std::string participantsFingerprint;
    int participantsCount = -1;
    std::string prizesFingerprint;
    // The code the next line chains from (see chainCode); empty without a start line.
    std::string chainCode;
    bool torn = false; // the file ends in a line without its line end, which is no record
};

// Results file lines, GBK, CR LF:
//   start  "抽奖开始日期：" time
//   winner time TAB prizeId TAB prizeTitle TAB round TAB position TAB rawText
//   absent      the same with "A" after the position: that winner was not there
//   replacement the same with "R" after the position: it fills the absent one's position
// The kind sits in the position, a field of digits, so that files of earlier versions read
// the same and any raw text, tabs included, stays the rest of its line.
//   end    "抽奖结束日期：" time
//   fingerprints, right after the start line: "名单指纹：" SHA-256 hex of the participant
//          file's bytes TAB entry count, and "奖项指纹：" SHA-256 hex of the prize file's bytes
// Every line after the start line begins with "#" code TAB, its chain code: the first 16 hex
// digits of SHA-256 over the previous line's code and this line's bytes after the code (no
// CR LF). A line without a code (a file from before) passes on the first 16 hex digits of
// SHA-256 of its own bytes, as the start line does. A line cut short by a power cut is ended
// by the next write with DEL CR LF; such a line is no record and no link of the chain.
// The raw text is the rest of a winner line, so a tab inside it survives; tabs, CR and LF
// in the prize id and title are written as blanks.

// One write of the draw, made when it happens and kept until it is on disk.
struct ResultsRecord {
    enum class Kind { Start, Fingerprint, Round, End };
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

// The fingerprint lines: participantsHex with the entry count, and the prize file as it is on
// disk now. An empty digest, or a prize file that cannot be read, has no line.
ResultsRecord fingerprintRecord(const std::string& participantsHex, int participants,
                                const std::filesystem::path& prizeFile,
                                core::CoreServices& services);

// The code of a line: the first 16 hex digits of SHA-256 over previousCode and content.
std::string chainCode(std::string_view previousCode, std::string_view content);
// The code a line without one passes on.
std::string ownCode(std::string_view line);
// Puts the chain code before every line of record after previousCode, which it then holds
// the last line's code; a start record begins a new chain. A round's winners get their codes.
void chainRecord(ResultsRecord& record, std::string& previousCode);

// How the lines after the last start line chain.
struct ChainCheck {
    enum class State { None, Ok, Unchained, Broken };
    State state = State::None; // None: no start line
    int brokenLine = 0;        // from 1
    std::vector<int> tornLines;
};
ChainCheck checkChain(std::string_view bytes, core::CoreServices& services);

enum class WriteOutcome {
    Written,
    WrittenWithProblem, // a start line went to the end of a file that could not be moved
    Failed              // nothing of the record reached the disk
};

// The results file's bytes with a cut last line ended as the next write would end it.
std::string healedResults(std::string bytes);

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
