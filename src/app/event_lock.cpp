#include "app/event_lock.h"

#include <QDir>

namespace app {

EventLock::EventLock(const QString& eventFolder)
    : file_(QDir(eventFolder).filePath(lockFileName())), state_(State::Unavailable) {
    // Never stale by age: an event runs for hours. A dead owner makes it stale at once.
    file_.setStaleLockTime(0);
    if (file_.tryLock(0))
        state_ = State::Held;
    else if (file_.error() == QLockFile::LockFailedError)
        state_ = State::HeldElsewhere;
}

QString EventLock::lockFileName() {
    return QStringLiteral("prizedraw.lock");
}

} // namespace app
