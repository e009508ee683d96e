#pragma once

#include "lottery/lottery_data.h"
#include "lottery/results_log.h"

#include <string>
#include <vector>

namespace lottery {

// A prize as the draw knows it: by its id, which may not change while it has winners, and,
// for a table that gives several prizes one id, which of them in table order.
struct PrizeKey {
    std::string id;
    int copy = 0;

    bool operator==(const PrizeKey& other) const { return id == other.id && copy == other.copy; }
    bool operator!=(const PrizeKey& other) const { return !(*this == other); }
    bool operator<(const PrizeKey& other) const {
        return id != other.id ? id < other.id : copy < other.copy;
    }
};

// The key of a recorded line: of the table's prizes with its id, the one of its title, else
// the first.
PrizeKey keyOfLine(const WinnerRecord& record, const PrizeTable& table);

// One position of a recorded round. Lines are indices into ResultsLog::winners.
struct SeatState {
    enum class State {
        Unrecorded, // no line names it: the round asked for it, or a line was cut off
        Held,       // holder holds it
        Open,       // its winner was absent and nobody fills it yet
        Closed      // nobody could be drawn for it; shortReason says why
    };
    State state = State::Unrecorded;
    int holder = -1;
    std::vector<int> absent; // winners marked absent there, in order
    std::string shortReason; // GBK
};

struct PrizeLedger {
    PrizeKey key;
    std::string title; // GBK, as last recorded
    // By round, then position (both from 1 less one); a round never recorded has no seats.
    std::vector<std::vector<SeatState>> rounds;

    int roundsDone() const { return static_cast<int>(rounds.size()); }
    int held() const;
    int closed() const;
};

// A line that drew somebody (a winner or a replacement) and what became of it: Absent when the
// person was marked absent there later, else the line's own status.
struct DrawnLine {
    int line = 0;
    WinnerStatus status = WinnerStatus::Winner;
};

// The one reading of a draw's results: every view, check and export of them goes through it.
struct DrawLedger {
    std::vector<PrizeLedger> prizes; // in the order of their first line
    std::vector<DrawnLine> drawn;    // in file order
    PrizeKey lastPrize;              // the round last recorded, on screen when the draw stopped
    int lastRound = 0;
    // Lines that contradict the ones before (UTF-8): an absent mark for somebody who does not
    // hold the position, a position given twice, a replacement where nobody was absent.
    std::vector<std::string> problems;

    const PrizeLedger* find(const PrizeKey& key) const;
    // The lines of who holds each position now: by prize, round and position.
    std::vector<int> finalHolders() const;
};

// Prizes of several copies of one id are told apart by table; without it each id is one prize.
DrawLedger readLedger(const ResultsLog& log, const PrizeTable& table = {});

// Marks every entry of the record's text: a winner of its prize, or absent (out of the draw,
// that prize taken away); a text not in the list marks nothing.
void markRecord(ParticipantList& list, const WinnerRecord& record);

// Clears every mark, then marks the entries of the recorded winners as winners of their prize
// and those marked absent as absent; a text no longer in the list marks nothing.
void restoreMarks(ParticipantList& list, const ResultsLog& log);

} // namespace lottery
