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
    int line = 0;          // line number in the file, from 1; 0 when not read from a file
};

// A list the draw used from this point on: its fingerprint, entry count, and the number of
// winner lines recorded before it (0 for the list of the draw's start).
struct ListFingerprint {
    std::string hex;
    int count = 0;
    std::size_t fromWinner = 0;
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
    // Every list the draw used, in order: the first is the one above, a later one was read
    // during the draw.
    std::vector<ListFingerprint> lists;
    // Positions closed without a winner, as winner records whose rawText says why.
    std::vector<WinnerRecord> shortPositions;
    // The prize the operator chose as the next step after the last round; empty: none.
    std::string chosenPrizeId;
    bool reset = false; // the operator reset the draw: it ended without being finished
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
//   reset  "抽奖重置：" time, before the end line of a draw the operator reset
//   choice "下一奖项：" prizeId TAB prizeTitle: the operator chose the next step
//   short  "空缺：" and a winner line whose entry is why nobody holds the position
//   a list read during the draw: another "名单指纹：" line
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
    enum class Kind { Start, Fingerprint, Round, Choice, End };
    Kind kind = Kind::Round;
    std::string bytes;                 // the lines, CR LF ended
    std::string stamp;                 // Start: names the backup of the earlier results
    std::string time;                  // when it happened
    std::vector<WinnerRecord> winners; // Round: its winners, saved false
};

// The start of a new draw, dated now.
ResultsRecord startRecord(core::CoreServices& services);

// One seat of a round being recorded: its position (from 1) and who (raw text, GBK).
struct Seat {
    int position = 0;
    std::string rawText;
};

// Lines for seats of round `round` of prize: winners, absent marks or replacements.
ResultsRecord positionsRecord(const PrizeRecord& prize, int round, const std::vector<Seat>& seats,
                              WinnerStatus status, core::CoreServices& services);

// The end line "抽奖结束日期：" + time; after the reset line when the operator reset the draw.
ResultsRecord endRecord(core::CoreServices& services, bool reset = false);

// The choice of prize as the next step.
ResultsRecord choiceRecord(const PrizeRecord& prize, core::CoreServices& services);

// Positions of a round closed without a winner, and why (UTF-8).
ResultsRecord shortRecord(const PrizeRecord& prize, int round, const std::vector<int>& positions,
                          const std::string& reason, core::CoreServices& services);

// The list read during a draw.
ResultsRecord listRecord(const std::string& participantsHex, int participants,
                         core::CoreServices& services);

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

// Copies the results file to data/bak_result<stamp>[-N].txt, never replacing a backup, then
// removes it; true when there was nothing to set aside. On a failure *problem (UTF-8) says what
// failed.
bool setResultsAside(const EventPaths& paths, const std::string& stamp, std::string* problem);

// A start record copies the results file to data/bak_result<stamp>[-N].txt (never
// replacing a backup) and replaces it with a new file of its line; when the copy fails,
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

} // namespace lottery
