#pragma once

#include "core/core_services.h"
#include "lottery/lottery_data.h"

namespace lottery {

// Whether entry may win prize: it has won nothing in this draw, or every prize it won
// is named in prize.repeatList.
bool isCandidateFor(const ParticipantRecord& entry, const PrizeRecord& prize);

// Draws the round's winners at options.prizeIndex / roundIndex without replacement into
// the top of the pool; sets pool.winnerCount. Allocates nothing.
void selectWinners(LotteryData& data, core::CoreServices& services);

} // namespace lottery
