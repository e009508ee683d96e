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
        : prizes_(data.prizeTable.prizes), list_(data.participants), services_(services) {
        for (std::size_t i = 0; i < prizes_.size(); ++i)
            prizeById_.emplace(prizes_[i].id, static_cast<int>(i));
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
        const int have = list_.copiesOf(record.rawText);
        const int needed = ++roundTexts_[record.rawText];
        if (needed > have)
            return fail(
                have == 0
                    ? "抽奖名单中已没有“" + utf8(record.rawText) + "”（" + where + "的中奖者）"
                    : "抽奖名单中的“" + utf8(record.rawText) + "”只有 " + std::to_string(have) +
                          " 条，" + where + "记录了 " + std::to_string(needed) + " 条");
        return true;
    }

    const std::string& problem() const { return problem_; }

private:
    bool fail(std::string text) {
        problem_ = std::move(text);
        return false;
    }
    std::string utf8(const std::string& gbk) { return services_.utf8FromGbk(gbk); }

    const std::vector<PrizeRecord>& prizes_;
    const ParticipantList& list_;
    core::CoreServices& services_;
    std::unordered_map<std::string_view, int> prizeById_;
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
    return plan;
}

} // namespace lottery
