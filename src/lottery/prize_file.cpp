#include "lottery/prize_file.h"

#include "core/leading_int.h"
#include "lottery/file_text.h"
#include "lottery/gbk_line_reader.h"
#include "lottery/gbk_text.h"
#include "lottery/safe_file.h"
#include "lottery/winner_selection.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>

namespace lottery {

namespace {

constexpr int kFieldCount = 7;
// Seven short fields fit many times over; the rest of a longer line is not read.
constexpr std::size_t kMaxLineBytes = 4096;

struct LoadCounts {
    int overCapacity = 0;
    int longLines = 0;
    int extraFields = 0;
    int refused = 0;
    int firstRefused = 0; // line number
    int cutId = 0;
    int cutTitle = 0;
    int cutImage = 0;
    int cutRepeatList = 0;
    int renumbered = 0;                    // numbers read otherwise than they stand
    std::vector<std::string> shownNumbers; // the first few of them, for the warning
    bool altered = false;                  // something of the file would not be written back
};

// Half a character at the end of a field would take the separator after it as its second
// byte when the table is written back, so it goes (it was no character of the file anyway).
std::string withoutLoneLeadAtEnd(std::string text) {
    std::size_t last = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += gbkCharLength(text, pos))
        last = pos;
    if (!text.empty() && last == text.size() - 1 &&
        isGbkLeadByte(static_cast<unsigned char>(text.back())))
        text.pop_back();
    return text;
}

std::string cutField(std::string_view text, std::size_t maxBytes, int& cutCount, bool& altered) {
    if (text.size() > maxBytes)
        ++cutCount;
    std::string kept = cutToBytes(text, maxBytes);
    kept = withoutLoneLeadAtEnd(std::move(kept));
    altered = altered || kept.size() < text.size();
    return kept;
}

constexpr int kNumbersShown = 3;

// A number written back otherwise than it stands in the file loses what the file said; the
// operator is told what it reads as (a total of 3.5 or past 2147483647 is no total).
int numberField(std::string_view text, const char* what, int line, LoadCounts& counts) {
    const int value = core::parseLeadingInt(text);
    if (text.empty() || std::to_string(value) == text)
        return value;
    counts.altered = true;
    if (counts.renumbered++ < kNumbersShown) {
        const bool printable =
            std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
        counts.shownNumbers.push_back("第 " + std::to_string(line) + " 行的" + what + "“" +
                                      (printable ? std::string(text) : "（非数字）") + "”读作 " +
                                      std::to_string(value));
    }
    return value;
}

bool isWholeNumber(std::string_view text) {
    text = trimBlanks(text);
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        text.remove_prefix(1);
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Extra fields are mere trailing backticks only when nothing past the seventh field is left
// and the three numbers stand where they belong. A backtick in a title or an image name
// shifts the fields instead, and the line written with an empty repeat list ends in a
// backtick too: then the order field holds the image name, or is empty.
bool readsAsSevenFields(std::string_view line, const std::string_view (&fields)[7]) {
    const std::size_t end =
        static_cast<std::size_t>(fields[6].data() - line.data()) + fields[6].size();
    return line.find_first_not_of('`', end) == std::string_view::npos && isWholeNumber(fields[3]) &&
           isWholeNumber(fields[4]) && isWholeNumber(fields[5]);
}

// A cut inside a number would name another prize, so the list ends at the last whole number.
std::string cutRepeatList(std::string_view text, int& cutCount, bool& altered) {
    if (text.size() <= kRepeatListBytes)
        return std::string(text);
    ++cutCount;
    altered = true;
    std::string cut = cutToBytes(text, kRepeatListBytes);
    if (text[cut.size()] != ',') {
        const std::size_t comma = cut.rfind(',');
        cut.resize(comma == std::string::npos ? 0 : comma);
    }
    return cut;
}

// A line whose fields cannot be told is no prize rather than another prize.
std::optional<PrizeRecord> parsePrizeLine(std::string_view line, int number, LoadCounts& counts) {
    std::string_view fields[kFieldCount];
    if (splitPrizeFields(line, fields) > kFieldCount) {
        if (!readsAsSevenFields(line, fields)) {
            if (counts.refused++ == 0)
                counts.firstRefused = number;
            counts.altered = true;
            return std::nullopt;
        }
        ++counts.extraFields;
    }
    bool& altered = counts.altered;
    PrizeRecord prize;
    prize.id = cutField(fields[0], kPrizeIdBytes, counts.cutId, altered);
    prize.title = cutField(fields[1], kPrizeTitleBytes, counts.cutTitle, altered);
    prize.image = cutField(fields[2], kPrizeImageBytes, counts.cutImage, altered);
    prize.order = numberField(fields[3], "抽取顺序", number, counts);
    prize.total = numberField(fields[4], "抽取总人数", number, counts);
    prize.perRound = numberField(fields[5], "单次抽取人数", number, counts);
    prize.repeatList = cutRepeatList(fields[6], counts.cutRepeatList, altered);
    return prize;
}

std::string prizeNames(const std::vector<const PrizeRecord*>& prizes,
                       core::CoreServices& services) {
    std::string names;
    for (const PrizeRecord* prize : prizes) {
        if (!names.empty())
            names += "、";
        names += "“" + services.utf8FromGbk(prize->title) + "”（编号 " +
                 services.utf8FromGbk(prize->id) + "）";
    }
    return names;
}

// Ids a repeat list names that no prize has, and ids several prizes share: both load, but
// neither does what the operator meant.
void addIdWarnings(const PrizeTable& table, const std::string& label, core::CoreServices& services,
                   std::vector<std::string>& warnings) {
    int unknown = 0;
    std::string unknownExample;
    for (const PrizeRecord& prize : table.prizes) {
        std::string_view rest = prize.repeatList;
        while (!rest.empty()) {
            const std::size_t comma = rest.find(',');
            const std::string_view item = trimBlanks(rest.substr(0, comma));
            rest.remove_prefix(comma == std::string_view::npos ? rest.size() : comma + 1);
            const bool known =
                item.empty() || std::any_of(table.prizes.begin(), table.prizes.end(),
                                            [item](const PrizeRecord& other) {
                                                return repeatListNames(item, other.id);
                                            });
            if (!known && unknown++ == 0)
                unknownExample = prizeNames({&prize}, services) + "列出的“" +
                                 services.utf8FromGbk(std::string(item)) + "”";
        }
    }
    if (unknown > 0)
        warnings.push_back(label + "有 " + std::to_string(unknown) +
                           " 个允许重复奖项的编号没有对应的奖项（如" + unknownExample +
                           "），这些编号不起作用");

    std::map<std::string_view, int> uses;
    std::string_view firstShared;
    for (const PrizeRecord& prize : table.prizes) {
        const std::string_view id = trimBlanks(prize.id);
        if (!id.empty() && ++uses[id] == 2 && firstShared.empty())
            firstShared = id;
    }
    const auto shared =
        std::count_if(uses.begin(), uses.end(), [](const auto& use) { return use.second > 1; });
    if (shared > 0)
        warnings.push_back(label + "有 " + std::to_string(shared) +
                           " 个编号被多个奖项使用（如编号 " +
                           services.utf8FromGbk(std::string(firstShared)) + " 共 " +
                           std::to_string(uses[firstShared]) + " 个奖项），仍全部载入");
}

void addCountWarning(std::vector<std::string>& warnings, const std::string& label, int count,
                     const std::string& what) {
    if (count > 0)
        warnings.push_back(label + "有 " + std::to_string(count) + " " + what);
}

void addLoadWarnings(const PrizeTable& table, const LoadCounts& counts, const std::string& label,
                     core::CoreServices& services, std::vector<std::string>& warnings) {
    addCountWarning(warnings, label, counts.overCapacity,
                    "个奖项超过 " + std::to_string(kPrizeCapacity) + " 个的上限，已忽略");
    addCountWarning(warnings, label, counts.longLines,
                    "行超过 " + std::to_string(kMaxLineBytes) + " 字节，超出的部分已忽略");
    addCountWarning(warnings, label, counts.extraFields, "行多于七个字段，多余的字段已忽略");
    if (counts.refused > 0)
        warnings.push_back(label + "有 " + std::to_string(counts.refused) + " 行多于七个字段（第 " +
                           std::to_string(counts.firstRefused) + " 行），无法确定各字段，未载入");
    addCountWarning(warnings, label, counts.cutId,
                    "个唯一编号超过 " + std::to_string(kPrizeIdBytes) + " 字节，已截断");
    addCountWarning(warnings, label, counts.cutTitle,
                    "个显示标题超过 " + std::to_string(kPrizeTitleBytes) + " 字节，已截断");
    addCountWarning(warnings, label, counts.cutImage,
                    "个图片文件名超过 " + std::to_string(kPrizeImageBytes) + " 字节，已截断");
    if (counts.renumbered > 0) {
        std::string shown;
        for (const std::string& number : counts.shownNumbers)
            shown += (shown.empty() ? "" : "；") + number;
        warnings.push_back(label + "有 " + std::to_string(counts.renumbered) +
                           " 个数字不是普通的整数（或超出 -2147483648 到 2147483647），已改读：" +
                           shown + (counts.renumbered > kNumbersShown ? "…" : ""));
    }
    addCountWarning(warnings, label, counts.cutRepeatList,
                    "个允许重复奖项超过 " + std::to_string(kRepeatListBytes) +
                        " 字节，已截断到最后一个完整的编号");

    std::vector<const PrizeRecord*> invalid;
    std::vector<const PrizeRecord*> crowded;
    for (const PrizeRecord& prize : table.prizes) {
        if (prize.total < 1 || prize.perRound < 1)
            invalid.push_back(&prize);
        else if (prize.perRound > kMaxWinnersPerRound)
            crowded.push_back(&prize);
    }
    if (!invalid.empty())
        warnings.push_back(label + "有 " + std::to_string(invalid.size()) +
                           " 个奖项的抽取总人数或单次抽取人数小于 1，不会抽取：" +
                           prizeNames(invalid, services));
    if (!crowded.empty())
        warnings.push_back(label + "有 " + std::to_string(crowded.size()) +
                           " 个奖项的单次抽取人数超过 " + std::to_string(kMaxWinnersPerRound) +
                           "，每轮按 " + std::to_string(kMaxWinnersPerRound) + " 人抽取：" +
                           prizeNames(crowded, services));
    addIdWarnings(table, label, services, warnings);
}

void fillPrizeTable(GbkLineReader& reader, const std::string& label, PrizeTable& table,
                    core::CoreServices& services, std::vector<std::string>& warnings,
                    PrizeLoadReport* report) {
    reader.finish(services);
    addConversionWarning(reader, label, warnings);
    LoadCounts counts;
    counts.overCapacity = reader.ignoredLines();
    for (const GbkLineReader::Line& line : reader.lines()) {
        if (line.cut)
            ++counts.longLines;
        if (auto prize = parsePrizeLine(line.gbk, line.number, counts))
            table.prizes.push_back(std::move(*prize));
    }
    sortPrizes(table);
    addLoadWarnings(table, counts, label, services, warnings);
    if (report)
        report->altered =
            counts.altered || reader.converted() || counts.overCapacity > 0 || counts.longLines > 0;
}

} // namespace

void loadPrizeFile(const std::filesystem::path& path, PrizeTable& table,
                   core::CoreServices& services, std::vector<std::string>& warnings,
                   PrizeLoadReport* report) {
    table.prizes.clear();
    if (report)
        *report = {};
    if (!services.fileExists(path))
        return;
    const std::string label = "奖项文件 " + pathText(path.filename()) + "：";
    GbkLineReader reader(kMaxLineBytes, kPrizeCapacity);
    if (!readFileInPieces(path, [&reader](std::string_view piece) { reader.feed(piece); })) {
        warnings.push_back(label + "无法读取，奖项为空");
        if (report)
            report->altered = true; // the empty table would replace every line
        return;
    }
    fillPrizeTable(reader, label, table, services, warnings, report);
}

void readPrizeText(std::string_view bytes, const std::string& fileLabel, PrizeTable& table,
                   core::CoreServices& services, std::vector<std::string>& warnings,
                   PrizeLoadReport* report) {
    table.prizes.clear();
    GbkLineReader reader(kMaxLineBytes, kPrizeCapacity);
    reader.feed(bytes);
    fillPrizeTable(reader, fileLabel, table, services, warnings, report);
}

void sortPrizes(PrizeTable& table) {
    std::stable_sort(table.prizes.begin(), table.prizes.end(),
                     [](const PrizeRecord& a, const PrizeRecord& b) { return a.order < b.order; });
    for (PrizeRecord& prize : table.prizes)
        prize.rounds = roundsFor(prize.total, prize.perRound);
}

int winnersPerRound(int perRound) {
    return std::min(perRound, kMaxWinnersPerRound);
}

int roundsFor(int total, int perRound) {
    if (total < 1 || perRound < 1)
        return 0;
    const int step = winnersPerRound(perRound);
    return total / step + (total % step != 0 ? 1 : 0);
}

int splitPrizeFields(std::string_view line, std::string_view (&fields)[7]) {
    for (std::string_view& field : fields)
        field = {};
    int found = 0;
    std::size_t start = 0;
    std::size_t pos = 0;
    while (pos <= line.size()) {
        if (pos == line.size() || line[pos] == '`') {
            if (found < kFieldCount)
                fields[found] = line.substr(start, pos - start);
            ++found;
            start = pos + 1;
            ++pos;
        } else {
            pos += gbkCharLength(line, pos);
        }
    }
    return found;
}

std::string formatPrizeLine(const PrizeRecord& prize) {
    return prize.id + '`' + prize.title + '`' + prize.image + '`' + std::to_string(prize.order) +
           '`' + std::to_string(prize.total) + '`' + std::to_string(prize.perRound) + '`' +
           prize.repeatList + "\r\n";
}

std::string prizeFileBytes(const PrizeTable& table) {
    std::string bytes;
    for (const PrizeRecord& prize : table.prizes)
        bytes += formatPrizeLine(prize);
    return bytes;
}

bool savePrizeFile(const std::filesystem::path& path, const PrizeTable& table,
                   std::string* problem) {
    return writeFileSafely(path, prizeFileBytes(table), problem);
}

} // namespace lottery
