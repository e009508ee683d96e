#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace lottery {

// Splits bytes fed in pieces into lines: LF ends a line and one CR before it is dropped, so
// a file ending with a line end yields no extra line. Of each line only the first keepBytes
// bytes are held, so a line of any length costs no more memory than that.
class LineSplitter {
public:
    // kept: at most keepBytes bytes of the line, line end removed; length: the whole line's.
    using OnLine = std::function<void(std::string_view kept, std::size_t length)>;

    LineSplitter(std::size_t keepBytes, OnLine onLine);

    void feed(std::string_view piece);
    // Passes on a last line that has no line end.
    void finish();
    // Bytes fed after the last line end.
    bool hasPartialLine() const { return length_ > 0; }

private:
    void append(std::string_view part);
    void endLine();

    std::size_t keepBytes_;
    OnLine onLine_;
    std::string kept_;
    std::size_t length_ = 0;
    char last_ = 0;
};

} // namespace lottery
