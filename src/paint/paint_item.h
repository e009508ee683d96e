#pragma once

#include <QImage>
#include <QString>

#include <cstdint>

namespace paint {

enum PaintItemKind : std::int32_t { SolidFill = 0, ImageDraw = 5 };

// One drawing instruction; width and height 0 stand for the whole element.
struct PaintItem {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t colour1 = 0; // ARGB
    std::int32_t kind = 0;     // a PaintItemKind; other values draw nothing
    std::int32_t param = 0;    // ImageDraw: index of its ImageEntry
};

struct ImageEntry {
    std::int32_t fit = 0; // 1: crop to the destination instead of scaling
    std::int32_t offsetX = 0;
    std::int32_t offsetY = 0;
    QString name;  // the picture file
    QImage holder; // decoded at paint time; null when absent or unreadable
};

} // namespace paint
