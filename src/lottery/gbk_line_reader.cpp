#include "lottery/gbk_line_reader.h"

#include <algorithm>

namespace lottery {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t utf8Length(unsigned char lead) {
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// Drops a character that the cut left incomplete, so the converter does not count it lost.
void dropIncompleteTail(std::string& utf8) {
    std::size_t start = utf8.size();
    while (start > 0 && utf8.size() - start < 3 && isContinuation(utf8[start - 1]))
        --start;
    if (start == 0)
        return;
    const std::size_t lead = start - 1;
    if (lead + utf8Length(static_cast<unsigned char>(utf8[lead])) > utf8.size())
        utf8.resize(lead);
}

} // namespace

GbkLineReader::GbkLineReader(std::size_t keepBytes, std::size_t maxLines)
    : maxLines_(maxLines),
      splitter_(std::max<std::size_t>(keepBytes, 4),
                [this](std::string_view kept, std::size_t length) { take(kept, length); }) {}

void GbkLineReader::feed(std::string_view piece) {
    utf8_.feed(piece);
    splitter_.feed(piece);
}

void GbkLineReader::take(std::string_view kept, std::size_t length) {
    if (firstLine_) {
        firstLine_ = false;
        if (kept.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
            bom_ = true;
            kept.remove_prefix(kUtf8Bom.size());
            length -= kUtf8Bom.size();
        }
    }
    if (length == 0)
        return;
    if (lines_.size() >= maxLines_) {
        ++ignored_;
        return;
    }
    lines_.push_back({std::string(kept), length > kept.size()});
}

void GbkLineReader::finish(core::CoreServices& services) {
    splitter_.finish();
    fromUtf8_ = bom_ || (utf8_.sawNonAscii() && utf8_.valid());
    if (!fromUtf8_)
        return;
    for (Line& line : lines_) {
        if (line.cut)
            dropIncompleteTail(line.gbk);
        int lost = 0;
        line.gbk = services.gbkFromUtf8(line.gbk, &lost);
        unmappable_ += lost;
    }
    // A line of nothing but broken sequences may convert to nothing: an empty line.
    lines_.erase(std::remove_if(lines_.begin(), lines_.end(),
                                [](const Line& line) { return line.gbk.empty(); }),
                 lines_.end());
}

} // namespace lottery
