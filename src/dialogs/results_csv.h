#pragma once

#include "dialogs/results_sheet.h"

#include <string>
#include <string_view>

namespace dialogs {

// Rows as a CSV file for spreadsheets: UTF-8 with a byte-order mark (so that Chinese text is
// not read in the local code page), CR LF, RFC 4180 quoting.
std::string resultsCsv(const TextRows& rows);

// One UTF-8 field as written: quoted when it holds a comma, quote, CR or LF, and prefixed
// with an apostrophe when a spreadsheet would take it for a formula.
std::string csvField(std::string_view utf8);

} // namespace dialogs
