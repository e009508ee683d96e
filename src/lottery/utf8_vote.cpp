#include "lottery/utf8_vote.h"

#include "lottery/text_encoding.h"

namespace lottery {

void Utf8Vote::score(std::string_view line) {
    utf8Score_ += utf8Plausibility(line);
    gbkScore_ += gbkPlausibility(line);
}

bool Utf8Vote::readsAsUtf8() const {
    if (bom_)
        return true;
    if (!check_.sawNonAscii() || !check_.valid())
        return false;
    return utf8Score_ >= gbkScore_;
}

} // namespace lottery
