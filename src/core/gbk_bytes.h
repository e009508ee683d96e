#pragma once

namespace core {

// A GBK lead byte starts a double-byte character.
inline bool isGbkLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// The second byte of a double-byte character.
inline bool isGbkTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

} // namespace core
