#pragma once

#include "paint/paint_element_list.h"

#include <QRect>
#include <QWidget>

namespace skin {

// A frameless top-level window that paints its face from a painted element list.
class SkinnedDialog : public QWidget {
    Q_OBJECT

public:
    explicit SkinnedDialog(QWidget* parent = nullptr);

    const QRect& getContentRect() const { return contentRect_; }
    void setContentRect(int left, int top, int right, int bottom);
    paint::PaintElementList& faceList() { return faceList_; }

protected:
    // Start-up, once the subclass's widgets exist: the client rectangle.
    void initSkin();
    // Paints the face list over the client rectangle; subclasses call it first.
    // exposed: the part to paint, all of it when invalid.
    void paintFace(QPainter& painter, const QRect& exposed = QRect());

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    paint::PaintElementList faceList_;
    bool repaintNeeded_ = true;
    QRect clientRect_;
    QRect contentRect_;
};

} // namespace skin
