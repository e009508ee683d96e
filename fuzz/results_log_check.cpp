#include "results_log_check.h"

#include "check_services.h"
#include "lottery/draw_ledger.h"
#include "lottery/results_log.h"
#include "lottery/results_reader.h"
#include "scratch_folder.h"

#include <fstream>
#include <set>
#include <string>
#include <tuple>

namespace fuzzchecks {

namespace {

// No record comes from a line longer than the reader holds.
constexpr std::size_t kMaxLineBytes = 4096;
constexpr std::size_t kTimeBytes = 19;
constexpr int kListSize = 8;

auto fields(const lottery::WinnerRecord& r) {
    return std::tie(r.time, r.prizeId, r.prizeTitle, r.round, r.position, r.rawText);
}

bool sameLog(const lottery::ResultsLog& a, const lottery::ResultsLog& b) {
    if (a.started != b.started || a.finished != b.finished || a.startTime != b.startTime ||
        a.winners.size() != b.winners.size())
        return false;
    for (std::size_t i = 0; i < a.winners.size(); ++i)
        if (fields(a.winners[i]) != fields(b.winners[i]))
            return false;
    return true;
}

std::string checkRecords(const lottery::ResultsLog& log) {
    if (!log.started && (log.finished || !log.winners.empty() || !log.startTime.empty()))
        return "a log without a start line holds a draw";
    for (const lottery::WinnerRecord& r : log.winners) {
        if (r.round < 1 || r.position < 1)
            return "a round or position below 1";
        if (r.time.size() != kTimeBytes || r.rawText.empty())
            return "a winner without its time or raw text";
        if (r.time.size() + r.prizeId.size() + r.prizeTitle.size() + r.rawText.size() >
            kMaxLineBytes)
            return "a record longer than a line the reader holds";
    }
    return {};
}

// Every record whose raw text is on the list marks every entry of that text with its prize,
// an absent record takes it away, and nothing else is marked.
std::string checkRestore(const lottery::ResultsLog& log) {
    lottery::ParticipantList list;
    for (std::size_t i = 0; i < log.winners.size() && list.count() < kListSize; ++i)
        for (int copy = 0; copy < 1 + static_cast<int>(i % 2); ++copy)
            list.append(log.winners[i].rawText);
    list.append("not a winner");
    list.markOne(list.count() - 1, "stale");
    lottery::restoreMarks(list, log);

    for (int i = 0; i < list.count(); ++i) {
        const std::vector<std::string>& won = list.wonPrizeIds(i);
        if (list.won(i) != !won.empty())
            return "a won flag disagrees with the prizes won";
        // An absent mark takes its prize away again.
        std::set<std::string> expected;
        for (const lottery::WinnerRecord& r : log.winners) {
            if (r.rawText != list.rawText(i))
                continue;
            if (r.status == lottery::WinnerStatus::Absent)
                expected.erase(r.prizeId);
            else
                expected.insert(r.prizeId);
        }
        if (std::set<std::string>(won.begin(), won.end()) != expected)
            return "restored marks do not match the records of the entry's text";
    }
    return {};
}

} // namespace

std::string checkResultsLog(std::string_view input) {
    CheckServices services;
    const lottery::ResultsLog log = lottery::parseResultsLog(input, services);
    if (std::string problem = checkRecords(log); !problem.empty())
        return problem;

    const auto path = scratchFolder() / "data" / "_result.txt";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(input.data(), static_cast<std::streamsize>(input.size()));
    }
    if (!sameLog(lottery::readResultsLog(path, services), log))
        return "reading the file gave another log";
    return checkRestore(log);
}

} // namespace fuzzchecks
