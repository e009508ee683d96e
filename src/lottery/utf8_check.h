#pragma once

#include <string_view>

namespace lottery {

// Checks bytes fed in pieces for well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF); a character may span two pieces.
class Utf8Check {
public:
    void feed(std::string_view bytes);

    // Everything fed so far is well-formed and ends on a whole character.
    bool valid() const { return !broken_ && pending_ == 0; }
    bool sawNonAscii() const { return nonAscii_; }

private:
    bool broken_ = false;
    bool nonAscii_ = false;
    int pending_ = 0; // continuation bytes still expected
    unsigned char low_ = 0x80;
    unsigned char high_ = 0xBF;
};

} // namespace lottery
