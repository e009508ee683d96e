#pragma once

#include "lottery/results_log.h"

#include <string>
#include <string_view>

namespace dialogs {

// The winners of log as a CSV file for spreadsheets: UTF-8 with a byte-order mark (so that
// Chinese text is not read in the local code page), CR LF, a header row, RFC 4180 quoting.
std::string resultsCsv(const lottery::ResultsLog& log);

// One UTF-8 field as written: quoted when it holds a comma, quote, CR or LF, and prefixed
// with an apostrophe when a spreadsheet would take it for a formula.
std::string csvField(std::string_view utf8);

// What a line says of its entry, in UTF-8, as the dialog and the CSV show it.
std::string_view statusText(lottery::WinnerStatus status);

} // namespace dialogs
