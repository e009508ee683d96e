#include "dialogs/prize_capacity.h"

#include "core/ccore.h"

namespace dialogs {

bool refuseWhenFull(QWidget* owner, const lottery::PrizeTable& table) {
    if (!table.isFull())
        return false;
    core::CCore::msgboxWarning(
        owner, QStringLiteral("奖项已满，最多只能设置%1个奖项！").arg(lottery::kPrizeCapacity));
    return true;
}

} // namespace dialogs
