#pragma once

#include "core/ccore.h"
#include "lottery/lottery_data.h"

class QWidget;

namespace app {

// At start-up, after the event's data loaded: when the results file holds an unfinished draw,
// asks whether to go on with it. Yes sets data to its last recorded round's result (then
// DrawWindow::resumeAt shows it) and returns true. A draw that no longer fits the prizes or
// entries is told, and only a new draw is offered; so is a results file that cannot be read.
bool offerResume(QWidget* owner, lottery::LotteryData& data, const lottery::EventPaths& paths,
                 core::CCore& core);

} // namespace app
