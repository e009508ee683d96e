#pragma once

#include "core/core_services.h"
#include "lottery/lottery_data.h"

#include <string_view>
#include <vector>

namespace lottery {

// Whether repeatList (prize ids separated by half-width commas, blanks around an id
// ignored) names prizeId. Allocates nothing.
bool repeatListNames(std::string_view repeatList, std::string_view prizeId);

// Whether entry i of list may win prize: it is not absent and has won nothing in this draw,
// or every prize it won is named in prize.repeatList (the prize's own id allows winning it
// again in a later round).
bool isCandidateFor(const ParticipantList& list, int i, const PrizeRecord& prize);

// Draws up to count winners of the prize at prizeIndex without replacement into
// pool.winners, each uniform among the candidates not yet taken; entries of a text in keep
// (the names of a round that stay; empty texts are no names) are no candidates. Sets
// pool.winnerCount to the number drawn (0 for a prize index out of range). The prize's
// candidates are worked out once per state of the marks and kept in the pool, so a frame
// costs the winners it draws, not the entries.
void drawWinners(LotteryData& data, int prizeIndex, int count,
                 const std::vector<std::string_view>& keep, core::CoreServices& services);

} // namespace lottery
