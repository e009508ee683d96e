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
    if (entry.absent)
        return false;
    if (entry.won == 0)
        return true;
    if (prize.repeatList.empty() || entry.wonPrizeIds.empty())
        return false;
    return std::all_of(
        entry.wonPrizeIds.begin(), entry.wonPrizeIds.end(),
        [&](const std::string& id) { return repeatListNames(prize.repeatList, id); });
}

void selectWinners(LotteryData& data, core::CoreServices& services) {
    const DrawOptions& options = data.options;
    int count = 0;
    if (options.prizeIndex >= 0 && options.prizeIndex < data.prizeTable.count())
        count = winnersInRound(data.prizeTable.prizes[static_cast<std::size_t>(options.prizeIndex)],
                               options.roundIndex);
    drawWinners(data, options.prizeIndex, count, {}, services);
}

void drawWinners(LotteryData& data, int prizeIndex, int count, const std::vector<int>& keep,
                 core::CoreServices& services) {
    CandidatePool& pool = data.pool;
    pool.slots.fill(0);
    pool.winnerCount = 0;
    if (prizeIndex < 0 || prizeIndex >= data.prizeTable.count() || count <= 0)
        return;
    const PrizeRecord& prize = data.prizeTable.prizes[static_cast<std::size_t>(prizeIndex)];
    const auto& entries = data.participants.entries;
    const auto kept = [&](const std::string& text) {
        return std::any_of(keep.begin(), keep.end(), [&](int j) {
            return j >= 0 && j < data.participants.count() &&
                   entries[static_cast<std::size_t>(j)].rawText == text;
        });
    };
    const int entryCount = std::min(data.participants.count(), kParticipantCapacity);
    int n = 0;
    for (int j = 0; j < entryCount; ++j) {
        const ParticipantRecord& entry = entries[static_cast<std::size_t>(j)];
        // A kept winner and its copies are marked, so only marked entries need the compare.
        if (isCandidateFor(entry, prize) && (entry.won == 0 || !kept(entry.rawText)))
            pool.slots[static_cast<std::size_t>(n++)] = j;
    }
    const int k = std::min({count, n, kMaxWinnersPerRound});

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
