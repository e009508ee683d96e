#include "drawscreen/rolling_name_renderer.h"

#include "drawscreen/name_path.h"
#include "drawscreen/text_outline.h"

#include <algorithm>
#include <cstring>

namespace drawscreen {

namespace {

int floorDiv64(int v) {
    return v >= 0 ? v / 64 : -((-v + 63) / 64);
}

} // namespace

RollingNameRenderer::RollingNameRenderer() {
    setColours(NamePath::kFill, TextOutline::kShadeColour);
}

void RollingNameRenderer::setColours(QRgb fill, QRgb stroke) {
    const QRgb colours[4] = {0, qPremultiply(stroke), qPremultiply(fill), qPremultiply(fill)};
    for (unsigned index = 0; index < 256; ++index)
        for (unsigned b = 0; b < 4; ++b)
            four_[index][b] = colours[((index >> (4 + b)) & 1) << 1 | ((index >> b) & 1)];
}

void RollingNameRenderer::render(QImage& canvas, const std::vector<const NameLayout*>& lines,
                                 int top, int lineHeight) {
    std::vector<QPoint> origins;
    origins.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        origins.emplace_back(0, top + static_cast<int>(i) * lineHeight);
    render(canvas, lines, origins);
}

void RollingNameRenderer::render(QImage& canvas, const std::vector<const NameLayout*>& lines,
                                 const std::vector<QPoint>& origins) {
    resize(canvas.size());
    const QRect bounds(QPoint(0, 0), size_);
    QRect area;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i])
            area |= lines[i]->bounds.translated(origins[i]);
    }
    area &= bounds;

    if (!area.isEmpty()) {
        clearPlanes(area);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (!lines[i])
                continue;
            const QPoint line = origins[i];
            for (const PlacedGlyph& glyph : lines[i]->glyphs)
                mergeSprite(*glyph.sprite, line + glyph.origin);
        }
    }

    // The new names' area is written whole below; only the rest of the old one needs clearing.
    const QRect old = dirty_ & bounds;
    if (!old.isEmpty() && !area.contains(old))
        clearCanvas(canvas, old);
    if (!area.isEmpty())
        compose(canvas, area);

    changed_ = old | area;
    dirty_ = area;
}

void RollingNameRenderer::canvasPainted(const QRect& area) {
    dirty_ |= area;
}

void RollingNameRenderer::resize(QSize size) {
    if (size == size_)
        return;
    size_ = size;
    wordsPerRow_ = (std::max(0, size.width()) + 2 * kPad + 63) / 64 + 1;
    const auto words = static_cast<std::size_t>(wordsPerRow_) * std::max(0, size.height());
    stroke_.assign(words, 0);
    fill_.assign(words, 0);
    dirty_ = QRect(QPoint(0, 0), size);
}

void RollingNameRenderer::clearCanvas(QImage& canvas, const QRect& area) const {
    const auto bytes = static_cast<std::size_t>(area.width()) * sizeof(QRgb);
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::memset(reinterpret_cast<QRgb*>(canvas.scanLine(y)) + area.left(), 0, bytes);
}

void RollingNameRenderer::clearPlanes(const QRect& area) {
    const int first = (area.left() + kPad) / 64;
    const int last = (area.right() + kPad) / 64;
    const auto bytes = static_cast<std::size_t>(last - first + 1) * sizeof(std::uint64_t);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto offset = static_cast<std::size_t>(y) * wordsPerRow_ + first;
        std::memset(stroke_.data() + offset, 0, bytes);
        std::memset(fill_.data() + offset, 0, bytes);
    }
}

void RollingNameRenderer::mergeSprite(const GlyphSprite& sprite, QPoint origin) {
    const QRect placed = sprite.rect.translated(origin);
    const int firstRow = std::max(placed.top(), 0);
    const int lastRow = std::min(placed.bottom(), size_.height() - 1);
    const int planeX = placed.left() + kPad;
    const int firstWord = floorDiv64(planeX);
    const int shift = planeX - firstWord * 64;
    for (int y = firstRow; y <= lastRow; ++y) {
        const auto from = static_cast<std::size_t>(y - placed.top()) * sprite.wordsPerRow;
        const std::uint64_t* strokeIn = sprite.stroke.data() + from;
        const std::uint64_t* fillIn = sprite.fill.data() + from;
        std::uint64_t* strokeOut = stroke_.data() + static_cast<std::size_t>(y) * wordsPerRow_;
        std::uint64_t* fillOut = fill_.data() + static_cast<std::size_t>(y) * wordsPerRow_;
        for (int j = 0; j < sprite.wordsPerRow; ++j) {
            const std::uint64_t s = strokeIn[j];
            const std::uint64_t f = fillIn[j];
            const int word = firstWord + j;
            if (word >= 0 && word < wordsPerRow_) {
                strokeOut[word] |= s << shift;
                fillOut[word] |= f << shift;
            }
            if (shift != 0 && word + 1 >= 0 && word + 1 < wordsPerRow_) {
                strokeOut[word + 1] |= s >> (64 - shift);
                fillOut[word + 1] |= f >> (64 - shift);
            }
        }
    }
}

void RollingNameRenderer::compose(QImage& canvas, const QRect& area) const {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const std::uint64_t* stroke = stroke_.data() + static_cast<std::size_t>(y) * wordsPerRow_;
        const std::uint64_t* fill = fill_.data() + static_cast<std::size_t>(y) * wordsPerRow_;
        QRgb* out = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = area.left(); x <= area.right();) {
            const int planeX = x + kPad;
            const int bit = planeX % 64;
            const int n = std::min(64 - bit, area.right() - x + 1);
            const std::uint64_t s = stroke[planeX / 64] >> bit;
            const std::uint64_t f = fill[planeX / 64] >> bit;
            const std::uint64_t mask = n == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1;
            if (((s | f) & mask) == 0) {
                std::memset(out + x, 0, static_cast<std::size_t>(n) * sizeof(QRgb));
            } else {
                for (int b = 0; b < n; b += 4) {
                    const auto index =
                        static_cast<unsigned>(((f >> b) & 0xF) << 4 | ((s >> b) & 0xF));
                    std::memcpy(out + x + b, four_[index].data(),
                                static_cast<std::size_t>(std::min(4, n - b)) * sizeof(QRgb));
                }
            }
            x += n;
        }
    }
}

} // namespace drawscreen
