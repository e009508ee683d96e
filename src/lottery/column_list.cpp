#include "lottery/column_list.h"

#include "lottery/gbk_text.h"
#include "lottery/sheet_rows.h"

#include <algorithm>

namespace lottery {

namespace {

constexpr std::string_view kFullWidthComma = "\xEF\xBC\x8C";

// The number a part names, or 0 when it is none in range.
int columnOf(std::string_view part) {
    part = trimBlanks(part);
    if (part.empty() || part.size() > 5)
        return 0;
    int column = 0;
    for (const char c : part) {
        if (c < '0' || c > '9')
            return 0;
        column = column * 10 + (c - '0');
    }
    return column <= kMaxSheetColumns ? column : 0;
}

} // namespace

std::optional<std::vector<int>> parseColumnList(std::string_view utf8) {
    std::vector<int> columns;
    while (!utf8.empty()) {
        const std::size_t half = utf8.find(',');
        const std::size_t full = utf8.find(kFullWidthComma);
        const std::size_t end = std::min(half, full);
        const std::string_view part = utf8.substr(0, end);
        if (!trimBlanks(part).empty()) {
            const int column = columnOf(part);
            if (column < 1)
                return std::nullopt;
            columns.push_back(column);
        }
        if (end == std::string_view::npos)
            break;
        utf8.remove_prefix(end + (end == half ? 1 : kFullWidthComma.size()));
    }
    if (columns.empty())
        return std::nullopt;
    return columns;
}

} // namespace lottery
