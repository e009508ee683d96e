#pragma once

#include "lottery/lottery_data.h"

namespace lottery {

// The first prize at index from or later that has at least one round; -1 when none.
// Prizes without rounds (invalid counts) are passed over by the draw.
int nextDrawablePrize(const PrizeTable& table, int from);

} // namespace lottery
