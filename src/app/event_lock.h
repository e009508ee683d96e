#pragma once

#include <QLockFile>
#include <QString>

namespace app {

// One presenter per event folder: two copies would mix their draws in one results file.
// The lock is held for the object's life; a lock left by a copy that was killed is taken
// over at once.
class EventLock {
public:
    enum class State {
        Held,          // this copy has the folder
        HeldElsewhere, // another running copy has it: touch nothing
        Unavailable    // the lock cannot be written (a read-only folder): go on without it
    };

    explicit EventLock(const QString& eventFolder);

    State state() const { return state_; }
    static QString lockFileName();

private:
    QLockFile file_;
    State state_;
};

} // namespace app
