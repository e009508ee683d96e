// One rolling frame's selection: the full list, the largest round.
#include "lottery/prize_file.h"
#include "lottery/winner_selection.h"
#include "support/fake_core_services.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

std::unique_ptr<lottery::LotteryData> fullEvent(int earlierWinners) {
    auto data = std::make_unique<lottery::LotteryData>();
    for (int i = 0; i < lottery::kParticipantCapacity; ++i) {
        const std::string text = "\xD5\xC5\xC8\xFD" + std::to_string(13800000000LL + i);
        data->participants.entries.push_back({text, text, 0, {}});
    }
    for (int i = 0; i < earlierWinners; ++i) {
        auto& entry = data->participants.entries[static_cast<std::size_t>(i * 97 % 10000)];
        entry.won = 1;
        entry.wonPrizeIds = {"P" + std::to_string(i % 5)};
    }
    lottery::PrizeRecord prize{"P9", "t", "", 300, 30, 1, "P0, P1,P2", 0};
    prize.rounds = lottery::roundsFor(prize.total, prize.perRound);
    data->prizeTable.prizes.push_back(prize);
    return data;
}

void selectWinners(benchmark::State& state) {
    auto data = fullEvent(static_cast<int>(state.range(0)));
    testsupport::FakeCoreServices services;
    for (auto _ : state) {
        lottery::selectWinners(*data, services);
        benchmark::DoNotOptimize(data->pool.slots.data());
        benchmark::ClobberMemory();
    }
    if (data->pool.winnerCount != 30)
        state.SkipWithError("expected 30 winners");
}

} // namespace

// 10000 entries, 30 winners; then with 300 earlier winners whose prizes need the repeat list.
BENCHMARK(selectWinners)->Arg(0)->Arg(300)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
