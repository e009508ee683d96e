#pragma once

#include "lottery/results_log.h"
#include "sheets/xlsx_writer.h"

namespace dialogs {

// The winners of log as the workbook sheet "抽奖结果", header first, UTF-8: time, prize,
// round, position, entry and status.
sheets::TextSheet resultsSheet(const lottery::ResultsLog& log);

} // namespace dialogs
