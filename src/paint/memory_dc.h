#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

namespace paint {

// Off-screen surface over a rectangle of the target, in the target's coordinates.
// It starts transparent and is composed over the target when it ends, so whatever
// the target already shows stays where nothing was painted.
class MemoryDC {
public:
    MemoryDC(QPainter& target, const QRect& rect);
    ~MemoryDC();
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    QPainter& painter() { return painter_; }
    // A copy of the surface's pixels at rect (target coordinates).
    QImage copy(const QRect& rect) const;
    // Replaces the pixels at topLeft with image, alpha included.
    void blit(const QPoint& topLeft, const QImage& image);

private:
    QPainter& target_;
    QRect rect_;
    QImage surface_;
    QPainter painter_;
};

} // namespace paint
