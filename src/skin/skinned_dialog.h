#pragma once

#include "paint/paint_element_list.h"

#include <QPoint>
#include <QRect>
#include <QWidget>

#include <cstdint>

class QMenu;

namespace skin {

// A frameless top-level window that paints its face from a painted element list and
// can be dragged, and its window menu opened, from a strip above its placeholder.
class SkinnedDialog : public QWidget {
    Q_OBJECT

public:
    static constexpr std::uint32_t kClientAreaMode = 1;

    explicit SkinnedDialog(QWidget* parent = nullptr);

    const QRect& getContentRect() const { return contentRect_; }
    void setContentRect(int left, int top, int right, int bottom);
    paint::PaintElementList& faceList() { return faceList_; }
    // Minimize and close; opened by a right press in the drag strip.
    QMenu* windowMenu() const { return windowMenu_; }

protected:
    // Subclasses set these before initSkin.
    void setSkinFlags(std::uint32_t flags) { skinFlags_ = flags; }
    void setPlaceholder(QWidget* placeholder) { placeholder_ = placeholder; }

    // Start-up, once the subclass's widgets exist: the client, content and drag rectangles.
    void initSkin();
    // Paints the face list over the client rectangle; subclasses call it first.
    // exposed: the part to paint, all of it when invalid.
    void paintFace(QPainter& painter, const QRect& exposed = QRect());

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    paint::PaintElementList faceList_;
    std::uint32_t skinFlags_ = 0;
    bool dragging_ = false;
    bool repaintNeeded_ = true;
    QRect dragRect_;
    QRect clientRect_;
    QRect contentRect_;
    QWidget* placeholder_ = nullptr;
    QPoint dragAnchor_;
    QMenu* windowMenu_;
};

} // namespace skin
