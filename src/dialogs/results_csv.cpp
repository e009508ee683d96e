#include "dialogs/results_csv.h"

#include "core/gbk_codec.h"

#include <algorithm>
#include <array>

namespace dialogs {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::array<std::string_view, 7> kHeader = {"时间", "唯一编号", "奖项",    "轮次",
                                                     "序号", "状态",     "中奖条目"};

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

void appendRow(std::string& out, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first)
            out += ',';
        out += csvField(field);
        first = false;
    }
    out += kLineEnd;
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

std::string_view statusText(lottery::WinnerStatus status) {
    switch (status) {
    case lottery::WinnerStatus::Absent:
        return "缺席";
    case lottery::WinnerStatus::Replacement:
        return "补抽";
    case lottery::WinnerStatus::Winner:
        break;
    }
    return "中奖";
}

std::string resultsCsv(const lottery::ResultsLog& log) {
    std::string out(kByteOrderMark);
    appendRow(out,
              {kHeader[0], kHeader[1], kHeader[2], kHeader[3], kHeader[4], kHeader[5], kHeader[6]});
    for (const lottery::WinnerRecord& winner : log.winners) {
        appendRow(out, {core::GbkCodec::toUtf8(winner.time), core::GbkCodec::toUtf8(winner.prizeId),
                        core::GbkCodec::toUtf8(winner.prizeTitle), std::to_string(winner.round),
                        std::to_string(winner.position), statusText(winner.status),
                        core::GbkCodec::toUtf8(winner.rawText)});
    }
    return out;
}

} // namespace dialogs
