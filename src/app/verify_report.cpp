#include "app/verify_report.h"

#include "app/event_loader.h"
#include "core/ccore.h"
#include "core/path_conversion.h"
#include "lottery/draw_ledger.h"
#include "lottery/file_text.h"
#include "lottery/participant_file.h"
#include "lottery/prize_file.h"
#include "lottery/results_chain.h"
#include "lottery/results_log.h"
#include "lottery/results_reader.h"
#include "lottery/safe_file.h"
#include "lottery/sha256.h"
#include "lottery/winner_selection.h"

#include <map>
#include <memory>
#include <string>
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

// The participant lists of the event folder by their fingerprint: the list now and the
// copies an import kept, so that every round is checked against the list it was drawn from.
class ListFiles {
public:
    explicit ListFiles(const lottery::EventPaths& paths) {
        std::error_code error;
        add(paths.participantFile);
        for (const auto& file :
             std::filesystem::directory_iterator(paths.participantFile.parent_path(), error))
            if (file.path().filename().string().rfind("bak_items", 0) == 0)
                add(file.path());
    }

    // The file holding the list of that fingerprint; empty when none does.
    std::filesystem::path find(const std::string& hex) const {
        const auto it = byDigest_.find(hex);
        return it == byDigest_.end() ? std::filesystem::path() : it->second;
    }

private:
    void add(const std::filesystem::path& file) {
        const std::string hex = lottery::sha256OfFile(file);
        if (!hex.empty())
            byDigest_.emplace(hex, file);
    }

    std::map<std::string, std::filesystem::path> byDigest_;
};

// Follows the drawn lines in the order of the file, each against its list, with the marks the
// draw had made by then.
class WinnerCheck {
public:
    WinnerCheck(const lottery::ResultsLog& log, const lottery::LotteryData& data,
                const ListFiles& files, core::CoreServices& services)
        : log_(log), data_(data), files_(files), services_(services) {}

    void run(std::vector<std::string>& problems) {
        std::size_t list = 0;
        for (std::size_t i = 0; i < log_.winners.size(); ++i) {
            while (list + 1 < log_.lists.size() && log_.lists[list + 1].fromWinner <= i)
                ++list;
            const lottery::WinnerRecord& w = log_.winners[i];
            if (w.status != lottery::WinnerStatus::Absent && !log_.lists.empty())
                check(w, i, log_.lists[list].hex, problems);
        }
    }

private:
    struct MarkedList {
        lottery::ParticipantList entries;
        std::size_t markedUpTo = 0; // winner lines marked so far
        bool found = false;
    };

    void check(const lottery::WinnerRecord& w, std::size_t index, const std::string& hex,
               std::vector<std::string>& problems) {
        const std::string at = lineText(w.line) + "：";
        const lottery::PrizeRecord* prize = prizeOf(w);
        if (prize == nullptr)
            return problems.push_back(at + "奖项编号 " + utf8(w.prizeId) + " 不在奖项文件中");
        MarkedList& list = listOf(hex);
        if (!list.found)
            return; // told once, with the fingerprints
        for (; list.markedUpTo < index; ++list.markedUpTo)
            lottery::markRecord(list.entries, log_.winners[list.markedUpTo]);
        const int entry = list.entries.firstOf(w.rawText);
        if (entry < 0)
            problems.push_back(at + "中奖者不在抽取时的名单中");
        else if (!lottery::isCandidateFor(list.entries, entry, *prize))
            problems.push_back(at + "中奖者按重复中奖规则不能再中这个奖项");
    }

    MarkedList& listOf(const std::string& hex) {
        auto [it, added] = lists_.try_emplace(hex);
        if (added) {
            const std::filesystem::path file = files_.find(hex);
            std::string bytes;
            it->second.found = !file.empty() && lottery::readWholeFile(file, bytes);
            std::vector<std::string> warnings;
            if (it->second.found)
                lottery::readParticipantText(bytes, {}, it->second.entries, services_, warnings);
        }
        return it->second;
    }

    const lottery::PrizeRecord* prizeOf(const lottery::WinnerRecord& w) const {
        const lottery::PrizeKey key = lottery::keyOfLine(w, data_.prizeTable);
        int seen = 0;
        for (const lottery::PrizeRecord& prize : data_.prizeTable.prizes)
            if (prize.id == key.id && seen++ == key.copy)
                return &prize;
        return nullptr;
    }

    std::string utf8(const std::string& gbk) { return services_.utf8FromGbk(gbk); }

    const lottery::ResultsLog& log_;
    const lottery::LotteryData& data_;
    const ListFiles& files_;
    core::CoreServices& services_;
    std::map<std::string, MarkedList> lists_;
};

class VerifyReport {
public:
    VerifyReport(const lottery::EventPaths& paths, core::CoreServices& services, std::ostream& out)
        : paths_(paths), services_(services), out_(out), files_(paths) {}

    void load() {
        std::vector<std::string> warnings;
        const LoadOutcome outcome = loadEventData(paths_, data_, services_, warnings);
        for (const std::string& warning : warnings)
            out_ << "warning\t" << field(warning) << '\n';
        if (outcome == LoadOutcome::NoPrizes || outcome == LoadOutcome::LinkedOutside)
            problems_.push_back(loadOutcomeMessage(outcome, paths_, " ") +
                                "（无法按奖项核对中奖记录）");
    }

    void read(const std::filesystem::path& results) {
        if (!lottery::readWholeFile(results, bytes_))
            problems_.push_back("无法读取抽奖结果文件 " + lottery::pathText(results));
        log_ = lottery::parseResultsLog(bytes_, services_);
        if (problems_.empty() && !log_.started)
            problems_.push_back("抽奖结果文件中没有开始记录");
        if (log_.started)
            out_ << "start\t" << field(services_.utf8FromGbk(log_.startTime)) << '\n';
        const std::string start = services_.gbkFromUtf8("抽奖开始日期：");
        int starts = 0;
        for (std::size_t at = 0; (at = bytes_.find(start, at)) != std::string::npos; ++at)
            starts += at == 0 || bytes_[at - 1] == '\n';
        if (starts > 1)
            problems_.push_back("抽奖结果文件中有 " + std::to_string(starts) +
                                " 个开始记录：只核对最后一次抽奖，之前的记录可能被接在后面");
    }

    void fingerprints() {
        if (!log_.started)
            return;
        if (log_.lists.empty()) {
            out_ << "fingerprint\tparticipants\tnone\n";
            problems_.push_back("没有名单指纹：无法证明抽奖所用的名单");
        }
        for (const lottery::ListFingerprint& list : log_.lists) {
            const std::filesystem::path file = files_.find(list.hex);
            out_ << "fingerprint\tparticipants\t" << list.hex << '\t'
                 << (file.empty() ? "changed" : "match");
            if (!file.empty())
                out_ << '\t' << field(lottery::pathText(file.filename()));
            out_ << '\n';
            if (file.empty())
                problems_.push_back("数据文件夹中没有指纹为 " + list.hex.substr(0, 16) +
                                    "… 的名单：抽奖所用的名单已被改动或删除");
        }
        if (log_.prizesFingerprint.empty()) {
            out_ << "fingerprint\tprizes\tnone\n";
            problems_.push_back("没有奖项指纹：无法证明抽奖所用的奖项");
            return;
        }
        const bool match = lottery::sha256OfFile(paths_.prizeFile) == log_.prizesFingerprint;
        out_ << "fingerprint\tprizes\t" << log_.prizesFingerprint << '\t'
             << (match ? "match" : "changed") << '\n';
        if (!match)
            problems_.push_back(lottery::pathText(paths_.prizeFile) + " 与抽奖时不同");
    }

    void chain() {
        const lottery::ChainCheck chain = lottery::checkChain(bytes_, services_);
        for (const int line : chain.tornLines) {
            out_ << "torn\t" << line << '\n';
            problems_.push_back(lineText(line) + "不完整（写入时断电或被截断），不是有效记录");
        }
        switch (chain.state) {
        case lottery::ChainCheck::State::None:
            break;
        case lottery::ChainCheck::State::Ok:
            out_ << "chain\tok\n";
            break;
        case lottery::ChainCheck::State::Unchained:
            out_ << "chain\tunchained\n";
            problems_.push_back("记录没有链码：无法证明没有被改动、删除或插入");
            break;
        case lottery::ChainCheck::State::Broken:
            out_ << "chain\tbroken\t" << chain.brokenLine << '\n';
            problems_.push_back("链码在" + lineText(chain.brokenLine) +
                                "对不上：该行被改动、删除、插入或调换过");
            break;
        }
        if (log_.started && !log_.chainCode.empty())
            out_ << "final\t" << log_.chainCode << '\n';
    }

    void winners() {
        const lottery::DrawLedger ledger = lottery::readLedger(log_, data_.prizeTable);
        for (const std::string& problem : ledger.problems)
            problems_.push_back(problem);
        WinnerCheck(log_, data_, files_, services_).run(problems_);
        if (!log_.started)
            return;
        for (int i = 0; i < data_.prizeTable.count(); ++i)
            prizeTotals(i, ledger);
    }

    int finish() {
        for (const std::string& problem : problems_)
            out_ << "problem\t" << field(problem) << '\n';
        if (problems_.empty())
            out_ << "ok\n";
        out_.flush();
        return problems_.empty() ? 0 : 1;
    }

private:
    // Each prize's winners against its total; a prize left short says why.
    void prizeTotals(int index, const lottery::DrawLedger& ledger) {
        const lottery::PrizeRecord& prize =
            data_.prizeTable.prizes[static_cast<std::size_t>(index)];
        int copy = 0;
        for (int i = 0; i < index; ++i)
            copy += data_.prizeTable.prizes[static_cast<std::size_t>(i)].id == prize.id;
        const lottery::PrizeLedger* recorded = ledger.find({prize.id, copy});
        const int held = recorded ? recorded->held() : 0;
        const std::string name = field(utf8(prize.id)) + '\t' + field(utf8(prize.title));
        out_ << "winners\t" << name << '\t' << held << '\t' << prize.total << '\n';
        const int most = lottery::winnersPerRound(prize.perRound);
        for (std::size_t r = 0; recorded && r < recorded->rounds.size(); ++r)
            if (static_cast<int>(recorded->rounds[r].size()) > most)
                problems_.push_back("【" + utf8(prize.title) + "】第 " + std::to_string(r + 1) +
                                    " 轮的中奖者多于每轮人数");
        if (held > prize.total)
            problems_.push_back("【" + utf8(prize.title) + "】的中奖者多于抽取总人数");
        if (held >= prize.total || lottery::roundsFor(prize.total, prize.perRound) == 0)
            return;
        const std::string reason = recorded && recorded->closed() > 0
                                       ? utf8(closedReason(*recorded)) + "，空缺 " +
                                             std::to_string(recorded->closed()) + " 个"
                                   : log_.finished ? std::string("记录不完整")
                                                   : std::string("抽奖尚未结束");
        out_ << "short\t" << name << '\t' << held << '\t' << prize.total << '\t' << field(reason)
             << '\n';
        problems_.push_back("【" + utf8(prize.title) + "】只有 " + std::to_string(held) +
                            " 名中奖者，应为 " + std::to_string(prize.total) + " 名：" + reason);
    }

    static std::string closedReason(const lottery::PrizeLedger& prize) {
        for (const auto& round : prize.rounds)
            for (const lottery::SeatState& seat : round)
                if (seat.state == lottery::SeatState::State::Closed)
                    return seat.shortReason;
        return {};
    }

    std::string utf8(const std::string& gbk) { return services_.utf8FromGbk(gbk); }

    const lottery::EventPaths& paths_;
    core::CoreServices& services_;
    std::ostream& out_;
    ListFiles files_;
    lottery::LotteryData data_;
    std::string bytes_;
    lottery::ResultsLog log_;
    std::vector<std::string> problems_;
};

} // namespace

int runVerifyReport(const QString& folder, const QString& resultsFile, std::ostream& out) {
    core::CCore services(folder);
    const auto paths = lottery::EventPaths::forFolder(services.getAppPath());
    auto report = std::make_unique<VerifyReport>(paths, services, out);
    report->load();
    report->read(resultsFile.isEmpty() ? paths.resultFile : core::toFsPath(resultsFile));
    report->fingerprints();
    report->chain();
    report->winners();
    return report->finish();
}

} // namespace app
