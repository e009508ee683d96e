#include "dialogs/results_csv.h"

#include <algorithm>

namespace dialogs {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

// A leading '-' stays when the field reads as a number, a phone number or a date; one
// followed by anything else (as in "-1+cmd|...") can start a formula.
bool plainNumberText(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '-' || c == ' ' || c == '.';
    });
}

bool looksLikeFormula(std::string_view text) {
    if (text.empty())
        return false;
    switch (text.front()) {
    case '=':
    case '+':
    case '@':
    case '\t':
    case '\r':
        return true;
    case '-':
        return !plainNumberText(text);
    default:
        return false;
    }
}

} // namespace

std::string csvField(std::string_view utf8) {
    std::string text;
    if (looksLikeFormula(utf8))
        text += '\'';
    text += utf8;
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string resultsCsv(const TextRows& rows) {
    std::string out(kByteOrderMark);
    for (const std::vector<std::string>& row : rows) {
        bool first = true;
        for (const std::string& field : row) {
            if (!first)
                out += ',';
            out += csvField(field);
            first = false;
        }
        out += kLineEnd;
    }
    return out;
}

} // namespace dialogs
