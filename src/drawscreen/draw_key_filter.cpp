#include "drawscreen/draw_key_filter.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <utility>

namespace drawscreen {

DrawKeyFilter::DrawKeyFilter(std::function<void()> advance, SystemKeys systemKeys, QObject* parent)
    : QObject(parent), advance_(std::move(advance)), systemKeys_(systemKeys) {}

bool DrawKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool alt = key->modifiers().testFlag(Qt::AltModifier) || key->key() == Qt::Key_Alt;
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
        // X11 turns only the menu key into a context-menu request. Posted, so the menu's own
        // event loop does not run inside this filter, whose window a menu command may close.
        if (auto* widget = qobject_cast<QWidget*>(watched)) {
            QWidget* window = widget->window();
            QCoreApplication::postEvent(window,
                                        new QContextMenuEvent(QContextMenuEvent::Keyboard, QPoint(),
                                                              window->mapToGlobal(QPoint())));
        }
        return true;
    }
    if (alt || key->key() == Qt::Key_F10)
        return systemKeys_ == SystemKeys::Swallow;
    switch (key->key()) {
    case Qt::Key_Space:
    case Qt::Key_PageDown: // a presenter's clicker sends these for "next"
    case Qt::Key_Right:
    case Qt::Key_Down:
        // Consumed, so it cannot travel on to a parent window that filters it as well:
        // one key-down, auto-repeated ones included, is one advance.
        if (advance_)
            advance_();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    // The clicker's other buttons: a stray press must not disturb the draw.
    case Qt::Key_PageUp:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_F5:
    case Qt::Key_B:
    case Qt::Key_Period:
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace drawscreen
