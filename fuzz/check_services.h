#pragma once

#include "support/fake_core_services.h"

#include <string>
#include <string_view>

namespace fuzzchecks {

// The fake services with the real GBK bytes of the results file's two prefixes, which the
// plain fake would both turn into the same question marks.
class CheckServices : public testsupport::FakeCoreServices {
public:
    std::string gbkFromUtf8(std::string_view utf8, int* unmappable = nullptr) override {
        if (utf8 == "抽奖开始日期：")
            return "\xB3\xE9\xBD\xB1\xBF\xAA\xCA\xBC\xC8\xD5\xC6\xDA\xA3\xBA";
        if (utf8 == "抽奖结束日期：")
            return "\xB3\xE9\xBD\xB1\xBD\xE1\xCA\xF8\xC8\xD5\xC6\xDA\xA3\xBA";
        return FakeCoreServices::gbkFromUtf8(utf8, unmappable);
    }
};

} // namespace fuzzchecks
