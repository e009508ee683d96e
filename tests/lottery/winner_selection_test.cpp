#include "lottery/prize_file.h"
#include "lottery/winner_selection.h"
#include "support/fake_core_services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

lottery::PrizeRecord prize(const std::string& id, int total, int perRound,
                           const std::string& repeatList = "") {
    lottery::PrizeRecord p;
    p.id = id;
    p.title = id;
    p.total = total;
    p.perRound = perRound;
    p.repeatList = repeatList;
    p.rounds = lottery::roundsFor(total, perRound);
    return p;
}

lottery::ParticipantRecord entry(const std::string& text, std::vector<std::string> won = {}) {
    return {text, text, won.empty() ? 0 : 1, std::move(won)};
}

lottery::LotteryData event(int entries, std::vector<lottery::PrizeRecord> prizes) {
    lottery::LotteryData data;
    for (int i = 0; i < entries; ++i)
        data.participants.entries.push_back(entry("e" + std::to_string(i)));
    data.prizeTable.prizes = std::move(prizes);
    return data;
}

std::vector<int> winners(const lottery::LotteryData& data) {
    std::vector<int> out;
    for (int i = 0; i < data.pool.winnerCount; ++i)
        out.push_back(data.pool.winnerAt(i));
    return out;
}

} // namespace

TEST(RepeatRule, NamesIdsSeparatedByCommas) {
    EXPECT_TRUE(lottery::repeatListNames("1,2,3", "2"));
    EXPECT_TRUE(lottery::repeatListNames(" 1 , 2 ,3 ", "3"));
    EXPECT_TRUE(lottery::repeatListNames("12", "12"));
    EXPECT_FALSE(lottery::repeatListNames("12", "1"));
    EXPECT_FALSE(lottery::repeatListNames("1,2", "12"));
    EXPECT_FALSE(lottery::repeatListNames("", "1"));
    EXPECT_FALSE(lottery::repeatListNames(",,", ""));
    EXPECT_FALSE(lottery::repeatListNames("1\xA3\xAC"
                                          "2",
                                          "2")); // a full-width comma is no separator
}

TEST(RepeatRule, DecidesWhoIsACandidate) {
    const auto second = prize("B", 5, 1, "A, C");
    EXPECT_TRUE(lottery::isCandidateFor(entry("x"), second));
    EXPECT_TRUE(lottery::isCandidateFor(entry("x", {"A"}), second));
    EXPECT_TRUE(lottery::isCandidateFor(entry("x", {"A", "C"}), second));
    EXPECT_FALSE(lottery::isCandidateFor(entry("x", {"A", "D"}), second));
    EXPECT_FALSE(lottery::isCandidateFor(entry("x", {"B"}), second));
    EXPECT_TRUE(lottery::isCandidateFor(entry("x", {"B"}), prize("B", 5, 1, "B")));
    lottery::ParticipantRecord markedWithoutPrize = entry("x");
    markedWithoutPrize.won = 1;
    EXPECT_FALSE(lottery::isCandidateFor(markedWithoutPrize, second));
}

TEST(SelectWinners, SkipsEntriesThatMayNotWinAgain) {
    auto data = event(4, {prize("A", 10, 10), prize("B", 10, 10, "A")});
    data.participants.entries[1].won = 1;
    data.participants.entries[1].wonPrizeIds = {"A"};
    data.participants.entries[2].won = 1;
    data.participants.entries[2].wonPrizeIds = {"Z"};
    testsupport::FakeCoreServices services;
    lottery::selectWinners(data, services);
    auto drawn = winners(data);
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(drawn, (std::vector<int>{0, 3}));

    data.options.prizeIndex = 1;
    lottery::selectWinners(data, services);
    drawn = winners(data);
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(drawn, (std::vector<int>{0, 1, 3}));
}

TEST(SelectWinners, RoundSizesFollowThePrize) {
    auto data = event(50, {prize("A", 10, 3), prize("B", 2, 5), prize("C", 5, 0)});
    testsupport::FakeCoreServices services;
    std::vector<int> sizes;
    for (int round = 0; round < 4; ++round) {
        data.options.roundIndex = round;
        lottery::selectWinners(data, services);
        sizes.push_back(data.pool.winnerCount);
    }
    EXPECT_EQ(sizes, (std::vector<int>{3, 3, 3, 1}));

    data.options = {};
    data.options.prizeIndex = 1;
    lottery::selectWinners(data, services);
    EXPECT_EQ(data.pool.winnerCount, 2);

    for (const int index : {2, 3, -1}) {
        data.options.prizeIndex = index;
        lottery::selectWinners(data, services);
        EXPECT_EQ(data.pool.winnerCount, 0) << index;
    }
    data.options.prizeIndex = 0;
    data.options.roundIndex = 4;
    lottery::selectWinners(data, services);
    EXPECT_EQ(data.pool.winnerCount, 0);
}

TEST(SelectWinners, FewerCandidatesThanWinnersDrawsAllInVaryingOrder) {
    auto data = event(5, {prize("A", 10, 10)});
    testsupport::FakeCoreServices services(std::filesystem::path{}, 7);
    std::set<std::vector<int>> orders;
    for (int frame = 0; frame < 50; ++frame) {
        lottery::selectWinners(data, services);
        auto drawn = winners(data);
        orders.insert(drawn);
        std::sort(drawn.begin(), drawn.end());
        ASSERT_EQ(drawn, (std::vector<int>{0, 1, 2, 3, 4}));
    }
    EXPECT_GT(orders.size(), 10u);
}

TEST(SelectWinners, NeverDrawsAnEntryTwiceInOneRound) {
    auto data = event(40, {prize("A", 30, 30)});
    testsupport::FakeCoreServices services(std::filesystem::path{}, 3);
    for (int frame = 0; frame < 200; ++frame) {
        lottery::selectWinners(data, services);
        const auto drawn = winners(data);
        ASSERT_EQ(drawn.size(), 30u);
        ASSERT_EQ(std::set<int>(drawn.begin(), drawn.end()).size(), 30u);
        ASSERT_TRUE(
            std::all_of(drawn.begin(), drawn.end(), [](int j) { return j >= 0 && j < 40; }));
    }
}

TEST(SelectWinners, MoreThanThirtyPerRoundDrawsThirty) {
    auto data = event(100, {prize("A", 100, 60)});
    ASSERT_EQ(data.prizeTable.prizes[0].rounds, 4);
    testsupport::FakeCoreServices services;
    data.options.roundIndex = 3;
    lottery::selectWinners(data, services);
    EXPECT_EQ(data.pool.winnerCount, 10);
}

TEST(SelectWinners, EveryEntryIsDrawnEquallyOften) {
    constexpr int kEntries = 20;
    constexpr int kDraws = 200000;
    auto data = event(kEntries, {prize("A", 1, 1)});
    testsupport::FakeCoreServices services(std::filesystem::path{}, 12345);
    std::vector<int> hits(kEntries, 0);
    for (int draw = 0; draw < kDraws; ++draw) {
        lottery::selectWinners(data, services);
        ASSERT_EQ(data.pool.winnerCount, 1);
        ++hits[static_cast<std::size_t>(data.pool.winnerAt(0))];
    }
    const double expected = static_cast<double>(kDraws) / kEntries;
    double chiSquare = 0;
    for (const int h : hits)
        chiSquare += (h - expected) * (h - expected) / expected;
    // 19 degrees of freedom: a value above 85 has a probability below 1e-9 for a fair draw.
    EXPECT_LT(chiSquare, 85.0);
}
