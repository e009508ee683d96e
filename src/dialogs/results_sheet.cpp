#include "dialogs/results_sheet.h"

#include "core/gbk_codec.h"
#include "dialogs/results_csv.h"

namespace dialogs {

sheets::TextSheet resultsSheet(const lottery::ResultsLog& log) {
    std::vector<std::vector<std::string>> rows{
        {"时间", "奖项", "轮次", "序号", "中奖条目", "状态"}};
    rows.reserve(log.winners.size() + 1);
    for (const lottery::WinnerRecord& winner : log.winners)
        rows.push_back({core::GbkCodec::toUtf8(winner.time),
                        core::GbkCodec::toUtf8(winner.prizeTitle), std::to_string(winner.round),
                        std::to_string(winner.position), core::GbkCodec::toUtf8(winner.rawText),
                        std::string(statusText(winner.status))});
    return {QStringLiteral("抽奖结果"), std::move(rows)};
}

} // namespace dialogs
