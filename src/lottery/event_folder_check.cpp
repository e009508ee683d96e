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

} // namespace

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
