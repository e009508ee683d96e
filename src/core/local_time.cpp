#include "core/local_time.h"

namespace core {

std::string formatLocalTime(std::time_t moment, const std::string& format) {
    std::tm parts{};
#ifdef _WIN32
    localtime_s(&parts, &moment);
#else
    localtime_r(&moment, &parts);
#endif
    char buffer[256];
    const std::size_t n = std::strftime(buffer, sizeof buffer, format.c_str(), &parts);
    return std::string(buffer, n);
}

} // namespace core
