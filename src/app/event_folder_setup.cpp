#include "app/event_folder_setup.h"

#include "app/default_media.h"
#include "core/ccore.h"
#include "core/path_conversion.h"
#include "lottery/draw_options_store.h"
#include "lottery/event_folder_check.h"
#include "lottery/file_text.h"
#include "lottery/lottery_data.h"
#include "lottery/safe_file.h"

#include <QDir>
#include <QFileInfo>

#include <functional>
#include <system_error>
#include <vector>

namespace app {

namespace {

const QSize kDefaultBackgroundSize(1920, 1080);

} // namespace

bool isEventFolder(const QString& folder) {
    return QFileInfo(QDir(folder).filePath(QStringLiteral("data/_prize.txt"))).isFile();
}

std::string completeEventFolder(const QString& folder) {
    const lottery::EventPaths paths = lottery::EventPaths::forFolder(core::toFsPath(folder));
    // Nothing is written through a link out of the folder; the load refuses such a folder.
    if (!lottery::linkLeadingOutside(paths).empty())
        return {};
    std::error_code error;
    const bool newEvent = !std::filesystem::exists(paths.prizeFile, error) &&
                          !std::filesystem::exists(paths.settingsFile, error);
    std::vector<std::string> failed;
    // An event made before keeps its look: a missing picture or tune was always allowed.
    std::vector<std::filesystem::path> dirs{paths.prizeFile.parent_path()};
    if (newEvent) {
        dirs.push_back(paths.picture.parent_path());
        dirs.push_back(paths.rollingCue.parent_path());
    }
    for (const auto& dir : dirs) {
        std::filesystem::create_directories(dir, error);
        if (error)
            failed.push_back(lottery::pathText(dir) + "（" + error.message() + "）");
    }
    // Only the file itself counts as there: an mp3 or ogg tune beside the WAV name plays too.
    const std::vector<std::pair<std::filesystem::path, std::function<QByteArray()>>> files = {
        {paths.prizeFile, [] { return QByteArray(); }},
        {paths.participantFile, [] { return QByteArray(); }},
        {paths.background, [] { return defaultBackgroundJpeg(kDefaultBackgroundSize); }},
        {paths.picture, [] { return defaultPicturePng(); }},
        {paths.rollingCue, [] { return defaultTuneWav(DefaultTune::Rolling); }},
        {paths.resultCue, [] { return defaultTuneWav(DefaultTune::Result); }},
    };
    for (const auto& [path, bytes] : files) {
        const bool isData = path == paths.prizeFile || path == paths.participantFile;
        if (!isData && !newEvent)
            continue;
        const bool isTune = path == paths.rollingCue || path == paths.resultCue;
        const auto namesake = [&path](const char* ext) {
            return std::filesystem::exists(std::filesystem::path(path).replace_extension(ext));
        };
        if (std::filesystem::exists(std::filesystem::symlink_status(path, error)) ||
            (isTune && (namesake(".mp3") || namesake(".ogg"))))
            continue;
        const QByteArray content = bytes();
        std::string problem;
        if (!lottery::writeFileSafely(path, std::string_view(content.constData(), content.size()),
                                      &problem))
            failed.push_back(lottery::pathText(path));
    }
    if (newEvent && failed.empty()) {
        core::CCore core(folder);
        lottery::DrawOptions options;
        lottery::loadDrawOptions(options, core);
        options.stage.layout = lottery::kNewEventLayout;
        if (!lottery::saveDrawOptions(options, core))
            failed.push_back(lottery::pathText(paths.settingsFile));
    }
    if (failed.empty())
        return {};
    std::string message = "活动文件夹 " + lottery::pathText(paths.appFolder) +
                          " 缺少以下部分，程序无法创建（文件夹可能是只读的）：";
    for (const std::string& part : failed)
        message += "\n  " + part;
    return message + "\n\n奖项和名单将无法保存。请另选一个可写的文件夹作为活动文件夹。";
}

} // namespace app
