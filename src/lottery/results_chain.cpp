#include "lottery/results_chain.h"

#include "lottery/line_splitter.h"
#include "lottery/results_lines.h"
#include "lottery/sha256.h"

#include <algorithm>

namespace lottery {

namespace {

// Follows the chain from each start line; the last start line's chain is the answer.
class ChainWalker {
public:
    explicit ChainWalker(core::CoreServices& services)
        : start_(linePrefix(LineKind::Start, services)) {}

    void take(std::string_view line, std::size_t length) {
        ++lineNumber_;
        if (isTornLine(line)) {
            check_.tornLines.push_back(lineNumber_);
            return;
        }
        if (length <= kMaxLineBytes && startsWith(line, start_)) {
            check_ = ChainCheck{ChainCheck::State::Ok, 0, {}};
            previous_ = ownCode(line);
            coded_ = false;
            return;
        }
        if (check_.state == ChainCheck::State::None || check_.state == ChainCheck::State::Broken)
            return;
        std::string_view code;
        // A line too long to hold cannot be checked: it breaks the chain.
        if (length > kMaxLineBytes) {
            breakAt();
        } else if (splitCode(line, code)) {
            if (code != chainCode(previous_, line))
                return breakAt();
            coded_ = true;
            previous_ = std::string(code);
        } else if (coded_) {
            breakAt(); // once chained, every line is
        } else {
            check_.state = ChainCheck::State::Unchained;
            previous_ = ownCode(line);
        }
    }

    ChainCheck result() const { return check_; }

private:
    void breakAt() {
        check_.state = ChainCheck::State::Broken;
        check_.brokenLine = lineNumber_;
    }

    std::string start_;
    ChainCheck check_;
    std::string previous_;
    bool coded_ = false;
    int lineNumber_ = 0;
};

} // namespace

std::string chainCode(std::string_view previousCode, std::string_view content) {
    Sha256 hash;
    hash.update(previousCode);
    hash.update(content);
    return hash.hexDigest().substr(0, kCodeDigits);
}

std::string ownCode(std::string_view line) {
    return sha256Hex(line).substr(0, kCodeDigits);
}

void chainRecord(ResultsRecord& record, std::string& previousCode) {
    std::string_view bytes = record.bytes;
    std::string chained;
    std::size_t winner = 0;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find("\r\n");
        const std::string_view line = bytes.substr(0, end);
        if (record.kind == ResultsRecord::Kind::Start) {
            previousCode = ownCode(line);
            chained += line;
        } else {
            previousCode = chainCode(previousCode, line);
            chained += '#' + previousCode + '\t' + std::string(line);
            if (record.kind == ResultsRecord::Kind::Round && winner < record.winners.size())
                record.winners[winner++].code = previousCode;
        }
        chained += "\r\n";
        if (end == std::string_view::npos)
            break;
        bytes.remove_prefix(end + 2);
    }
    record.bytes = std::move(chained);
}

ChainCheck checkChain(std::string_view bytes, core::CoreServices& services) {
    ChainWalker walker(services);
    LineSplitter lines(kMaxLineBytes, [&walker](std::string_view kept, std::size_t length) {
        walker.take(kept, length);
    });
    lines.feed(bytes);
    ChainCheck check = walker.result();
    if (lines.hasPartialLine())
        check.tornLines.push_back(static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n')) +
                                  1);
    return check;
}

} // namespace lottery
