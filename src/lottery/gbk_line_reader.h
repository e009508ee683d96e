#pragma once

#include "core/core_services.h"
#include "lottery/line_splitter.h"
#include "lottery/text_encoding.h"
#include "lottery/utf8_vote.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lottery {

// The non-empty lines of a text file in the stored encoding, read piece by piece so that a
// file of any size costs only the lines held. GBK files pass unchanged; UTF-16 files (a
// byte-order mark) and UTF-8 files (a byte-order mark, or well-formed UTF-8 with non-ASCII
// text that reads more plausibly so than as GBK) are converted.
class GbkLineReader {
public:
    enum class Source { Gbk, Utf8, Utf16 };

    struct Line {
        std::string gbk;
        bool cut = false; // the file's line was longer than the bytes kept of it
        int number = 0;   // in the file, from 1, empty lines counted
    };

    // Holds the first maxLines non-empty lines, each from at most keepBytes bytes of the file
    // (UTF-8 bytes for a UTF-16 file; keepBytes at least 4: a cut UTF-8 line still keeps a
    // whole character).
    GbkLineReader(std::size_t keepBytes, std::size_t maxLines);

    void feed(std::string_view piece);
    // Ends the input and converts the lines held when the file was not GBK.
    void finish(core::CoreServices& services);

    std::vector<Line>& lines() { return lines_; }
    int ignoredLines() const { return ignored_; } // non-empty lines past maxLines
    Source source() const { return source_; }
    bool converted() const { return source_ != Source::Gbk; }
    int unmappable() const { return unmappable_; } // characters GBK cannot hold, now '?'

private:
    void start(std::string_view head);
    void pass(std::string_view piece);
    void take(std::string_view kept, std::size_t length);
    bool readsAsUtf8();

    std::size_t maxLines_;
    LineSplitter splitter_;
    Utf8Vote utf8_;
    std::optional<Utf16Decoder> utf16_;
    std::string head_;    // the first bytes, until the byte-order mark can be told
    std::string decoded_; // scratch for UTF-16 pieces
    std::vector<Line> lines_;
    bool started_ = false;
    Source source_ = Source::Gbk;
    int lineNumber_ = 0;
    int ignored_ = 0;
    int unmappable_ = 0;
};

// Adds the warning for characters lost in the conversion; nothing when none.
void addConversionWarning(const GbkLineReader& reader, const std::string& fileLabel,
                          std::vector<std::string>& warnings);

} // namespace lottery
