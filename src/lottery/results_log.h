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

// One seat of a round being recorded: its position (from 1) and who (raw text, GBK).
struct Seat {
    int position = 0;
    std::string rawText;
};

} // namespace lottery
