#include "lottery/results_log.h"

#include "core/leading_int.h"
#include "lottery/backup_name.h"
#include "lottery/file_text.h"
#include "lottery/line_splitter.h"
#include "lottery/safe_file.h"
#include "lottery/sha256.h"

#include <algorithm>
#include <fstream>
#include <string_view>
#include <system_error>
#include <utility>

namespace lottery {

namespace {

constexpr const char* kTimeFormat = "%Y-%m-%d %H:%M:%S";
constexpr const char* kStampFormat = "%Y%m%d%H%M%S";
// A winner line holds at most a time, two short prize texts, two numbers and an entry.
constexpr std::size_t kMaxLineBytes = 4096;
// No draw of a full table over a full list records more winners; a longer log is not ours.
constexpr std::size_t kMaxWinnerRecords =
    static_cast<std::size_t>(kPrizeCapacity) * static_cast<std::size_t>(kParticipantCapacity);

std::string startPrefix(core::CoreServices& services) {
    return services.gbkFromUtf8("抽奖开始日期：");
}

std::string endPrefix(core::CoreServices& services) {
    return services.gbkFromUtf8("抽奖结束日期：");
}

std::string participantsPrefix(core::CoreServices& services) {
    return services.gbkFromUtf8("名单指纹：");
}

std::string prizesPrefix(core::CoreServices& services) {
    return services.gbkFromUtf8("奖项指纹：");
}

std::string resetPrefix(core::CoreServices& services) {
    return services.gbkFromUtf8("抽奖重置：");
}

std::string choicePrefix(core::CoreServices& services) {
    return services.gbkFromUtf8("下一奖项：");
}

std::string shortPrefix(core::CoreServices& services) {
    return services.gbkFromUtf8("空缺：");
}

constexpr std::size_t kCodeDigits = 16;
// Ends a line cut short, so that the next line never runs on from it: no GBK text holds DEL.
constexpr char kTornEnd = '\x7F';

bool isHex(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// Splits "#" code TAB off a line; false when the line has no code.
bool splitCode(std::string_view& line, std::string_view& code) {
    if (line.size() < kCodeDigits + 2 || line[0] != '#' || line[kCodeDigits + 1] != '\t' ||
        !isHex(line.substr(1, kCodeDigits)))
        return false;
    code = line.substr(1, kCodeDigits);
    line.remove_prefix(kCodeDigits + 2);
    return true;
}

bool isTornLine(std::string_view line) {
    return !line.empty() && line.back() == kTornEnd;
}

bool startsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

// The prize texts sit between tabs, so they cannot hold a tab or a line end.
std::string fieldText(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

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
        : start_(startPrefix(services)), end_(endPrefix(services)),
          participants_(participantsPrefix(services)), prizes_(prizesPrefix(services)),
          reset_(resetPrefix(services)), choice_(choicePrefix(services)),
          short_(shortPrefix(services)) {}

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

// Follows the chain from each start line; the last start line's chain is the answer.
class ChainWalker {
public:
    explicit ChainWalker(core::CoreServices& services) : start_(startPrefix(services)) {}

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

ResultsRecord startRecord(core::CoreServices& services) {
    // One clock reading names the backup and dates the start line alike.
    const std::string now = services.getTimeNowStr(std::string(kStampFormat) + '\t' + kTimeFormat);
    const std::size_t tab = now.find('\t');
    ResultsRecord record;
    record.kind = ResultsRecord::Kind::Start;
    record.stamp = now.substr(0, tab);
    record.time = tab == std::string::npos ? now : now.substr(tab + 1);
    record.bytes = startPrefix(services) + record.time + "\r\n";
    return record;
}

ResultsRecord fingerprintRecord(const std::string& participantsHex, int participants,
                                const std::filesystem::path& prizeFile,
                                core::CoreServices& services) {
    ResultsRecord record;
    record.kind = ResultsRecord::Kind::Fingerprint;
    record.bytes = listRecord(participantsHex, participants, services).bytes;
    const std::string prizesHex = sha256OfFile(prizeFile);
    if (!prizesHex.empty())
        record.bytes += prizesPrefix(services) + prizesHex + "\r\n";
    return record;
}

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

namespace {

std::string lineHead(const std::string& time, const PrizeRecord& prize, int round) {
    return time + '\t' + fieldText(prize.id) + '\t' + fieldText(prize.title) + '\t' +
           std::to_string(round) + '\t';
}

} // namespace

ResultsRecord positionsRecord(const PrizeRecord& prize, int round, const std::vector<Seat>& seats,
                              WinnerStatus status, core::CoreServices& services) {
    ResultsRecord record;
    record.time = services.getTimeNowStr(kTimeFormat);
    const std::string head = lineHead(record.time, prize, round);
    const char* kind = status == WinnerStatus::Absent        ? "A"
                       : status == WinnerStatus::Replacement ? "R"
                                                             : "";
    for (const Seat& seat : seats) {
        if (seat.rawText.empty())
            continue;
        record.bytes += head + std::to_string(seat.position) + kind + '\t' + seat.rawText + "\r\n";
        record.winners.push_back({record.time, prize.id, prize.title, round, seat.position,
                                  seat.rawText, false, status});
    }
    return record;
}

ResultsRecord endRecord(core::CoreServices& services, bool reset) {
    ResultsRecord record;
    record.kind = ResultsRecord::Kind::End;
    record.time = services.getTimeNowStr(kTimeFormat);
    if (reset)
        record.bytes = resetPrefix(services) + record.time + "\r\n";
    record.bytes += endPrefix(services) + record.time + "\r\n";
    return record;
}

ResultsRecord choiceRecord(const PrizeRecord& prize, core::CoreServices& services) {
    ResultsRecord record;
    record.kind = ResultsRecord::Kind::Choice;
    record.time = services.getTimeNowStr(kTimeFormat);
    record.bytes =
        choicePrefix(services) + fieldText(prize.id) + '\t' + fieldText(prize.title) + "\r\n";
    return record;
}

ResultsRecord shortRecord(const PrizeRecord& prize, int round, const std::vector<int>& positions,
                          const std::string& reason, core::CoreServices& services) {
    ResultsRecord record;
    record.time = services.getTimeNowStr(kTimeFormat);
    const std::string head = shortPrefix(services) + lineHead(record.time, prize, round);
    const std::string why = fieldText(services.gbkFromUtf8(reason));
    for (const int position : positions)
        record.bytes += head + std::to_string(position) + '\t' + why + "\r\n";
    return record;
}

ResultsRecord listRecord(const std::string& participantsHex, int participants,
                         core::CoreServices& services) {
    ResultsRecord record;
    record.kind = ResultsRecord::Kind::Fingerprint;
    if (!participantsHex.empty())
        record.bytes = participantsPrefix(services) + participantsHex + '\t' +
                       std::to_string(participants) + "\r\n";
    return record;
}

namespace {

// Whether the file ends inside a line, cut short by a power cut in the middle of a write.
bool endsInsideLine(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in || in.tellg() <= 0)
        return false;
    in.seekg(-1, std::ios::end);
    char last = 0;
    return in.get(last) && last != '\n';
}

// Ends a cut line first, so that it stays apart from the new lines.
bool appendRecord(const std::filesystem::path& path, const std::string& bytes,
                  std::string* problem) {
    if (endsInsideLine(path))
        return appendToFile(path, std::string(1, kTornEnd) + "\r\n" + bytes, problem);
    return appendToFile(path, bytes, problem);
}

} // namespace

std::string healedResults(std::string bytes) {
    if (!bytes.empty() && bytes.back() != '\n')
        bytes += std::string(1, kTornEnd) + "\r\n";
    return bytes;
}

bool setResultsAside(const EventPaths& paths, const std::string& stamp, std::string* problem) {
    std::error_code error;
    if (!std::filesystem::exists(paths.resultFile, error))
        return !error;
    // Copied first: a complete record of the draw is there at every instant.
    std::string why;
    if (!backUpFile(paths.resultFile, "bak_result", stamp, nullptr, &why)) {
        storeProblem(problem,
                     "抽奖结果文件 " + pathText(paths.resultFile) + " 无法备份（" + why + "）");
        return false;
    }
    std::filesystem::remove(paths.resultFile, error);
    if (error)
        storeProblem(problem, "抽奖结果文件 " + pathText(paths.resultFile) +
                                  " 已备份，但无法移走（" + error.message() + "）");
    return !error;
}

WriteOutcome writeRecord(const EventPaths& paths, const ResultsRecord& record,
                         std::string* problem) {
    if (record.kind != ResultsRecord::Kind::Start)
        return record.bytes.empty() || appendRecord(paths.resultFile, record.bytes, problem)
                   ? WriteOutcome::Written
                   : WriteOutcome::Failed;
    // The earlier results are copied, not moved: until the new file replaces them in one
    // rename, a complete results file is there at every instant.
    std::string kept;
    std::error_code error;
    if (std::filesystem::exists(paths.resultFile, error) &&
        !backUpFile(paths.resultFile, "bak_result", record.stamp, nullptr, &kept)) {
        kept = "上次的抽奖结果文件 " + pathText(paths.resultFile) + " 无法备份（" + kept + "）";
        if (!appendRecord(paths.resultFile, record.bytes, nullptr)) {
            storeProblem(problem, kept + "，也无法写入本次抽奖的开始时间");
            return WriteOutcome::Failed;
        }
        storeProblem(problem, kept + "，本次抽奖接在原文件末尾记录");
        return WriteOutcome::WrittenWithProblem;
    }
    return writeFileSafely(paths.resultFile, record.bytes, problem) ? WriteOutcome::Written
                                                                    : WriteOutcome::Failed;
}

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
