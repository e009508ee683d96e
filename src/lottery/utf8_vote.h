#pragma once

#include "lottery/utf8_check.h"

#include <string_view>

namespace lottery {

// Tells UTF-8 from GBK for text without a UTF-16 mark: a UTF-8 byte-order mark, or
// well-formed UTF-8 with non-ASCII text that reads more plausibly so than as GBK. GBK names
// are often well-formed UTF-8 too, so the reading that looks more like names wins, UTF-8 on
// a tie.
class Utf8Vote {
public:
    // Every byte of the text, in order, for the well-formedness check.
    void feed(std::string_view bytes) { check_.feed(bytes); }
    // A line (or a kept part of it) whose reading counts in the vote.
    void score(std::string_view line);
    void sawByteOrderMark() { bom_ = true; }

    bool readsAsUtf8() const;

private:
    Utf8Check check_;
    bool bom_ = false;
    long utf8Score_ = 0;
    long gbkScore_ = 0;
};

} // namespace lottery
