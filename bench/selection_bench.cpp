// One rolling frame's selection: the full list, the largest round.
#include "lottery/prize_file.h"
#include "lottery/winner_selection.h"
#include "support/fake_core_services.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

std::unique_ptr<lottery::LotteryData> fullEvent(int entries, int earlierWinners) {
    auto data = std::make_unique<lottery::LotteryData>();
    for (int i = 0; i < entries; ++i) {
        const std::string text = "\xD5\xC5\xC8\xFD" + std::to_string(13800000000LL + i);
        data->participants.append(text);
    }
    for (int i = 0; i < earlierWinners; ++i)
        data->participants.markOne(static_cast<int>(i * 97LL % entries),
                                   "P" + std::to_string(i % 5));
    lottery::PrizeRecord prize{"P9", "t", "", 300, 30, 1, "P0, P1,P2", 0};
    prize.rounds = lottery::roundsFor(prize.total, prize.perRound);
    data->prizeTable.prizes.push_back(prize);
    return data;
}

void drawWinners(benchmark::State& state) {
    auto data = fullEvent(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    testsupport::FakeCoreServices services;
    for (auto _ : state) {
        lottery::drawWinners(*data, 0, 30, {}, services);
        benchmark::DoNotOptimize(data->pool.winners.data());
        benchmark::ClobberMemory();
    }
    if (data->pool.winnerCount != 30)
        state.SkipWithError("expected 30 winners");
}

// The first frame after a stop: the marks changed, so the prize's candidates are worked out
// again from every entry.
void selectAfterMarksChanged(benchmark::State& state) {
    auto data = fullEvent(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    testsupport::FakeCoreServices services;
    for (auto _ : state) {
        data->participants.markOne(0, "P0");
        lottery::drawWinners(*data, 0, 30, {}, services);
        benchmark::DoNotOptimize(data->pool.winners.data());
    }
}

} // namespace

// Entries and earlier winners, whose prizes need the repeat list; 30 winners a frame.
BENCHMARK(drawWinners)
    ->Args({10000, 0})
    ->Args({10000, 300})
    ->Args({100000, 10000})
    ->Args({1000000, 10000})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(selectAfterMarksChanged)
    ->Args({10000, 300})
    ->Args({100000, 10000})
    ->Args({1000000, 10000})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
