#include "lottery/backup_name.h"

#include <system_error>

namespace lottery {

namespace {
constexpr int kMaxBackupSuffix = 1000;
} // namespace

std::filesystem::path freeBackupPath(const std::filesystem::path& folder, const std::string& prefix,
                                     const std::string& stamp) {
    std::filesystem::path candidate = folder / (prefix + stamp + ".txt");
    std::error_code error;
    for (int n = 2; n <= kMaxBackupSuffix && std::filesystem::exists(candidate, error); ++n)
        candidate = folder / (prefix + stamp + "-" + std::to_string(n) + ".txt");
    return candidate;
}

} // namespace lottery
