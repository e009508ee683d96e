#include "lottery/winner_selection.h"

#include "lottery/gbk_text.h"

#include <algorithm>

namespace lottery {

bool repeatListNames(std::string_view repeatList, std::string_view prizeId) {
    const std::string_view id = trimBlanks(prizeId);
    if (id.empty())
        return false;
    while (true) {
        const std::size_t comma = repeatList.find(',');
        if (trimBlanks(repeatList.substr(0, comma)) == id)
            return true;
        if (comma == std::string_view::npos)
            return false;
        repeatList.remove_prefix(comma + 1);
    }
}

bool isCandidateFor(const ParticipantList& list, int i, const PrizeRecord& prize) {
    if (list.absent(i))
        return false;
    if (!list.won(i))
        return true;
    const std::vector<std::string>& ids = list.wonPrizeIds(i);
    if (prize.repeatList.empty() || ids.empty())
        return false;
    return std::all_of(ids.begin(), ids.end(), [&](const std::string& id) {
        return repeatListNames(prize.repeatList, id);
    });
}

namespace {

// The prize's candidates in entry order, worked out again only when the marks or the prize's
// repeat list changed since.
std::vector<int>& candidatesOf(LotteryData& data, int prizeIndex) {
    CandidatePool& pool = data.pool;
    const ParticipantList& list = data.participants;
    const PrizeRecord& prize = data.prizeTable.prizes[static_cast<std::size_t>(prizeIndex)];
    if (pool.prizeIndex == prizeIndex && pool.generation == list.generation() &&
        pool.repeatList == prize.repeatList)
        return pool.candidates;
    pool.candidates.clear();
    for (int j = 0; j < list.count(); ++j)
        if (isCandidateFor(list, j, prize))
            pool.candidates.push_back(j);
    pool.prizeIndex = prizeIndex;
    pool.generation = list.generation();
    pool.repeatList = prize.repeatList;
    return pool.candidates;
}

// Partial Fisher-Yates: each winner is uniform among the candidates not yet taken. Copies of
// one text weigh its odds, but the text wins once: a copy of a winner of this round is set
// aside and the draw goes on. The swaps are undone after, so the candidates stay in entry
// order and the same random numbers always draw the same winners.
void drawFrom(std::vector<int>& candidates, int count, LotteryData& data,
              core::CoreServices& services) {
    CandidatePool& pool = data.pool;
    const ParticipantList& list = data.participants;
    const int k = std::min({count, static_cast<int>(candidates.size()), kMaxWinnersPerRound});
    std::vector<std::pair<int, int>> swaps;
    int remaining = static_cast<int>(candidates.size());
    int taken = 0;
    while (taken < k && remaining > 0) {
        const int r = services.getRandInt(0, remaining - 1);
        --remaining;
        std::swap(candidates[static_cast<std::size_t>(r)],
                  candidates[static_cast<std::size_t>(remaining)]);
        swaps.emplace_back(r, remaining);
        const int j = candidates[static_cast<std::size_t>(remaining)];
        const std::string_view text = list.rawText(j);
        bool copy = false;
        for (int i = 0; i < taken && !copy; ++i)
            copy = list.rawText(pool.winnerAt(i)) == text;
        if (!copy)
            pool.winners[static_cast<std::size_t>(taken++)] = j;
    }
    for (auto it = swaps.rbegin(); it != swaps.rend(); ++it)
        std::swap(candidates[static_cast<std::size_t>(it->first)],
                  candidates[static_cast<std::size_t>(it->second)]);
    pool.winnerCount = taken;
}

} // namespace

void drawWinners(LotteryData& data, int prizeIndex, int count,
                 const std::vector<std::string_view>& keep, core::CoreServices& services) {
    data.pool.winnerCount = 0;
    if (prizeIndex < 0 || prizeIndex >= data.prizeTable.count() || count <= 0)
        return;
    std::vector<int>& candidates = candidatesOf(data, prizeIndex);
    if (std::all_of(keep.begin(), keep.end(), [](std::string_view k) { return k.empty(); })) {
        drawFrom(candidates, count, data, services);
        return;
    }
    // A kept winner and its copies are marked, so only marked entries need the compare.
    const ParticipantList& list = data.participants;
    const auto kept = [&](int j) {
        return std::any_of(keep.begin(), keep.end(),
                           [&](std::string_view k) { return !k.empty() && k == list.rawText(j); });
    };
    std::vector<int> others;
    for (const int j : candidates)
        if (!list.won(j) || !kept(j))
            others.push_back(j);
    drawFrom(others, count, data, services);
}

} // namespace lottery
