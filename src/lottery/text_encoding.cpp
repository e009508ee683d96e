#include "lottery/text_encoding.h"

#include "lottery/gbk_text.h"

#include <vector>

namespace lottery {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

void appendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool isHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool isAsciiLetter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isEastAsian(char32_t c) {
    return (c >= 0x2010 && c <= 0x2027) || (c >= 0x3000 && c <= 0x30FF) ||
           (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

// GBK read as UTF-8 turns many hanzi into runs of these letters, never beside ASCII ones.
bool isAccentedLatin(char32_t c) {
    return c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7;
}

// The characters of well-formed UTF-8, up to one cut off at the end.
void decodeUtf8(std::string_view utf8, std::vector<char32_t>& out) {
    out.clear();
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (i + length > utf8.size())
            return;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out.push_back(c);
        i += length;
    }
}

int utf8Length(char32_t c) {
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

} // namespace

ByteOrderMark byteOrderMarkOf(std::string_view head) {
    if (head.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        return ByteOrderMark::Utf8;
    if (head.substr(0, kUtf16LeBom.size()) == kUtf16LeBom)
        return ByteOrderMark::Utf16Le;
    if (head.substr(0, kUtf16BeBom.size()) == kUtf16BeBom)
        return ByteOrderMark::Utf16Be;
    return ByteOrderMark::None;
}

std::size_t lengthOf(ByteOrderMark mark) {
    switch (mark) {
    case ByteOrderMark::Utf8:
        return kUtf8Bom.size();
    case ByteOrderMark::Utf16Le:
    case ByteOrderMark::Utf16Be:
        return kUtf16LeBom.size();
    case ByteOrderMark::None:
        break;
    }
    return 0;
}

void Utf16Decoder::feed(std::string_view bytes, std::string& utf8) {
    for (const char b : bytes) {
        if (!hasByte_) {
            byte_ = static_cast<unsigned char>(b);
            hasByte_ = true;
            continue;
        }
        hasByte_ = false;
        const auto second = static_cast<unsigned char>(b);
        take(static_cast<char16_t>(bigEndian_ ? (byte_ << 8) | second : (second << 8) | byte_),
             utf8);
    }
}

void Utf16Decoder::finish(std::string& utf8) {
    if (high_ != 0)
        appendUtf8(kReplacement, utf8);
    if (hasByte_)
        appendUtf8(kReplacement, utf8);
    high_ = 0;
    hasByte_ = false;
}

void Utf16Decoder::take(char16_t unit, std::string& utf8) {
    if (high_ != 0) {
        if (isLowSurrogate(unit)) {
            appendUtf8(0x10000 + ((char32_t(high_) - 0xD800) << 10) + (unit - 0xDC00), utf8);
            high_ = 0;
            return;
        }
        appendUtf8(kReplacement, utf8);
        high_ = 0;
    }
    if (isHighSurrogate(unit))
        high_ = unit;
    else
        appendUtf8(isLowSurrogate(unit) ? kReplacement : unit, utf8);
}

int utf8Plausibility(std::string_view utf8) {
    std::vector<char32_t> chars;
    decodeUtf8(utf8, chars);
    int score = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i];
        if (c < 0x80)
            continue;
        const bool besideAscii = (i > 0 && isAsciiLetter(chars[i - 1])) ||
                                 (i + 1 < chars.size() && isAsciiLetter(chars[i + 1]));
        const bool plausible = isEastAsian(c) || (isAccentedLatin(c) && besideAscii);
        score += plausible ? utf8Length(c) : -utf8Length(c);
    }
    return score;
}

int gbkPlausibility(std::string_view gbk) {
    int score = 0;
    for (std::size_t pos = 0; pos < gbk.size();) {
        const auto lead = static_cast<unsigned char>(gbk[pos]);
        if (lead < 0x80) {
            ++pos;
        } else if (gbkCharLength(gbk, pos) == 2) {
            const auto trail = static_cast<unsigned char>(gbk[pos + 1]);
            const bool gb2312 =
                ((lead >= 0xA1 && lead <= 0xA3) || (lead >= 0xB0 && lead <= 0xF7)) && trail >= 0xA1;
            score += gb2312 ? 2 : 0;
            pos += 2;
        } else {
            --score;
            ++pos;
        }
    }
    return score;
}

} // namespace lottery
