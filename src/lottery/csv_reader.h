#pragma once

#include "lottery/sheet_rows.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lottery {

// Splits CSV bytes fed in pieces into rows (RFC 4180: a quoted field may hold separators,
// doubled quotes and line breaks). The separator is the one of comma, semicolon and tab
// found most often outside quotes in the first row, comma when none. Works on UTF-8 and on
// GBK, whose trail bytes are never a quote, separator or line break. Of each cell only the
// first keepBytes bytes are held, and of a row only the first kMaxSheetColumns cells.
class CsvParser {
public:
    CsvParser(std::size_t keepBytes, RowSink sink);

    void feed(std::string_view piece);
    // Passes on a last row that has no line end.
    void finish();

    char separator() const { return separator_; }
    bool stopped() const { return stopped_; }

private:
    enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted };

    void decideSeparator(bool atEnd);
    void parse(std::string_view bytes);
    void append(char c);
    void endField();
    void endRow();

    std::size_t keepBytes_;
    RowSink sink_;
    std::string head_; // the bytes before the separator is known
    char separator_ = 0;
    State state_ = State::FieldStart;
    bool afterCr_ = false;    // a CR ended the row: an LF right after belongs to it
    bool rowStarted_ = false; // something of the current row has been read
    std::vector<std::string> cells_;
    std::string cell_;
    bool stopped_ = false;
};

// The encoding of a CSV text, told the way the participant list's is.
enum class TextSource { Gbk, Utf8, MarkedUtf8, Utf16Le, Utf16Be };

// UTF-16 and UTF-8 texts come out as UTF-8 cells, GBK texts as GBK cells.
CellEncoding cellEncodingOf(TextSource source);

// The encoding of bytes: UTF-16 with a byte-order mark, UTF-8 with one or (as the vote of
// Utf8Vote has it) without, else GBK.
TextSource textSourceOf(std::string_view bytes);

// Hands the rows of bytes in source's encoding to sink; returns the separator.
char readCsvText(std::string_view bytes, TextSource source, std::size_t keepBytes,
                 const RowSink& sink);

// The same for a file, read in pieces so that a file of any size costs only the row at hand;
// false when it cannot be read.
bool textSourceOfFile(const std::filesystem::path& path, TextSource* source);
bool readCsvFile(const std::filesystem::path& path, TextSource source, std::size_t keepBytes,
                 const RowSink& sink);

} // namespace lottery
