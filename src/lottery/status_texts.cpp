#include "lottery/status_texts.h"

#include "lottery/drawable_prize.h"

namespace lottery {

namespace {

std::string step(const char* prefix, const PrizeRecord& prize, int round,
                 core::CoreServices& services) {
    return prefix + services.utf8FromGbk(prize.title) + "，第" + std::to_string(round) + "轮/共" +
           std::to_string(prize.rounds) + "轮";
}

} // namespace

StatusTexts statusTexts(const PrizeTable& table, const DrawOptions& options,
                        core::CoreServices& services) {
    if (options.state() == DrawState::Ready) {
        const int first = nextDrawablePrize(table, 0);
        if (first < 0)
            return {};
        return {{}, step("下一步：", table.prizes[static_cast<std::size_t>(first)], 1, services)};
    }
    const int index = options.prizeIndex;
    if (index < 0 || index >= table.count())
        return {};
    const PrizeRecord& prize = table.prizes[static_cast<std::size_t>(index)];
    const int round = options.roundIndex;
    if (round + 1 < prize.rounds)
        return {step("当前：", prize, round + 1, services),
                step("下一步：", prize, round + 2, services)};
    const int next = nextDrawablePrize(table, index + 1);
    if (next < 0)
        return {step("当前：", prize, prize.rounds, services), "抽奖结束！"};
    return {step("当前：", prize, round + 1, services),
            step("下一步：", table.prizes[static_cast<std::size_t>(next)], 1, services)};
}

} // namespace lottery
