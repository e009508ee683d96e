#include "gbk_fake_services.h"
#include "lottery/participant_file.h"
#include "lottery/results_log.h"
#include "lottery/safe_file.h"
#include "temp_event_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kStart =
    "\xB3\xE9\xBD\xB1\xBF\xAA\xCA\xBC\xC8\xD5\xC6\xDA\xA3\xBA"; // 抽奖开始日期：
const std::string kEnd =
    "\xB3\xE9\xBD\xB1\xBD\xE1\xCA\xF8\xC8\xD5\xC6\xDA\xA3\xBA"; // 抽奖结束日期：
const std::string kZhangSan = "\xD5\xC5\xC8\xFD";
const std::string kLiSi = "\xC0\xEE\xCB\xC4";
const std::string kFirstPrize = "\xD2\xBB\xB5\xC8\xBD\xB1"; // 一等奖
const std::string kNow = "2026-01-01 00:00:00";

class ResultsLogTest : public ::testing::Test {
protected:
    std::string results() const { return TempEventFolder::read(folder.paths.resultFile); }
    std::set<std::string> backups() const {
        std::set<std::string> names;
        for (const auto& item : fs::directory_iterator(folder.data()))
            if (item.path().filename().string().rfind("bak_result", 0) == 0)
                names.insert(item.path().filename().string());
        return names;
    }
    lottery::ResultsLog readBack() {
        return lottery::readResultsLog(folder.paths.resultFile, services);
    }

    // Winners are the entries at the given indices, in that order.
    void select(lottery::LotteryData& data, const std::vector<int>& indices) {
        data.pool.winnerCount = static_cast<int>(indices.size());
        for (std::size_t i = 0; i < indices.size(); ++i)
            data.pool.slots[lottery::kPoolSize - 1 - i] = indices[i];
    }

    TempEventFolder folder;
    GbkFakeServices services;
};

lottery::LotteryData twoPrizeEvent(const std::vector<std::string>& raws) {
    lottery::LotteryData data;
    for (const auto& raw : raws)
        data.participants.entries.push_back({raw, raw, 0, {}});
    data.prizeTable.prizes.push_back({"A1", kFirstPrize, "", 4, 2, 1, "", 2});
    data.prizeTable.prizes.push_back({"B2", "second\ttitle", "", 1, 1, 2, "", 1});
    return data;
}

} // namespace

TEST_F(ResultsLogTest, FirstStartWritesOnlyTheStartLine) {
    std::string problem;
    ASSERT_TRUE(lottery::beginResultsLog(folder.paths, services, &problem)) << problem;
    EXPECT_EQ(results(), kStart + kNow + "\r\n");
    EXPECT_EQ(services.gbkFromUtf8("抽奖开始日期："), kStart);
    EXPECT_TRUE(backups().empty());
}

TEST_F(ResultsLogTest, BackupsAreNeverReplaced) {
    TempEventFolder::write(folder.data() / "bak_result20260101000000.txt", "older");
    TempEventFolder::write(folder.paths.resultFile, "draw 1");
    ASSERT_TRUE(lottery::beginResultsLog(folder.paths, services, nullptr));
    lottery::appendToFile(folder.paths.resultFile, "draw 2", nullptr);
    ASSERT_TRUE(lottery::beginResultsLog(folder.paths, services, nullptr)); // same second

    EXPECT_EQ(backups(), (std::set<std::string>{"bak_result20260101000000.txt",
                                                "bak_result20260101000000-2.txt",
                                                "bak_result20260101000000-3.txt"}));
    EXPECT_EQ(TempEventFolder::read(folder.data() / "bak_result20260101000000.txt"), "older");
    EXPECT_EQ(TempEventFolder::read(folder.data() / "bak_result20260101000000-2.txt"), "draw 1");
    EXPECT_EQ(TempEventFolder::read(folder.data() / "bak_result20260101000000-3.txt"),
              kStart + kNow + "\r\ndraw 2");
    EXPECT_EQ(results(), kStart + kNow + "\r\n");
}

TEST_F(ResultsLogTest, BackupNameFollowsTheClock) {
    services.now += 3723; // 01:02:03
    TempEventFolder::write(folder.paths.resultFile, "x");
    ASSERT_TRUE(lottery::beginResultsLog(folder.paths, services, nullptr));
    EXPECT_EQ(backups(), (std::set<std::string>{"bak_result20260101010203.txt"}));
    EXPECT_EQ(results(), kStart + "2026-01-01 01:02:03\r\n");
}

TEST_F(ResultsLogTest, UnmovableFileIsKeptAndExtended) {
    TempEventFolder::write(folder.paths.resultFile, "draw 1\r\n");
    TempEventFolder::write(folder.data() / "bak_result20260101000000.txt", "");
    for (int n = 2; n <= 1000; ++n)
        TempEventFolder::write(
            folder.data() / ("bak_result20260101000000-" + std::to_string(n) + ".txt"), "");
    std::string problem;
    EXPECT_FALSE(lottery::beginResultsLog(folder.paths, services, &problem));
    EXPECT_NE(problem.find("_result.txt"), std::string::npos) << problem;
    EXPECT_EQ(results(), "draw 1\r\n" + kStart + kNow + "\r\n");

    const auto log = readBack();
    EXPECT_TRUE(log.started);
    EXPECT_FALSE(log.finished);
    EXPECT_TRUE(log.winners.empty());
}

TEST_F(ResultsLogTest, WinnerAndEndLinesHaveTheirExactBytes) {
    auto data = twoPrizeEvent({"e0", kZhangSan, "a\tb", kLiSi, "c\r"});
    ASSERT_TRUE(lottery::beginResultsLog(folder.paths, services, nullptr));
    data.options.roundIndex = 1;
    select(data, {3, 1});
    ASSERT_TRUE(lottery::recordRound(folder.paths, data, services, nullptr));
    data.options.prizeIndex = 1;
    data.options.roundIndex = 0;
    select(data, {2, 4});
    ASSERT_TRUE(lottery::recordRound(folder.paths, data, services, nullptr));
    ASSERT_TRUE(lottery::recordDrawEnd(folder.paths, services, nullptr));

    EXPECT_EQ(results(), kStart + kNow + "\r\n" +                                              //
                             kNow + "\tA1\t" + kFirstPrize + "\t2\t1\t" + kLiSi + "\r\n" +     //
                             kNow + "\tA1\t" + kFirstPrize + "\t2\t2\t" + kZhangSan + "\r\n" + //
                             kNow + "\tB2\tsecond title\t1\t1\ta\tb\r\n" +                     //
                             kNow + "\tB2\tsecond title\t1\t2\tc\r\r\n" +                      //
                             kEnd + kNow + "\r\n");

    const auto& entries = data.participants.entries;
    EXPECT_EQ(entries[0].won, 0);
    EXPECT_EQ(entries[1].wonPrizeIds, (std::vector<std::string>{"A1"}));
    EXPECT_EQ(entries[3].won, 1);
    EXPECT_EQ(entries[2].wonPrizeIds, (std::vector<std::string>{"B2"}));

    const auto log = readBack();
    EXPECT_TRUE(log.started);
    EXPECT_TRUE(log.finished);
    EXPECT_EQ(log.startTime, kNow);
    ASSERT_EQ(log.winners.size(), 4u);
    EXPECT_EQ(log.winners[0].rawText, kLiSi);
    EXPECT_EQ(log.winners[0].prizeTitle, kFirstPrize);
    EXPECT_EQ(log.winners[0].round, 2);
    EXPECT_EQ(log.winners[1].position, 2);
    EXPECT_EQ(log.winners[2].rawText, "a\tb");
    EXPECT_EQ(log.winners[2].prizeId, "B2");
    EXPECT_EQ(log.winners[3].rawText, "c\r"); // a CR the loader kept survives
}

TEST_F(ResultsLogTest, RecordingNothingWritesNothing) {
    auto data = twoPrizeEvent({"e0"});
    ASSERT_TRUE(lottery::beginResultsLog(folder.paths, services, nullptr));
    ASSERT_TRUE(lottery::recordRound(folder.paths, data, services, nullptr));
    EXPECT_EQ(results(), kStart + kNow + "\r\n");
    data.options.prizeIndex = 5;
    std::string problem;
    EXPECT_FALSE(lottery::recordRound(folder.paths, data, services, &problem));
    EXPECT_FALSE(problem.empty());
}

TEST_F(ResultsLogTest, FailedWriteStillMarksTheWinners) {
    auto data = twoPrizeEvent({"e0", "e1"});
    fs::remove_all(folder.data());
    TempEventFolder::write(folder.data(), "a file where the data folder should be");
    select(data, {1});
    std::string problem;
    EXPECT_FALSE(lottery::recordRound(folder.paths, data, services, &problem));
    EXPECT_NE(problem.find("_result.txt"), std::string::npos);
    EXPECT_EQ(data.participants.entries[1].won, 1);
    EXPECT_FALSE(lottery::beginResultsLog(folder.paths, services, &problem));
    fs::remove(folder.data());
}

TEST_F(ResultsLogTest, ReaderTakesTheLastDrawAndSkipsGarbage) {
    const std::string w = kNow + "\tA1\tT\t1\t1\t";
    TempEventFolder::write(folder.paths.resultFile,
                           w + "before any start\r\n" +                          //
                               kStart + "2025-12-31 10:00:00\r\n" +              //
                               w + "old draw\r\n" +                              //
                               kStart + kNow + "\r\n" +                          //
                               w + "one\r\n" +                                   //
                               "garbage\r\n" +                                   //
                               kNow + "\tA1\tT\t0\t1\tzero round\r\n" +          //
                               kNow + "\tA1\tT\tx\t1\tbad round\r\n" +           //
                               "2026-01-01 0:00:00\tA1\tT\t1\t1\tbad time\r\n" + //
                               kNow + "\tA1\tT\t1\t2\r\n" +                      //
                               w + "\r\n" +                                      //
                               w + std::string(10000, 'L') + "\r\n" +            //
                               kNow + "\t\t\t1\t3\ttwo\n" +                      //
                               w + "three");
    const auto log = readBack();
    EXPECT_TRUE(log.started);
    EXPECT_FALSE(log.finished);
    EXPECT_EQ(log.startTime, kNow);
    std::vector<std::string> raws;
    for (const auto& winner : log.winners)
        raws.push_back(winner.rawText);
    EXPECT_EQ(raws, (std::vector<std::string>{"one", "two", "three"}));
}

TEST_F(ResultsLogTest, LinesAfterTheEndLineAreIgnored) {
    TempEventFolder::write(folder.paths.resultFile, kStart + kNow + "\r\n" + kEnd + kNow + "\r\n" +
                                                        kNow + "\tA\tT\t1\t1\tlate\r\n");
    const auto log = readBack();
    EXPECT_TRUE(log.finished);
    EXPECT_TRUE(log.winners.empty());
    EXPECT_FALSE(lottery::readResultsLog(folder.data() / "none.txt", services).started);
}

TEST_F(ResultsLogTest, HugeLineWithoutLineEndIsSkipped) {
    TempEventFolder::write(folder.paths.resultFile,
                           kStart + kNow + "\r\n" + std::string(8 << 20, 'x'));
    const auto log = readBack();
    EXPECT_TRUE(log.started);
    EXPECT_TRUE(log.winners.empty());
}

TEST(RestoreWinnerMarks, MatchesDuplicatesOneForOne) {
    lottery::ParticipantList list;
    for (const char* raw : {"dup", "solo", "dup", "other"})
        list.entries.push_back({raw, raw, 0, {}});
    list.entries[3].won = 1;
    list.entries[3].wonPrizeIds = {"stale"};

    lottery::ResultsLog log;
    log.started = true;
    log.winners.push_back({kNow, "A", "T", 1, 1, "dup"});
    log.winners.push_back({kNow, "B", "T", 1, 1, "solo"});
    log.winners.push_back({kNow, "B", "T", 1, 1, "dup"});
    log.winners.push_back({kNow, "A", "T", 2, 1, "missing"});
    lottery::restoreWinnerMarks(list, log);
    using Ids = std::vector<std::string>;
    EXPECT_EQ(list.entries[0].wonPrizeIds, (Ids{"A", "B"}));
    EXPECT_EQ(list.entries[1].wonPrizeIds, (Ids{"B"}));
    EXPECT_EQ(list.entries[2].won, 0);
    EXPECT_EQ(list.entries[3].won, 0);
    EXPECT_TRUE(list.entries[3].wonPrizeIds.empty());

    log.winners.push_back({kNow, "A", "T", 2, 1, "dup"});
    lottery::restoreWinnerMarks(list, log);
    EXPECT_EQ(list.entries[0].wonPrizeIds, (Ids{"A", "B"}));
    EXPECT_EQ(list.entries[2].wonPrizeIds, (Ids{"A"}));
    EXPECT_EQ(list.entries[2].won, 1);
}

TEST_F(ResultsLogTest, ReReadingTheListKeepsMarksOfTheDrawInProgress) {
    TempEventFolder::write(folder.paths.participantFile, "dup\r\nsolo\r\ndup\r\n");
    lottery::LotteryData data;
    std::vector<std::string> warnings;
    lottery::loadParticipantFile(folder.paths, data.participants, data.options, services, warnings);
    data.prizeTable.prizes.push_back({"A1", "T", "", 2, 1, 1, "", 2});
    ASSERT_TRUE(lottery::beginResultsLog(folder.paths, services, nullptr));
    select(data, {2});
    ASSERT_TRUE(lottery::recordRound(folder.paths, data, services, nullptr));

    // The operator edits the list: a new first line moves every entry down.
    TempEventFolder::write(folder.paths.participantFile, "new\r\ndup\r\nsolo\r\ndup\r\n");
    lottery::loadParticipantFile(folder.paths, data.participants, data.options, services, warnings);
    const auto& entries = data.participants.entries;
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[1].won, 1);
    EXPECT_EQ(entries[1].wonPrizeIds, (std::vector<std::string>{"A1"}));
    EXPECT_EQ(entries[0].won + entries[2].won + entries[3].won, 0);

    ASSERT_TRUE(lottery::recordDrawEnd(folder.paths, services, nullptr));
    lottery::loadParticipantFile(folder.paths, data.participants, data.options, services, warnings);
    EXPECT_EQ(data.participants.entries[1].won, 0);
}

TEST(RestoreWinnerMarks, ShareManyRecordsOfOneTextEvenly) {
    lottery::ParticipantList list;
    for (int i = 0; i < 3; ++i)
        list.entries.push_back({"dup", "dup", 0, {}});
    lottery::ResultsLog log;
    log.started = true;
    for (int i = 0; i < 20000; ++i)
        log.winners.push_back({kNow, i % 4 == 0 ? "B" : "A", "T", 1, 1, "dup"});
    lottery::restoreWinnerMarks(list, log);
    for (const auto& entry : list.entries) {
        const auto a = std::count(entry.wonPrizeIds.begin(), entry.wonPrizeIds.end(), "A");
        EXPECT_GE(a, 4999);
        EXPECT_LE(a, 5000);
        EXPECT_GE(entry.wonPrizeIds.size() - static_cast<std::size_t>(a), 1666u);
    }
    EXPECT_EQ(list.entries[0].wonPrizeIds.size() + list.entries[1].wonPrizeIds.size() +
                  list.entries[2].wonPrizeIds.size(),
              20000u);
}

TEST_F(ResultsLogTest, ParsingBytesMatchesReadingTheFile) {
    const std::string file = kStart + kNow + "\r\n" + kNow + "\tA1\tT\t1\t1\tone\r\n" +
                             std::string(5000, 'L') + "\n" + kNow + "\tA1\tT\t1\t2\ttwo\ttab";
    TempEventFolder::write(folder.paths.resultFile, file);
    const auto fromFile = readBack();
    const auto fromBytes = lottery::parseResultsLog(file, services);
    ASSERT_EQ(fromBytes.winners.size(), 2u);
    ASSERT_EQ(fromFile.winners.size(), 2u);
    EXPECT_EQ(fromBytes.winners[1].rawText, "two\ttab");
    EXPECT_EQ(fromFile.winners[1].rawText, "two\ttab");
}

TEST_F(ResultsLogTest, SignsHugeNumbersAndAByteOrderMarkAreNoRecords) {
    const std::string w = kNow + "\tA1\tT\t";
    TempEventFolder::write(folder.paths.resultFile,
                           kStart + kNow + "\r\n" + w + "-1\t1\tneg\r\n" + w + "+1\t1\tplus\r\n" +
                               w + "9999999999\t1\thuge\r\n" + w + "1\t0\tzero\r\n" + w +
                               "999999999\t1\tbig\r\n");
    const auto log = readBack();
    ASSERT_EQ(log.winners.size(), 1u);
    EXPECT_EQ(log.winners[0].round, 999999999);

    // The program never writes a byte-order mark; before the start line it hides the draw.
    TempEventFolder::write(folder.paths.resultFile, "\xEF\xBB\xBF" + kStart + kNow + "\r\n");
    EXPECT_FALSE(readBack().started);
}
