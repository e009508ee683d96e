#include "app/screen_roles.h"

#include "app/main_window.h"

namespace app {

namespace {

int indexOfName(const QList<ScreenInfo>& screens, const QString& name) {
    if (name.isEmpty())
        return -1;
    for (int i = 0; i < screens.size(); ++i)
        if (screens[i].name == name)
            return i;
    return -1;
}

QString nameAt(const QList<ScreenInfo>& screens, int index) {
    return index >= 0 && index < screens.size() ? screens[index].name : QString();
}

// Platforms without a primary flag usually list the built-in screen first.
int primaryOf(const QList<ScreenInfo>& screens) {
    for (int i = 0; i < screens.size(); ++i)
        if (screens[i].primary)
            return i;
    return screens.isEmpty() ? -1 : 0;
}

// preferred when it is another screen than taken, else the first one that is.
int otherThan(const QList<ScreenInfo>& screens, int taken, int preferred) {
    if (preferred >= 0 && preferred != taken)
        return preferred;
    for (int i = 0; i < screens.size(); ++i)
        if (i != taken)
            return i;
    return -1;
}

ScreenRoles makeRoles(const QList<ScreenInfo>& screens, int audience, int operatorScreen,
                      bool consoleAsked) {
    ScreenRoles roles;
    if (audience < 0)
        return roles;
    roles.audience = audience;
    roles.displayScale = MainWindow::displayScaleFor(screens[audience].geometry.width());
    if (operatorScreen >= 0 && operatorScreen != audience) {
        roles.operatorScreen = operatorScreen;
        roles.console = roles.consoleMaximized = true;
    } else if (consoleAsked) {
        roles.operatorScreen = audience;
        roles.console = true;
    }
    return roles;
}

} // namespace

ScreenRoles assignScreenRoles(const QList<ScreenInfo>& screens, const QString& storedAudience,
                              bool consoleAsked) {
    const int primary = primaryOf(screens);
    int audience = indexOfName(screens, storedAudience);
    if (audience < 0)
        audience = screens.size() > 1 ? otherThan(screens, primary, -1) : primary;
    return makeRoles(screens, audience, otherThan(screens, audience, primary), consoleAsked);
}

std::optional<SwappedRoles> swapScreenRoles(const QList<ScreenInfo>& screens,
                                            const ScreenRoles& roles) {
    if (!roles.consoleMaximized || nameAt(screens, roles.audience).isEmpty() ||
        nameAt(screens, roles.operatorScreen).isEmpty())
        return std::nullopt;
    SwappedRoles swapped{makeRoles(screens, roles.operatorScreen, roles.audience, false), {}};
    swapped.storedAudience = screens[swapped.roles.audience].name;
    return swapped;
}

ScreenRoles followScreenChange(const QList<ScreenInfo>& before, const ScreenRoles& previous,
                               const QList<ScreenInfo>& after, const QString& storedAudience,
                               bool consoleAsked) {
    // Without a console screen before, a new screen is set up as at start-up.
    if (after.size() < 2 || !previous.consoleMaximized)
        return assignScreenRoles(after, storedAudience, consoleAsked);
    int audience = indexOfName(after, nameAt(before, previous.audience));
    int operatorScreen = indexOfName(after, nameAt(before, previous.operatorScreen));
    if (audience < 0 && operatorScreen < 0)
        return assignScreenRoles(after, storedAudience, consoleAsked);
    // The console stays in front of the operator; the draw goes where it can be seen.
    if (audience < 0)
        audience = otherThan(after, operatorScreen, -1);
    if (operatorScreen < 0)
        operatorScreen = otherThan(after, audience, primaryOf(after));
    return makeRoles(after, audience, operatorScreen, consoleAsked);
}

} // namespace app
