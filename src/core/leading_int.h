#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string_view>

namespace core {

// atoi's decimal prefix rule (leading blanks, a sign, digits; 0 without digits), saturating
// at the 32-bit limits instead of overflowing: hand-edited files may hold anything.
inline int parseLeadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // A magnitude that stops growing past the limit, so any digit count is safe.
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = std::min(limit, magnitude * 10 + (text[i] - '0'));
    return static_cast<int>(negative ? -magnitude : magnitude);
}

} // namespace core
