#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lottery {

// A worksheet's last column: cells past it are neither read nor written.
constexpr int kMaxSheetColumns = 16384;

// One row of a spreadsheet, its cells from column 1 on (an empty row has none); returns
// false to stop the reading.
using RowSink = std::function<bool(const std::vector<std::string>& cells)>;

// How the cells a reader hands on are encoded.
enum class CellEncoding { Gbk, Utf8 };

} // namespace lottery
