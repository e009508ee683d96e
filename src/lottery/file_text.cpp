#include "lottery/file_text.h"

#include "lottery/gbk_text.h"

#include <algorithm>

namespace lottery {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool hasNonAscii(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

} // namespace

GbkFileText toGbkFileText(std::string bytes, core::CoreServices& services) {
    GbkFileText text;
    std::string_view view = bytes;
    if (view.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        view.remove_prefix(kUtf8Bom.size());
        text.fromUtf8 = true;
    } else {
        text.fromUtf8 = hasNonAscii(view) && isValidUtf8(view);
    }
    if (text.fromUtf8)
        text.gbk = services.gbkFromUtf8(view, &text.unmappable);
    else
        text.gbk = std::move(bytes);
    return text;
}

void addEncodingWarning(const GbkFileText& text, const std::string& fileLabel,
                        std::vector<std::string>& warnings) {
    if (text.unmappable > 0)
        warnings.push_back(fileLabel + "按 UTF-8 读取，有 " + std::to_string(text.unmappable) +
                           " 个字符无法用 GBK 表示，已替换为“?”");
}

bool takeLine(std::string_view& rest, std::string_view& line) {
    if (rest.empty())
        return false;
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) {
        line = rest;
        rest = {};
    } else {
        line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
    }
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return true;
}

std::string pathText(const std::filesystem::path& path) {
    const auto utf8 = path.u8string(); // std::string before C++20, std::u8string after
    return std::string(utf8.begin(), utf8.end());
}

} // namespace lottery
