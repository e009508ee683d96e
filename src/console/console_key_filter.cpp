#include "console/console_key_filter.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <utility>

namespace console {

namespace {

// Whether widget, or the field it is part of (a spin box's line edit, a text edit's
// viewport), takes typed text.
bool isEditable(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
            return !edit->isReadOnly();
        if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget))
            return !spin->isReadOnly();
        if (const auto* text = qobject_cast<const QTextEdit*>(widget))
            return !text->isReadOnly();
        if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
            return !plain->isReadOnly();
        if (widget->isWindow())
            break;
    }
    return false;
}

} // namespace

ConsoleKeyFilter::ConsoleKeyFilter(QWidget* window, std::function<void()> press)
    : DrawKeyFilter(std::move(press), SystemKeys::PassOn, window), window_(window) {}

bool ConsoleKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    // The widget's native window sees the key first; only widgets count, or a key would
    // press twice.
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_)
        return false;
    // A key a field ignores (PageDown in a line edit) travels on to its parents: it still
    // belongs to the field that has the focus.
    const QWidget* focus = QApplication::focusWidget();
    if (isEditable(widget) || (focus && widget->isAncestorOf(focus) && isEditable(focus)))
        return false;
    return DrawKeyFilter::eventFilter(watched, event);
}

} // namespace console
