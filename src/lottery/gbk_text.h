#pragma once

#include "core/gbk_bytes.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace lottery {

using core::isGbkLeadByte;
using core::isGbkTrailByte;

// 2 when a double-byte character starts at pos, else 1 (a lead byte without a valid trail
// counts as one byte on its own).
inline std::size_t gbkCharLength(std::string_view gbk, std::size_t pos) {
    return pos + 1 < gbk.size() && isGbkLeadByte(static_cast<unsigned char>(gbk[pos])) &&
                   isGbkTrailByte(static_cast<unsigned char>(gbk[pos + 1]))
               ? 2
               : 1;
}

// Without the blanks and tabs at either end (a prize id as the operator means it).
std::string_view trimBlanks(std::string_view text);

// The longest prefix of at most maxBytes bytes that does not split a double-byte character.
std::string cutToBytes(std::string_view gbk, std::size_t maxBytes);

} // namespace lottery
