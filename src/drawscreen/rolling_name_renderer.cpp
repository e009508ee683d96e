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
    const Planes& before = planes_[static_cast<std::size_t>(current_)];
    current_ ^= 1;
    Planes& now = planes_[static_cast<std::size_t>(current_)];
    clear(now);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i])
            continue;
        const QRect line = lines[i]->bounds.translated(origins[i]) & bounds;
        if (line.isEmpty())
            continue;
        now.lines.push_back(line);
        for (const PlacedGlyph& glyph : lines[i]->glyphs)
            mergeSprite(now, *glyph.sprite, origins[i] + glyph.origin);
    }

    const auto row = [&](int y) {
        return std::make_pair(reinterpret_cast<QRgb*>(canvas.scanLine(y)),
                              static_cast<std::size_t>(y) * wordsPerRow_);
    };
    const QRect painted = painted_ & bounds;
    for (int y = painted.top(); y <= painted.bottom(); ++y) {
        const auto [out, at] = row(y);
        composeSpan(out, at, painted.left(), painted.right(), true);
    }
    // A line and the one before it in its place make one rect: a region of few rects is
    // painted and sent to the screen rect by rect, not as its bounding rect.
    changed_ = QRegion();
    for (std::size_t i = 0; i < std::max(before.lines.size(), now.lines.size()); ++i)
        changed_ += (i < before.lines.size() ? before.lines[i] : QRect()) |
                    (i < now.lines.size() ? now.lines[i] : QRect());
    for (const QRect& rect : changed_) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            const auto [out, at] = row(y);
            composeSpan(out, at, rect.left(), rect.right(), false);
        }
    }
    changed_ += painted;
    painted_ = QRect();
}

void RollingNameRenderer::canvasPainted(const QRect& area) {
    painted_ |= area;
}

void RollingNameRenderer::canvasCleared(QSize size) {
    resize(size);
    clear(planes_[static_cast<std::size_t>(current_)]);
    painted_ = QRect();
}

void RollingNameRenderer::resize(QSize size) {
    if (size == size_)
        return;
    size_ = size;
    wordsPerRow_ = (std::max(0, size.width()) + 2 * kPad + 63) / 64 + 1;
    const auto words = static_cast<std::size_t>(wordsPerRow_) * std::max(0, size.height());
    for (Planes& planes : planes_) {
        planes.stroke.assign(words, 0);
        planes.fill.assign(words, 0);
        planes.lines.clear();
    }
    painted_ = QRect(QPoint(0, 0), size);
}

void RollingNameRenderer::clear(Planes& planes) const {
    for (const QRect& line : planes.lines) {
        const int first = (line.left() + kPad) / 64;
        const int last = (line.right() + kPad) / 64;
        const auto bytes = static_cast<std::size_t>(last - first + 1) * sizeof(std::uint64_t);
        for (int y = line.top(); y <= line.bottom(); ++y) {
            const auto offset = static_cast<std::size_t>(y) * wordsPerRow_ + first;
            std::memset(planes.stroke.data() + offset, 0, bytes);
            std::memset(planes.fill.data() + offset, 0, bytes);
        }
    }
    planes.lines.clear();
}

void RollingNameRenderer::mergeSprite(Planes& planes, const GlyphSprite& sprite,
                                      QPoint origin) const {
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
        const auto to = static_cast<std::size_t>(y) * wordsPerRow_;
        std::uint64_t* strokeOut = planes.stroke.data() + to;
        std::uint64_t* fillOut = planes.fill.data() + to;
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

void RollingNameRenderer::composeSpan(QRgb* out, std::size_t row, int left, int right,
                                      bool whole) const {
    const Planes& now = planes_[static_cast<std::size_t>(current_)];
    const Planes& before = planes_[static_cast<std::size_t>(current_ ^ 1)];
    const std::uint64_t* stroke = now.stroke.data() + row;
    const std::uint64_t* fill = now.fill.data() + row;
    const std::uint64_t* strokeBefore = before.stroke.data() + row;
    const std::uint64_t* fillBefore = before.fill.data() + row;
    for (int x = left; x <= right;) {
        const int planeX = x + kPad;
        const int word = planeX / 64;
        const int bit = planeX % 64;
        const int n = std::min(64 - bit, right - x + 1);
        const std::uint64_t mask = n == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1;
        const std::uint64_t differ =
            whole
                ? mask
                : (((stroke[word] ^ strokeBefore[word]) | (fill[word] ^ fillBefore[word])) >> bit) &
                      mask;
        if (differ != 0) {
            const std::uint64_t s = stroke[word] >> bit;
            const std::uint64_t f = fill[word] >> bit;
            if (n == 64) {
                // Whole words, the common case, are written without a branch a pixel group.
                for (int b = 0; b < 64; b += 4) {
                    const auto index =
                        static_cast<unsigned>(((f >> b) & 0xF) << 4 | ((s >> b) & 0xF));
                    std::memcpy(out + x + b, four_[index].data(), 4 * sizeof(QRgb));
                }
            } else {
                for (int b = 0; b < n; b += 4) {
                    const auto index =
                        static_cast<unsigned>(((f >> b) & 0xF) << 4 | ((s >> b) & 0xF));
                    std::memcpy(out + x + b, four_[index].data(),
                                static_cast<std::size_t>(std::min(4, n - b)) * sizeof(QRgb));
                }
            }
        }
        x += n;
    }
}

} // namespace drawscreen
