#include "lottery/prize_file.h"

#include "lottery/file_text.h"
#include "lottery/gbk_line_reader.h"
#include "lottery/gbk_text.h"
#include "lottery/numbers.h"
#include "lottery/safe_file.h"

#include <algorithm>

namespace lottery {

namespace {

constexpr int kFieldCount = 7;
// Seven short fields fit many times over; the rest of a longer line is not read.
constexpr std::size_t kMaxLineBytes = 4096;

struct LoadCounts {
    int overCapacity = 0;
    int longLines = 0;
    int extraFields = 0;
    int cutId = 0;
    int cutTitle = 0;
    int cutImage = 0;
    int cutRepeatList = 0;
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

std::string cutField(std::string_view text, std::size_t maxBytes, int& cutCount) {
    if (text.size() <= maxBytes)
        return withoutLoneLeadAtEnd(std::string(text));
    ++cutCount;
    return withoutLoneLeadAtEnd(cutToBytes(text, maxBytes));
}

// A cut inside a number would name another prize, so the list ends at the last whole number.
std::string cutRepeatList(std::string_view text, int& cutCount) {
    if (text.size() <= kRepeatListBytes)
        return std::string(text);
    ++cutCount;
    std::string cut = cutToBytes(text, kRepeatListBytes);
    if (text[cut.size()] != ',') {
        const std::size_t comma = cut.rfind(',');
        cut.resize(comma == std::string::npos ? 0 : comma);
    }
    return cut;
}

PrizeRecord parsePrizeLine(std::string_view line, LoadCounts& counts) {
    std::string_view fields[kFieldCount];
    if (splitPrizeFields(line, fields) > kFieldCount)
        ++counts.extraFields;
    PrizeRecord prize;
    prize.id = cutField(fields[0], kPrizeIdBytes, counts.cutId);
    prize.title = cutField(fields[1], kPrizeTitleBytes, counts.cutTitle);
    prize.image = cutField(fields[2], kPrizeImageBytes, counts.cutImage);
    prize.order = parseLeadingInt(fields[3]);
    prize.total = parseLeadingInt(fields[4]);
    prize.perRound = parseLeadingInt(fields[5]);
    prize.repeatList = cutRepeatList(fields[6], counts.cutRepeatList);
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
    addCountWarning(warnings, label, counts.cutId,
                    "个唯一编号超过 " + std::to_string(kPrizeIdBytes) + " 字节，已截断");
    addCountWarning(warnings, label, counts.cutTitle,
                    "个显示标题超过 " + std::to_string(kPrizeTitleBytes) + " 字节，已截断");
    addCountWarning(warnings, label, counts.cutImage,
                    "个图片文件名超过 " + std::to_string(kPrizeImageBytes) + " 字节，已截断");
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
}

void fillPrizeTable(GbkLineReader& reader, const std::string& label, PrizeTable& table,
                    core::CoreServices& services, std::vector<std::string>& warnings) {
    reader.finish(services);
    addEncodingWarning(reader.unmappable(), label, warnings);
    LoadCounts counts;
    counts.overCapacity = reader.ignoredLines();
    for (const GbkLineReader::Line& line : reader.lines()) {
        if (line.cut)
            ++counts.longLines;
        table.prizes.push_back(parsePrizeLine(line.gbk, counts));
    }
    sortPrizes(table);
    addLoadWarnings(table, counts, label, services, warnings);
}

} // namespace

void loadPrizeFile(const std::filesystem::path& path, PrizeTable& table,
                   core::CoreServices& services, std::vector<std::string>& warnings) {
    table.prizes.clear();
    if (!services.isFileExist(path))
        return;
    const std::string label = "奖项文件 " + pathText(path.filename()) + "：";
    GbkLineReader reader(kMaxLineBytes, kPrizeCapacity);
    if (!readFileInPieces(path, [&reader](std::string_view piece) { reader.feed(piece); })) {
        warnings.push_back(label + "无法读取，奖项为空");
        return;
    }
    fillPrizeTable(reader, label, table, services, warnings);
}

void readPrizeText(std::string_view bytes, const std::string& fileLabel, PrizeTable& table,
                   core::CoreServices& services, std::vector<std::string>& warnings) {
    table.prizes.clear();
    GbkLineReader reader(kMaxLineBytes, kPrizeCapacity);
    reader.feed(bytes);
    fillPrizeTable(reader, fileLabel, table, services, warnings);
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

bool savePrizeFile(const std::filesystem::path& path, const PrizeTable& table,
                   std::string* problem) {
    std::string bytes;
    for (const PrizeRecord& prize : table.prizes)
        bytes += formatPrizeLine(prize);
    return writeFileSafely(path, bytes, problem);
}

} // namespace lottery
