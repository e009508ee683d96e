#pragma once

class QScreen;
class QWidget;

namespace app {

enum class Placement { FullScreen, Maximized, Normal };

// Shows the top-level window on screen, filling it as asked. On a screen of another X
// screen (not part of one desktop) the native window is made anew there and takes the
// keyboard again: a window moved by its handle alone shows black and gets no keys.
void placeOnScreen(QWidget& window, QScreen* screen, Placement placement);

} // namespace app
