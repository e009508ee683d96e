#pragma once

#include <ctime>
#include <string>

namespace core {

// moment in local time, formatted with std::strftime; empty when the result would not fit.
std::string formatLocalTime(std::time_t moment, const std::string& format);

} // namespace core
