#pragma once

#include "core/core_services.h"
#include "lottery/results_log.h"

#include <string>
#include <string_view>
#include <vector>

namespace lottery {

// The code of a line: the first 16 hex digits of SHA-256 over previousCode and content.
std::string chainCode(std::string_view previousCode, std::string_view content);
// The code a line without one passes on.
std::string ownCode(std::string_view line);
// Puts the chain code before every line of record after previousCode, which it then holds
// the last line's code; a start record begins a new chain. A round's winners get their codes.
void chainRecord(ResultsRecord& record, std::string& previousCode);

// How the lines after the last start line chain.
struct ChainCheck {
    enum class State { None, Ok, Unchained, Broken };
    State state = State::None; // None: no start line
    int brokenLine = 0;        // from 1
    std::vector<int> tornLines;
};
ChainCheck checkChain(std::string_view bytes, core::CoreServices& services);

} // namespace lottery
