#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <optional>

namespace app {

// One screen as the platform reports it; plain data so that tests can make up any set.
struct ScreenInfo {
    QString name;
    QRect geometry;
    bool primary = false;
};

// Which screen shows the draw and where the operator's console goes, as indices into the
// screen list the roles were made for.
struct ScreenRoles {
    // The screen the presenter fills; -1 only for an empty list.
    int audience = -1;
    // The screen the console opens on; -1 without a console. Equal to audience when the
    // console is a normal window beside the presenter (one screen and --console).
    int operatorScreen = -1;
    bool console = false;
    // Maximized on a screen of its own; false for the normal window on a shared screen.
    bool consoleMaximized = false;
    // MainWindow::displayScaleFor of the audience screen's width.
    float displayScale = 1.0f;

    bool operator==(const ScreenRoles& o) const {
        return audience == o.audience && operatorScreen == o.operatorScreen &&
               console == o.console && consoleMaximized == o.consoleMaximized &&
               displayScale == o.displayScale;
    }
};

// The roles at start-up. storedAudience is the remembered audience screen's name (empty for
// the default); it wins when a screen of that name is present. Default: the audience is the
// first screen that is not the primary, the operator's the primary (the first screen counts
// as primary when none says so). With one screen there is no console unless consoleAsked.
ScreenRoles assignScreenRoles(const QList<ScreenInfo>& screens, const QString& storedAudience,
                              bool consoleAsked);

struct SwappedRoles {
    ScreenRoles roles;
    // The audience screen's name, for the caller to store as the new choice.
    QString storedAudience;
};

// 交换屏幕: the audience and the operator's screen change places. Nothing to swap (no
// console on a screen of its own) gives nullopt.
std::optional<SwappedRoles> swapScreenRoles(const QList<ScreenInfo>& screens,
                                            const ScreenRoles& roles);

// The roles after the screens changed from `before` to `after`. A screen keeps its role while
// present. When the audience screen goes, the presenter moves to another screen left, the
// console staying where it is; when the operator's goes, the console moves to the primary
// (or the first other screen). With one screen left the console closes (the menu is back on
// the presenter) unless consoleAsked keeps it as a normal window. When a second screen
// appears where there was none of the console's, the roles are made as at start-up.
ScreenRoles followScreenChange(const QList<ScreenInfo>& before, const ScreenRoles& previous,
                               const QList<ScreenInfo>& after, const QString& storedAudience,
                               bool consoleAsked);

} // namespace app
