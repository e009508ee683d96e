#include "lottery/import_guess.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace lottery {

namespace {

enum class Kind { Empty, Name, Code, Other };

// The code points of UTF-8 text; a broken sequence counts as one unknown point.
std::vector<char32_t> codePoints(const std::string& text) {
    std::vector<char32_t> points;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        char32_t point = length == 1 ? byte : byte & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + k < text.size(); ++k)
            point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        points.push_back(point);
        i += static_cast<std::size_t>(length);
    }
    return points;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    return first == std::string::npos
               ? std::string()
               : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool isCjk(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF);
}

Kind kindOf(const std::string& cell) {
    const std::vector<char32_t> points = codePoints(trimmed(cell));
    if (points.empty())
        return Kind::Empty;
    const auto all = [&points](auto test) {
        return std::all_of(points.begin(), points.end(), test);
    };
    const auto any = [&points](auto test) {
        return std::any_of(points.begin(), points.end(), test);
    };
    const auto digit = [](char32_t c) { return c >= '0' && c <= '9'; };
    const auto latin = [](char32_t c) { return c < 0x80 && std::isalpha(static_cast<int>(c)); };
    if (any(digit) && points.size() <= 20 &&
        all([&](char32_t c) { return digit(c) || latin(c) || c == '-' || c == '_'; }))
        return Kind::Code;
    // 1 to 8 characters of Chinese (a middle dot for names such as 阿依·买买提), or Latin words.
    if (points.size() <= 8 && any(isCjk) && all([](char32_t c) { return isCjk(c) || c == 0xB7; }))
        return Kind::Name;
    if (points.size() <= 30 && any(latin) &&
        all([&](char32_t c) { return latin(c) || c == ' ' || c == '.' || c == '\''; }))
        return Kind::Name;
    return Kind::Other;
}

std::string lowered(const std::string& text) {
    std::string lower = trimmed(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool headerNamesName(const std::string& cell) {
    const std::string text = lowered(cell);
    for (const char* word : {"姓名", "名字", "name", "参与者", "员工", "人员", "客户"})
        if (text.find(word) != std::string::npos)
            return true;
    return false;
}

bool headerNamesId(const std::string& cell) {
    const std::string text = lowered(cell);
    for (const char* word : {"工号", "编号", "学号", "卡号", "手机", "电话", "号码", "会员号"})
        if (text.find(word) != std::string::npos)
            return true;
    return text == "id" || text == "no" || text == "no." || text == "number" ||
           text.rfind("id ", 0) == 0 || text.find(" id") != std::string::npos;
}

std::string cellAt(const std::vector<std::string>& row, int column) {
    return static_cast<std::size_t>(column) < row.size() ? row[static_cast<std::size_t>(column)]
                                                         : std::string();
}

// Most non-empty cells of the column are of this kind.
bool columnOf(const std::vector<std::vector<std::string>>& rows, std::size_t from, int column,
              Kind kind) {
    int filled = 0;
    int matching = 0;
    for (std::size_t r = from; r < rows.size(); ++r) {
        const Kind k = kindOf(cellAt(rows[r], column));
        filled += k != Kind::Empty;
        matching += k == kind;
    }
    return filled > 0 && matching * 4 >= filled * 3;
}

int distinctValues(const std::vector<std::vector<std::string>>& rows, std::size_t from,
                   int column) {
    std::set<std::string> values;
    for (std::size_t r = from; r < rows.size(); ++r)
        values.insert(trimmed(cellAt(rows[r], column)));
    return static_cast<int>(values.size());
}

// 1, 2, 3 ... down the column: a row count, not a person's number.
bool rowCount(const std::vector<std::vector<std::string>>& rows, std::size_t from, int column) {
    long expected = -1;
    for (std::size_t r = from; r < rows.size(); ++r) {
        const std::string cell = trimmed(cellAt(rows[r], column));
        if (cell.empty() || cell.size() > 9 ||
            !std::all_of(cell.begin(), cell.end(), [](unsigned char c) { return std::isdigit(c); }))
            return false;
        const long value = std::stol(cell);
        if (value != (expected < 0 ? 1 : expected))
            return false;
        expected = value + 1;
    }
    return expected >= 0;
}

} // namespace

ImportGuess guessImport(const std::vector<std::vector<std::string>>& rows) {
    ImportGuess guess;
    if (rows.empty())
        return guess;
    int columns = 0;
    for (const auto& row : rows)
        columns = std::max(columns, static_cast<int>(row.size()));

    const std::vector<std::string>& first = rows.front();
    for (int c = 0; c < columns; ++c) {
        // 员工编号 is an id, though it begins like a name's header.
        if (headerNamesId(cellAt(first, c))) {
            guess.idColumn = guess.idColumn ? guess.idColumn : c + 1;
        } else if (!guess.nameColumn && headerNamesName(cellAt(first, c))) {
            guess.nameColumn = c + 1;
        }
    }
    bool header = guess.nameColumn || guess.idColumn;
    // A word above a column of codes, or above a column of names when it is not one itself.
    if (!header && rows.size() > 1)
        for (int c = 0; c < columns && !header; ++c) {
            const Kind top = kindOf(cellAt(first, c));
            header = top == Kind::Other &&
                     (columnOf(rows, 1, c, Kind::Code) || columnOf(rows, 1, c, Kind::Name));
            header = header || (top == Kind::Name && columnOf(rows, 1, c, Kind::Code));
        }
    guess.options.headerRow = header;
    const std::size_t from = header ? 1 : 0;

    if (!guess.nameColumn) {
        int best = -1;
        for (int c = 0; c < columns; ++c)
            if (c + 1 != guess.idColumn && columnOf(rows, from, c, Kind::Name) &&
                (best < 0 || distinctValues(rows, from, c) > distinctValues(rows, from, best)))
                best = c;
        guess.nameColumn = best + 1;
    }
    if (!guess.idColumn) {
        int counter = 0;
        for (int c = 0; c < columns && !guess.idColumn; ++c) {
            if (c + 1 == guess.nameColumn || !columnOf(rows, from, c, Kind::Code))
                continue;
            if (rowCount(rows, from, c))
                counter = counter ? counter : c + 1;
            else
                guess.idColumn = c + 1;
        }
        if (!guess.idColumn)
            guess.idColumn = counter;
    }
    guess.options.columns.clear();
    for (const int column : {guess.nameColumn, guess.idColumn})
        if (column)
            guess.options.columns.push_back(column);
    if (guess.options.columns.empty())
        guess.options.columns.push_back(1);
    return guess;
}

} // namespace lottery
