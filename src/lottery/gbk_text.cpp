#include "lottery/gbk_text.h"

namespace lottery {

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string cutToBytes(std::string_view gbk, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < gbk.size()) {
        const std::size_t next = end + gbkCharLength(gbk, end);
        if (next > maxBytes)
            break;
        end = next;
    }
    return std::string(gbk.substr(0, end));
}

} // namespace lottery
