#include "lottery/draw_resume.h"

#include "lottery/prize_file.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace lottery {

namespace {

class FitCheck {
public:
    FitCheck(const LotteryData& data, core::CoreServices& services)
        : prizes_(data.prizeTable.prizes), services_(services) {
        for (std::size_t i = 0; i < prizes_.size(); ++i)
            prizeById_.emplace(prizes_[i].id, static_cast<int>(i));
        for (const ParticipantRecord& entry : data.participants.entries)
            ++entriesByText_[entry.rawText];
    }

    // False with problem set when record does not fit; records come in file order.
    bool take(const WinnerRecord& record) {
        const auto found = prizeById_.find(record.prizeId);
        if (found == prizeById_.end())
            return fail("奖项【" + utf8(record.prizeTitle) + "】（编号 " + utf8(record.prizeId) +
                        "）已不在奖项列表中");
        const int index = found->second;
        const PrizeRecord& prize = prizes_[static_cast<std::size_t>(index)];
        const std::string where =
            "奖项【" + utf8(prize.title) + "】第 " + std::to_string(record.round) + " 轮";
        // Prizes may be taken in any order the operator chose; a round's lines stay together.
        if (index != prizeIndex_ || record.round != round_) {
            prizeIndex_ = index;
            round_ = record.round;
            roundSize_ = 0;
            roundTexts_.clear();
        }
        const bool absent = record.status == WinnerStatus::Absent;
        int& held = heldOf_[index];
        held += absent ? -1 : 1;
        if (held > prize.total)
            return fail("奖项【" + utf8(prize.title) + "】记录的中奖者多于现在的抽取总人数 " +
                        std::to_string(prize.total) + " 名");
        const int most = winnersPerRound(prize.perRound);
        if (record.status == WinnerStatus::Winner && ++roundSize_ > most)
            return fail(where + "记录的中奖者多于现在的 " + std::to_string(most) + " 名");
        if (absent)
            return true;
        const auto inList = entriesByText_.find(record.rawText);
        const int have = inList == entriesByText_.end() ? 0 : inList->second;
        const int needed = ++roundTexts_[record.rawText];
        if (needed > have)
            return fail(
                have == 0
                    ? "抽奖名单中已没有“" + utf8(record.rawText) + "”（" + where + "的中奖者）"
                    : "抽奖名单中的“" + utf8(record.rawText) + "”只有 " + std::to_string(have) +
                          " 条，" + where + "记录了 " + std::to_string(needed) + " 条");
        return true;
    }

    ResumePoint point() const { return {prizeIndex_, round_ - 1}; }
    const std::string& problem() const { return problem_; }

private:
    bool fail(std::string text) {
        problem_ = std::move(text);
        return false;
    }
    std::string utf8(const std::string& gbk) { return services_.utf8FromGbk(gbk); }

    const std::vector<PrizeRecord>& prizes_;
    core::CoreServices& services_;
    std::unordered_map<std::string_view, int> prizeById_;
    std::unordered_map<std::string_view, int> entriesByText_;
    int prizeIndex_ = -1;
    std::unordered_map<int, int> heldOf_;
    int round_ = 0;
    int roundSize_ = 0;
    std::unordered_map<std::string_view, int> roundTexts_;
    std::string problem_;
};

} // namespace

ResumePlan planResume(const LotteryData& data, const ResultsLog& log,
                      core::CoreServices& services) {
    ResumePlan plan;
    if (!log.started || log.finished || log.winners.empty())
        return plan;
    FitCheck check(data, services);
    for (const WinnerRecord& record : log.winners) {
        if (!check.take(record)) {
            plan.kind = ResumePlan::Kind::DoesNotFit;
            plan.problem = check.problem();
            return plan;
        }
    }
    plan.kind = ResumePlan::Kind::Resumable;
    plan.point = check.point();
    return plan;
}

void applyResume(LotteryData& data, const ResultsLog& log, const ResumePoint& point) {
    restoreWinnerMarks(data.participants, log);
    DrawOptions& options = data.options;
    options.prizeIndex = point.prizeIndex;
    options.roundIndex = point.roundIndex;
    options.setState(DrawState::ShowingResult);

    CandidatePool& pool = data.pool;
    pool.slots.fill(0);
    pool.winnerCount = 0;
    if (point.prizeIndex < 0 || point.prizeIndex >= data.prizeTable.count())
        return;
    const std::string& prizeId =
        data.prizeTable.prizes[static_cast<std::size_t>(point.prizeIndex)].id;
    const auto& entries = data.participants.entries;
    // Every copy of a text holds the marks (markWinner): a record shows as the first entry
    // of its text not already shown in the round.
    std::vector<int> chosen;
    for (const WinnerRecord& record : log.winners) {
        if (record.prizeId != prizeId || record.round != point.roundIndex + 1)
            continue;
        if (static_cast<int>(chosen.size()) >= kMaxWinnersPerRound)
            break;
        for (std::size_t j = 0; j < entries.size(); ++j) {
            const int index = static_cast<int>(j);
            if (entries[j].rawText == record.rawText &&
                std::find(chosen.begin(), chosen.end(), index) == chosen.end()) {
                chosen.push_back(index);
                break;
            }
        }
    }
    for (std::size_t i = 0; i < chosen.size(); ++i)
        pool.slots[static_cast<std::size_t>(kPoolSize) - 1 - i] = chosen[i];
    pool.winnerCount = static_cast<int>(chosen.size());
}

} // namespace lottery
