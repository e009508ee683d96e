#include "paint/memory_dc.h"

namespace paint {

MemoryDC::MemoryDC(QPainter& target, const QRect& rect)
    : target_(target), rect_(rect),
      surface_(rect.size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied) {
    surface_.fill(Qt::transparent);
    painter_.begin(&surface_);
    painter_.translate(-rect_.topLeft());
}

MemoryDC::~MemoryDC() {
    painter_.end();
    if (!rect_.isEmpty())
        target_.drawImage(rect_.topLeft(), surface_);
}

QImage MemoryDC::copy(const QRect& rect) const {
    return surface_.copy(rect.translated(-rect_.topLeft()));
}

void MemoryDC::blit(const QPoint& topLeft, const QImage& image) {
    const auto mode = painter_.compositionMode();
    painter_.setCompositionMode(QPainter::CompositionMode_Source);
    painter_.drawImage(topLeft, image);
    painter_.setCompositionMode(mode);
}

} // namespace paint
