#include "lottery/draw_ledger.h"
#include "lottery/participant_file.h"
#include "lottery/results_file.h"
#include "lottery/results_log.h"
#include "lottery/results_reader.h"
#include "lottery/results_records.h"
#include "lottery/safe_file.h"
#include "support/entries.h"
#include "support/fake_core_services.h"
#include "support/temp_event_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

const std::string kStart =
    "\xB3\xE9\xBD\xB1\xBF\xAA\xCA\xBC\xC8\xD5\xC6\xDA\xA3\xBA"; // 抽奖开始日期：
const std::string kEnd =
    "\xB3\xE9\xBD\xB1\xBD\xE1\xCA\xF8\xC8\xD5\xC6\xDA\xA3\xBA"; // 抽奖结束日期：
const std::string kZhangSan = "\xD5\xC5\xC8\xFD";
const std::string kLiSi = "\xC0\xEE\xCB\xC4";
const std::string kFirstPrize = "\xD2\xBB\xB5\xC8\xBD\xB1"; // 一等奖
const std::string kNow = "2026-01-01 00:00:00";
using Texts = std::vector<std::string>;

class ResultsLogTest : public ::testing::Test {
protected:
    std::string results() const { return TempEventFolder::read(folder.paths.resultFile); }
    std::string backup(const std::string& suffix) const {
        return TempEventFolder::read(folder.data() / ("bak_result" + suffix + ".txt"));
    }
    Texts winnerTexts() {
        Texts out;
        for (const auto& w : lottery::readResultsLog(folder.paths.resultFile, services).winners)
            out.push_back(w.rawText);
        return out;
    }
    bool begin(std::string* problem = nullptr) {
        return write(lottery::startRecord(services), problem);
    }
    bool write(const lottery::ResultsRecord& record, std::string* problem = nullptr) {
        return lottery::writeRecord(folder.paths, record, problem) ==
               lottery::WriteOutcome::Written;
    }
    TempEventFolder folder;
    testsupport::FakeCoreServices services;
};

} // namespace

TEST_F(ResultsLogTest, StartsRotateIntoBackupsThatAreNeverReplaced) {
    ASSERT_TRUE(begin());
    EXPECT_EQ(results(), kStart + kNow + "\r\n");
    EXPECT_EQ(folder.backupCount(), 0);

    TempEventFolder::write(folder.data() / "bak_result20260101000000.txt", "older");
    lottery::appendToFile(folder.paths.resultFile, "draw 1", nullptr);
    ASSERT_TRUE(begin());
    ASSERT_TRUE(begin()); // same second
    EXPECT_EQ(folder.backupCount(), 3);
    EXPECT_EQ(backup("20260101000000"), "older");
    EXPECT_EQ(backup("20260101000000-2"), kStart + kNow + "\r\ndraw 1");
    EXPECT_EQ(backup("20260101000000-3"), kStart + kNow + "\r\n");

    services.now += 3723; // the name follows the clock
    ASSERT_TRUE(begin());
    EXPECT_EQ(backup("20260101010203"), kStart + kNow + "\r\n");
    EXPECT_EQ(results(), kStart + "2026-01-01 01:02:03\r\n");
}

TEST_F(ResultsLogTest, UnmovableFileIsKeptAndExtended) {
    TempEventFolder::write(folder.paths.resultFile, "draw 1\r\n");
    TempEventFolder::write(folder.data() / "bak_result20260101000000.txt", "");
    for (int n = 2; n <= 1000; ++n)
        TempEventFolder::write(
            folder.data() / ("bak_result20260101000000-" + std::to_string(n) + ".txt"), "");
    std::string problem;
    EXPECT_FALSE(begin(&problem));
    EXPECT_NE(problem.find("_result.txt"), std::string::npos) << problem;
    EXPECT_EQ(results(), "draw 1\r\n" + kStart + kNow + "\r\n");
}

TEST_F(ResultsLogTest, WinnerAndEndLinesHaveTheirExactBytes) {
    lottery::LotteryData data;
    for (const std::string& raw : {"e0"s, kZhangSan, "a\tb"s, kLiSi, "c\r"s})
        testsupport::addEntry(data.participants, raw);
    data.prizeTable.prizes.push_back({"A1", kFirstPrize, "", 4, 2, 1, "", 2});
    data.prizeTable.prizes.push_back({"B2", "second\ttitle", "", 1, 1, 2, "", 1});
    ASSERT_TRUE(begin());
    const auto seats = [&](int a, int b) {
        return std::vector<lottery::Seat>{{1, std::string(data.participants.rawText(a))},
                                          {2, std::string(data.participants.rawText(b))}};
    };
    const auto& prizes = data.prizeTable.prizes;
    const auto winner = lottery::WinnerStatus::Winner;
    ASSERT_TRUE(write(lottery::positionsRecord(prizes[0], 2, seats(3, 1), winner, services)));
    ASSERT_TRUE(write(lottery::positionsRecord(prizes[1], 1, seats(2, 4), winner, services)));
    ASSERT_TRUE(write(lottery::endRecord(services)));

    EXPECT_EQ(results(), kStart + kNow + "\r\n" +                                              //
                             kNow + "\tA1\t" + kFirstPrize + "\t2\t1\t" + kLiSi + "\r\n" +     //
                             kNow + "\tA1\t" + kFirstPrize + "\t2\t2\t" + kZhangSan + "\r\n" + //
                             kNow + "\tB2\tsecond title\t1\t1\ta\tb\r\n" +                     //
                             kNow + "\tB2\tsecond title\t1\t2\tc\r\r\n" +                      //
                             kEnd + kNow + "\r\n");
    // The other fields read back are the results dialog's table.
    EXPECT_EQ(winnerTexts(), (Texts{kLiSi, kZhangSan, "a\tb", "c\r"}));
}

TEST_F(ResultsLogTest, ReaderTakesTheLastDrawAndSkipsGarbage) {
    const std::string w = kNow + "\tA1\tT\t";
    TempEventFolder::write(
        folder.paths.resultFile,
        w + "1\t1\tbefore any start\r\n" + kStart + "2025-12-31 10:00:00\r\n" + w +
            "1\t1\told draw\r\n" + kStart + kNow + "\r\n" + w + "1\t1\tone\r\ngarbage\r\n" + w +
            "0\t1\tzero round\r\n" + w + "x\t1\tbad round\r\n" + w + "-1\t1\tneg\r\n" + w +
            "+1\t1\tplus\r\n" + w + "9999999999\t1\thuge\r\n" + w + "1\t0\tzero position\r\n" +
            "2026-01-01 0:00:00\tA1\tT\t1\t1\tbad time\r\n" + w + "1\t2\r\n" + w + "1\t2\t\r\n" +
            w + "1\t1\t" + std::string(10000, 'L') + "\r\n" + kNow + "\t\t\t999999999\t3\ttwo\n" +
            w + "1\t1\tthree\ttab\r\n" + std::string(8 << 20, 'x'));
    const auto log = lottery::readResultsLog(folder.paths.resultFile, services);
    EXPECT_TRUE(log.started);
    EXPECT_FALSE(log.finished);
    EXPECT_EQ(log.startTime, kNow);
    EXPECT_EQ(winnerTexts(), (Texts{"one", "two", "three\ttab"}));

    TempEventFolder::write(folder.paths.resultFile,
                           kStart + kNow + "\r\n" + kEnd + kNow + "\r\n" + w + "1\t1\tlate\r\n");
    EXPECT_TRUE(lottery::readResultsLog(folder.paths.resultFile, services).finished);
    EXPECT_TRUE(winnerTexts().empty());
    // The program never writes a byte-order mark; before the start line it hides the draw.
    TempEventFolder::write(folder.paths.resultFile, "\xEF\xBB\xBF" + kStart + kNow + "\r\n");
    EXPECT_FALSE(lottery::readResultsLog(folder.paths.resultFile, services).started);
}

// Copies of one text are one participant: a record marks all of them, once per prize.
TEST(RestoreMarks, MarksEveryCopyOfARecordedText) {
    lottery::ParticipantList list;
    for (const char* raw : {"dup", "solo", "dup", "other"})
        testsupport::addEntry(list, raw);
    list.markOne(3, "stale");
    lottery::ResultsLog log;
    log.started = true;
    for (const char* prizeAndText : {"Adup", "Bsolo", "Bdup", "Amissing", "Adup"})
        log.winners.push_back({kNow, {prizeAndText[0]}, "T", 1, 1, prizeAndText + 1});
    lottery::restoreMarks(list, log);
    EXPECT_EQ(list.wonPrizeIds(0), (Texts{"A", "B"}));
    EXPECT_EQ(list.wonPrizeIds(2), (Texts{"A", "B"}));
    EXPECT_EQ(list.wonPrizeIds(1), (Texts{"B"}));
    EXPECT_FALSE(list.won(3));
    EXPECT_TRUE(list.wonPrizeIds(3).empty());
}
