#include "app/screen_placement.h"

#include <QScreen>
#include <QWidget>

namespace app {

void placeOnScreen(QWidget& window, QScreen* screen, Placement placement) {
    const bool moved = window.windowHandle() && window.screen() != screen;
    if (moved && !screen->virtualSiblings().contains(window.screen())) {
        // A window cannot cross X screens: hide it, let Qt make it anew on the other one.
        window.hide();
        window.setScreen(screen);
    } else {
        window.setScreen(screen);
    }
    switch (placement) {
    case Placement::FullScreen:
        window.setGeometry(screen->geometry());
        window.showFullScreen();
        break;
    case Placement::Maximized:
        window.setGeometry(screen->availableGeometry());
        window.showMaximized();
        break;
    case Placement::Normal:
        window.resize(1000, 700);
        window.show();
        break;
    }
    if (moved) {
        window.raise();
        window.activateWindow();
    }
}

} // namespace app
