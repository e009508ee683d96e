#include "drawscreen/rolling_name_renderer.h"

#include "drawscreen/name_path.h"
#include "drawscreen/text_outline.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace drawscreen {

namespace {

int floorDiv64(int v) {
    return v >= 0 ? v / 64 : -((-v + 63) / 64);
}

// Asks for the bytes from at on ahead of their use: 40 ms after the frame before, the images
// are seldom still in the cache, and their rows lie too far apart for the processor to guess.
inline void prefetch(const void* at, int bytes) {
#if defined(__SSE2__)
    for (int i = 0; i < bytes; i += 64)
        _mm_prefetch(static_cast<const char*>(at) + i, _MM_HINT_T0);
#else
    (void)at;
    (void)bytes;
#endif
}

// The window system reads the shown image after each frame, so an ordinary store must first
// take its line back. Whole runs of an image this large (4K) are stored past the cache, which
// spares that: the program's 4K frames take a sixth less. A smaller one gains little that way,
// and loses much when the image is still cached.
constexpr qsizetype kStreamedImageBytes = 16 << 20;

bool aligned(const void* at) {
    return (reinterpret_cast<std::uintptr_t>(at) & 15) == 0;
}

// 64 pixels from an aligned underlay row to an aligned target row, past the cache.
inline void streamCopy64(QRgb* out, const QRgb* under) {
#if defined(__SSE2__)
    for (int b = 0; b < 64; b += 4)
        _mm_stream_si128(reinterpret_cast<__m128i*>(out + b),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(under + b)));
#else
    std::memcpy(out, under, 64 * sizeof(QRgb));
#endif
}

// A byte over an underlay's: the colour's plus what of the underlay's keep lets show, in 256ths.
inline std::uint8_t blendByte(std::uint8_t colour, std::uint8_t under, std::uint16_t keep) {
    return static_cast<std::uint8_t>(colour + ((under * keep) >> 8));
}

} // namespace

RollingNameRenderer::RollingNameRenderer() {
    setColours(NamePath::kFill, TextOutline::kShadeColour);
}

void RollingNameRenderer::setColours(QRgb fill, QRgb stroke, int opacity) {
    const QRgb colours[4] = {0, qPremultiply(stroke), qPremultiply(fill), qPremultiply(fill)};
    const auto scaled = [opacity](int channel) {
        return static_cast<std::uint8_t>((channel * opacity + 127) / 255);
    };
    for (unsigned index = 0; index < 256; ++index) {
        for (unsigned b = 0; b < 4; ++b) {
            const QRgb c = colours[((index >> (4 + b)) & 1) << 1 | ((index >> b) & 1)];
            four_[index][b] = c;
            // Rounded down, so no byte overflows; the alpha byte then tops the underlay's 255 up
            // to 255 exactly, so an opaque underlay stays opaque.
            const auto keep = static_cast<std::uint16_t>((255 - scaled(qAlpha(c))) * 256 / 255);
            const auto opaque = static_cast<std::uint8_t>(255 - ((255 * keep) >> 8));
            const QRgb over = qRgba(scaled(qRed(c)), scaled(qGreen(c)), scaled(qBlue(c)), opaque);
            OverFour& four = overFour_[index];
            std::memcpy(four.colour + 4 * b, &over, sizeof over);
            std::fill_n(four.keep + 4 * b, 4, keep);
        }
    }
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
                                 const std::vector<QPoint>& origins, const QImage* underlay) {
    place(canvas.size(), lines, origins);
    write(canvas, QPoint(0, 0), changed_, underlay);
}

void RollingNameRenderer::place(QSize size, const std::vector<const NameLayout*>& lines,
                                const std::vector<QPoint>& origins) {
    resize(size);
    clear();
    const QRect bounds(QPoint(0, 0), size_);
    std::vector<PlacedLine> placed(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i])
            continue;
        const QRect line = lines[i]->bounds.translated(origins[i]) & bounds;
        if (line.isEmpty())
            continue;
        planes_.lines.push_back(line);
        for (const PlacedGlyph& glyph : lines[i]->glyphs) {
            const QPoint origin = origins[i] + glyph.origin;
            mergeSprite(*glyph.sprite, origin);
            placed[i].push_back({glyph.sprite->serial, glyph.sprite->rect.translated(origin)});
        }
    }
    changed_ = QRegion();
    for (std::size_t i = 0; i < std::max(placed_.size(), placed.size()); ++i)
        addChangedGlyphs(i < placed_.size() ? placed_[i] : PlacedLine(),
                         i < placed.size() ? placed[i] : PlacedLine());
    changed_ = (changed_ + painted_) & bounds;
    painted_ = QRect();
    placed_ = std::move(placed);
}

void RollingNameRenderer::addChangedGlyphs(const PlacedLine& before, const PlacedLine& now) {
    QRect run;
    for (std::size_t g = 0; g < std::max(before.size(), now.size()); ++g) {
        const bool same = g < before.size() && g < now.size() && before[g] == now[g];
        if (!same) {
            run |= (g < before.size() ? before[g].box : QRect()) |
                   (g < now.size() ? now[g].box : QRect());
        } else if (!run.isNull()) {
            changed_ += run;
            run = QRect();
        }
    }
    if (!run.isNull())
        changed_ += run;
}

void RollingNameRenderer::write(QImage& target, QPoint at, const QRegion& region,
                                const QImage* underlay) const {
    const QRect within = QRect(QPoint(0, 0), size_) & target.rect().translated(-at);
    // Row by row through the image's bits: scanLine() checks for sharing at each call.
    uchar* const outBits = target.bits() + at.y() * target.bytesPerLine() + at.x() * 4;
    const uchar* const underBits = underlay ? underlay->constBits() : nullptr;
    const auto outRow = [&](int row) {
        return reinterpret_cast<QRgb*>(outBits + row * target.bytesPerLine());
    };
    const auto underRow = [&](int row) {
        return reinterpret_cast<const QRgb*>(underBits + row * underlay->bytesPerLine());
    };
    const bool stream = target.sizeInBytes() >= kStreamedImageBytes;
    for (const QRect& rect : region) {
        const QRect part = rect & within;
        for (int y = part.top(); y <= part.bottom(); ++y) {
            if (!underBits) {
                composeSpan({outRow(y), nullptr, nullptr, nullptr, false}, rowOf(y), part.left(),
                            part.right());
                continue;
            }
            const int ahead = std::min(y + kRowsAhead, within.bottom());
            composeSpan({outRow(y), underRow(y), outRow(ahead), underRow(ahead), stream}, rowOf(y),
                        part.left(), part.right());
        }
    }
#if defined(__SSE2__)
    // The streamed stores are seen by whoever reads the image next.
    if (stream)
        _mm_sfence();
#endif
}

void RollingNameRenderer::writeSampled(QImage& target, int step, const QImage& underlay) const {
    const int width = std::min(target.width(), (size_.width() + step - 1) / step);
    const int height = std::min(target.height(), (size_.height() + step - 1) / step);
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(y));
        const auto* under = reinterpret_cast<const QRgb*>(underlay.constScanLine(y * step));
        const std::size_t row = rowOf(y * step);
        for (int x = 0; x < width; ++x) {
            const int bit = x * step + kPad;
            const auto at = row + static_cast<std::size_t>(bit / 64);
            // The index of a group of four whose first pixel is this one.
            const auto index = static_cast<unsigned>((planes_.stroke[at] >> (bit % 64)) & 1) |
                               static_cast<unsigned>((planes_.fill[at] >> (bit % 64)) & 1) << 4;
            std::uint8_t pixel[4];
            std::memcpy(pixel, under + x * step, sizeof pixel);
            for (int i = 0; i < 4; ++i)
                pixel[i] =
                    blendByte(overFour_[index].colour[i], pixel[i], overFour_[index].keep[i]);
            std::memcpy(out + x, pixel, sizeof pixel);
        }
    }
}

QRegion RollingNameRenderer::linesRegion() const {
    QRegion region;
    for (const QRect& line : planes_.lines)
        region += line;
    return region;
}

void RollingNameRenderer::canvasPainted(const QRect& area) {
    painted_ |= area;
}

void RollingNameRenderer::canvasCleared(QSize size) {
    resize(size);
    clear();
    placed_.clear();
    painted_ = QRect();
}

void RollingNameRenderer::resize(QSize size) {
    if (size == size_)
        return;
    size_ = size;
    wordsPerRow_ = (std::max(0, size.width()) + 2 * kPad + 63) / 64 + 1;
    const auto words = static_cast<std::size_t>(wordsPerRow_) * std::max(0, size.height());
    planes_.stroke.assign(words, 0);
    planes_.fill.assign(words, 0);
    planes_.lines.clear();
    placed_.clear();
    painted_ = QRect(QPoint(0, 0), size);
}

void RollingNameRenderer::clear() {
    for (const QRect& line : planes_.lines) {
        const int first = (line.left() + kPad) / 64;
        const int last = (line.right() + kPad) / 64;
        const auto bytes = static_cast<std::size_t>(last - first + 1) * sizeof(std::uint64_t);
        for (int y = line.top(); y <= line.bottom(); ++y) {
            const auto offset = static_cast<std::size_t>(y) * wordsPerRow_ + first;
            std::memset(planes_.stroke.data() + offset, 0, bytes);
            std::memset(planes_.fill.data() + offset, 0, bytes);
        }
    }
    planes_.lines.clear();
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
        const auto to = static_cast<std::size_t>(y) * wordsPerRow_;
        std::uint64_t* strokeOut = planes_.stroke.data() + to;
        std::uint64_t* fillOut = planes_.fill.data() + to;
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

void RollingNameRenderer::composeSpan(const Span& span, std::size_t row, int left,
                                      int right) const {
    const std::uint64_t* stroke = planes_.stroke.data() + row;
    const std::uint64_t* fill = planes_.fill.data() + row;
    // Only the first run may start within a word.
    int bit = (left + kPad) % 64;
    for (int x = left, word = (left + kPad) / 64; x <= right; ++word, bit = 0) {
        const int n = std::min(64 - bit, right - x + 1);
        const std::uint64_t s = stroke[word] >> bit;
        const std::uint64_t f = fill[word] >> bit;
        if (span.under) {
            prefetch(span.underAhead + x, n * 4);
            const bool stream = span.stream && n == 64 && aligned(span.out + x);
            if (!stream)
                prefetch(span.outAhead + x, n * 4);
            // A quarter of the words a frame writes hold no name: they are the underlay's.
            const std::uint64_t within = n == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1;
            if (((s | f) & within) == 0) {
                if (stream)
                    streamCopy64(span.out + x, span.under + x);
                else
                    std::memcpy(span.out + x, span.under + x, static_cast<std::size_t>(n) * 4);
            } else {
                composeOver(span.out + x, span.under + x, s, f, n, stream);
            }
        } else {
            composeFour(span.out + x, s, f, n);
        }
        x += n;
    }
}

void RollingNameRenderer::composeFour(QRgb* out, std::uint64_t s, std::uint64_t f, int n) const {
    const auto index = [s, f](int b) {
        return static_cast<unsigned>(((f >> b) & 0xF) << 4 | ((s >> b) & 0xF));
    };
    if (n == 64) {
        // Whole words, the common case, are written without a branch a pixel group.
        for (int b = 0; b < 64; b += 4)
            std::memcpy(out + b, four_[index(b)].data(), 4 * sizeof(QRgb));
        return;
    }
    for (int b = 0; b < n; b += 4)
        std::memcpy(out + b, four_[index(b)].data(),
                    static_cast<std::size_t>(std::min(4, n - b)) * sizeof(QRgb));
}

namespace {

// blendByte for four pixels, byte by byte: a keep of 256 copies the underlay.
inline void blendFour(std::uint8_t* out, const std::uint8_t* under, const std::uint8_t* colour,
                      const std::uint16_t* keep, bool stream = false) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(under));
    // Each byte in the high half of its 16 bits, so that the high half of the product is the
    // byte times keep / 256.
    const __m128i low = _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, u),
                                        _mm_load_si128(reinterpret_cast<const __m128i*>(keep)));
    const __m128i high = _mm_mulhi_epu16(
        _mm_unpackhi_epi8(zero, u), _mm_load_si128(reinterpret_cast<const __m128i*>(keep + 8)));
    const __m128i c = _mm_load_si128(reinterpret_cast<const __m128i*>(colour));
    const __m128i blended = _mm_adds_epu8(c, _mm_packus_epi16(low, high));
    if (stream)
        _mm_stream_si128(reinterpret_cast<__m128i*>(out), blended);
    else
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), blended);
#else
    (void)stream;
    for (int i = 0; i < 16; ++i)
        out[i] = blendByte(colour[i], under[i], keep[i]);
#endif
}

} // namespace

void RollingNameRenderer::composeOver(QRgb* out, const QRgb* under, std::uint64_t s,
                                      std::uint64_t f, int n, bool stream) const {
    if (n == 64) {
        // The indices of all sixteen groups at once, the even groups' in one word and the odd
        // ones' in another, a byte each: shifting by a constant beats a variable shift a group.
        constexpr std::uint64_t kNibbles = 0x0F0F0F0F0F0F0F0F;
        std::uint64_t even = (s & kNibbles) | (f & kNibbles) << 4;
        std::uint64_t odd = (s >> 4 & kNibbles) | (f & ~kNibbles);
        for (int b = 0; b < 64; b += 8, even >>= 8, odd >>= 8) {
            const OverFour& first = overFour_[even & 0xFF];
            const OverFour& second = overFour_[odd & 0xFF];
            blendFour(reinterpret_cast<std::uint8_t*>(out + b),
                      reinterpret_cast<const std::uint8_t*>(under + b), first.colour, first.keep,
                      stream);
            blendFour(reinterpret_cast<std::uint8_t*>(out + b + 4),
                      reinterpret_cast<const std::uint8_t*>(under + b + 4), second.colour,
                      second.keep, stream);
        }
        return;
    }
    for (int b = 0; b < n; b += 4) {
        const auto index = static_cast<unsigned>(((f >> b) & 0xF) << 4 | ((s >> b) & 0xF));
        if (n - b >= 4) {
            blendFour(reinterpret_cast<std::uint8_t*>(out + b),
                      reinterpret_cast<const std::uint8_t*>(under + b), overFour_[index].colour,
                      overFour_[index].keep);
            continue;
        }
        std::uint8_t in[16] = {};
        std::uint8_t blended[16];
        std::memcpy(in, under + b, static_cast<std::size_t>(n - b) * sizeof(QRgb));
        blendFour(blended, in, overFour_[index].colour, overFour_[index].keep);
        std::memcpy(out + b, blended, static_cast<std::size_t>(n - b) * sizeof(QRgb));
    }
}

} // namespace drawscreen
