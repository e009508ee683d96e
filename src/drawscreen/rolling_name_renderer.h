#pragma once

#include "drawscreen/glyph_sprite_cache.h"

#include <QImage>
#include <QRect>

#include <array>
#include <cstdint>
#include <vector>

namespace drawscreen {

// Draws the names column of a rolling frame from glyph sprites: the coverages of all stroke
// and of all fill are merged first, so that overlapping glyphs look like one stroked path.
// Only the area the previous frame touched is cleared. Nothing is allocated per frame.
class RollingNameRenderer {
public:
    // The names' yellow fill over the translucent dark stroke.
    RollingNameRenderer();

    // lines[i] is drawn with its top-left at (0, top + i * lineHeight); null draws nothing.
    void render(QImage& canvas, const std::vector<const NameLayout*>& lines, int top,
                int lineHeight);
    // lines[i] is drawn with its top-left at origins[i].
    void render(QImage& canvas, const std::vector<const NameLayout*>& lines,
                const std::vector<QPoint>& origins);
    // Something else was painted into area of the canvas; the next render clears it.
    void canvasPainted(const QRect& area);
    // The canvas was cleared, or holds only what the names never overlap: nothing to clear.
    void canvasCleared() { dirty_ = QRect(); }
    void setColours(QRgb fill, QRgb stroke);

    QRect changedRect() const { return changed_; }

private:
    void resize(QSize size);
    void clearCanvas(QImage& canvas, const QRect& area) const;
    void clearPlanes(const QRect& area);
    void mergeSprite(const GlyphSprite& sprite, QPoint origin);
    void compose(QImage& canvas, const QRect& area) const;

    // The planes reach this far beyond the canvas on either side, so glyph rows merge unclipped.
    static constexpr int kPad = 64;

    // Four pixels at a time: fill over stroke over nothing, premultiplied, indexed by the four
    // fill bits * 16 + the four stroke bits, the first pixel in the lowest bits.
    std::array<std::array<QRgb, 4>, 256> four_{};
    QSize size_;
    int wordsPerRow_ = 0;
    std::vector<std::uint64_t> stroke_;
    std::vector<std::uint64_t> fill_;
    QRect dirty_; // what the canvas holds that is not transparent
    QRect changed_;
};

} // namespace drawscreen
