#include "skin/skinned_dialog.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

namespace skin {

SkinnedDialog::SkinnedDialog(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint) {}

void SkinnedDialog::setContentRect(int left, int top, int right, int bottom) {
    contentRect_ = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void SkinnedDialog::initSkin() {
    clientRect_ = rect();
}

void SkinnedDialog::paintFace(QPainter& painter, const QRect& exposed) {
    if (repaintNeeded_) {
        repaintNeeded_ = false;
        faceList_.invalidateAll();
    }
    faceList_.paintAll(painter, clientRect_, exposed);
}

void SkinnedDialog::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paintFace(painter, event->rect());
}

void SkinnedDialog::resizeEvent(QResizeEvent* event) {
    repaintNeeded_ = true;
    QWidget::resizeEvent(event);
}

void SkinnedDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange)
        repaintNeeded_ = true;
    QWidget::changeEvent(event);
}

} // namespace skin
