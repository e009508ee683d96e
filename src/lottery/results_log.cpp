#include "lottery/results_log.h"

#include "core/leading_int.h"
#include "lottery/backup_name.h"
#include "lottery/file_text.h"
#include "lottery/line_splitter.h"
#include "lottery/safe_file.h"

#include <algorithm>
#include <string_view>
#include <system_error>
#include <unordered_map>
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

class LogParser {
public:
    explicit LogParser(core::CoreServices& services)
        : start_(startPrefix(services)), end_(endPrefix(services)) {}

    void take(std::string_view line) {
        if (startsWith(line, start_)) {
            log_.started = true;
            log_.finished = false;
            log_.startTime = std::string(line.substr(start_.size()));
            log_.winners.clear();
        } else if (!log_.started) {
            return;
        } else if (startsWith(line, end_)) {
            log_.finished = true;
        } else if (log_.winners.size() < kMaxWinnerRecords && parseWinnerLine(line, record_)) {
            // A winner of the last round marked absent after the end line opens the draw again
            // for the redraw, which ends it anew; anything else after the end is not ours.
            if (log_.finished && record_.status != WinnerStatus::Absent)
                return;
            log_.finished = false;
            log_.winners.push_back(record_);
        }
    }

    ResultsLog result() { return std::move(log_); }

private:
    static bool startsWith(std::string_view line, std::string_view prefix) {
        return line.substr(0, prefix.size()) == prefix;
    }

    std::string start_;
    std::string end_;
    ResultsLog log_;
    WinnerRecord record_;
};

void markEntry(ParticipantRecord& entry, const std::string& prizeId) {
    entry.won = 1;
    if (std::find(entry.wonPrizeIds.begin(), entry.wonPrizeIds.end(), prizeId) ==
        entry.wonPrizeIds.end())
        entry.wonPrizeIds.push_back(prizeId);
}

// An absent entry is out of the draw and no longer holds that prize.
void markEntryAbsent(ParticipantRecord& entry, const std::string& prizeId) {
    entry.absent = true;
    const auto it = std::find(entry.wonPrizeIds.begin(), entry.wonPrizeIds.end(), prizeId);
    if (it != entry.wonPrizeIds.end())
        entry.wonPrizeIds.erase(it);
    entry.won = entry.wonPrizeIds.empty() ? 0 : 1;
}

// Lines too long to be a record are skipped.
LineSplitter recordLines(LogParser& parser) {
    return LineSplitter(kMaxLineBytes, [&parser](std::string_view kept, std::size_t length) {
        if (length <= kMaxLineBytes)
            parser.take(kept);
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

ResultsRecord roundRecord(LotteryData& data, core::CoreServices& services) {
    std::vector<std::pair<int, int>> positions;
    for (int i = 0; i < data.pool.winnerCount; ++i)
        positions.emplace_back(i + 1, data.pool.winnerAt(i));
    return positionsRecord(data, positions, WinnerStatus::Winner, services);
}

ResultsRecord positionsRecord(LotteryData& data, const std::vector<std::pair<int, int>>& positions,
                              WinnerStatus status, core::CoreServices& services) {
    ResultsRecord record;
    const DrawOptions& options = data.options;
    if (options.prizeIndex < 0 || options.prizeIndex >= data.prizeTable.count())
        return record;
    const PrizeRecord& prize = data.prizeTable.prizes[static_cast<std::size_t>(options.prizeIndex)];
    record.time = services.getTimeNowStr(kTimeFormat);
    const std::string head = record.time + '\t' + fieldText(prize.id) + '\t' +
                             fieldText(prize.title) + '\t' +
                             std::to_string(options.roundIndex + 1) + '\t';
    const char* kind = status == WinnerStatus::Absent        ? "A"
                       : status == WinnerStatus::Replacement ? "R"
                                                             : "";
    for (const auto& [position, j] : positions) {
        if (j < 0 || j >= data.participants.count())
            continue;
        const std::string raw = data.participants.entries[static_cast<std::size_t>(j)].rawText;
        record.bytes += head + std::to_string(position) + kind + '\t' + raw + "\r\n";
        record.winners.push_back({record.time, prize.id, prize.title, options.roundIndex + 1,
                                  position, raw, false, status});
        if (status == WinnerStatus::Absent)
            markAbsent(data.participants, raw, prize.id);
        else
            markWinner(data.participants, raw, prize.id);
    }
    return record;
}

ResultsRecord endRecord(core::CoreServices& services) {
    ResultsRecord record;
    record.kind = ResultsRecord::Kind::End;
    record.time = services.getTimeNowStr(kTimeFormat);
    record.bytes = endPrefix(services) + record.time + "\r\n";
    return record;
}

WriteOutcome writeRecord(const EventPaths& paths, const ResultsRecord& record,
                         std::string* problem) {
    if (record.kind != ResultsRecord::Kind::Start)
        return record.bytes.empty() || appendToFile(paths.resultFile, record.bytes, problem)
                   ? WriteOutcome::Written
                   : WriteOutcome::Failed;
    std::error_code error;
    if (std::filesystem::exists(paths.resultFile, error)) {
        const std::filesystem::path backup =
            freeBackupPath(paths.resultFile.parent_path(), "bak_result", record.stamp);
        if (!std::filesystem::exists(backup, error))
            std::filesystem::rename(paths.resultFile, backup, error);
        else
            error = std::make_error_code(std::errc::file_exists);
        if (error) {
            const std::string moved = "无法把上次的抽奖结果文件 " + pathText(paths.resultFile) +
                                      " 改名为 " + pathText(backup.filename());
            if (!appendToFile(paths.resultFile, record.bytes, nullptr)) {
                storeProblem(problem, moved + "，也无法写入本次抽奖的开始时间");
                return WriteOutcome::Failed;
            }
            storeProblem(problem, moved + "，本次抽奖接在原文件末尾记录");
            return WriteOutcome::WrittenWithProblem;
        }
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
    lines.finish();
    return parser.result();
}

ResultsLog parseResultsLog(std::string_view bytes, core::CoreServices& services) {
    LogParser parser(services);
    LineSplitter lines = recordLines(parser);
    lines.feed(bytes);
    lines.finish();
    return parser.result();
}

void clearWinnerMarks(ParticipantList& list) {
    for (ParticipantRecord& entry : list.entries) {
        entry.won = 0;
        entry.wonPrizeIds.clear();
        entry.absent = false;
    }
}

void markWinner(ParticipantList& list, std::string_view rawText, const std::string& prizeId) {
    for (ParticipantRecord& entry : list.entries) {
        if (entry.rawText == rawText)
            markEntry(entry, prizeId);
    }
}

void markAbsent(ParticipantList& list, std::string_view rawText, const std::string& prizeId) {
    for (ParticipantRecord& entry : list.entries) {
        if (entry.rawText == rawText)
            markEntryAbsent(entry, prizeId);
    }
}

void restoreWinnerMarks(ParticipantList& list, const ResultsLog& log) {
    clearWinnerMarks(list);
    if (log.winners.empty())
        return;
    std::unordered_map<std::string_view, std::vector<std::size_t>> entriesByText;
    for (const WinnerRecord& record : log.winners)
        entriesByText.emplace(record.rawText, std::vector<std::size_t>{});
    for (std::size_t j = 0; j < list.entries.size(); ++j) {
        const auto it = entriesByText.find(list.entries[j].rawText);
        if (it != entriesByText.end())
            it->second.push_back(j);
    }
    for (const WinnerRecord& record : log.winners) {
        for (const std::size_t j : entriesByText.find(record.rawText)->second) {
            if (record.status == WinnerStatus::Absent)
                markEntryAbsent(list.entries[j], record.prizeId);
            else
                markEntry(list.entries[j], record.prizeId);
        }
    }
}

} // namespace lottery
