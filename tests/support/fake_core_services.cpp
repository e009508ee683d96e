#include "support/fake_core_services.h"

#include <ctime>
#include <utility>

namespace testsupport {

namespace {

using Pair = std::pair<std::string_view, std::string_view>; // UTF-8, GBK

const Pair kKnown[] = {
    {"抽奖开始日期：", "\xB3\xE9\xBD\xB1\xBF\xAA\xCA\xBC\xC8\xD5\xC6\xDA\xA3\xBA"},
    {"抽奖结束日期：", "\xB3\xE9\xBD\xB1\xBD\xE1\xCA\xF8\xC8\xD5\xC6\xDA\xA3\xBA"},
    {"名单指纹：", "\xC3\xFB\xB5\xA5\xD6\xB8\xCE\xC6\xA3\xBA"},
    {"奖项指纹：", "\xBD\xB1\xCF\xEE\xD6\xB8\xCE\xC6\xA3\xBA"},
    {"下一奖项：", "\xCF\xC2\xD2\xBB\xBD\xB1\xCF\xEE\xA3\xBA"},
    {"抽奖重置：", "\xB3\xE9\xBD\xB1\xD6\xD8\xD6\xC3\xA3\xBA"},
    {"空缺：", "\xBF\xD5\xC8\xB1\xA3\xBA"},
    {"一等奖", "\xD2\xBB\xB5\xC8\xBD\xB1"},
    {"二等奖", "\xB6\xFE\xB5\xC8\xBD\xB1"},
    {"张三", "\xD5\xC5\xC8\xFD"},
    {"李四", "\xC0\xEE\xCB\xC4"},
};

// ASCII as it is; any other UTF-8 sequence becomes one '?', counted in lost.
void asciiOnly(std::string_view utf8, std::string& out, int& lost) {
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            out.push_back(c);
        else if ((byte & 0xC0) != 0x80) {
            out.push_back('?');
            ++lost;
        }
    }
}

// Replaces each known text of one side by the other side's bytes; plain does the rest.
template <typename Plain> std::string convert(std::string_view text, bool fromUtf8, Plain plain) {
    std::string out;
    while (!text.empty()) {
        std::size_t at = text.size();
        Pair next;
        for (const Pair& pair : kKnown) {
            const std::string_view from = fromUtf8 ? pair.first : pair.second;
            if (const std::size_t found = text.find(from); found < at) {
                at = found;
                next = fromUtf8 ? pair : Pair(pair.second, pair.first);
            }
        }
        plain(text.substr(0, at), out);
        out += next.second;
        text.remove_prefix(at + next.first.size());
    }
    return out;
}

} // namespace

std::string FakeCoreServices::getTimeNowStr(const std::string& format) {
    const std::time_t t = static_cast<std::time_t>(now);
    now += secondsPerCall;
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &t);
#else
    gmtime_r(&t, &parts);
#endif
    char buffer[64];
    const std::size_t n = std::strftime(buffer, sizeof buffer, format.c_str(), &parts);
    return std::string(buffer, n);
}

std::string FakeCoreServices::gbkFromUtf8(std::string_view utf8, int* unmappable) {
    int lost = 0;
    std::string out = convert(
        utf8, true, [&lost](std::string_view part, std::string& to) { asciiOnly(part, to, lost); });
    if (unmappable)
        *unmappable = lost;
    return out;
}

std::string FakeCoreServices::utf8FromGbk(std::string_view gbk) {
    return convert(gbk, false, [](std::string_view part, std::string& to) { to += part; });
}

} // namespace testsupport
