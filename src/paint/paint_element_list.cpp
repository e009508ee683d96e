#include "paint/paint_element_list.h"

#include "paint/memory_dc.h"

#include <algorithm>

namespace paint {

int PaintElementList::addElement(const PaintElement& element) {
    elements_.push_back(element);
    return count() - 1;
}

void PaintElementList::paintAll(QPainter& target, const QRect& rect, const QRect& exposed) {
    const bool allCached = std::all_of(elements_.begin(), elements_.end(),
                                       [](const PaintElement& e) { return e.cached != 0; });
    // An element painted in full needs all of its rectangle for its cache.
    MemoryDC dc(target, allCached && exposed.isValid() ? rect & exposed : rect);
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
