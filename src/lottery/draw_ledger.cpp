#include "lottery/draw_ledger.h"

#include <algorithm>

namespace lottery {

namespace {

std::string where(const WinnerRecord& record) {
    return "第 " + std::to_string(record.line) + " 行";
}

class LedgerBuilder {
public:
    LedgerBuilder(const ResultsLog& log, const PrizeTable& table) : log_(log), table_(table) {}

    DrawLedger build() {
        for (std::size_t i = 0; i < log_.winners.size(); ++i)
            take(static_cast<int>(i));
        for (const WinnerRecord& record : log_.shortPositions)
            close(record);
        return std::move(ledger_);
    }

private:
    void take(int line) {
        const WinnerRecord& record = log_.winners[static_cast<std::size_t>(line)];
        SeatState& seat = seatOf(record);
        ledger_.lastPrize = keyOfLine(record, table_);
        ledger_.lastRound = record.round;
        switch (record.status) {
        case WinnerStatus::Winner:
            if (seat.state != SeatState::State::Unrecorded)
                return problem(where(record) + "：这个位置已有中奖记录");
            hold(seat, line);
            return;
        case WinnerStatus::Absent: {
            if (seat.state != SeatState::State::Held ||
                log_.winners[static_cast<std::size_t>(seat.holder)].rawText != record.rawText)
                return problem(where(record) + "：缺席的不是这个位置的中奖者");
            const auto drawn =
                std::find_if(ledger_.drawn.begin(), ledger_.drawn.end(),
                             [&](const DrawnLine& d) { return d.line == seat.holder; });
            drawn->status = WinnerStatus::Absent;
            seat.absent.push_back(seat.holder);
            seat.holder = -1;
            seat.state = SeatState::State::Open;
            return;
        }
        case WinnerStatus::Replacement:
            if (seat.state != SeatState::State::Open)
                return problem(where(record) + "：补抽的位置没有缺席者");
            hold(seat, line);
            return;
        }
    }

    void close(const WinnerRecord& record) {
        SeatState& seat = seatOf(record);
        if (seat.state == SeatState::State::Held || seat.state == SeatState::State::Closed)
            return problem(where(record) + "：空缺的位置已有记录");
        seat.state = SeatState::State::Closed;
        seat.shortReason = record.rawText;
    }

    void hold(SeatState& seat, int line) {
        seat.state = SeatState::State::Held;
        seat.holder = line;
        ledger_.drawn.push_back({line, log_.winners[static_cast<std::size_t>(line)].status});
    }

    SeatState& seatOf(const WinnerRecord& record) {
        const PrizeKey key = keyOfLine(record, table_);
        auto prize = std::find_if(ledger_.prizes.begin(), ledger_.prizes.end(),
                                  [&](const PrizeLedger& p) { return p.key == key; });
        if (prize == ledger_.prizes.end())
            prize = ledger_.prizes.insert(prize, PrizeLedger{key, {}, {}});
        prize->title = record.prizeTitle;
        auto& rounds = prize->rounds;
        if (rounds.size() < static_cast<std::size_t>(record.round))
            rounds.resize(static_cast<std::size_t>(record.round));
        auto& seats = rounds[static_cast<std::size_t>(record.round - 1)];
        if (seats.size() < static_cast<std::size_t>(record.position))
            seats.resize(static_cast<std::size_t>(record.position));
        return seats[static_cast<std::size_t>(record.position - 1)];
    }

    void problem(std::string text) { ledger_.problems.push_back(std::move(text)); }

    const ResultsLog& log_;
    const PrizeTable& table_;
    DrawLedger ledger_;
};

template <typename Count> int countSeats(const PrizeLedger& prize, Count counts) {
    int n = 0;
    for (const auto& round : prize.rounds)
        n += static_cast<int>(std::count_if(round.begin(), round.end(), counts));
    return n;
}

} // namespace

int PrizeLedger::held() const {
    return countSeats(*this, [](const SeatState& s) { return s.state == SeatState::State::Held; });
}

int PrizeLedger::closed() const {
    return countSeats(*this,
                      [](const SeatState& s) { return s.state == SeatState::State::Closed; });
}

const PrizeLedger* DrawLedger::find(const PrizeKey& key) const {
    const auto it = std::find_if(prizes.begin(), prizes.end(),
                                 [&](const PrizeLedger& p) { return p.key == key; });
    return it == prizes.end() ? nullptr : &*it;
}

std::vector<int> DrawLedger::finalHolders() const {
    std::vector<int> lines;
    for (const PrizeLedger& prize : prizes)
        for (const auto& round : prize.rounds)
            for (const SeatState& seat : round)
                if (seat.state == SeatState::State::Held)
                    lines.push_back(seat.holder);
    return lines;
}

PrizeKey keyOfLine(const WinnerRecord& record, const PrizeTable& table) {
    int copy = 0;
    for (const PrizeRecord& prize : table.prizes) {
        if (prize.id != record.prizeId)
            continue;
        if (prize.title == record.prizeTitle)
            return {record.prizeId, copy};
        ++copy;
    }
    return {record.prizeId, 0};
}

DrawLedger readLedger(const ResultsLog& log, const PrizeTable& table) {
    return LedgerBuilder(log, table).build();
}

void markRecord(ParticipantList& list, const WinnerRecord& record) {
    const int first = list.firstOf(record.rawText);
    if (first < 0)
        return;
    if (record.status == WinnerStatus::Absent)
        list.markEntryAbsent(first, record.prizeId);
    else
        list.markWinner(first, record.prizeId);
}

void restoreMarks(ParticipantList& list, const ResultsLog& log) {
    list.clearMarks();
    for (const WinnerRecord& record : log.winners)
        markRecord(list, record);
}

} // namespace lottery
