#pragma once

#include <QString>

namespace app {

// Why name cannot be a new event's folder under parent (UTF-8 text for the operator), or ""
// when it can: empty, characters no file system takes everywhere, "..", a folder that is
// already there, a name Windows would change or refuse, a name too long.
constexpr int kMaxEventNameLength = 60;
QString eventNameProblem(const QString& name, const QString& parent);

} // namespace app
