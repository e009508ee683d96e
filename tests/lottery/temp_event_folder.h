#pragma once

#include "lottery/lottery_data.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

// A fresh event folder with its data folder, removed with everything in it at the end.
class TempEventFolder {
public:
    TempEventFolder() {
        std::random_device entropy;
        root_ =
            std::filesystem::temp_directory_path() /
            ("prizedraw-lottery-" + std::to_string(entropy()) + "-" + std::to_string(counter_++));
        std::filesystem::create_directories(root_ / "data");
        paths = lottery::EventPaths::forFolder(root_);
    }
    ~TempEventFolder() {
        std::error_code ignored;
        std::filesystem::permissions(paths.prizeFile.parent_path(),
                                     std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(root_, ignored);
    }
    TempEventFolder(const TempEventFolder&) = delete;
    TempEventFolder& operator=(const TempEventFolder&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path data() const { return root_ / "data"; }

    static void write(const std::filesystem::path& path, std::string_view bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static std::string read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    lottery::EventPaths paths;

private:
    inline static std::atomic<int> counter_{0};
    std::filesystem::path root_;
};
