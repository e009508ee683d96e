#include "lottery/results_reader.h"

#include "core/leading_int.h"
#include "lottery/file_text.h"
#include "lottery/line_splitter.h"
#include "lottery/results_chain.h"
#include "lottery/results_lines.h"
#include "lottery/safe_file.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace lottery {

namespace {

// No draw of a full table over a full list records more winners; a longer log is not ours.
constexpr std::size_t kMaxWinnerRecords =
    static_cast<std::size_t>(kPrizeCapacity) * static_cast<std::size_t>(kParticipantCapacity);

bool isDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isTimeText(std::string_view text) {
    constexpr std::string_view pattern = "0000-00-00 00:00:00";
    if (text.size() != pattern.size())
        return false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (pattern[i] == '0' ? !digit : text[i] != pattern[i])
            return false;
    }
    return true;
}

bool parseCount(std::string_view text, int& value) {
    if (!isDigits(text) || text.size() > 9)
        return false;
    value = core::parseLeadingInt(text);
    return value >= 1;
}

bool parseWinnerLine(std::string_view line, WinnerRecord& record) {
    std::string_view fields[5];
    for (std::string_view& field : fields) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            return false;
        field = line.substr(0, tab);
        line.remove_prefix(tab + 1);
    }
    std::string_view position = fields[4];
    record.status = WinnerStatus::Winner;
    if (!position.empty() && (position.back() == 'A' || position.back() == 'R')) {
        record.status = position.back() == 'A' ? WinnerStatus::Absent : WinnerStatus::Replacement;
        position.remove_suffix(1);
    }
    if (!isTimeText(fields[0]) || !parseCount(fields[3], record.round) ||
        !parseCount(position, record.position) || line.empty())
        return false;
    record.time = std::string(fields[0]);
    record.prizeId = std::string(fields[1]);
    record.prizeTitle = std::string(fields[2]);
    record.rawText = std::string(line);
    return true;
}

bool parseFingerprint(std::string_view line, std::string_view prefix, std::string& hex) {
    if (!startsWith(line, prefix))
        return false;
    line.remove_prefix(prefix.size());
    const std::string_view digits = line.substr(0, 64);
    if (digits.size() != 64 || !isHex(digits))
        return false;
    hex = std::string(digits);
    return true;
}

class LogParser {
public:
    explicit LogParser(core::CoreServices& services)
        : start_(linePrefix(LineKind::Start, services)), end_(linePrefix(LineKind::End, services)),
          participants_(linePrefix(LineKind::Participants, services)),
          prizes_(linePrefix(LineKind::Prizes, services)),
          reset_(linePrefix(LineKind::Reset, services)),
          choice_(linePrefix(LineKind::Choice, services)),
          short_(linePrefix(LineKind::Short, services)) {}

    void take(std::string_view line) {
        ++lineNumber_;
        if (isTornLine(line))
            return;
        if (startsWith(line, start_)) {
            log_ = ResultsLog{};
            log_.started = true;
            log_.startTime = std::string(line.substr(start_.size()));
            lastLine_ = std::string(line);
            return;
        }
        if (!log_.started)
            return;
        lastLine_ = std::string(line);
        std::string_view code;
        splitCode(line, code);
        ListFingerprint list;
        if (startsWith(line, end_)) {
            log_.finished = true;
        } else if (startsWith(line, reset_)) {
            log_.reset = true;
        } else if (parseFingerprint(line, participants_, list.hex)) {
            const std::string_view rest = line.substr(participants_.size() + 64);
            if (rest.empty() || rest[0] != '\t' || !parseCount(rest.substr(1), list.count))
                list.count = 0;
            list.fromWinner = log_.winners.size();
            if (log_.lists.empty()) {
                log_.participantsFingerprint = list.hex;
                log_.participantsCount = list.count;
            }
            log_.lists.push_back(std::move(list));
        } else if (parseFingerprint(line, prizes_, log_.prizesFingerprint)) {
        } else if (startsWith(line, choice_)) {
            line.remove_prefix(choice_.size());
            log_.chosenPrizeId = std::string(line.substr(0, line.find('\t')));
        } else if (startsWith(line, short_)) {
            line.remove_prefix(short_.size());
            if (log_.shortPositions.size() < kMaxWinnerRecords && parseWinnerLine(line, record_))
                log_.shortPositions.push_back(numbered(code));
        } else if (log_.winners.size() < kMaxWinnerRecords && parseWinnerLine(line, record_)) {
            // A winner of the last round marked absent after the end line opens the draw again
            // for the redraw, which ends it anew; anything else after the end is not ours.
            if (log_.finished && record_.status != WinnerStatus::Absent)
                return;
            log_.finished = false;
            if (record_.status == WinnerStatus::Winner)
                log_.chosenPrizeId.clear(); // the chosen prize's round began
            log_.winners.push_back(numbered(code));
        }
    }

    void skip() { ++lineNumber_; }

    const WinnerRecord& numbered(std::string_view code) {
        record_.line = lineNumber_;
        record_.code = std::string(code);
        return record_;
    }

    ResultsLog result() {
        if (log_.started) {
            std::string_view line = lastLine_;
            std::string_view code;
            log_.chainCode = splitCode(line, code) ? std::string(code) : ownCode(lastLine_);
        }
        return std::move(log_);
    }

private:
    std::string start_;
    std::string end_;
    std::string participants_;
    std::string prizes_;
    std::string reset_;
    std::string choice_;
    std::string short_;
    ResultsLog log_;
    WinnerRecord record_;
    std::string lastLine_; // the last whole line of the draw: the chain goes on from it
    int lineNumber_ = 0;
};

// Lines too long to be a record are skipped.
LineSplitter recordLines(LogParser& parser) {
    return LineSplitter(kMaxLineBytes, [&parser](std::string_view kept, std::size_t length) {
        if (length <= kMaxLineBytes)
            parser.take(kept);
        else
            parser.skip();
    });
}

} // namespace

ResultsLog readResultsLog(const std::filesystem::path& resultFile, core::CoreServices& services) {
    LogParser parser(services);
    LineSplitter lines = recordLines(parser);
    if (!readFileInPieces(resultFile, [&lines](std::string_view piece) { lines.feed(piece); })) {
        // A part read is no record of the draw; a file that is there must not pass for none.
        ResultsLog log;
        std::error_code error;
        log.unreadable = std::filesystem::exists(resultFile, error) || error;
        return log;
    }
    // A last line without its line end was cut short: no record.
    ResultsLog log = parser.result();
    log.torn = lines.hasPartialLine();
    return log;
}

ResultsLog parseResultsLog(std::string_view bytes, core::CoreServices& services) {
    LogParser parser(services);
    LineSplitter lines = recordLines(parser);
    lines.feed(bytes);
    ResultsLog log = parser.result();
    log.torn = lines.hasPartialLine();
    return log;
}

} // namespace lottery
