#pragma once

#include "core/core_services.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <random>
#include <string>

namespace testsupport {

// Deterministic services: a seeded generator, a settable clock, settings in memory, and a
// codec that knows ASCII and the GBK bytes of the few Chinese texts the tests meet; every
// other non-ASCII character becomes '?'.
class FakeCoreServices : public core::CoreServices {
public:
    explicit FakeCoreServices(std::filesystem::path appPath = {}, std::uint32_t seed = 1)
        : appPath_(std::move(appPath)), generator_(seed) {}

    std::filesystem::path getAppPath() const override { return appPath_; }

    bool hasSetting(core::Setting key) override {
        return settings.count(key) != 0 || texts.count(key) != 0;
    }
    int settingNumber(core::Setting key) override {
        const auto it = settings.find(key);
        return it == settings.end() ? 0 : it->second;
    }
    std::string settingText(core::Setting key) override {
        const auto it = texts.find(key);
        return it == texts.end() ? std::string() : it->second;
    }
    void setSetting(core::Setting key, int v) override { settings[key] = v; }
    void setSetting(core::Setting key, const std::string& utf8) override { texts[key] = utf8; }
    bool flushSettings() override { return flushSucceeds; }

    int getRandInt(int low, int high) override {
        return std::uniform_int_distribution<int>(low, high)(generator_);
    }
    // Returns now formatted; now advances by secondsPerCall at every call.
    std::string getTimeNowStr(const std::string& format) override;
    bool fileExists(const std::filesystem::path& path) override {
        return std::filesystem::exists(path);
    }

    std::string gbkFromUtf8(std::string_view utf8, int* unmappable = nullptr) override;
    std::string utf8FromGbk(std::string_view gbk) override;

    std::map<core::Setting, int> settings;
    std::map<core::Setting, std::string> texts;
    bool flushSucceeds = true;
    std::int64_t now = 1767225600; // 2026-01-01 00:00:00 UTC
    int secondsPerCall = 0;

private:
    std::filesystem::path appPath_;
    std::mt19937 generator_;
};

} // namespace testsupport
