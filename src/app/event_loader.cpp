#include "app/event_loader.h"

#include "lottery/event_folder_check.h"
#include "lottery/file_text.h"
#include "lottery/participant_file.h"
#include "lottery/prize_file.h"

namespace app {

namespace {

LoadOutcome loadFiles(const lottery::EventPaths& paths, lottery::LotteryData& data,
                      core::CoreServices& services, std::vector<std::string>& warnings,
                      lottery::PrizeLoadReport* prizeReport) {
    lottery::loadPrizeFile(paths.prizeFile, data.prizeTable, services, warnings, prizeReport);
    if (data.prizeTable.count() == 0)
        return LoadOutcome::NoPrizes;
    lottery::loadParticipantFile(paths, data.participants, data.options, services, warnings);
    if (data.participants.count() == 0)
        return LoadOutcome::NoParticipants;
    return LoadOutcome::Ready;
}

} // namespace

LoadOutcome loadEventData(const lottery::EventPaths& paths, lottery::LotteryData& data,
                          core::CoreServices& services, std::vector<std::string>& warnings,
                          lottery::PrizeLoadReport* prizeReport) {
    if (!lottery::linkLeadingOutside(paths).empty())
        return LoadOutcome::LinkedOutside;
    const LoadOutcome outcome = loadFiles(paths, data, services, warnings, prizeReport);
    // First, so that the operator reads it before any detail of the files.
    const std::vector<std::string> problems = lottery::eventFolderProblems(paths);
    warnings.insert(warnings.begin(), problems.begin(), problems.end());
    return outcome;
}

std::string loadOutcomeMessage(LoadOutcome outcome, const lottery::EventPaths& paths,
                               const std::string& lineBreak) {
    switch (outcome) {
    case LoadOutcome::Ready:
        break;
    case LoadOutcome::NoPrizes:
        return "奖项没有设置！";
    case LoadOutcome::NoParticipants:
        return "抽奖数据文件不能为空！" + lineBreak + lottery::pathText(paths.participantFile);
    case LoadOutcome::LinkedOutside:
        return lottery::linkLeadingOutside(paths);
    }
    return {};
}

} // namespace app
