#include "app/presenter.h"

#include "app/event_lock.h"
#include "app/main_window.h"
#include "core/ccore.h"
#include "core/path_conversion.h"

#include <QApplication>
#include <QDir>
#include <QScreen>

namespace app {

int runPresenter(const QString& folder, bool consoleAsked) {
    const QString eventFolder = core::toQString(core::CCore(folder).getAppPath());
    const EventLock lock(eventFolder);
    if (lock.state() == EventLock::State::HeldElsewhere) {
        core::CCore::msgboxWarning(
            nullptr,
            QStringLiteral("活动文件夹 %1 已在另一个抽奖程序中打开。\n\n"
                           "同一个活动只能由一个程序抽奖，本程序将退出，不会改动任何文件。")
                .arg(QDir::toNativeSeparators(eventFolder)));
        return 1;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    MainWindow window(folder, screen->size());
    window.useScreens(consoleAsked);
    return QApplication::exec();
}

} // namespace app
