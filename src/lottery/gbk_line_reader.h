#pragma once

#include "core/core_services.h"
#include "lottery/line_splitter.h"
#include "lottery/utf8_check.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lottery {

// The non-empty lines of a text file in the stored encoding, read piece by piece so that a
// file of any size costs only the lines held. GBK files pass unchanged; UTF-8 files (a
// byte-order mark, or well-formed UTF-8 with non-ASCII text) are converted.
class GbkLineReader {
public:
    struct Line {
        std::string gbk;
        bool cut = false; // the file's line was longer than the bytes kept of it
    };

    // Holds the first maxLines non-empty lines, each from at most keepBytes bytes of the file
    // (keepBytes at least 4: a cut UTF-8 line still keeps a whole character).
    GbkLineReader(std::size_t keepBytes, std::size_t maxLines);

    void feed(std::string_view piece);
    // Ends the input and converts the lines held when the file was UTF-8.
    void finish(core::CoreServices& services);

    std::vector<Line>& lines() { return lines_; }
    int ignoredLines() const { return ignored_; } // non-empty lines past maxLines
    bool fromUtf8() const { return fromUtf8_; }
    int unmappable() const { return unmappable_; } // characters GBK cannot hold, now '?'

private:
    void take(std::string_view kept, std::size_t length);

    std::size_t maxLines_;
    LineSplitter splitter_;
    Utf8Check utf8_;
    std::vector<Line> lines_;
    bool firstLine_ = true;
    bool bom_ = false;
    bool fromUtf8_ = false;
    int ignored_ = 0;
    int unmappable_ = 0;
};

} // namespace lottery
