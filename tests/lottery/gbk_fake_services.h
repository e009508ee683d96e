#pragma once

#include "support/fake_core_services.h"

#include <string>
#include <string_view>
#include <tuple>
#include <utility>

// The fake services with the real GBK bytes of the few Chinese texts these tests meet;
// every other non-ASCII character still becomes '?'.
class GbkFakeServices : public testsupport::FakeCoreServices {
public:
    using FakeCoreServices::FakeCoreServices;

    std::string gbkFromUtf8(std::string_view utf8, int* unmappable = nullptr) override {
        static const std::pair<std::string_view, std::string_view> known[] = {
            {"抽奖开始日期：", "\xB3\xE9\xBD\xB1\xBF\xAA\xCA\xBC\xC8\xD5\xC6\xDA\xA3\xBA"},
            {"抽奖结束日期：", "\xB3\xE9\xBD\xB1\xBD\xE1\xCA\xF8\xC8\xD5\xC6\xDA\xA3\xBA"},
            {"名单指纹：", "\xC3\xFB\xB5\xA5\xD6\xB8\xCE\xC6\xA3\xBA"},
            {"奖项指纹：", "\xBD\xB1\xCF\xEE\xD6\xB8\xCE\xC6\xA3\xBA"},
            {"下一奖项：", "\xCF\xC2\xD2\xBB\xBD\xB1\xCF\xEE\xA3\xBA"},
            {"抽奖重置：", "\xB3\xE9\xBD\xB1\xD6\xD8\xD6\xC3\xA3\xBA"},
            {"空缺：", "\xBF\xD5\xC8\xB1\xA3\xBA"},
            {"张三", "\xD5\xC5\xC8\xFD"},
            {"李四", "\xC0\xEE\xCB\xC4"},
        };
        std::string out;
        int lost = 0;
        while (!utf8.empty()) {
            // The text before the nearest known one goes through the plain fake.
            std::size_t at = utf8.size();
            std::pair<std::string_view, std::string_view> next;
            for (const auto& pair : known)
                if (const std::size_t found = utf8.find(pair.first); found < at)
                    std::tie(at, next) = std::pair(found, pair);
            int one = 0;
            out += FakeCoreServices::gbkFromUtf8(utf8.substr(0, at), &one);
            out += next.second;
            lost += one;
            utf8.remove_prefix(at + next.first.size());
        }
        if (unmappable)
            *unmappable = lost;
        return out;
    }
};
