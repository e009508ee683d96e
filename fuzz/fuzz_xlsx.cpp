#include "report.h"
#include "xlsx_check.h"

#include <QtGlobal>

#include <cstddef>
#include <cstdint>

// Qt warns of every broken package on stderr; thousands a second slow the run.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzchecks::abortOnProblem(
        fuzzchecks::checkXlsx(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
