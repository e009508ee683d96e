#pragma once

#include "core/core_services.h"
#include "lottery/lottery_data.h"
#include "lottery/prize_file.h"

#include <string>
#include <vector>

namespace app {

// LinkedOutside: a data file or data/ leads out of the event folder; nothing is read.
enum class LoadOutcome { Ready, NoPrizes, NoParticipants, LinkedOutside };

// The start-up load after the options: the prize file, then, only when it holds a prize,
// the participant file (masked with data.options). The loaders' warnings go to warnings,
// after any problem of the folder that would keep the results from being saved.
// prizeReport, when given, tells whether reading the prize file changed what it says.
LoadOutcome loadEventData(const lottery::EventPaths& paths, lottery::LotteryData& data,
                          core::CoreServices& services, std::vector<std::string>& warnings,
                          lottery::PrizeLoadReport* prizeReport = nullptr);

// The operator's message for an outcome other than Ready (UTF-8). lineBreak separates the
// participant message from the file's path.
std::string loadOutcomeMessage(LoadOutcome outcome, const lottery::EventPaths& paths,
                               const std::string& lineBreak);

} // namespace app
