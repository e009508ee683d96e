#pragma once

#include <QString>
#include <QStringList>

namespace app {

// The events this user opened, newest first, kept in the user's own settings (not in an
// event folder, which may be copied to another computer). Folders that are gone are left out.
QStringList recentEvents();
// Puts folder first (the last event opened) and keeps the list short.
void rememberEvent(const QString& folder);

} // namespace app
