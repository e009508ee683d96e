#include "scratch_folder.h"

#include <random>
#include <string>
#include <system_error>

namespace fuzzchecks {

namespace {

class ScratchFolder {
public:
    ScratchFolder() {
        std::error_code error;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, error))
            base = std::filesystem::temp_directory_path();
        path = base / ("prizedraw-fuzz-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(path / "data", error);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path path;
};

} // namespace

const std::filesystem::path& scratchFolder() {
    static const ScratchFolder folder;
    return folder.path;
}

} // namespace fuzzchecks
