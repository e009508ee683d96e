#pragma once

#include "paint/paint_element.h"

#include <QPainter>
#include <QRect>

#include <vector>

namespace paint {

// The elements of one surface, painted back to front.
class PaintElementList {
public:
    virtual ~PaintElementList() = default;

    // Appends a copy; returns its index.
    int addElement(const PaintElement& element);
    // Paints every element over rect of the target, through one off-screen surface. When
    // every element is cached, only the part of rect inside exposed (if given) is copied:
    // a window repainted under a small overlay need not copy its whole face.
    void paintAll(QPainter& target, const QRect& rect, const QRect& exposed = QRect());
    void invalidateAll();

    int count() const { return static_cast<int>(elements_.size()); }
    PaintElement& at(int index) { return elements_.at(static_cast<std::size_t>(index)); }

private:
    std::vector<PaintElement> elements_;
};

} // namespace paint
