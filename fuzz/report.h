#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzchecks {

// A broken rule is a crash to libFuzzer: it keeps the input and stops.
inline void abortOnProblem(const std::string& problem) {
    if (problem.empty())
        return;
    std::fprintf(stderr, "broken rule: %s\n", problem.c_str());
    std::abort();
}

} // namespace fuzzchecks
