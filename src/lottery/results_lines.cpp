#include "lottery/results_lines.h"

#include <algorithm>

namespace lottery {

std::string linePrefix(LineKind kind, core::CoreServices& services) {
    // In the order of LineKind.
    static constexpr const char* kPrefixes[] = {"抽奖开始日期：", "抽奖结束日期：", "名单指纹：",
                                                "奖项指纹：",     "抽奖重置：",     "下一奖项：",
                                                "空缺："};
    return services.gbkFromUtf8(kPrefixes[static_cast<int>(kind)]);
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
