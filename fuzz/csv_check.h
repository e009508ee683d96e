#pragma once

#include <string>
#include <string_view>

namespace fuzzchecks {

// The first byte of input chooses the import options (bit 0 a header row, bits 1-3 the
// columns), the rest is a CSV file: read from memory and from a file, then imported; returns
// the first rule the result broke, empty when none.
std::string checkCsv(std::string_view input);

} // namespace fuzzchecks
