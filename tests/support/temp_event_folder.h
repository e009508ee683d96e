#pragma once

#include "lottery/lottery_data.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

// A fresh event folder with its data folder, removed with everything in it at the end.
// Whether any of the loaders' warnings contains part.
inline bool anyWarningContains(const std::vector<std::string>& warnings, const std::string& part) {
    for (const std::string& warning : warnings)
        if (warning.find(part) != std::string::npos)
            return true;
    return false;
}

class TempEventFolder {
public:
    TempEventFolder()
        : root_(std::filesystem::temp_directory_path() /
                ("prizedraw-lottery-" + std::to_string(std::random_device()()))) {
        std::filesystem::create_directories(data());
        paths = lottery::EventPaths::forFolder(root_);
    }
    ~TempEventFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempEventFolder(const TempEventFolder&) = delete;
    TempEventFolder& operator=(const TempEventFolder&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path data() const { return root_ / "data"; }
    int backupCount() const {
        int n = 0;
        for (const auto& item : std::filesystem::directory_iterator(data()))
            n += item.path().filename().string().rfind("bak_result", 0) == 0;
        return n;
    }

    static void write(const std::filesystem::path& path, std::string_view bytes) {
        std::ofstream(path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static std::string read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    lottery::EventPaths paths;

private:
    std::filesystem::path root_;
};
