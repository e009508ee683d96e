#pragma once

#include "core/core_services.h"
#include "lottery/lottery_data.h"

#include <filesystem>
#include <string>
#include <vector>

namespace lottery {

// Reads the backtick-separated prize file (GBK, or UTF-8 converted to GBK) into table,
// then sorts it. Whatever is cut, ignored or invalid is described in warnings (UTF-8).
void loadPrizeFile(const std::filesystem::path& path, PrizeTable& table,
                   core::CoreServices& services, std::vector<std::string>& warnings);

// Stable sort by draw order, then every record's round count.
void sortPrizes(PrizeTable& table);

// ceil(total / perRound); 0 when either is below 1.
int roundsFor(int total, int perRound);

// One line of the file, CR LF included.
std::string formatPrizeLine(const PrizeRecord& prize);

// Writes the table safely; on failure the old file stays and *problem (UTF-8) says why.
bool savePrizeFile(const std::filesystem::path& path, const PrizeTable& table,
                   std::string* problem);

} // namespace lottery
