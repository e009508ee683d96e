#include "paint/paint_element_list.h"

#include "paint/memory_dc.h"

namespace paint {

int PaintElementList::addElement(const PaintElement& element) {
    elements_.push_back(element);
    return count() - 1;
}

void PaintElementList::paintAll(QPainter& target, const QRect& rect) {
    MemoryDC dc(target, rect);
    dc.painter().setRenderHint(QPainter::Antialiasing);
    dc.painter().setRenderHint(QPainter::TextAntialiasing);
    dc.painter().setRenderHint(QPainter::SmoothPixmapTransform);
    for (PaintElement& element : elements_)
        element.paint(dc);
}

void PaintElementList::invalidateAll() {
    for (PaintElement& element : elements_)
        element.invalidate();
}

} // namespace paint
