#pragma once

#include "core/core_services.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace lottery {

// The words and rules every line of the results file shares (see results_log.h).

constexpr const char* kTimeFormat = "%Y-%m-%d %H:%M:%S";
// A winner line holds at most a time, two short prize texts, two numbers and an entry.
constexpr std::size_t kMaxLineBytes = 4096;
constexpr std::size_t kCodeDigits = 16;
// Ends a line cut short, so that the next line never runs on from it: no GBK text holds DEL.
constexpr char kTornEnd = '\x7F';

// The lines that are not winner lines, by the prefix that starts them.
enum class LineKind { Start, End, Participants, Prizes, Reset, Choice, Short };
// The kind's prefix in GBK.
std::string linePrefix(LineKind kind, core::CoreServices& services);

bool isHex(std::string_view text);
// Splits "#" code TAB off a line; false when the line has no code.
bool splitCode(std::string_view& line, std::string_view& code);
bool isTornLine(std::string_view line);
bool startsWith(std::string_view line, std::string_view prefix);
// The prize texts sit between tabs, so they cannot hold a tab or a line end.
std::string fieldText(std::string text);

} // namespace lottery
