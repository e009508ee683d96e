#pragma once

#include "core/setting.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace core {

// The platform services the draw logic relies on. The Qt implementation is CCore;
// tests use a deterministic fake.
class CoreServices {
public:
    virtual ~CoreServices() = default;

    // The program folder: data/, img/ and music/ live below it.
    virtual std::filesystem::path getAppPath() const = 0;

    // The event's settings, read and written as each key's kind says; a number never saved
    // reads 0, a text never saved reads empty (UTF-8).
    virtual bool hasSetting(Setting setting) = 0;
    virtual int settingNumber(Setting setting) = 0;
    virtual std::string settingText(Setting setting) = 0;
    virtual void setSetting(Setting setting, int value) = 0;
    virtual void setSetting(Setting setting, const std::string& utf8) = 0;
    // Writes pending settings to disk; false when that failed.
    virtual bool flushSettings() = 0;

    // Uniform in low..high, both inclusive; requires low <= high.
    virtual int getRandInt(int low, int high) = 0;
    // The local time in strftime notation.
    virtual std::string getTimeNowStr(const std::string& format) = 0;
    virtual bool fileExists(const std::filesystem::path& path) = 0;

    // GBK is the stored encoding. Characters GBK cannot hold become '?' and are
    // counted in *unmappable when it is given.
    virtual std::string gbkFromUtf8(std::string_view utf8, int* unmappable = nullptr) = 0;
    virtual std::string utf8FromGbk(std::string_view gbk) = 0;
};

} // namespace core
