#include "lottery/status_texts.h"

namespace lottery {

std::string stepText(const char* prefix, const PrizeRecord& prize, int round, int of,
                     core::CoreServices& services) {
    return prefix + services.utf8FromGbk(prize.title) + "，第" + std::to_string(round) + "轮/共" +
           std::to_string(of) + "轮";
}

} // namespace lottery
