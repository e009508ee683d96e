#include "app/prize_store.h"

#include "lottery/backup_name.h"
#include "lottery/file_text.h"

namespace app {

std::string PrizeStore::loaded(const lottery::PrizeLoadReport& report, const std::string& stamp) {
    loaded_ = true;
    if (!report.altered)
        return {};
    // Writing the table back would lose what the load could not take: keep the original.
    backupStamp_ = stamp;
    return "奖项文件载入时有内容被改动或舍弃（见上）。原文件会在第一次保存奖项前另存为 " +
           lottery::pathText(lottery::freeBackupPath(prizeFile_.parent_path(), "bak_prize", stamp));
}

bool PrizeStore::save(const lottery::PrizeTable& table, std::string* problem) {
    if (!loaded_)
        return true;
    if (!backupStamp_.empty()) {
        std::string failure;
        if (!lottery::backUpFile(prizeFile_, "bak_prize", backupStamp_, nullptr, &failure)) {
            lottery::storeProblem(problem, "原奖项文件" + failure + "，奖项未保存，原文件保持不变");
            return false;
        }
        backupStamp_.clear();
    }
    return lottery::savePrizeFile(prizeFile_, table, problem);
}

} // namespace app
