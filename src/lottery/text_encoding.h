#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lottery {

enum class ByteOrderMark { None, Utf8, Utf16Le, Utf16Be };

// The byte-order mark a text starts with; None when head is too short to hold one.
ByteOrderMark byteOrderMarkOf(std::string_view head);
std::size_t lengthOf(ByteOrderMark mark);
inline bool isUtf16(ByteOrderMark mark) {
    return mark == ByteOrderMark::Utf16Le || mark == ByteOrderMark::Utf16Be;
}

// Turns UTF-16 bytes fed in pieces into UTF-8; a code unit or a surrogate pair may span
// two pieces. A broken surrogate or a lone last byte becomes U+FFFD.
class Utf16Decoder {
public:
    explicit Utf16Decoder(bool bigEndian) : bigEndian_(bigEndian) {}

    void feed(std::string_view bytes, std::string& utf8);
    // Ends the input: whatever is left unpaired becomes U+FFFD.
    void finish(std::string& utf8);

private:
    void take(char16_t unit, std::string& utf8);

    bool bigEndian_;
    bool hasByte_ = false;
    unsigned char byte_ = 0;
    char16_t high_ = 0; // a high surrogate waiting for its low half
};

// How plausible bytes are as names and prize titles when read one way or the other; a
// character counts its bytes, plus when the lists hold such text, minus when not. Both
// readings of the same bytes can be compared; ASCII counts nothing in either.
// UTF-8: CJK ideographs, kana, Hangul, CJK and fullwidth punctuation, general punctuation,
// and accented Latin letters beside an ASCII letter are plausible. A character cut off at the
// end counts nothing.
int utf8Plausibility(std::string_view utf8);
// GBK: a GB2312 hanzi or symbol is plausible, another double-byte character neutral, a
// byte that starts no character implausible.
int gbkPlausibility(std::string_view gbk);

} // namespace lottery
