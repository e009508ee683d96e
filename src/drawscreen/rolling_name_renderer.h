#pragma once

#include "drawscreen/glyph_sprite_cache.h"

#include <QImage>
#include <QRect>
#include <QRegion>

#include <array>
#include <cstdint>
#include <vector>

namespace drawscreen {

// Draws the names of a rolling frame from glyph sprites: the coverages of all stroke and of
// all fill are merged first, so that overlapping glyphs look like one stroked path. The glyphs
// of the frame before are kept, and only the boxes of those that differ in their place are
// written: a frame costs what its names change, not the area they span.
class RollingNameRenderer {
public:
    // The names' yellow fill over the translucent dark stroke.
    RollingNameRenderer();

    // lines[i] is drawn with its top-left at (0, top + i * lineHeight); null draws nothing.
    void render(QImage& canvas, const std::vector<const NameLayout*>& lines, int top,
                int lineHeight);
    // lines[i] is drawn with its top-left at origins[i]. With an underlay (opaque, of the
    // canvas's size) each pixel written is opaque: the underlay with the names over it at the
    // opacity of setColours.
    void render(QImage& canvas, const std::vector<const NameLayout*>& lines,
                const std::vector<QPoint>& origins, const QImage* underlay = nullptr);
    // render in two steps: place takes the frame's names and finds what they change; write
    // draws the frame's pixels within region, with the canvas's (0, 0) at at of target. It
    // writes them whole, from the names and the underlay alone, so a region may be written
    // any number of times and into any image.
    void place(QSize size, const std::vector<const NameLayout*>& lines,
               const std::vector<QPoint>& origins);
    void write(QImage& target, QPoint at, const QRegion& region,
               const QImage* underlay = nullptr) const;
    // The frame's pixels at every step-th column and row from (0, 0), over underlay, into
    // target's from (0, 0): a preview that costs what it shows.
    void writeSampled(QImage& target, int step, const QImage& underlay) const;
    // Something else was painted into area of the canvas; the next render writes it whole.
    void canvasPainted(const QRect& area);
    // The canvas of that size was cleared, or holds only what the names never overlap.
    void canvasCleared(QSize size);
    void setColours(QRgb fill, QRgb stroke, int opacity = 255);

    // What the latest frame changed: the boxes of its glyphs and of the frame before's that
    // differ in their place, a line's run of them as one rect.
    const QRegion& changedRegion() const { return changed_; }
    // Where the latest frame's names lie.
    QRegion linesRegion() const;

private:
    // One frame's coverages, one bit a pixel, and the lines' rects that hold any.
    struct Planes {
        std::vector<std::uint64_t> stroke;
        std::vector<std::uint64_t> fill;
        std::vector<QRect> lines;
    };
    // A glyph as a frame placed it: the same sprite in the same box covers the same pixels.
    struct Placed {
        std::uint64_t serial;
        QRect box;
        bool operator==(const Placed& other) const {
            return serial == other.serial && box == other.box;
        }
    };
    using PlacedLine = std::vector<Placed>;

    void resize(QSize size);
    void clear();
    void mergeSprite(const GlyphSprite& sprite, QPoint origin);
    std::size_t rowOf(int y) const { return static_cast<std::size_t>(y) * wordsPerRow_; }
    // Adds to changed_ the glyphs of a line that differ from the frame before's in their place:
    // a glyph's stroke reaches no further than its box, so the others' pixels are as they were.
    void addChangedGlyphs(const PlacedLine& before, const PlacedLine& now);
    // A row of the target and of the underlay, if any, and the rows kRowsAhead below them,
    // asked for while this one is written; stream: whole runs may bypass the cache.
    struct Span {
        QRgb* out;
        const QRgb* under;
        const QRgb* outAhead;
        const QRgb* underAhead;
        bool stream;
    };
    // Writes the row span's pixels, each run of 64 blended whole or, holding no name, copied: a
    // branch on each group of four, taken at random as names change, cost more than it saved.
    void composeSpan(const Span& span, std::size_t row, int left, int right) const;
    // n pixels (at most 64) of stroke bits s and fill bits f, translucent or over an underlay.
    void composeFour(QRgb* out, std::uint64_t s, std::uint64_t f, int n) const;
    // stream: out is aligned and the run whole, so it may bypass the cache.
    void composeOver(QRgb* out, const QRgb* under, std::uint64_t s, std::uint64_t f, int n,
                     bool stream) const;

    // The planes reach this far beyond the canvas on either side, so glyph rows merge unclipped.
    static constexpr int kPad = 64;
    static constexpr int kRowsAhead = 2;

    // Four pixels at a time: fill over stroke over nothing, premultiplied, indexed by the four
    // fill bits * 16 + the four stroke bits, the first pixel in the lowest bits.
    std::array<std::array<QRgb, 4>, 256> four_{};
    // The same four pixels over an underlay: the colours at the opacity, byte by byte, and what
    // of each underlay byte shows through, in 256ths.
    struct alignas(16) OverFour {
        std::uint8_t colour[16];
        std::uint16_t keep[16];
    };
    std::array<OverFour, 256> overFour_{};
    QSize size_;
    int wordsPerRow_ = 0;
    Planes planes_;
    std::vector<PlacedLine> placed_; // the latest frame's glyphs, line by line
    QRect painted_;                  // what the canvas holds that is not the frame before's names
    QRegion changed_;
};

} // namespace drawscreen
