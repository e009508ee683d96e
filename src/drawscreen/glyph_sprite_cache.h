#pragma once

#include <QFont>
#include <QPoint>
#include <QRawFont>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace drawscreen {

// One glyph at one sub-pixel phase: which pixels the names' stroke and their fill cover, one
// bit a pixel (rolling frames are aliased), bit b of word j of a row being pixel 64 j + b.
struct GlyphSprite {
    std::uint64_t serial = 0; // never given twice, so a glyph placed again is told by it
    QRect rect;               // relative to the glyph's whole-pixel origin
    int wordsPerRow = 0;
    std::vector<std::uint64_t> stroke;
    std::vector<std::uint64_t> fill;
};

struct PlacedGlyph {
    const GlyphSprite* sprite;
    QPoint origin; // whole-pixel origin relative to the top-left of the line
};

struct NameLayout {
    std::vector<PlacedGlyph> glyphs;
    QRect bounds; // of the glyphs' sprites, relative to the top-left of the line
};

// Renders each glyph of the names' font once, aliased, stroked with the names' pen and filled,
// so that a rolling frame only combines coverages. Positions keep their 1/64-pixel phase,
// so a name looks as it does in one path.
class GlyphSpriteCache {
public:
    GlyphSpriteCache(const QString& family, int fontSize, QFont::Weight weight = QFont::Normal);

    NameLayout layoutName(const QString& text);
    std::size_t bytes() const { return bytes_; }

private:
    const GlyphSprite& sprite(const QRawFont& font, quint32 glyph, int phaseX, int phaseY);
    std::unique_ptr<GlyphSprite> render(const QRawFont& font, quint32 glyph, int phaseX,
                                        int phaseY) const;
    int fontNumber(const QRawFont& font);

    QString family_;
    QFont font_;
    qreal ascent_ = 0;
    std::vector<QRawFont> fonts_; // the names' font and any fallback faces met
    std::unordered_map<std::uint64_t, std::unique_ptr<GlyphSprite>> sprites_;
    std::size_t bytes_ = 0;
};

} // namespace drawscreen
