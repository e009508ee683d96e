#include "app/recent_events.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace app {

namespace {

constexpr int kMaxRecent = 10;
const QString kRecentKey = QStringLiteral("recentEvents");

// The user's own settings file (on Linux ~/.config/prizedraw/prizedraw.ini).
std::unique_ptr<QSettings> userSettings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("prizedraw"), QStringLiteral("prizedraw"));
}

} // namespace

QStringList recentEvents() {
    QStringList present;
    for (const QString& folder : userSettings()->value(kRecentKey).toStringList())
        if (QFileInfo(folder).isDir())
            present << folder;
    return present;
}

void rememberEvent(const QString& folder) {
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());
    const std::unique_ptr<QSettings> settings = userSettings();
    QStringList list = settings->value(kRecentKey).toStringList();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kMaxRecent)
        list.removeLast();
    settings->setValue(kRecentKey, list);
}

} // namespace app
