#include "dialogs/results_sheet.h"

#include "core/gbk_codec.h"

namespace dialogs {

namespace {

std::vector<std::string> cells(const lottery::WinnerRecord& w, lottery::WinnerStatus status) {
    return {core::GbkCodec::toUtf8(w.time),       core::GbkCodec::toUtf8(w.prizeId),
            core::GbkCodec::toUtf8(w.prizeTitle), std::to_string(w.round),
            std::to_string(w.position),           std::string(statusText(status)),
            core::GbkCodec::toUtf8(w.rawText)};
}

const std::vector<std::string> kHeader = {"时间", "唯一编号", "奖项",    "轮次",
                                          "序号", "状态",     "中奖条目"};

} // namespace

std::string_view statusText(lottery::WinnerStatus status) {
    switch (status) {
    case lottery::WinnerStatus::Absent:
        return "缺席";
    case lottery::WinnerStatus::Replacement:
        return "补抽";
    case lottery::WinnerStatus::Winner:
        break;
    }
    return "中奖";
}

TextRows resultRows(const lottery::ResultsLog& log, const lottery::DrawLedger& ledger) {
    TextRows rows{kHeader};
    rows.reserve(ledger.drawn.size() + 1);
    for (const lottery::DrawnLine& drawn : ledger.drawn)
        rows.push_back(cells(log.winners[static_cast<std::size_t>(drawn.line)], drawn.status));
    return rows;
}

TextRows finalWinnerRows(const lottery::ResultsLog& log, const lottery::DrawLedger& ledger) {
    TextRows rows{kHeader};
    for (const int line : ledger.finalHolders()) {
        const lottery::WinnerRecord& w = log.winners[static_cast<std::size_t>(line)];
        rows.push_back(cells(w, w.status));
    }
    return rows;
}

} // namespace dialogs
