#include "lottery/file_text.h"

namespace lottery {

void addEncodingWarning(int unmappable, const std::string& fileLabel,
                        std::vector<std::string>& warnings) {
    if (unmappable > 0)
        warnings.push_back(fileLabel + "按 UTF-8 读取，有 " + std::to_string(unmappable) +
                           " 个字符无法用 GBK 表示，已替换为“?”");
}

std::string pathText(const std::filesystem::path& path) {
    const auto utf8 = path.u8string(); // std::string before C++20, std::u8string after
    return std::string(utf8.begin(), utf8.end());
}

void storeProblem(std::string* problem, const std::string& text) {
    if (problem)
        *problem = text;
}

} // namespace lottery
