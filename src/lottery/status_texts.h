#pragma once

#include "core/core_services.h"
#include "lottery/lottery_data.h"

#include <string>

namespace lottery {

// One step of the status lines: prefix, the prize's title, "第round轮/共of轮" (UTF-8).
std::string stepText(const char* prefix, const PrizeRecord& prize, int round, int of,
                     core::CoreServices& services);

} // namespace lottery
