#pragma once

#include "core/ccore.h"
#include "lottery/lottery_data.h"
#include "lottery/results_log.h"

#include <optional>

class QWidget;

namespace app {

// At start-up, after the event's data loaded: when the results file holds an unfinished draw,
// asks whether to go on with it (是 the default). Yes
// returns the log, for DrawWindow::resumeAt to go on from. A draw that no longer fits the
// prizes or entries is offered too, naming what changed: what still fits goes on. A results
// file that cannot be read is told, and nothing is resumed.
std::optional<lottery::ResultsLog> offerResume(QWidget* owner, lottery::LotteryData& data,
                                               const lottery::EventPaths& paths, core::CCore& core);

} // namespace app
