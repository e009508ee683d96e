#pragma once

#include "core/core_services.h"
#include "lottery/results_log.h"

#include <filesystem>
#include <string_view>

namespace lottery {

// The draw after the last start line, skipping lines that cannot be parsed; an empty log
// when the file is missing, and one marked unreadable when it is there (or cannot be told to
// be absent) but cannot be read. Reads line by line: linear in the file size, and a line too long
// to be a record is skipped without being held; winner lines past the most a draw can
// record (kPrizeCapacity x kParticipantCapacity) are ignored. The services give the GBK
// start and end prefixes.
ResultsLog readResultsLog(const std::filesystem::path& resultFile, core::CoreServices& services);

// The same from the file's bytes.
ResultsLog parseResultsLog(std::string_view bytes, core::CoreServices& services);

} // namespace lottery
