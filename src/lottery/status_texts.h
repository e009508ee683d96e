#pragma once

#include "core/core_services.h"
#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"

namespace lottery {

// The status lines for the draw's position: before the first press only the next step;
// after the last round "抽奖结束！" as the next. Prizes without rounds are never named.
StatusTexts statusTexts(const PrizeTable& table, const DrawOptions& options,
                        core::CoreServices& services);

} // namespace lottery
