#include "paint/paint_element.h"

#include "paint/memory_dc.h"

#include <QColor>

#include <algorithm>

namespace paint {

PaintElement::PaintElement(int x, int y, int width, int height)
    : x(x), y(y), width(width), height(height) {}

int PaintElement::addColour(std::uint32_t colour) {
    PaintItem item;
    item.kind = SolidFill;
    item.colour1 = colour;
    items.push_back(item);
    return static_cast<int>(items.size()) - 1;
}

int PaintElement::addImage(int offsetX, int offsetY, const QString& name, int fit) {
    ImageEntry entry;
    entry.fit = fit;
    entry.offsetX = offsetX;
    entry.offsetY = offsetY;
    entry.name = name;
    images.push_back(entry);

    PaintItem item;
    item.kind = ImageDraw;
    item.param = static_cast<int>(images.size()) - 1;
    items.push_back(item);
    return static_cast<int>(items.size()) - 1;
}

void PaintElement::paint(MemoryDC& dc) {
    if (cached)
        dc.blit(QPoint(x, y), cache_);
    else
        render(dc);
}

void PaintElement::render(MemoryDC& dc) {
    const QRect area(x, y, width, height);
    QPainter& p = dc.painter();
    p.save();
    p.setClipRect(area, Qt::ReplaceClip);
    for (PaintItem& item : items) {
        if (item.width == 0 && item.height == 0) {
            item.x = x;
            item.y = y;
            item.width = width;
            item.height = height;
        }
        if (item.kind == SolidFill)
            p.fillRect(QRect(item.x, item.y, item.width, item.height),
                       QColor::fromRgba(item.colour1));
        else if (item.kind == ImageDraw)
            drawImage(dc, item);
    }
    p.restore();
    cache_ = dc.copy(area);
    cached = 1;
}

void PaintElement::drawImage(MemoryDC& dc, const PaintItem& item) {
    if (item.param < 0 || item.param >= static_cast<int>(images.size()))
        return;
    ImageEntry& entry = images[static_cast<std::size_t>(item.param)];
    entry.holder = QImage(entry.name);
    if (entry.holder.isNull())
        return; // a missing picture leaves the fill beneath it
    QRect source = entry.holder.rect();
    const QRect target(item.x + entry.offsetX, item.y + entry.offsetY,
                       std::min(item.width, source.width()),
                       std::min(item.height, source.height()));
    if (entry.fit == 1)
        source.setSize(target.size());
    dc.painter().drawImage(target, entry.holder, source);
}

} // namespace paint
