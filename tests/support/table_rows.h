#pragma once

#include <cctype>
#include <string>

namespace testsupport {

inline std::string repeated(const std::string& part, std::size_t times) {
    std::string out;
    while (times-- > 0)
        out += part;
    return out;
}

// A table row's description as GoogleTest takes it for the name of a case.
inline std::string testName(const std::string& description) {
    std::string name;
    for (const char c : description)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

} // namespace testsupport
