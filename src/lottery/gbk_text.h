#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lottery {

// A GBK lead byte starts a double-byte character.
inline bool isGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The longest prefix of at most maxBytes bytes that does not split a double-byte character.
std::string cutToBytes(std::string_view gbk, std::size_t maxBytes);

} // namespace lottery
