#include "lottery/utf8_check.h"

#include <cstdint>
#include <cstring>

namespace lottery {

namespace {

bool eightAsciiBytes(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & 0x8080808080808080ULL) == 0;
}

} // namespace

void Utf8Check::feed(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size() && !broken_) {
        if (pending_ == 0 && i + 8 <= bytes.size() && eightAsciiBytes(bytes.data() + i)) {
            i += 8;
            continue;
        }
        const auto c = static_cast<unsigned char>(bytes[i++]);
        if (pending_ > 0) {
            broken_ = c < low_ || c > high_;
            low_ = 0x80;
            high_ = 0xBF;
            --pending_;
            continue;
        }
        if (c < 0x80)
            continue;
        nonAscii_ = true;
        if (c >= 0xC2 && c <= 0xDF) {
            pending_ = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            pending_ = 2;
            if (c == 0xE0)
                low_ = 0xA0; // overlong
            else if (c == 0xED)
                high_ = 0x9F; // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            pending_ = 3;
            if (c == 0xF0)
                low_ = 0x90; // overlong
            else if (c == 0xF4)
                high_ = 0x8F; // above U+10FFFF
        } else {
            broken_ = true;
        }
    }
}

} // namespace lottery
