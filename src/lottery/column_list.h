#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace lottery {

// The column numbers of a list such as "1,3" or "1，3" (UTF-8; half- and full-width commas,
// blanks around a number and empty parts allowed), in order; nothing when a part is no
// column from 1 to kMaxSheetColumns or the list names none.
std::optional<std::vector<int>> parseColumnList(std::string_view utf8);

} // namespace lottery
