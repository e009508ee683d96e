#include "lottery/results_lines.h"

#include <algorithm>

namespace lottery {

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

bool isHex(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

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

std::string fieldText(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

} // namespace lottery
