#include "lottery/prize_file.h"
#include "lottery/winner_selection.h"
#include "support/entries.h"
#include "support/fake_core_services.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

lottery::PrizeRecord prize(const std::string& id, int total, int perRound,
                           const std::string& repeatList = "") {
    return {id, id, "", total, perRound, 0, repeatList, lottery::roundsFor(total, perRound)};
}

// Whether one entry that won the prizes won may win prize.
bool candidate(const std::vector<std::string>& won, const lottery::PrizeRecord& prize) {
    lottery::ParticipantList list;
    list.append("x");
    for (const std::string& id : won)
        list.markOne(0, id);
    return lottery::isCandidateFor(list, 0, prize);
}

lottery::LotteryData event(int entries, std::vector<lottery::PrizeRecord> prizes) {
    lottery::LotteryData data;
    for (int j = 0; j < entries; ++j)
        testsupport::addEntry(data.participants, "e" + std::to_string(j));
    data.prizeTable.prizes = std::move(prizes);
    return data;
}

std::vector<int> winners(const lottery::LotteryData& data) {
    std::vector<int> out;
    for (int i = 0; i < data.pool.winnerCount; ++i)
        out.push_back(data.pool.winnerAt(i));
    return out;
}

// A round of the current prize at its full round size.
void draw(lottery::LotteryData& data, testsupport::FakeCoreServices& services) {
    const int i = data.options.prizeIndex;
    const int size = lottery::winnersPerRound(data.prizeTable.prizes.at(std::size_t(i)).perRound);
    lottery::drawWinners(data, i, size, {}, services);
}

std::set<int> drawnSet(const lottery::LotteryData& data) {
    const auto drawn = winners(data);
    return {drawn.begin(), drawn.end()};
}

} // namespace

TEST(RepeatRule, ListsAndMarksDecideWhoIsACandidate) {
    // The last has a full-width comma, which is no separator.
    const struct {
        const char *list, *id;
        bool names;
    } lists[] = {{"1,2,3", "2", true}, {" 1 , 2 ,3 ", "3", true},    {"12", "12", true},
                 {"12", "1", false},   {"1,2", "12", false},         {"", "1", false},
                 {",,", "", false},    {"1\xA3\xAC\x32", "2", false}};
    for (const auto& c : lists)
        EXPECT_EQ(lottery::repeatListNames(c.list, c.id), c.names) << c.list << " / " << c.id;

    const auto b = prize("B", 5, 1, "A, C");
    EXPECT_TRUE(candidate({}, b));
    EXPECT_TRUE(candidate({"A", "C"}, b));
    EXPECT_FALSE(candidate({"A", "D"}, b));
    EXPECT_FALSE(candidate({"B"}, b));
    EXPECT_TRUE(candidate({"B"}, prize("B", 5, 1, "B")));
}

// The candidates, kept from frame to frame, follow every change of the marks and of the
// prize's repeat list.
TEST(DrawWinners, KeptCandidatesFollowMarksAndRepeatList) {
    auto data = event(4, {prize("A", 10, 10), prize("B", 10, 10)});
    testsupport::FakeCoreServices services;
    draw(data, services);
    EXPECT_EQ(drawnSet(data), (std::set<int>{0, 1, 2, 3}));
    data.participants.markWinner(1, "A");
    draw(data, services);
    EXPECT_EQ(drawnSet(data), (std::set<int>{0, 2, 3}));
    data.options.prizeIndex = 1;
    draw(data, services);
    EXPECT_EQ(drawnSet(data), (std::set<int>{0, 2, 3}));
    data.prizeTable.prizes[1].repeatList = "A";
    draw(data, services);
    EXPECT_EQ(drawnSet(data), (std::set<int>{0, 1, 2, 3}));
    data.participants.markEntryAbsent(2, "B");
    draw(data, services);
    EXPECT_EQ(drawnSet(data), (std::set<int>{0, 1, 3}));
    data.participants.markOne(3, "Z"); // a prize B's list does not name
    draw(data, services);
    EXPECT_EQ(drawnSet(data), (std::set<int>{0, 1}));
}

// Five of twenty a round: never one entry twice, every entry as often as the others, and the
// order shown varies; five entries at ten a round are all drawn.
TEST(DrawWinners, DrawsWithoutReplacementAndFairly) {
    constexpr int kEntries = 20;
    constexpr int kRounds = 40000;
    auto data = event(kEntries, {prize("A", 5, 5)});
    testsupport::FakeCoreServices services({}, 12345);
    std::vector<int> hits(kEntries, 0);
    for (int round = 0; round < kRounds; ++round) {
        draw(data, services);
        ASSERT_EQ(drawnSet(data).size(), 5u);
        for (const int j : winners(data))
            ++hits.at(static_cast<std::size_t>(j));
    }
    const double expected = 5.0 * kRounds / kEntries;
    double chiSquare = 0;
    for (const int h : hits)
        chiSquare += (h - expected) * (h - expected) / expected;
    // 19 degrees of freedom: above 85 has a probability below 1e-9 for a fair draw (drawing
    // without replacement only makes the counts more even).
    EXPECT_LT(chiSquare, 85.0);

    data = event(5, {prize("A", 10, 10)});
    std::set<std::vector<int>> orders;
    for (int frame = 0; frame < 50; ++frame) {
        draw(data, services);
        orders.insert(winners(data));
        ASSERT_EQ(drawnSet(data), (std::set<int>{0, 1, 2, 3, 4}));
    }
    EXPECT_GT(orders.size(), 10u);
}

// Three copies of one text among five lines: the text is one participant that never shows
// twice in a round, and it is drawn three times in five.
TEST(DrawWinners, CopiesWeighTheOddsButWinOnce) {
    lottery::LotteryData data = event(0, {prize("A", 10, 10), prize("B", 1, 1)});
    for (const char* raw : {"dup", "a", "dup", "b", "dup"})
        testsupport::addEntry(data.participants, raw);
    testsupport::FakeCoreServices services({}, 99);
    const auto texts = [&data] {
        std::multiset<std::string> out;
        for (const int j : winners(data))
            out.emplace(data.participants.rawText(j));
        return out;
    };
    for (int frame = 0; frame < 100; ++frame) {
        draw(data, services);
        ASSERT_EQ(texts(), (std::multiset<std::string>{"a", "b", "dup"}));
    }
    data.options.prizeIndex = 1;
    constexpr int kFrames = 20000;
    int dup = 0;
    for (int frame = 0; frame < kFrames; ++frame) {
        draw(data, services);
        dup += static_cast<int>(texts().count("dup"));
    }
    // 3/5 of the frames; the standard deviation is about 70.
    EXPECT_NEAR(dup, kFrames * 3 / 5, 400);
}
