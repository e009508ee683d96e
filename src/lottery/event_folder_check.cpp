#include "lottery/event_folder_check.h"

#include "lottery/file_text.h"
#include "lottery/safe_file.h"

#include <filesystem>
#include <system_error>

namespace lottery {

namespace {

// A few kilobytes: an empty file still fits on a full disk, a round of winners may not.
constexpr std::size_t kProbeBytes = 4096;

const char* const kWhatToDo = "请把整个活动文件夹复制到可写的位置（例如本机硬盘上的文件夹），"
                              "再用复制后的文件夹启动本程序。";

// Where path leads once every link on the way is followed, even a link that leads nowhere
// yet (a write through it would make the file there).
std::filesystem::path whereItLeads(std::filesystem::path path) {
    constexpr int kMaxLinks = 40;
    std::error_code error;
    for (int i = 0; i < kMaxLinks && std::filesystem::is_symlink(path, error); ++i) {
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error)
            break;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? path : resolved;
}

bool isInside(const std::filesystem::path& path, const std::filesystem::path& folder) {
    const std::filesystem::path relative = path.lexically_relative(folder);
    return !relative.empty() && *relative.begin() != "..";
}

} // namespace

std::string linkLeadingOutside(const EventPaths& paths) {
    const std::filesystem::path folder = whereItLeads(paths.appFolder);
    for (const std::filesystem::path& path :
         {paths.resultFile.parent_path(), paths.prizeFile, paths.participantFile, paths.resultFile,
          paths.settingsFile}) {
        const std::filesystem::path target = whereItLeads(path);
        if (!isInside(target, folder))
            return pathText(path) + " 是指向活动文件夹以外（" + pathText(target) +
                   "）的链接。为免把抽奖数据写到活动文件夹以外，本程序不使用这个文件夹。"
                   "请把链接换成活动文件夹里真正的文件或文件夹，再启动本程序。";
    }
    return {};
}

std::vector<std::string> eventFolderProblems(const EventPaths& paths) {
    std::vector<std::string> problems;
    const std::filesystem::path data = paths.resultFile.parent_path();
    const std::filesystem::path probe = data / ".prizedraw-write-check";
    if (!writeFileSafely(probe, std::string(kProbeBytes, ' '), nullptr))
        problems.push_back("数据文件夹 " + pathText(data) +
                           " 不可写（只读、不存在或磁盘已满），抽奖结果将无法保存。" + kWhatToDo);
    std::error_code ignored;
    std::filesystem::remove(probe, ignored);

    if (std::filesystem::exists(paths.resultFile, ignored) &&
        !readFileInPieces(paths.resultFile, [](std::string_view) {}))
        problems.push_back("抽奖结果文件 " + pathText(paths.resultFile) +
                           " 无法读取，无法判断上次抽奖是否结束。" + kWhatToDo);
    return problems;
}

} // namespace lottery
