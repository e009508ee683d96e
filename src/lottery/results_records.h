#pragma once

#include "core/core_services.h"
#include "lottery/results_log.h"

#include <filesystem>
#include <string>
#include <vector>

namespace lottery {

// The records of the draw, each made when its event happens; chainRecord codes them and
// writeRecord puts them on disk.

// The start of a new draw, dated now.
ResultsRecord startRecord(core::CoreServices& services);

// Lines for seats of round `round` of prize: winners, absent marks or replacements.
ResultsRecord positionsRecord(const PrizeRecord& prize, int round, const std::vector<Seat>& seats,
                              WinnerStatus status, core::CoreServices& services);

// The end line "抽奖结束日期：" + time; after the reset line when the operator reset the draw.
ResultsRecord endRecord(core::CoreServices& services, bool reset = false);

// The choice of prize as the next step.
ResultsRecord choiceRecord(const PrizeRecord& prize, core::CoreServices& services);

// Positions of a round closed without a winner, and why (UTF-8).
ResultsRecord shortRecord(const PrizeRecord& prize, int round, const std::vector<int>& positions,
                          const std::string& reason, core::CoreServices& services);

// The list read during a draw.
ResultsRecord listRecord(const std::string& participantsHex, int participants,
                         core::CoreServices& services);

// The fingerprint lines: participantsHex with the entry count, and the prize file as it is on
// disk now. An empty digest, or a prize file that cannot be read, has no line.
ResultsRecord fingerprintRecord(const std::string& participantsHex, int participants,
                                const std::filesystem::path& prizeFile,
                                core::CoreServices& services);

} // namespace lottery
