#include "lottery/prize_file.h"

#include "lottery/file_text.h"
#include "lottery/gbk_text.h"
#include "lottery/numbers.h"
#include "lottery/safe_file.h"

#include <algorithm>

namespace lottery {

namespace {

constexpr int kFieldCount = 7;

struct LoadCounts {
    int overCapacity = 0;
    int extraFields = 0;
    int cutId = 0;
    int cutTitle = 0;
    int cutImage = 0;
    int cutRepeatList = 0;
};

std::string cutField(std::string_view text, std::size_t maxBytes, int& cutCount) {
    if (text.size() <= maxBytes)
        return std::string(text);
    ++cutCount;
    return cutToBytes(text, maxBytes);
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

} // namespace

void loadPrizeFile(const std::filesystem::path& path, PrizeTable& table,
                   core::CoreServices& services, std::vector<std::string>& warnings) {
    table.prizes.clear();
    if (!services.isFileExist(path))
        return;
    const std::string label = "奖项文件 " + pathText(path.filename()) + "：";
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        warnings.push_back(label + "无法读取，奖项为空");
        return;
    }
    const GbkFileText text = toGbkFileText(std::move(bytes), services);
    addEncodingWarning(text, label, warnings);

    LoadCounts counts;
    std::string_view rest = text.gbk;
    std::string_view line;
    while (takeLine(rest, line)) {
        if (line.empty())
            continue;
        if (table.isFull()) {
            ++counts.overCapacity;
            continue;
        }
        table.prizes.push_back(parsePrizeLine(line, counts));
    }
    sortPrizes(table);
    addLoadWarnings(table, counts, label, services, warnings);
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
