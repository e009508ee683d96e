#pragma once

#include <string_view>

namespace lottery {

// atoi's decimal prefix rule (leading blanks, a sign, digits; 0 without digits),
// saturating at the 32-bit limits instead of overflowing.
int parseLeadingInt(std::string_view text);

} // namespace lottery
