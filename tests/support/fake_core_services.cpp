#include "support/fake_core_services.h"

#include <ctime>

namespace testsupport {

std::string FakeCoreServices::getTimeNowStr(const std::string& format) {
    const std::time_t t = static_cast<std::time_t>(now);
    now += secondsPerCall;
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &t);
#else
    gmtime_r(&t, &parts);
#endif
    char buffer[64];
    const std::size_t n = std::strftime(buffer, sizeof buffer, format.c_str(), &parts);
    return std::string(buffer, n);
}

std::string FakeCoreServices::gbkFromUtf8(std::string_view utf8, int* unmappable) {
    // Only ASCII maps; every other UTF-8 sequence becomes one '?'.
    std::string out;
    int lost = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if ((c & 0xC0) != 0x80) {
            out.push_back('?');
            ++lost;
        }
    }
    if (unmappable)
        *unmappable = lost;
    return out;
}

} // namespace testsupport
