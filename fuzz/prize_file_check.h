#pragma once

#include <string>
#include <string_view>

namespace fuzzchecks {

// Reads input as a prize file, sorts, saves to a file and reads that again; returns the
// first rule the result broke, empty when none.
std::string checkPrizeFile(std::string_view input);

} // namespace fuzzchecks
