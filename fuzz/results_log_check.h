#pragma once

#include <string>
#include <string_view>

namespace fuzzchecks {

// Parses input as a results file, from memory and from a file, and restores its winners on
// a list of their raw texts; returns the first rule the result broke, empty when none.
std::string checkResultsLog(std::string_view input);

} // namespace fuzzchecks
