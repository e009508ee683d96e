#pragma once

#include "support/fake_core_services.h"

#include <string>
#include <string_view>
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
            {"张三", "\xD5\xC5\xC8\xFD"},
            {"李四", "\xC0\xEE\xCB\xC4"},
        };
        std::string out;
        int lost = 0;
        std::size_t pos = 0;
        while (pos < utf8.size()) {
            bool matched = false;
            for (const auto& [text, gbk] : known) {
                if (utf8.substr(pos, text.size()) == text) {
                    out += gbk;
                    pos += text.size();
                    matched = true;
                    break;
                }
            }
            if (matched)
                continue;
            std::size_t next = pos + 1;
            while (next < utf8.size() && (static_cast<unsigned char>(utf8[next]) & 0xC0) == 0x80)
                ++next;
            int one = 0;
            out += FakeCoreServices::gbkFromUtf8(utf8.substr(pos, next - pos), &one);
            lost += one;
            pos = next;
        }
        if (unmappable)
            *unmappable = lost;
        return out;
    }
};
