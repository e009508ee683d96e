#include "report.h"
#include "results_log_check.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzchecks::abortOnProblem(
        fuzzchecks::checkResultsLog(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
