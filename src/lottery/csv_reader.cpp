#include "lottery/csv_reader.h"

#include "lottery/line_splitter.h"
#include "lottery/safe_file.h"
#include "lottery/text_encoding.h"
#include "lottery/utf8_vote.h"

#include <algorithm>
#include <array>
#include <functional>
#include <optional>

namespace lottery {

namespace {

// Enough bytes to tell any byte-order mark.
constexpr std::size_t kMarkBytes = 3;
constexpr std::array<char, 3> kSeparators = {',', ';', '\t'};
// The separator is told from the first row; a first row longer than this is judged by its
// start.
constexpr std::size_t kMaxHeadBytes = 64 * 1024;
// Enough of a line for the vote between UTF-8 and GBK.
constexpr std::size_t kScoredLineBytes = 256;

using Source = TextSource;

// The first pass: which encoding the bytes are in.
class SourceSniffer {
public:
    SourceSniffer()
        : lines_(kScoredLineBytes,
                 [this](std::string_view kept, std::size_t) { vote_.score(kept); }) {}

    void feed(std::string_view piece) {
        if (decided_)
            return;
        if (head_.size() < kMarkBytes) {
            const std::size_t take = std::min(piece.size(), kMarkBytes - head_.size());
            head_.append(piece.substr(0, take));
            piece.remove_prefix(take);
            if (head_.size() < kMarkBytes)
                return;
            if (lookAtHead())
                return;
        }
        pass(piece);
    }

    Source finish() {
        if (!decided_ && head_.size() < kMarkBytes)
            lookAtHead();
        if (decided_)
            return source_;
        lines_.finish();
        return vote_.readsAsUtf8() ? Source::Utf8 : Source::Gbk;
    }

private:
    // True when a UTF-16 mark decides; the head is otherwise passed on as text.
    bool lookAtHead() {
        const ByteOrderMark mark = byteOrderMarkOf(head_);
        if (mark == ByteOrderMark::None) {
            pass(head_);
            return false;
        }
        decided_ = true;
        source_ = mark == ByteOrderMark::Utf8      ? Source::MarkedUtf8
                  : mark == ByteOrderMark::Utf16Le ? Source::Utf16Le
                                                   : Source::Utf16Be;
        return true;
    }

    void pass(std::string_view piece) {
        vote_.feed(piece);
        lines_.feed(piece);
    }

    std::string head_;
    Utf8Vote vote_;
    LineSplitter lines_;
    bool decided_ = false;
    Source source_ = Source::Gbk;
};

// The second pass: the bytes without their mark, UTF-16 decoded, into the parser.
class CsvFeeder {
public:
    CsvFeeder(Source source, std::size_t keepBytes, const RowSink& sink)
        : parser_(keepBytes, sink) {
        if (source == Source::Utf16Le || source == Source::Utf16Be) {
            utf16_.emplace(source == Source::Utf16Be);
            skip_ = lengthOf(ByteOrderMark::Utf16Le);
        } else if (source == Source::MarkedUtf8) {
            skip_ = lengthOf(ByteOrderMark::Utf8);
        }
    }

    void feed(std::string_view piece) {
        if (parser_.stopped())
            return;
        const std::size_t skipped = std::min(piece.size(), skip_);
        skip_ -= skipped;
        piece.remove_prefix(skipped);
        if (!utf16_) {
            parser_.feed(piece);
            return;
        }
        decoded_.clear();
        utf16_->feed(piece, decoded_);
        parser_.feed(decoded_);
    }

    char finish() {
        if (utf16_) {
            decoded_.clear();
            utf16_->finish(decoded_);
            parser_.feed(decoded_);
        }
        parser_.finish();
        return parser_.separator();
    }

private:
    CsvParser parser_;
    std::size_t skip_ = 0; // the byte-order mark
    std::optional<Utf16Decoder> utf16_;
    std::string decoded_;
};

} // namespace

CsvParser::CsvParser(std::size_t keepBytes, RowSink sink)
    : keepBytes_(keepBytes), sink_(std::move(sink)) {}

void CsvParser::feed(std::string_view piece) {
    if (stopped_)
        return;
    if (separator_ != 0) {
        parse(piece);
        return;
    }
    head_.append(piece);
    decideSeparator(false);
}

void CsvParser::finish() {
    if (separator_ == 0)
        decideSeparator(true);
    if (!stopped_ && (rowStarted_ || state_ != State::FieldStart))
        endRow();
}

void CsvParser::decideSeparator(bool atEnd) {
    std::array<std::size_t, kSeparators.size()> counts{};
    bool quoted = false;
    bool rowEnded = false;
    for (const char c : head_) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r')) {
            rowEnded = true;
            break;
        } else if (!quoted) {
            const auto it = std::find(kSeparators.begin(), kSeparators.end(), c);
            if (it != kSeparators.end())
                ++counts[static_cast<std::size_t>(it - kSeparators.begin())];
        }
    }
    if (!rowEnded && !atEnd && head_.size() < kMaxHeadBytes)
        return;
    const auto most = std::max_element(counts.begin(), counts.end());
    separator_ = kSeparators[static_cast<std::size_t>(most - counts.begin())];
    const std::string head = std::move(head_);
    head_.clear();
    parse(head);
}

void CsvParser::parse(std::string_view bytes) {
    for (const char c : bytes) {
        if (stopped_)
            return;
        const bool wasAfterCr = afterCr_;
        afterCr_ = false;
        switch (state_) {
        case State::Quoted:
            if (c == '"')
                state_ = State::QuoteInQuoted;
            else
                append(c);
            continue;
        case State::QuoteInQuoted:
            if (c == '"') {
                append(c);
                state_ = State::Quoted;
                continue;
            }
            break;
        case State::FieldStart:
            if (c == '\n' && wasAfterCr)
                continue;
            if (c == '"') {
                rowStarted_ = true;
                state_ = State::Quoted;
                continue;
            }
            break;
        case State::Unquoted:
            break;
        }
        // Outside quotes; a stray quote after a closing one is kept as text.
        if (c == separator_) {
            endField();
        } else if (c == '\n' || c == '\r') {
            endRow();
            afterCr_ = c == '\r';
        } else {
            append(c);
            state_ = State::Unquoted;
        }
    }
}

void CsvParser::append(char c) {
    rowStarted_ = true;
    if (cell_.size() < keepBytes_)
        cell_.push_back(c);
}

void CsvParser::endField() {
    rowStarted_ = true;
    if (cells_.size() < static_cast<std::size_t>(kMaxSheetColumns))
        cells_.push_back(std::move(cell_));
    cell_.clear();
    state_ = State::FieldStart;
}

// A blank line is a row without cells.
void CsvParser::endRow() {
    if (rowStarted_)
        endField();
    if (!sink_(cells_))
        stopped_ = true;
    cells_.clear();
    rowStarted_ = false;
    state_ = State::FieldStart;
}

CellEncoding cellEncodingOf(TextSource source) {
    return source == TextSource::Gbk ? CellEncoding::Gbk : CellEncoding::Utf8;
}

TextSource textSourceOf(std::string_view bytes) {
    SourceSniffer sniffer;
    sniffer.feed(bytes);
    return sniffer.finish();
}

char readCsvText(std::string_view bytes, TextSource source, std::size_t keepBytes,
                 const RowSink& sink) {
    CsvFeeder feeder(source, keepBytes, sink);
    feeder.feed(bytes);
    return feeder.finish();
}

bool textSourceOfFile(const std::filesystem::path& path, TextSource* source) {
    SourceSniffer sniffer;
    if (!readFileInPieces(path, [&sniffer](std::string_view piece) { sniffer.feed(piece); }))
        return false;
    *source = sniffer.finish();
    return true;
}

bool readCsvFile(const std::filesystem::path& path, TextSource source, std::size_t keepBytes,
                 const RowSink& sink) {
    CsvFeeder feeder(source, keepBytes, sink);
    if (!readFileInPieces(path, [&feeder](std::string_view piece) { feeder.feed(piece); }))
        return false;
    feeder.finish();
    return true;
}

} // namespace lottery
