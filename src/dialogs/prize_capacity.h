#pragma once

#include "lottery/lottery_data.h"

class QWidget;

namespace dialogs {

// When the table holds its 100 prizes, warns over owner and returns true.
bool refuseWhenFull(QWidget* owner, const lottery::PrizeTable& table);

} // namespace dialogs
