#pragma once

#include "lottery/draw_ledger.h"
#include "lottery/results_log.h"

#include <string>
#include <string_view>
#include <vector>

namespace dialogs {

using TextRows = std::vector<std::vector<std::string>>;

// What a drawn line's entry became, in UTF-8: 中奖, 缺席 or 补抽.
std::string_view statusText(lottery::WinnerStatus status);

// One person drawn per row, header first, UTF-8, as the dialog and both exports show them:
// time, id, prize, round, position, status (the absent person's line 缺席), entry.
TextRows resultRows(const lottery::ResultsLog& log, const lottery::DrawLedger& ledger);

// One row per position held now, its final winner (中奖, or 补抽 for a replacement), header first.
TextRows finalWinnerRows(const lottery::ResultsLog& log, const lottery::DrawLedger& ledger);

} // namespace dialogs
