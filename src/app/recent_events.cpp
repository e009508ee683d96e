#include "app/recent_events.h"

#include "core/settings.h"

#include <QDir>
#include <QFileInfo>

namespace app {

namespace {

constexpr int kMaxRecent = 10;

} // namespace

QStringList recentEvents() {
    QStringList present;
    for (const QString& folder : core::Settings::user().list(core::Setting::RecentEvents))
        if (QFileInfo(folder).isDir())
            present << folder;
    return present;
}

void rememberEvent(const QString& folder) {
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());
    core::Settings settings = core::Settings::user();
    QStringList list = settings.list(core::Setting::RecentEvents);
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kMaxRecent)
        list.removeLast();
    settings.set(core::Setting::RecentEvents, list);
}

} // namespace app
