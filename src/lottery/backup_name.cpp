#include "lottery/backup_name.h"

#include "lottery/file_text.h"
#include "lottery/safe_file.h"

#include <system_error>

namespace lottery {

namespace {
constexpr int kMaxBackupSuffix = 1000;
} // namespace

std::filesystem::path freeBackupPath(const std::filesystem::path& folder, const std::string& prefix,
                                     const std::string& stamp, const std::string& extension) {
    std::filesystem::path candidate = folder / (prefix + stamp + extension);
    std::error_code error;
    // symlink_status: a dangling link takes its name too.
    const auto taken = [&error](const std::filesystem::path& path) {
        return std::filesystem::exists(std::filesystem::symlink_status(path, error));
    };
    for (int n = 2; n <= kMaxBackupSuffix && taken(candidate); ++n)
        candidate = folder / (prefix + stamp + "-" + std::to_string(n) + extension);
    return candidate;
}

bool backUpFile(const std::filesystem::path& file, const std::string& prefix,
                const std::string& stamp, std::filesystem::path* backup, std::string* problem,
                const std::string& extension) {
    const std::filesystem::path copy = freeBackupPath(file.parent_path(), prefix, stamp, extension);
    if (backup)
        *backup = copy;
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(copy, error))) {
        storeProblem(problem, "无法另存为 " + pathText(copy) + "：同一时刻的备份名称都已被占用");
        return false;
    }
    std::string bytes;
    if (!readWholeFile(file, bytes)) {
        storeProblem(problem, "无法读取 " + pathText(file) + "，无法另存为 " + pathText(copy));
        return false;
    }
    std::string failure;
    if (!writeFileSafely(copy, bytes, &failure)) {
        storeProblem(problem, "无法另存为 " + pathText(copy) + "：" + failure);
        return false;
    }
    return true;
}

} // namespace lottery
