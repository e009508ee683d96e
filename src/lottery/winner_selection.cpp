#include "lottery/winner_selection.h"

#include "lottery/gbk_text.h"
#include "lottery/prize_file.h"

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

bool isCandidateFor(const ParticipantRecord& entry, const PrizeRecord& prize) {
    if (entry.won == 0)
        return true;
    if (prize.repeatList.empty() || entry.wonPrizeIds.empty())
        return false;
    return std::all_of(
        entry.wonPrizeIds.begin(), entry.wonPrizeIds.end(),
        [&](const std::string& id) { return repeatListNames(prize.repeatList, id); });
}

void selectWinners(LotteryData& data, core::CoreServices& services) {
    CandidatePool& pool = data.pool;
    pool.slots.fill(0);
    pool.winnerCount = 0;

    const DrawOptions& options = data.options;
    if (options.prizeIndex < 0 || options.prizeIndex >= data.prizeTable.count())
        return;
    const PrizeRecord& prize = data.prizeTable.prizes[static_cast<std::size_t>(options.prizeIndex)];
    if (prize.rounds <= 0 || options.roundIndex < 0 || options.roundIndex >= prize.rounds)
        return;

    const auto& entries = data.participants.entries;
    const int entryCount = std::min(data.participants.count(), kParticipantCapacity);
    int n = 0;
    for (int j = 0; j < entryCount; ++j) {
        if (isCandidateFor(entries[static_cast<std::size_t>(j)], prize))
            pool.slots[static_cast<std::size_t>(n++)] = j;
    }

    const int k = std::min(winnersInRound(prize, options.roundIndex), n);
    if (k <= 0)
        return;

    // Partial Fisher-Yates: each winner is uniform among the candidates not yet taken. Copies
    // of one text weigh its odds, but the text wins once: a copy of a winner of this round is
    // set aside and the draw goes on.
    int remaining = n;
    int taken = 0;
    while (taken < k && remaining > 0) {
        const int r = services.getRandInt(0, remaining - 1);
        const int j = pool.slots[static_cast<std::size_t>(r)];
        pool.slots[static_cast<std::size_t>(r)] =
            pool.slots[static_cast<std::size_t>(remaining - 1)];
        --remaining;
        const std::string& text = entries[static_cast<std::size_t>(j)].rawText;
        bool copy = false;
        for (int i = 0; i < taken && !copy; ++i)
            copy = entries[static_cast<std::size_t>(pool.winnerAt(i))].rawText == text;
        if (!copy)
            pool.slots[static_cast<std::size_t>(kPoolSize - 1 - taken++)] = j;
    }
    pool.winnerCount = taken;
}

} // namespace lottery
