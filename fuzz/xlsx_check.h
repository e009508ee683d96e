#pragma once

#include <string>
#include <string_view>

namespace fuzzchecks {

// input is a workbook file: opened from memory and every sheet read (at most a few thousand
// rows of each); returns the first rule the result broke, empty when none. A refusal must
// say why.
std::string checkXlsx(std::string_view input);

} // namespace fuzzchecks
