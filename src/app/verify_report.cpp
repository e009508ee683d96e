#include "app/verify_report.h"

#include "app/event_loader.h"
#include "core/ccore.h"
#include "core/path_conversion.h"
#include "lottery/file_text.h"
#include "lottery/prize_file.h"
#include "lottery/results_log.h"
#include "lottery/safe_file.h"
#include "lottery/sha256.h"
#include "lottery/winner_selection.h"

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace app {

namespace {

// One item on one line, whatever a text holds.
std::string field(const std::string& utf8) {
    std::string out;
    for (const char c : utf8)
        out += c == '\t'   ? std::string("\\t")
               : c == '\r' ? std::string("\\r")
               : c == '\n' ? std::string("\\n")
                           : std::string(1, c);
    return out;
}

std::string lineText(int line) {
    return "第 " + std::to_string(line) + " 行";
}

class Verifier {
public:
    Verifier(const lottery::LotteryData& data, core::CoreServices& services)
        : data_(data), services_(services), list_(data.participants) {
        lottery::clearWinnerMarks(list_);
    }

    // Follows the winners in the order of the file, as the draw marked them.
    void follow(const lottery::ResultsLog& log) {
        for (const lottery::WinnerRecord& w : log.winners)
            take(w);
    }

    void putWinners(std::ostream& out) {
        for (const lottery::PrizeRecord& prize : data_.prizeTable.prizes)
            out << "winners\t" << field(utf8(prize.id)) << '\t' << field(utf8(prize.title)) << '\t'
                << held_[prize.id] << '\n';
    }

    std::vector<std::string> problems;

private:
    std::string utf8(const std::string& gbk) { return services_.utf8FromGbk(gbk); }

    const lottery::PrizeRecord* prizeOf(const std::string& id) const {
        for (const lottery::PrizeRecord& prize : data_.prizeTable.prizes)
            if (prize.id == id)
                return &prize;
        return nullptr;
    }

    void take(const lottery::WinnerRecord& w) {
        const std::string at = lineText(w.line) + "：";
        const lottery::PrizeRecord* prize = prizeOf(w.prizeId);
        if (prize == nullptr) {
            problems.push_back(at + "奖项编号 " + utf8(w.prizeId) + " 不在奖项文件中");
            return;
        }
        const int entry = list_.firstOf(w.rawText);
        enum { Empty, Held, Freed };
        int& position = positions_[{w.prizeId, w.round, w.position}];
        int& round = rounds_[{w.prizeId, w.round}];
        int& held = held_[w.prizeId];
        if (w.status == lottery::WinnerStatus::Absent) {
            if (position != Held)
                problems.push_back(at + "缺席标记的位置上没有中奖者");
            position = Freed;
            --round;
            --held;
            lottery::markAbsent(list_, w.rawText, w.prizeId);
            return;
        }
        if (w.status == lottery::WinnerStatus::Replacement && position != Freed)
            problems.push_back(at + "补抽的位置上没有缺席者");
        if (w.status == lottery::WinnerStatus::Winner && position != Empty)
            problems.push_back(at + "这个位置已有中奖者");
        position = Held;
        if (entry < 0)
            problems.push_back(at + "中奖者不在名单中");
        else if (!lottery::isCandidateFor(list_, entry, *prize))
            problems.push_back(at + "中奖者按重复中奖规则不能再中这个奖项");
        if (++round > lottery::winnersPerRound(prize->perRound))
            problems.push_back(at + "这一轮的中奖者多于每轮人数");
        if (++held > prize->total)
            problems.push_back(at + "奖项的中奖者多于抽取总人数");
        lottery::markWinner(list_, w.rawText, w.prizeId);
    }

    const lottery::LotteryData& data_;
    core::CoreServices& services_;
    lottery::ParticipantList list_;
    std::map<std::tuple<std::string, int, int>, int> positions_;
    std::map<std::pair<std::string, int>, int> rounds_;
    std::map<std::string, int> held_;
};

} // namespace

int runVerifyReport(const QString& folder, const QString& resultsFile, std::ostream& out) {
    core::CCore services(folder);
    services.autoFileConfig();
    const auto paths = lottery::EventPaths::forFolder(services.getAppPath());
    const std::filesystem::path results =
        resultsFile.isEmpty() ? paths.resultFile : core::toFsPath(resultsFile);
    auto data = std::make_unique<lottery::LotteryData>();
    std::vector<std::string> warnings;
    loadEventData(paths, *data, services, warnings);

    std::vector<std::string> problems;
    std::string bytes;
    if (!lottery::readWholeFile(results, bytes))
        problems.push_back("无法读取抽奖结果文件 " + lottery::pathText(results));
    const lottery::ResultsLog log = lottery::parseResultsLog(bytes, services);
    const lottery::ChainCheck chain = lottery::checkChain(bytes, services);
    if (problems.empty() && !log.started)
        problems.push_back("抽奖结果文件中没有开始记录");
    if (log.started)
        out << "start\t" << field(services.utf8FromGbk(log.startTime)) << '\n';

    const auto fingerprint = [&](const char* name, const std::string& recorded,
                                 const std::filesystem::path& file) {
        if (recorded.empty()) {
            out << "fingerprint\t" << name << "\tnone\n";
            return;
        }
        const bool match = lottery::sha256OfFile(file) == recorded;
        out << "fingerprint\t" << name << '\t' << recorded << '\t' << (match ? "match" : "changed")
            << '\n';
        if (!match)
            problems.push_back(lottery::pathText(file) + " 与抽奖时不同");
    };
    fingerprint("participants", log.participantsFingerprint, paths.participantFile);
    fingerprint("prizes", log.prizesFingerprint, paths.prizeFile);
    if (log.participantsCount >= 0 && log.participantsCount != data->participants.count())
        problems.push_back("名单现有 " + std::to_string(data->participants.count()) +
                           " 个条目，抽奖时为 " + std::to_string(log.participantsCount) + " 个");

    for (const int line : chain.tornLines)
        out << "torn\t" << line << '\n';
    switch (chain.state) {
    case lottery::ChainCheck::State::None:
        break;
    case lottery::ChainCheck::State::Ok:
        out << "chain\tok\n";
        break;
    case lottery::ChainCheck::State::Unchained:
        out << "chain\tunchained\n";
        break;
    case lottery::ChainCheck::State::Broken:
        out << "chain\tbroken\t" << chain.brokenLine << '\n';
        problems.push_back("链码在" + lineText(chain.brokenLine) +
                           "对不上：该行被改动、删除、插入或调换过");
        break;
    }

    Verifier verifier(*data, services);
    verifier.follow(log);
    verifier.putWinners(out);
    problems.insert(problems.end(), verifier.problems.begin(), verifier.problems.end());
    for (const std::string& problem : problems)
        out << "problem\t" << field(problem) << '\n';
    if (problems.empty())
        out << "ok\n";
    out.flush();
    return problems.empty() ? 0 : 1;
}

} // namespace app
