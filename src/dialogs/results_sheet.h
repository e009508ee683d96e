#pragma once

#include "lottery/results_log.h"

#include <string>
#include <vector>

namespace dialogs {

// The winners of log as the rows of a workbook sheet, header first, UTF-8: time, prize,
// round, position, entry and status.
std::vector<std::vector<std::string>> resultsSheet(const lottery::ResultsLog& log);

} // namespace dialogs
