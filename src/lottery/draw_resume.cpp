#include "lottery/draw_resume.h"

#include "lottery/draw_ledger.h"
#include "lottery/prize_file.h"

#include <algorithm>

namespace lottery {

namespace {

// Why the recorded prize no longer fits the table (UTF-8); empty when it fits.
std::string misfit(const PrizeLedger& recorded, const PrizeTable& table,
                   core::CoreServices& services) {
    const auto utf8 = [&services](const std::string& gbk) { return services.utf8FromGbk(gbk); };
    int seen = 0;
    const auto prize = std::find_if(table.prizes.begin(), table.prizes.end(), [&](const auto& p) {
        return p.id == recorded.key.id && seen++ == recorded.key.copy;
    });
    if (prize == table.prizes.end())
        return "奖项【" + utf8(recorded.title) + "】（编号 " + utf8(recorded.key.id) +
               "）已不在奖项列表中";
    if (recorded.held() > prize->total)
        return "奖项【" + utf8(prize->title) + "】记录的中奖者多于现在的抽取总人数 " +
               std::to_string(prize->total) + " 名";
    const int most = winnersPerRound(prize->perRound);
    for (std::size_t r = 0; r < recorded.rounds.size(); ++r)
        if (static_cast<int>(recorded.rounds[r].size()) > most)
            return "奖项【" + utf8(prize->title) + "】第 " + std::to_string(r + 1) +
                   " 轮记录的中奖者多于现在的 " + std::to_string(most) + " 名";
    return {};
}

} // namespace

ResumePlan planResume(const LotteryData& data, const ResultsLog& log,
                      core::CoreServices& services) {
    ResumePlan plan;
    if (!log.started || log.finished || log.winners.empty())
        return plan;
    plan.kind = ResumePlan::Kind::Resumable;
    for (const PrizeLedger& prize : readLedger(log, data.prizeTable).prizes) {
        plan.problem = misfit(prize, data.prizeTable, services);
        if (!plan.problem.empty()) {
            plan.kind = ResumePlan::Kind::DoesNotFit;
            break;
        }
    }
    return plan;
}

} // namespace lottery
