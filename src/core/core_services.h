#pragma once

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

    // Settings; a key never saved reads 0.
    virtual int getConfigFlag(const std::string& key) = 0;
    virtual int getConfigInt(const std::string& key) = 0;
    virtual void saveConfigFlag(const std::string& key, int value) = 0;
    virtual void saveConfigInt(const std::string& key, int value) = 0;
    // UTF-8 text; a key never saved reads empty and has no value.
    virtual bool hasConfig(const std::string& key) = 0;
    virtual std::string getConfigText(const std::string& key) = 0;
    virtual void saveConfigText(const std::string& key, const std::string& utf8) = 0;
    // Writes pending settings to disk; false when that failed.
    virtual bool flushConfig() = 0;

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
