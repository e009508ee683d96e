#include "lottery/drawable_prize.h"

#include <algorithm>

namespace lottery {

int nextDrawablePrize(const PrizeTable& table, int from) {
    for (int i = std::max(from, 0); i < table.count(); ++i) {
        if (table.prizes[static_cast<std::size_t>(i)].rounds > 0)
            return i;
    }
    return -1;
}

} // namespace lottery
