#pragma once

#include "drawscreen/draw_key_filter.h"

#include <QWidget>

#include <functional>

namespace console {

// The draw's keys for every widget of one window, installed on the application: a key-down
// anywhere in window runs press as the draw window would, except a key typed into an
// editable field of it, which reaches the field. Other windows (the dialogs) are left alone.
class ConsoleKeyFilter : public drawscreen::DrawKeyFilter {
    Q_OBJECT
public:
    ConsoleKeyFilter(QWidget* window, std::function<void()> press);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
};

} // namespace console
