#pragma once

#include <QObject>

#include <functional>

namespace drawscreen {

// The draw's keyboard rules for one window: Space, PageDown, Right and Down advance the draw;
// Return, Escape and a clicker's other keys (PageUp, Left, Up, F5, B, full stop) are
// swallowed so no window closes from the keyboard, Shift+F10 asks the top-level window for
// its keyboard context menu, and optionally every Alt combination (Alt+F4 among them) and
// the other F10s are swallowed too. Install it on the widget itself.
class DrawKeyFilter : public QObject {
    Q_OBJECT
public:
    enum class SystemKeys { PassOn, Swallow };

    DrawKeyFilter(std::function<void()> advance, SystemKeys systemKeys, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> advance_;
    SystemKeys systemKeys_;
};

} // namespace drawscreen
