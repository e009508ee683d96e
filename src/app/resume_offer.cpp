#include "app/resume_offer.h"

#include "core/message_box.h"
#include "core/path_conversion.h"
#include "lottery/draw_resume.h"
#include "lottery/results_log.h"
#include "lottery/results_reader.h"

#include <QDir>

namespace app {

std::optional<lottery::ResultsLog> offerResume(QWidget* owner, lottery::LotteryData& data,
                                               const lottery::EventPaths& paths,
                                               core::CCore& core) {
    const lottery::ResultsLog log = lottery::readResultsLog(paths.resultFile, core);
    if (log.unreadable) {
        core::CCore::msgboxWarning(
            owner, QStringLiteral("抽奖结果文件 %1 无法读取，无法判断上次抽奖是否结束，也无法"
                                  "继续上次的抽奖。\n\n该文件会保留原样，不会被改名或覆盖。")
                       .arg(QDir::toNativeSeparators(core::toQString(paths.resultFile))));
        return std::nullopt;
    }
    const lottery::ResumePlan plan = lottery::planResume(data, log, core);
    if (plan.kind == lottery::ResumePlan::Kind::Nothing)
        return std::nullopt;
    // Yes is the default: a stray Space or Return must not throw the recorded winners away.
    const QString question =
        plan.kind == lottery::ResumePlan::Kind::Resumable
            ? QStringLiteral("上次抽奖尚未结束，是否继续？")
            : QStringLiteral("上次抽奖尚未结束，但现在的奖项或抽奖名单与抽奖结果文件中的记录"
                             "不完全相符：\n%1\n\n是否继续上次的抽奖？仍然相符的记录照常保留，"
                             "仍在名单中的中奖者不会再次中奖。选“否”则下一次按键开始新的抽奖，"
                             "上次的结果文件会另存为备份。")
                  .arg(QString::fromStdString(plan.problem));
    if (core::CCore::msgboxConfirm(owner, question, QMessageBox::Yes) != QMessageBox::Yes)
        return std::nullopt;
    return log;
}

} // namespace app
