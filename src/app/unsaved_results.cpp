#include "app/unsaved_results.h"

#include "core/ccore.h"
#include "core/path_conversion.h"
#include "lottery/file_text.h"
#include "lottery/safe_file.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

namespace app {

namespace {

bool isUsableDrive(const QStorageInfo& drive) {
    return drive.isValid() && drive.isReady() && !drive.isReadOnly() &&
           QFileInfo(drive.rootPath()).isWritable();
}

} // namespace

QString rescueFileSuggestion(const QString& eventFolder) {
    const QString name = QStringLiteral("抽奖结果-未保存-%1.txt")
                             .arg(QDateTime::currentDateTime().toString("yyyyMMddHHmmss"));
    const QStorageInfo eventDrive(eventFolder);
    const QString home = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
    if (QStorageInfo(home) != eventDrive && QFileInfo(home).isWritable())
        return QDir(home).filePath(name);
    for (const QStorageInfo& drive : QStorageInfo::mountedVolumes()) {
        if (drive != eventDrive && isUsableDrive(drive))
            return QDir(drive.rootPath()).filePath(name);
    }
    return QDir(home).filePath(name);
}

bool rescueUnsavedResults(QWidget* owner, lottery::DrawMachine& machine,
                          const lottery::EventPaths& paths, const SavePathAsker& askPath) {
    if (machine.retryUnsaved())
        return true;
    const QString resultFile = QDir::toNativeSeparators(core::toQString(paths.resultFile));
    core::CCore::msgboxWarning(
        owner, QStringLiteral("有中奖结果仍未能写入 %1。\n\n请选择另一个位置保存整个抽奖结果文件，"
                              "最好是另一个磁盘或U盘。")
                   .arg(resultFile));
    QString suggested = rescueFileSuggestion(core::toQString(paths.appFolder));
    while (true) {
        const QString chosen = askPath(owner, suggested);
        if (chosen.isEmpty()) {
            if (core::CCore::msgboxConfirm(
                    owner, QStringLiteral("不保存就退出吗？未写入文件的中奖结果将会丢失。")) ==
                QMessageBox::Yes)
                return true;
            return false;
        }
        std::string problem;
        if (lottery::writeFileSafely(core::toFsPath(chosen), machine.resultsWithUnsaved(),
                                     &problem)) {
            core::CCore::msgboxInfo(
                owner, QStringLiteral("抽奖结果已保存到\n%1\n\n把它复制为活动文件夹中的 "
                                      "data/_result.txt，下次启动即可继续这次抽奖。")
                           .arg(QDir::toNativeSeparators(chosen)));
            return true;
        }
        core::CCore::msgboxWarning(
            owner,
            QStringLiteral("保存失败：%1\n请换一个位置。").arg(QString::fromStdString(problem)));
        suggested = chosen;
    }
}

QString askSavePathWithDialog(QWidget* owner, const QString& suggested) {
    return QFileDialog::getSaveFileName(owner, QStringLiteral("另存抽奖结果"), suggested,
                                        QStringLiteral("文本文件 (*.txt)"));
}

} // namespace app
