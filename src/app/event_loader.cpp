#include "app/event_loader.h"

#include "lottery/file_text.h"
#include "lottery/participant_file.h"
#include "lottery/prize_file.h"

namespace app {

LoadOutcome loadEventData(const lottery::EventPaths& paths, lottery::LotteryData& data,
                          core::CoreServices& services, std::vector<std::string>& warnings) {
    lottery::loadPrizeFile(paths.prizeFile, data.prizeTable, services, warnings);
    if (data.prizeTable.count() == 0)
        return LoadOutcome::NoPrizes;
    lottery::loadParticipantFile(paths, data.participants, data.options, services, warnings);
    if (data.participants.count() == 0)
        return LoadOutcome::NoParticipants;
    return LoadOutcome::Ready;
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
    }
    return {};
}

} // namespace app
