#include "lottery/gbk_line_reader.h"

#include "lottery/file_text.h"

#include <algorithm>

namespace lottery {

namespace {

// A UTF-16 mark takes two bytes; a UTF-8 one is found at the start of the first line.
constexpr std::size_t kUtf16MarkBytes = 2;

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
    if (started_) {
        pass(piece);
        return;
    }
    // A piece may hold a single byte; the mark takes two.
    head_.append(piece);
    if (head_.size() >= kUtf16MarkBytes)
        start(head_);
}

void GbkLineReader::start(std::string_view head) {
    started_ = true;
    const ByteOrderMark mark = byteOrderMarkOf(head.substr(0, kUtf16MarkBytes));
    if (isUtf16(mark)) {
        utf16_.emplace(mark == ByteOrderMark::Utf16Be);
        source_ = Source::Utf16;
        head.remove_prefix(lengthOf(mark));
    }
    pass(head);
    head_ = std::string();
}

void GbkLineReader::pass(std::string_view piece) {
    if (!utf16_) {
        utf8_.feed(piece);
        splitter_.feed(piece);
        return;
    }
    decoded_.clear();
    utf16_->feed(piece, decoded_);
    splitter_.feed(decoded_);
}

void GbkLineReader::take(std::string_view kept, std::size_t length) {
    ++lineNumber_;
    if (lineNumber_ == 1 && byteOrderMarkOf(kept) == ByteOrderMark::Utf8) {
        utf8_.sawByteOrderMark();
        kept.remove_prefix(lengthOf(ByteOrderMark::Utf8));
        length -= lengthOf(ByteOrderMark::Utf8);
    }
    if (length == 0)
        return;
    if (lines_.size() >= maxLines_) {
        ++ignored_;
        return;
    }
    lines_.push_back({std::string(kept), length > kept.size(), lineNumber_});
}

bool GbkLineReader::readsAsUtf8() {
    for (const Line& line : lines_)
        utf8_.score(line.gbk);
    return utf8_.readsAsUtf8();
}

void GbkLineReader::finish(core::CoreServices& services) {
    if (!started_)
        start(head_);
    if (utf16_) {
        decoded_.clear();
        utf16_->finish(decoded_);
        splitter_.feed(decoded_);
    }
    splitter_.finish();
    if (!utf16_ && readsAsUtf8())
        source_ = Source::Utf8;
    if (source_ == Source::Gbk)
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

void addConversionWarning(const GbkLineReader& reader, const std::string& fileLabel,
                          std::vector<std::string>& warnings) {
    if (reader.source() != GbkLineReader::Source::Utf16) {
        addEncodingWarning(reader.unmappable(), fileLabel, warnings);
        return;
    }
    if (reader.unmappable() > 0)
        warnings.push_back(fileLabel + "按 UTF-16 读取，有 " + std::to_string(reader.unmappable()) +
                           " 个字符无法用 GBK 表示，已替换为“?”");
}

} // namespace lottery
