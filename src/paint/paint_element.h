#pragma once

#include "paint/paint_item.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace paint {

class MemoryDC;

// A rectangle of a surface with its drawing instructions. It is painted in full once;
// afterwards its cached pixels are copied until it is invalidated.
class PaintElement {
public:
    PaintElement(int x, int y, int width, int height);

    // Adding operations return the new item's index.
    int addColour(std::uint32_t colour);
    int addImage(int offsetX, int offsetY, const QString& name, int fit);

    // Paints from the cache when it holds the finished pixels, otherwise in full.
    void paint(MemoryDC& dc);
    void invalidate() { cached = 0; }

    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
    std::int32_t cached = 0;
    std::vector<PaintItem> items;
    std::vector<ImageEntry> images;

private:
    void render(MemoryDC& dc);
    void drawImage(MemoryDC& dc, const PaintItem& item);

    QImage cache_;
};

} // namespace paint
