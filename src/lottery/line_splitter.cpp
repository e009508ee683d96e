#include "lottery/line_splitter.h"

#include <algorithm>

namespace lottery {

LineSplitter::LineSplitter(std::size_t keepBytes, OnLine onLine)
    : keepBytes_(keepBytes), onLine_(std::move(onLine)) {
    kept_.reserve(keepBytes_ + 1);
}

void LineSplitter::feed(std::string_view piece) {
    while (!piece.empty()) {
        const std::size_t end = piece.find('\n');
        append(piece.substr(0, end));
        if (end == std::string_view::npos)
            return;
        endLine();
        piece.remove_prefix(end + 1);
    }
}

void LineSplitter::finish() {
    if (length_ > 0)
        endLine();
}

void LineSplitter::append(std::string_view part) {
    if (part.empty())
        return;
    // One byte more than kept, so that a CR just past the kept bytes can still be dropped.
    const std::size_t room = keepBytes_ + 1 - std::min(kept_.size(), keepBytes_ + 1);
    kept_.append(part.substr(0, room));
    length_ += part.size();
    last_ = part.back();
}

void LineSplitter::endLine() {
    const std::size_t length = length_ > 0 && last_ == '\r' ? length_ - 1 : length_;
    onLine_(std::string_view(kept_).substr(0, std::min(length, keepBytes_)), length);
    kept_.clear();
    length_ = 0;
    last_ = 0;
}

} // namespace lottery
