#include "skin/skinned_dialog.h"

#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace skin {

SkinnedDialog::SkinnedDialog(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint),
      windowMenu_(new QMenu(this)) {
    windowMenu_->addAction(QStringLiteral("最小化"), this, &QWidget::showMinimized);
    windowMenu_->addSeparator();
    windowMenu_->addAction(QStringLiteral("关闭"), this, &QWidget::close);
}

void SkinnedDialog::setContentRect(int left, int top, int right, int bottom) {
    contentRect_ = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void SkinnedDialog::initSkin() {
    clientRect_ = rect();
    if ((skinFlags_ & kClientAreaMode) && placeholder_) {
        contentRect_ = QRect(placeholder_->mapTo(this, QPoint(0, 0)), placeholder_->size());
        dragRect_ = clientRect_;
        dragRect_.setBottom(contentRect_.top() - 1);
    }
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

void SkinnedDialog::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (dragRect_.contains(at)) {
        if (event->button() == Qt::LeftButton) {
            dragAnchor_ = at;
            dragging_ = true;
        } else if (event->button() == Qt::RightButton) {
            windowMenu_->popup(event->globalPosition().toPoint());
        }
    }
    QWidget::mousePressEvent(event);
}

void SkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_)
        move(event->globalPosition().toPoint() - dragAnchor_);
    QWidget::mouseMoveEvent(event);
}

void SkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_ && event->button() == Qt::LeftButton)
        dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

} // namespace skin
