#include "drawscreen/glyph_sprite_cache.h"

#include "drawscreen/name_path.h"
#include "drawscreen/text_outline.h"

#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QTextLayout>

#include <atomic>
#include <cmath>

namespace drawscreen {

namespace {

constexpr int kPhases = 64;
constexpr int kMargin = NamePath::kPenWidth / 2 + 2;

std::vector<std::uint64_t> bitsOf(const QImage& image, int wordsPerRow) {
    std::vector<std::uint64_t> bits(static_cast<std::size_t>(wordsPerRow) * image.height(), 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::uint64_t* out = bits.data() + static_cast<std::size_t>(y) * wordsPerRow;
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) >= 128)
                out[x / 64] |= std::uint64_t{1} << (x % 64);
        }
    }
    return bits;
}

// Splits a position into its whole pixel and its phase in 1/64 pixel.
void split(qreal v, int& whole, int& phase) {
    const long fixed = std::lround(v * kPhases);
    whole = static_cast<int>(std::floor(static_cast<double>(fixed) / kPhases));
    phase = static_cast<int>(fixed - static_cast<long>(whole) * kPhases);
}

} // namespace

GlyphSpriteCache::GlyphSpriteCache(const QString& family, int fontSize, QFont::Weight weight)
    : family_(family), font_(TextOutline::font(family, fontSize)) {
    font_.setWeight(weight);
    if (!family_.isEmpty())
        ascent_ = QRawFont::fromFont(font_).ascent();
}

NameLayout GlyphSpriteCache::layoutName(const QString& text) {
    NameLayout name;
    if (family_.isEmpty() || text.isEmpty())
        return name;
    QTextLayout layout(text, font_);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return name;
    // Fallback faces may raise the line; the baseline stays one ascent of the names' font down.
    const qreal shift = ascent_ - line.ascent();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont font = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            int x = 0, phaseX = 0, y = 0, phaseY = 0;
            split(positions[i].x(), x, phaseX);
            split(positions[i].y() + shift, y, phaseY);
            const GlyphSprite& s = sprite(font, glyphs[i], phaseX, phaseY);
            if (s.rect.isEmpty())
                continue;
            name.glyphs.push_back({&s, QPoint(x, y)});
            name.bounds |= s.rect.translated(x, y);
        }
    }
    return name;
}

const GlyphSprite& GlyphSpriteCache::sprite(const QRawFont& font, quint32 glyph, int phaseX,
                                            int phaseY) {
    const std::uint64_t key = (static_cast<std::uint64_t>(fontNumber(font)) << 44) |
                              (static_cast<std::uint64_t>(glyph) << 12) |
                              (static_cast<std::uint64_t>(phaseX) << 6) |
                              static_cast<std::uint64_t>(phaseY);
    auto found = sprites_.find(key);
    if (found == sprites_.end()) {
        auto made = render(font, glyph, phaseX, phaseY);
        bytes_ +=
            (made->stroke.size() + made->fill.size()) * sizeof(std::uint64_t) + sizeof(GlyphSprite);
        found = sprites_.emplace(key, std::move(made)).first;
    }
    return *found->second;
}

std::unique_ptr<GlyphSprite> GlyphSpriteCache::render(const QRawFont& font, quint32 glyph,
                                                      int phaseX, int phaseY) const {
    static std::atomic<std::uint64_t> serials{0};
    auto sprite = std::make_unique<GlyphSprite>();
    sprite->serial = ++serials;
    QPainterPath path = font.pathForGlyph(glyph);
    if (path.isEmpty())
        return sprite;
    path.setFillRule(Qt::WindingFill);
    path.translate(static_cast<qreal>(phaseX) / kPhases, static_cast<qreal>(phaseY) / kPhases);
    sprite->rect =
        path.boundingRect().toAlignedRect().adjusted(-kMargin, -kMargin, kMargin, kMargin);

    sprite->wordsPerRow = (sprite->rect.width() + 63) / 64;
    QImage image(sprite->rect.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPen pen(Qt::white);
    pen.setWidth(NamePath::kPenWidth);
    pen.setJoinStyle(Qt::RoundJoin);
    {
        QPainter painter(&image);
        painter.translate(-sprite->rect.topLeft());
        painter.strokePath(path, pen);
    }
    sprite->stroke = bitsOf(image, sprite->wordsPerRow);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.translate(-sprite->rect.topLeft());
        painter.fillPath(path, Qt::white);
    }
    sprite->fill = bitsOf(image, sprite->wordsPerRow);
    return sprite;
}

int GlyphSpriteCache::fontNumber(const QRawFont& font) {
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i] == font)
            return static_cast<int>(i);
    }
    fonts_.push_back(font);
    return static_cast<int>(fonts_.size() - 1);
}

} // namespace drawscreen
