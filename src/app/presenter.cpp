#include "app/presenter.h"

#include "app/event_chooser.h"
#include "app/event_folder_setup.h"
#include "app/event_lock.h"
#include "app/main_window.h"
#include "app/recent_events.h"
#include "core/ccore.h"
#include "core/path_conversion.h"

#include <QApplication>
#include <QDir>
#include <QScreen>

namespace app {

int runPresenter(const QString& folder, bool consoleAsked) {
    QString eventFolder = folder;
    // Without a folder the program's own is used when it holds an event (a copy unpacked with
    // its event); otherwise, as from a read-only install location, the operator chooses one.
    if (eventFolder.isEmpty()) {
        const QString own = core::toQString(core::CCore().getAppPath());
        eventFolder = isEventFolder(own) ? own : chooseEvent();
        if (eventFolder.isEmpty())
            return 0;
    }
    eventFolder = core::toQString(core::CCore(eventFolder).getAppPath());
    const EventLock lock(eventFolder);
    if (lock.state() == EventLock::State::HeldElsewhere) {
        core::CCore::msgboxWarning(
            nullptr,
            QStringLiteral("活动文件夹 %1 已在另一个抽奖程序中打开。\n\n"
                           "同一个活动只能由一个程序抽奖，本程序将退出，不会改动任何文件。")
                .arg(QDir::toNativeSeparators(eventFolder)));
        return 1;
    }
    rememberEvent(eventFolder);
    const std::string setupProblem = completeEventFolder(eventFolder);
    const QScreen* screen = QGuiApplication::primaryScreen();
    MainWindow window(eventFolder, screen->size());
    if (!setupProblem.empty())
        window.addStartupProblem(setupProblem);
    window.useScreens(consoleAsked);
    return QApplication::exec();
}

} // namespace app
