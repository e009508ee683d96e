#include "csv_check.h"
#include "report.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzchecks::abortOnProblem(
        fuzzchecks::checkCsv(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
