#include "lottery/prize_file.h"
#include "lottery/results_chain.h"
#include "lottery/results_log.h"
#include "lottery/safe_file.h"
#include "lottery/sha256.h"
#include "support/draw_bench.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;
using State = lottery::ChainCheck::State;

namespace {

Lines split(const std::string& bytes) {
    Lines lines;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", at);
        lines.push_back(bytes.substr(at, end - at));
        at = end == std::string::npos ? bytes.size() : end + 2;
    }
    return lines;
}

std::string join(const Lines& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

class ResultsChainTest : public ::testing::Test, public DrawBench {
protected:
    ResultsChainTest() : DrawBench(numbered(20, "\tx")) {
        TempEventFolder::write(folder.paths.participantFile, "list bytes\r\n");
        TempEventFolder::write(folder.paths.prizeFile, "prize bytes\r\n");
        machine.participantsReloaded();
    }
    // A: a round of 2 with the first winner absent and redrawn, then a round of 1; B: 1.
    std::string wholeDraw() {
        addPrize("A", 3, 2);
        addPrize("B", 1, 1);
        press(2);
        machine.declareAbsent({1});
        press(6);
        return results();
    }
};

struct Tampering {
    const char* name;
    std::function<void(Lines&)> change;
    State state;
    int line; // the line the chain breaks at
};

// Lines: 1 start, 2-3 fingerprints, 4-5 round 1, 6 absent, 7 replacement, 8 A round 2,
// 9 B, 10 end.
TEST_F(ResultsChainTest, EveryTamperingIsFoundAtItsLine) {
    const Lines drawn = split(wholeDraw());
    ASSERT_EQ(drawn.size(), 10u);
    const auto strip = [](Lines& lines) {
        for (std::size_t i = 1; i < lines.size(); ++i)
            lines[i].erase(0, 18);
    };
    const Tampering rows[] = {
        {"untouched", [](Lines&) {}, State::Ok, 0},
        {"raw text changed", [](Lines& l) { l[4].back() ^= 1; }, State::Broken, 5},
        {"tab in the raw text changed", [](Lines& l) { l[4][l[4].size() - 2] = ' '; },
         State::Broken, 5},
        {"winner line deleted", [](Lines& l) { l.erase(l.begin() + 4); }, State::Broken, 5},
        {"line inserted", [](Lines& l) { l.insert(l.begin() + 4, l[3]); }, State::Broken, 5},
        {"two lines swapped", [](Lines& l) { std::swap(l[3], l[4]); }, State::Broken, 4},
        {"fingerprint changed", [](Lines& l) { l[1][l[1].size() - 3] ^= 1; }, State::Broken, 2},
        {"absent mark dropped", [](Lines& l) { l.erase(l.begin() + 5); }, State::Broken, 6},
        {"file from before", strip, State::Unchained, 0},
        {"code dropped from one line", [](Lines& l) { l[7].erase(0, 18); }, State::Broken, 8},
    };
    for (const Tampering& row : rows) {
        Lines lines = drawn;
        row.change(lines);
        const lottery::ChainCheck check = lottery::checkChain(join(lines), services);
        EXPECT_EQ(check.state, row.state) << row.name;
        EXPECT_EQ(check.brokenLine, row.line) << row.name;
        // The winners read the same whatever the codes.
        if (row.state != State::Broken) {
            EXPECT_EQ(lottery::parseResultsLog(join(lines), services).winners.size(), 6u)
                << row.name;
        }
    }
}

// The list as read, whatever happens to its file later; the prizes saved first when the table
// differs from their file. The codes handed on after each stop, for the tickets, are those of
// the lines on disk.
TEST_F(ResultsChainTest, FingerprintsAndCodesAreThoseOnDisk) {
    const std::string listBytes = TempEventFolder::read(folder.paths.participantFile);
    TempEventFolder::write(folder.paths.participantFile, "edited after the load\r\n");
    int saves = 0;
    machine.setPrizeSaver([&] {
        ++saves;
        std::string problem;
        lottery::savePrizeFile(folder.paths.prizeFile, data.prizeTable, &problem);
    });
    wholeDraw();
    const lottery::ResultsLog recorded = log();
    EXPECT_EQ(recorded.participantsFingerprint, lottery::sha256Hex(listBytes));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(recorded.prizesFingerprint,
              lottery::sha256Hex(lottery::prizeFileBytes(data.prizeTable)));
    EXPECT_EQ(recorded.participantsCount, 20);
    std::vector<std::string> onDisk, handedOn;
    for (const lottery::WinnerRecord& w : recorded.winners)
        if (w.status != lottery::WinnerStatus::Absent)
            onDisk.push_back(w.rawText + " " + w.code);
    for (const lottery::WinnerRecord& w : view.recorded)
        handedOn.push_back(w.rawText + " " + w.code);
    EXPECT_EQ(handedOn, onDisk);
    ASSERT_EQ(onDisk.size(), 5u);
    EXPECT_EQ(onDisk[0].size(), 4 + 1 + 1 + 1 + 16u); // "p1xx\tx" and a 16-digit code
}

// A power cut in the middle of a line: the line is no record; a resumed draw ends it before
// its own lines, and the chain goes on from the last whole line.
TEST_F(ResultsChainTest, ATornLineIsIgnoredReportedAndEndedByTheNextWrite) {
    addPrize("A", 4, 2);
    press(2);
    const std::string torn = "#0123456789abcdef\t2026-01-01 00:00:00\tA\tTA\t2\t1\tp119";
    lottery::appendToFile(folder.paths.resultFile, torn, nullptr);
    const lottery::ResultsLog cut = log();
    EXPECT_TRUE(cut.torn);
    EXPECT_EQ(cut.winners.size(), 2u);
    EXPECT_EQ(lottery::checkChain(results(), services).tornLines, std::vector<int>{6});

    RecordingView other;
    lottery::DrawMachine resumed{data, folder.paths, services, other};
    resumed.resume(cut);
    resumed.advance();
    resumed.advance();
    const Lines lines = split(results());
    ASSERT_EQ(lines.size(), 9u); // start, 2 fingerprints, 2 winners, the cut line, 2, end
    EXPECT_EQ(lines[5], torn + "\x7F");
    const lottery::ChainCheck check = lottery::checkChain(results(), services);
    EXPECT_EQ(check.state, State::Ok);
    EXPECT_EQ(check.tornLines, std::vector<int>{6});
    EXPECT_FALSE(log().torn);
    EXPECT_EQ(log().winners.size(), 4u);
}

} // namespace
